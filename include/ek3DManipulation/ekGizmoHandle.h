#pragma once

#include <cstdint>

namespace ek {

/// The handles of a gizmo. The axis handles (arrows, rotate circles, scale
/// handles) are the ones every gizmo shows; the others are shown and picked
/// only on a gizmo node with extended handles (ekGizmoNode::setExtendedHandles).
enum class ekGizmoHandle : std::int32_t {
    NONE = -1,
    AXIS_X = 0,      ///< the X arrow, circle or scale handle
    AXIS_Y = 1,      ///< the Y one
    AXIS_Z = 2,      ///< the Z one
    PLANE_X = 3,     ///< translate: the square in the plane normal to X (YZ)
    PLANE_Y = 4,     ///< translate: the square in the plane normal to Y (ZX)
    PLANE_Z = 5,     ///< translate: the square in the plane normal to Z (XY)
    SCREEN = 6,      ///< translate: the square at the centre, facing the camera
    VIEW_RING = 7,   ///< rotate: the outer circle, facing the camera
    TRACKBALL = 8,   ///< rotate: inside the circles, off every one of them
    CENTER = 9,      ///< scale: the uniform-scale triangles
};

/// The axis a handle belongs to: 0..2 for an axis handle and for a plane
/// (the plane's normal), -1 for the others.
constexpr int axisOf(ekGizmoHandle handle)
{
    const auto value = static_cast<std::int32_t>(handle);
    return value >= 0 && value < 3 ? value : value >= 3 && value < 6 ? value - 3 : -1;
}

} // namespace ek
