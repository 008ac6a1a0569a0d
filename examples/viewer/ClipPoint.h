#pragma once

#include <Wm4/Wm4Vector3.h>

#include <array>

namespace ek::viewer {

// Homogeneous clip coordinates of a world point (the camera's matrix is in
// row-vector form). In view: 0 <= z <= w.
struct ClipPoint {
    float x, y, z, w;
};

inline ClipPoint toClip(const std::array<float, 16>& m, const Wm4::Vector3<float>& p)
{
    return {p.X() * m[0] + p.Y() * m[4] + p.Z() * m[8] + m[12],
            p.X() * m[1] + p.Y() * m[5] + p.Z() * m[9] + m[13],
            p.X() * m[2] + p.Y() * m[6] + p.Z() * m[10] + m[14],
            p.X() * m[3] + p.Y() * m[7] + p.Z() * m[11] + m[15]};
}

// Clips a-b to the near plane (z >= 0, so w > 0 after it) and the far
// plane (z <= w); false when nothing is left.
bool clipSegment(ClipPoint& a, ClipPoint& b);

// A place in a view, pixels from its top-left corner, y down: pixel (i, j)
// covers i..i+1 and j..j+1.
struct ViewPoint {
    double x = 0.0;
    double y = 0.0;
};

// The point's place in a view of width x height pixels; the point must lie
// in front of the near plane.
inline ViewPoint toView(const ClipPoint& c, double width, double height)
{
    return {(c.x / c.w + 1.0f) * 0.5f * width, (1.0f - (c.y / c.w + 1.0f) * 0.5f) * height};
}

} // namespace ek::viewer
