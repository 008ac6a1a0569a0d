#include "ekHandleProbe.h"

#include "ekHandleShapes.h"
#include "ekUnitAxes.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <array>
#include <cmath>
#include <cstddef>

namespace ek {
namespace {

// z of the cross product of (b - a) and (p - a): its sign tells the side of
// line ab that p lies on.
float side(const Wm4::Vector2<float>& a, const Wm4::Vector2<float>& b, const Wm4::Vector2<float>& p)
{
    return (b.X() - a.X()) * (p.Y() - a.Y()) - (b.Y() - a.Y()) * (p.X() - a.X());
}

// Whether p lies inside the convex polygon of count corners, either winding.
template <std::size_t N>
bool insideConvex(const std::array<Wm4::Vector2<float>, N>& corners, const Wm4::Vector2<float>& p)
{
    bool anyPositive = false;
    bool anyNegative = false;
    for (std::size_t i = 0; i < N; ++i) {
        const float s = side(corners[i], corners[(i + 1) % N], p);
        anyPositive = anyPositive || s > 0.0f;
        anyNegative = anyNegative || s < 0.0f;
    }
    return !(anyPositive && anyNegative);
}

} // namespace

ekHandleProbe::ekHandleProbe(const ekGizmoNode& node, const ekDragInput& input)
    : m_project(input.camera->getViewProjectionMatrix(), node.getWorldTransform(), input.width,
                input.height)
    , m_cursor(cursorPixel(input.position, input.width, input.height))
    , m_centre(m_project(Wm4::Vector3<float>::ZERO))
    , m_unitPixels(node.getExpectedPixelSize())
{
}

float ekHandleProbe::distanceToPlane(int axis) const
{
    const Wm4::Vector3<float>& a = unitAxis(static_cast<unsigned int>((axis + 1) % 3));
    const Wm4::Vector3<float>& b = unitAxis(static_cast<unsigned int>((axis + 2) % 3));
    constexpr float i = kPlaneSquareInner;
    constexpr float o = kPlaneSquareOuter;
    const std::array<Wm4::Vector2<float>, 4> corners{m_project(a * i + b * i), m_project(a * o + b * i),
                                                      m_project(a * o + b * o), m_project(a * i + b * o)};
    if (insideConvex(corners, m_cursor)) {
        return 0.0f;
    }
    const std::array<Wm4::Vector2<float>, 5> outline{corners[0], corners[1], corners[2], corners[3],
                                                      corners[0]};
    return distanceToPolyline(outline.data(), outline.size(), m_cursor);
}

bool ekHandleProbe::onScreenHandle(float margin) const
{
    const float half = kScreenHandleHalfSide * m_unitPixels + margin;
    return std::fabs(m_cursor.X() - m_centre.X()) <= half
        && std::fabs(m_cursor.Y() - m_centre.Y()) <= half;
}

float ekHandleProbe::distanceToViewRing() const
{
    return std::fabs((m_cursor - m_centre).Length() - kViewRingRadius * m_unitPixels);
}

bool ekHandleProbe::insideSphere() const
{
    return (m_cursor - m_centre).Length() < m_unitPixels;
}

bool ekHandleProbe::insideUniformTriangle() const
{
    const std::array<Wm4::Vector2<float>, 3> corners{m_project(unitAxis(0) * kUniformTriangleOuter),
                                                      m_project(unitAxis(1) * kUniformTriangleOuter),
                                                      m_project(unitAxis(2) * kUniformTriangleOuter)};
    return insideConvex(corners, m_cursor);
}

} // namespace ek
