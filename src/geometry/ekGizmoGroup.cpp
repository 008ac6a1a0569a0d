#include "ekGizmoGroup.h"

#include "ekGroupLines.h"

namespace ek {

void ekGizmoGroup::build(ekGizmoNode* owner, ekNode& lineParent)
{
    setOwner(owner);
    m_lineParent = &lineParent;
    buildLines();
}

void ekGizmoGroup::applyDefaultColors(bool notifyOwner)
{
    if (notifyOwner) {
        markOwnerForRedraw(*this);
    }
    paintDefaultColors();
}

void ekGizmoGroup::setActiveState(unsigned int /*axis*/, bool /*active*/) {}

} // namespace ek
