#pragma once

namespace ek {

// Where the extended handles lie, in axis lengths of the gizmo's frame
// (the rotate circles have radius 1): the lines drawn and the hit tests
// both read them here.

// A plane square spans these distances along each of its two axes.
constexpr float kPlaneSquareInner = 0.3f;
constexpr float kPlaneSquareOuter = 0.55f;
// Half the side of the screen handle, a square facing the camera at the
// centre.
constexpr float kScreenHandleHalfSide = 0.1f;
// Radius of the view ring, a circle facing the camera about the centre.
constexpr float kViewRingRadius = 1.25f;
// The uniform-scale triangles join the positive axes at these distances.
constexpr float kUniformTriangleInner = 0.5f;
constexpr float kUniformTriangleOuter = 0.7f;

} // namespace ek
