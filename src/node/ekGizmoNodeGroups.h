#pragma once

#include "ekGizmoGeometry.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <array>
#include <type_traits>

namespace ek {

// The handle group that mode selects (const with a const geometry); null
// for NONE and above.
template <class Geometry>
auto groupOf(Geometry& geometry, ekGizmoNode::GizmoMode mode)
    -> std::conditional_t<std::is_const<Geometry>::value, const ekGizmoGroup*, ekGizmoGroup*>
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

// The three groups, translate, rotate, scale.
inline std::array<ekGizmoGroup*, 3> allGroups(ekGizmoGeometry& geometry)
{
    return {&geometry.translate, &geometry.rotate, &geometry.scale};
}

// Shows the group that mode selects and hides the others (all of them for
// NONE and above). A group's visibility is a state: the order of the calls
// does not matter.
inline void showOnly(ekGizmoGeometry& geometry, ekGizmoNode::GizmoMode mode)
{
    const ekGizmoGroup* shown = groupOf(geometry, mode);
    for (ekGizmoGroup* group : allGroups(geometry)) {
        group->setVisible(group == shown);
    }
}

} // namespace ek
