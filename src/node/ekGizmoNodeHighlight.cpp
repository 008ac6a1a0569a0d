#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"
#include "ekGroupLines.h"

namespace ek {

void ekGizmoNode::highlight(unsigned int axis)
{
    // An axis beyond Z would index past the groups' per-axis lines.
    if (axis >= kAxisCount) {
        return;
    }
    if (ekGizmoGroup* group = groupOf(*m_geometry, m_mode)) {
        group->highlight(axis);
    }
    paintExtendedDefaults();
}

void ekGizmoNode::setHighlightColor(GizmoMode mode, const Wm4::ColorRGBA& colour)
{
    if (ekGizmoGroup* group = groupOf(*m_geometry, mode)) {
        group->setHighlightColor(colour);
    }
}

void ekGizmoNode::applyDefaultColors()
{
    if (ekGizmoGroup* group = groupOf(*m_geometry, m_mode)) {
        group->applyDefaultColors(true);
    }
    paintExtendedDefaults();
}

void ekGizmoNode::setActiveState(unsigned int axis, bool active)
{
    if (axis >= kAxisCount) {
        return;
    }
    // A translate drag has no feedback lines: its group ignores this.
    if (ekGizmoGroup* group = groupOf(*m_geometry, m_mode)) {
        group->setActiveState(axis, active);
    }
}

} // namespace ek
