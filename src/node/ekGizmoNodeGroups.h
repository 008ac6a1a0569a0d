#pragma once

#include "geometry/ekGizmoGeometry.h"

#include <ek3DManipulation/ekGizmoNode.h>

namespace ek {

// The handle group that mode selects; null for NONE and above.
inline ekGizmoNodeBase* groupOf(ekGizmoGeometry& geometry, ekGizmoNode::GizmoMode mode)
{
    switch (mode) {
    case ekGizmoNode::TRANSLATE:
        return &geometry.translate;
    case ekGizmoNode::ROTATE:
        return &geometry.rotate;
    case ekGizmoNode::SCALE:
        return &geometry.scale;
    default:
        return nullptr;
    }
}

// Calls action on the group that mode selects, as its own type; nothing
// for NONE and above.
template <class Action>
void withGroup(ekGizmoGeometry& geometry, ekGizmoNode::GizmoMode mode, Action&& action)
{
    switch (mode) {
    case ekGizmoNode::TRANSLATE:
        action(geometry.translate);
        break;
    case ekGizmoNode::ROTATE:
        action(geometry.rotate);
        break;
    case ekGizmoNode::SCALE:
        action(geometry.scale);
        break;
    default:
        break;
    }
}

} // namespace ek
