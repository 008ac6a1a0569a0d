#pragma once

#include <ekSceneGraph/ekGenericTransformation.h>

#include <array>

namespace ek {

class ekCamera;

// How large the handles of a gizmo show on screen, in pixels of a view
// viewportHeight pixels high (pixels taken square, as the gizmo's size on
// screen is): what edge-on fading compares with its threshold. Measured
// from where the gizmo's centre and unit axis ends project, so that an axis
// lying across the view measures the gizmo's pixel size and one pointing at
// the eye measures next to nothing.
struct ekScreenExtents {
    // Per axis: the length of its unit axis on screen.
    std::array<float, 3> axes;
    // Per axis: the plane normal to it, spanned by the other two (where the
    // rotate circle of that axis lies, and the plane handle between them):
    // the half-width, across its narrowest direction, of that plane's unit
    // disc on screen; 0 when the plane is seen edge-on.
    std::array<float, 3> planes;
};

// The extents of a gizmo whose frame is gizmoWorld (world space). A handle
// with an end at or behind the eye plane of a perspective camera measures
// NaN, which no threshold fades.
ekScreenExtents measureOnScreen(const ekGenericTransformation<float>& gizmoWorld,
                                const ekCamera& camera, int viewportHeight);

// Bit (1 << axis) set for each extent that fades: below threshold, or, for
// an axis whose bit is set in fadedBefore, not yet a few pixels above it
// (see kFadeHysteresis). A NaN never fades.
unsigned char fadedOf(const std::array<float, 3>& extents, float threshold, unsigned char fadedBefore);

} // namespace ek
