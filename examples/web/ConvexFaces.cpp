#include "ConvexFaces.h"

#include <algorithm>
#include <cmath>

namespace ek::web {
namespace {

using Vec3 = Wm4::Vector3<float>;

// Points this close to a plane, relative to the size of the set, lie on it.
constexpr float kRelativeFlatness = 1e-4f;

Vec3 centroidOf(const std::vector<Vec3>& points, const std::vector<int>& indices)
{
    Vec3 sum = Vec3::ZERO;
    for (int i : indices) {
        sum += points[static_cast<std::size_t>(i)];
    }
    return sum / float(indices.size());
}

// Sorts the corners of a face counter-clockwise about its outward normal.
void orderAround(const std::vector<Vec3>& points, ConvexFace& face)
{
    const Vec3 centre = centroidOf(points, face.corners);
    const Vec3 u = points[static_cast<std::size_t>(face.corners.front())] - centre;
    const Vec3 v = face.normal.Cross(u);
    const auto angle = [&](int i) {
        const Vec3 d = points[static_cast<std::size_t>(i)] - centre;
        return std::atan2(d.Dot(v), d.Dot(u));
    };
    std::sort(face.corners.begin(), face.corners.end(),
              [&](int a, int b) { return angle(a) < angle(b); });
}

} // namespace

std::vector<ConvexFace> convexFaces(const std::vector<Vec3>& points)
{
    std::vector<ConvexFace> faces;
    const int count = static_cast<int>(points.size());
    float extent = 0.0f;
    for (const Vec3& p : points) {
        extent = std::max(extent, (p - points.front()).Length());
    }
    const float tolerance = kRelativeFlatness * extent;
    bool spansVolume = false;

    // Every plane through three points that has no point outside it holds
    // a face: the points on it.
    for (int a = 0; a < count; ++a) {
        for (int b = a + 1; b < count; ++b) {
            for (int c = b + 1; c < count; ++c) {
                const Vec3& origin = points[static_cast<std::size_t>(a)];
                Vec3 normal = (points[static_cast<std::size_t>(b)] - origin)
                                  .Cross(points[static_cast<std::size_t>(c)] - origin);
                if (normal.Normalize() <= tolerance * tolerance) {
                    continue; // three points on a line
                }
                std::vector<int> on;
                int above = 0;
                int below = 0;
                for (int i = 0; i < count; ++i) {
                    const float d = (points[static_cast<std::size_t>(i)] - origin).Dot(normal);
                    if (d > tolerance) {
                        ++above;
                    } else if (d < -tolerance) {
                        ++below;
                    } else {
                        on.push_back(i);
                    }
                }
                spansVolume = spansVolume || above + below > 0;
                if ((above > 0 && below > 0) || above + below == 0) {
                    continue;
                }
                // Other triples of a face found already find it again.
                const bool known = std::any_of(faces.begin(), faces.end(),
                                               [&on](const ConvexFace& f) { return f.corners == on; });
                if (known) {
                    continue;
                }
                faces.push_back({on, above > 0 ? -normal : normal});
            }
        }
    }
    if (!spansVolume) {
        faces.clear();
    }
    // Ordered only now: the comparison above needs the indices ascending.
    for (ConvexFace& face : faces) {
        orderAround(points, face);
    }
    return faces;
}

} // namespace ek::web
