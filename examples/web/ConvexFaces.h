#pragma once

#include <Wm4/Wm4Vector3.h>

#include <vector>

namespace ek::web {

// One face of a convex hull: the indices of its points in order around it,
// counter-clockwise seen from outside, and its outward unit normal.
struct ConvexFace {
    std::vector<int> corners;
    Wm4::Vector3<float> normal;
};

// The faces of the convex hull of points (any space; the faces use the
// same). Every point must be a corner of the hull: none inside it or
// inside one of its faces or edges. Points that do not span a volume
// (fewer than four, or all on one plane) have no faces. Meant for the few
// corners of a wireframe object: the cost grows with the fourth power of
// the count.
std::vector<ConvexFace> convexFaces(const std::vector<Wm4::Vector3<float>>& points);

} // namespace ek::web
