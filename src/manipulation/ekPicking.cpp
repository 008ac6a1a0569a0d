#include "ekPicking.h"

#include "ekMatrixUtils.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4IntrLine3Plane3.h>
#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Plane3.h>

#include <algorithm>
#include <cmath>

namespace ek {

Wm4::Vector2<float> cursorPixel(const Wm4::Vector2<float>& pos, int width, int height)
{
    return {pos.X() * static_cast<float>(width), pos.Y() * static_cast<float>(height)};
}

Wm4::Vector2<float> projectToScreen(const ekViewProjection& m,
                                    const ekGenericTransformation<float>& transform,
                                    const Wm4::Vector3<float>& point, int width, int height)
{
    const Wm4::Vector3<float> q = transform.ApplyForward(point, true);
    const float x = q.X() * m[0] + q.Y() * m[4] + q.Z() * m[8] + m[12];
    const float y = q.X() * m[1] + q.Y() * m[5] + q.Z() * m[9] + m[13];
    const float w = q.X() * m[3] + q.Y() * m[7] + q.Z() * m[11] + m[15];
    return {(x / w + 1.0f) * 0.5f * static_cast<float>(width),
            (y / w + 1.0f) * 0.5f * static_cast<float>(height)};
}

ekScreenProjector::ekScreenProjector(const ekViewProjection& m,
                                     const ekGenericTransformation<float>& transform, int width,
                                     int height)
    : m_halfWidth(0.5f * static_cast<float>(width)), m_halfHeight(0.5f * static_cast<float>(height))
{
    const Wm4::Matrix3<float> linear = transform.GetMatrix();
    const Wm4::Vector3<float>& t = transform.GetTranslate();
    const std::size_t columns[3] = {0, 1, 3};
    std::array<float, 4>* rows[3] = {&m_x, &m_y, &m_w};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::size_t col = columns[c];
        std::array<float, 4>& out = *rows[c];
        // Clip coordinate col of M p + t: the matrix's columns and the
        // translation, each through the view-projection.
        for (int j = 0; j < 3; ++j) {
            out[static_cast<std::size_t>(j)] =
                linear(0, j) * m[col] + linear(1, j) * m[4 + col] + linear(2, j) * m[8 + col];
        }
        out[3] = t.X() * m[col] + t.Y() * m[4 + col] + t.Z() * m[8 + col] + m[12 + col];
    }
}

void ekNearestSegment::add(const Wm4::Vector2<float>& a, const Wm4::Vector2<float>& b)
{
    const Wm4::Vector2<float> e = b - a;
    const Wm4::Vector2<float> fromA = m_p - a;
    // The squared distance as numerator / denominator.
    float numerator;
    float denominator = 1.0f;
    if (fromA.Dot(e) <= 0.0f) {
        numerator = fromA.SquaredLength();
    } else if ((b - m_p).Dot(e) <= 0.0f) {
        numerator = (m_p - b).SquaredLength();
    } else if (!(e.SquaredLength()
                 > Wm4::Math<float>::ZERO_TOLERANCE * Wm4::Math<float>::ZERO_TOLERANCE)) {
        // Too short to have a direction: measured from its start.
        numerator = fromA.SquaredLength();
    } else {
        // Off the interior: |e x (p - a)|^2 / |e|^2.
        const float cross = e.X() * fromA.Y() - e.Y() * fromA.X();
        numerator = cross * cross;
        denominator = e.SquaredLength();
    }
    if (m_squared < 0.0f || numerator < m_squared * denominator) {
        m_squared = denominator == 1.0f ? numerator : numerator / denominator;
    }
}

float ekNearestSegment::distance() const
{
    // A NaN first distance stays NaN.
    return m_squared < 0.0f ? -1.0f : std::sqrt(m_squared);
}

float distanceToPolyline(const Wm4::Vector2<float>* points, std::size_t count,
                         const Wm4::Vector2<float>& p)
{
    ekNearestSegment nearest(p);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        nearest.add(points[i], points[i + 1]);
    }
    return nearest.distance();
}

bool isInsideViewport(const Wm4::Vector2<float>& pos)
{
    return pos.X() >= 0.0f && pos.X() <= 1.0f && pos.Y() >= 0.0f && pos.Y() <= 1.0f;
}

Wm4::Line3<float> pickRay(const ekCamera* camera, const Wm4::Vector2<float>& pos)
{
    Wm4::Line3<float> ray;
    camera->getPickRay(pos.X(), pos.Y(), ray.Origin, ray.Direction);
    return ray;
}

std::optional<ekPlaneHit> intersectPlane(const Wm4::Line3<float>& line,
                                         const Wm4::Vector3<float>& normal,
                                         const Wm4::Vector3<float>& point)
{
    if (normal == Wm4::Vector3<float>::ZERO) {
        return std::nullopt;
    }
    const Wm4::Plane3<float> plane(normal, point);
    Wm4::IntrLine3Plane3<float> query(line, plane);
    if (!query.Find()) {
        return std::nullopt;
    }
    const float t = query.GetLineT();
    const Wm4::Vector3<float> hit = line.Origin + line.Direction * t;
    if (!std::isfinite(t) || !isFinite(hit)) {
        return std::nullopt;
    }
    return ekPlaneHit{t, hit};
}

} // namespace ek
