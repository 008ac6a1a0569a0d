#include "ekGizmoGroup.h"

namespace ek {

void ekGizmoGroup::build(ekGizmoNode* owner, ekNode& lineParent)
{
    setOwner(owner);
    m_lineParent = &lineParent;
    buildLines();
}

void ekGizmoGroup::setActiveState(unsigned int /*axis*/, bool /*active*/) {}

} // namespace ek
