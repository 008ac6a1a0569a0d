#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"
#include "geometry/ekGroupLines.h"

namespace ek {

void ekGizmoNode::highlight(unsigned int axis)
{
    // An axis beyond Z would index past the groups' per-axis lines.
    if (axis >= kAxisCount) {
        return;
    }
    withGroup(*m_geometry, m_mode, [axis](auto& group) { group.highlight(axis); });
}

void ekGizmoNode::setHighlightColor(GizmoMode mode, const Wm4::ColorRGBA& colour)
{
    if (ekGizmoNodeBase* group = groupOf(*m_geometry, mode)) {
        group->setHighlightColor(colour);
    }
}

void ekGizmoNode::applyDefaultColors()
{
    withGroup(*m_geometry, m_mode, [](auto& group) { group.applyDefaultColors(true); });
}

void ekGizmoNode::setActiveState(unsigned int axis, bool active)
{
    if (axis >= kAxisCount) {
        return;
    }
    // A translate drag has no feedback lines.
    switch (m_mode) {
    case ROTATE:
        m_geometry->rotate.setActiveState(axis, active);
        break;
    case SCALE:
        m_geometry->scale.setActiveState(axis, active);
        break;
    default:
        break;
    }
}

} // namespace ek
