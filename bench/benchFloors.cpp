#include "benchFloors.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekLine.h>

#include <algorithm>
#include <cmath>

namespace ek_bench {

ScreenMap composeScreenMap(const ek::ekCamera& camera, const ek::ekGenericTransformation<float>& world,
                           int width, int height)
{
    const std::array<float, 16>& vp = camera.getViewProjectionMatrix();
    const Wm4::Matrix3<float> linear = world.GetMatrix();
    const Wm4::Vector3<float>& t = world.GetTranslate();
    ScreenMap s{};
    const int columns[3] = {0, 1, 3};
    for (int c = 0; c < 3; ++c) {
        const int col = columns[c];
        // Row r of the composed matrix is the gizmo's axis r (or its origin) through vp.
        for (int r = 0; r < 3; ++r) {
            s.m[static_cast<std::size_t>(3 * r + c)] = linear(0, r) * vp[static_cast<std::size_t>(col)]
                + linear(1, r) * vp[static_cast<std::size_t>(4 + col)]
                + linear(2, r) * vp[static_cast<std::size_t>(8 + col)];
        }
        s.m[static_cast<std::size_t>(9 + c)] = t.X() * vp[static_cast<std::size_t>(col)]
            + t.Y() * vp[static_cast<std::size_t>(4 + col)] + t.Z() * vp[static_cast<std::size_t>(8 + col)]
            + vp[static_cast<std::size_t>(12 + col)];
    }
    s.width = static_cast<float>(width);
    s.height = static_cast<float>(height);
    return s;
}

CircleSamples makeCircleSamples()
{
    CircleSamples samples;
    const std::size_t segments = samples.size() - 1;
    for (std::size_t k = 0; k < segments; ++k) {
        const double angle = 2.0 * 3.14159265358979323846 * static_cast<double>(k) / static_cast<double>(segments);
        samples[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
    samples[segments] = samples[0];
    return samples;
}

float rotateHoverFloor(const ScreenMap& map, const CircleSamples& samples, const Wm4::Vector2<float>& cursor)
{
    float best = 1e30f;
    for (int axis = 0; axis < 3; ++axis) {
        const auto point = [axis](const Wm4::Vector2<float>& s) {
            return axis == 0 ? Wm4::Vector3<float>(0.0f, s.X(), s.Y())
                             : axis == 1 ? Wm4::Vector3<float>(s.X(), 0.0f, s.Y())
                                         : Wm4::Vector3<float>(s.X(), s.Y(), 0.0f);
        };
        Wm4::Vector2<float> previous = toPixel(map, point(samples[0]));
        for (std::size_t k = 1; k < samples.size(); ++k) {
            const Wm4::Vector2<float> next = toPixel(map, point(samples[k]));
            best = std::min(best, squaredDistance(previous, next, cursor));
            previous = next;
        }
    }
    return best;
}

float arrowHoverFloor(const ScreenMap& map, const Wm4::Vector2<float>& cursor)
{
    const Wm4::Vector2<float> origin = toPixel(map, Wm4::Vector3<float>::ZERO);
    float best = 1e30f;
    for (const Wm4::Vector3<float>& tip : {Wm4::Vector3<float>::UNIT_X, Wm4::Vector3<float>::UNIT_Y,
                                           Wm4::Vector3<float>::UNIT_Z}) {
        best = std::min(best, squaredDistance(origin, toPixel(map, tip), cursor));
    }
    return best;
}

ShownLines shownLinesOf(const ek::ekGizmoNode& gizmo)
{
    ShownLines lines;
    for (int i = 0; i < gizmo.getChildCount(); ++i) {
        const auto* line = dynamic_cast<const ek::ekLine*>(gizmo.getChild(i));
        if (line == nullptr || line->getCullingMode() != ek::ekSpatial::CULL_DYNAMIC) {
            continue;
        }
        const ek::ekGenericTransformation<float>& local = line->getLocalTransform();
        const Wm4::Matrix3<float> m = local.GetMatrix();
        const Wm4::Vector3<float>& t = local.GetTranslate();
        lines.locals.push_back({m(0, 0), m(1, 0), m(2, 0), m(0, 1), m(1, 1), m(2, 1), m(0, 2), m(1, 2),
                                m(2, 2), t.X(), t.Y(), t.Z()});
        lines.vertexCounts.push_back(line->getVertexCount());
        for (int v = 0; v < line->getVertexCount(); ++v) {
            lines.vertices.push_back(line->getVertexPosition(v));
        }
    }
    return lines;
}

void redrawFloor(const ShownLines& lines, const Wm4::Vector3<float>& centre, float scale,
                 Wm4::Vector3<float>* out)
{
    const Wm4::Vector3<float>* vertex = lines.vertices.data();
    for (std::size_t l = 0; l < lines.locals.size(); ++l) {
        // The line's world matrix: the gizmo's (scale, then centre) after
        // the line's local one.
        const std::array<float, 12>& local = lines.locals[l];
        std::array<float, 12> w{};
        for (std::size_t k = 0; k < 9; ++k) {
            w[k] = scale * local[k];
        }
        w[9] = scale * local[9] + centre.X();
        w[10] = scale * local[10] + centre.Y();
        w[11] = scale * local[11] + centre.Z();
        for (int v = 0; v < lines.vertexCounts[l]; ++v, ++vertex) {
            const float x = vertex->X();
            const float y = vertex->Y();
            const float z = vertex->Z();
            *out++ = {x * w[0] + y * w[3] + z * w[6] + w[9], x * w[1] + y * w[4] + z * w[7] + w[10],
                      x * w[2] + y * w[5] + z * w[8] + w[11]};
        }
    }
}

} // namespace ek_bench
