#include "ekPicking.h"

#include "node/ekMatrixUtils.h"

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

float distanceToPolyline(const Wm4::Vector2<float>* points, std::size_t count,
                         const Wm4::Vector2<float>& p)
{
    float best = -1.0f;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const Wm4::Vector2<float>& a = points[i];
        const Wm4::Vector2<float>& b = points[i + 1];
        const Wm4::Vector2<float> e = b - a;
        float squared;
        if ((p - a).Dot(e) <= 0.0f) {
            squared = (p - a).SquaredLength();
        } else if ((b - p).Dot(e) <= 0.0f) {
            squared = (p - b).SquaredLength();
        } else {
            const float length = e.Length();
            const Wm4::Vector2<float> u = length > Wm4::Math<float>::ZERO_TOLERANCE
                ? e / length
                : Wm4::Vector2<float>::ZERO;
            const Wm4::Vector2<float> foot = a + u * (p - a).Dot(u);
            squared = (p - foot).SquaredLength();
        }
        const float d = std::sqrt(squared);
        best = best == -1.0f ? d : std::min(best, d);
    }
    return best;
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
