#pragma once

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <array>
#include <vector>

namespace ek {
class ekGizmoNode;
}

namespace ek_bench {

// The arithmetic floors: the least math an operation needs, written
// plainly, so that the library's figures can be read as ratios to a figure
// measured in the same run.

// A camera's view-projection composed with a gizmo's world transform,
// columns x, y and w only: a point of the gizmo's frame to pixels.
struct ScreenMap {
    std::array<float, 12> m;
    float width;
    float height;
};

ScreenMap composeScreenMap(const ek::ekCamera& camera, const ek::ekGenericTransformation<float>& world,
                           int width, int height);

inline Wm4::Vector2<float> toPixel(const ScreenMap& s, const Wm4::Vector3<float>& p)
{
    const float x = p.X() * s.m[0] + p.Y() * s.m[3] + p.Z() * s.m[6] + s.m[9];
    const float y = p.X() * s.m[1] + p.Y() * s.m[4] + p.Z() * s.m[7] + s.m[10];
    const float w = p.X() * s.m[2] + p.Y() * s.m[5] + p.Z() * s.m[8] + s.m[11];
    const float inv = 1.0f / w;
    return {(x * inv + 1.0f) * 0.5f * s.width, (y * inv + 1.0f) * 0.5f * s.height};
}

// Squared pixel distance from p to the segment ab.
inline float squaredDistance(const Wm4::Vector2<float>& a, const Wm4::Vector2<float>& b,
                             const Wm4::Vector2<float>& p)
{
    const Wm4::Vector2<float> e = b - a;
    const Wm4::Vector2<float> d = p - a;
    const float along = d.Dot(e);
    const float length = e.Dot(e);
    float t = 0.0f;
    if (along > 0.0f) {
        t = along >= length ? 1.0f : along / length;
    }
    const Wm4::Vector2<float> off = d - e * t;
    return off.Dot(off);
}

// The 40-segment sampling of the unit circle that the rotate hover measures.
using CircleSamples = std::array<Wm4::Vector2<float>, 41>;
CircleSamples makeCircleSamples();

// Smallest squared distance from cursor to the three rotate circles (41
// projected samples each).
float rotateHoverFloor(const ScreenMap& map, const CircleSamples& samples, const Wm4::Vector2<float>& cursor);
// Smallest squared distance from cursor to the three arrows (4 projected points).
float arrowHoverFloor(const ScreenMap& map, const Wm4::Vector2<float>& cursor);

// The lines a gizmo shows in its mode, flat: per line its local transform
// (3x4, columns x, y, z, translation) and its vertices in its own frame.
struct ShownLines {
    std::vector<std::array<float, 12>> locals;
    std::vector<int> vertexCounts;
    std::vector<Wm4::Vector3<float>> vertices;
};
ShownLines shownLinesOf(const ek::ekGizmoNode& gizmo);

// The floor of laying a gizmo out and redrawing it: a uniform world matrix
// of scale about centre, each shown line's world matrix composed from it,
// and every vertex through that into out (one world point per vertex;
// out holds them all). The arrowheads' turn to the camera is left out.
void redrawFloor(const ShownLines& lines, const Wm4::Vector3<float>& centre, float scale,
                 Wm4::Vector3<float>* out);

} // namespace ek_bench
