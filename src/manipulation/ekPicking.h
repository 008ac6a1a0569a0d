#pragma once

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Line3.h>
#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <array>
#include <cstddef>
#include <optional>

namespace ek {

class ekCamera;

// Screen-space picking shared by the drag classes. Pixels have their origin
// at the bottom-left corner of the viewport, y up; cursor positions are
// normalised to 0..1 in the same frame.

// The axis index that stands for no axis (axes are 0 X, 1 Y, 2 Z).
inline constexpr int kNoAxis = -1;

// A camera's view-projection matrix, row-vector convention (entries 12..14
// translate, 3, 7, 11, 15 give w).
using ekViewProjection = std::array<float, 16>;

// One screen segment in pixels: the hover tests refill it for every
// segment they measure instead of building a whole polyline.
using ekScreenSegment = std::array<Wm4::Vector2<float>, 2>;

// The pixel under the normalised cursor position pos.
Wm4::Vector2<float> cursorPixel(const Wm4::Vector2<float>& pos, int width, int height);

// The pixel of point, given in the frame of transform (pass an identity
// transform for a world point). No test on w: a point behind a perspective
// eye comes out mirrored, one in the eye plane not finite.
Wm4::Vector2<float> projectToScreen(const ekViewProjection& viewProjection,
                                    const ekGenericTransformation<float>& transform,
                                    const Wm4::Vector3<float>& point, int width, int height);

// projectToScreen for many points of one frame: the view-projection and
// the transform are composed once, so that each point costs one 3x3
// product, a translation and a divide. The pixels agree with
// projectToScreen's up to float rounding.
class ekScreenProjector {
public:
    ekScreenProjector(const ekViewProjection& viewProjection,
                      const ekGenericTransformation<float>& transform, int width, int height);

    Wm4::Vector2<float> operator()(const Wm4::Vector3<float>& point) const
    {
        const float x = point.X() * m_x[0] + point.Y() * m_x[1] + point.Z() * m_x[2] + m_x[3];
        const float y = point.X() * m_y[0] + point.Y() * m_y[1] + point.Z() * m_y[2] + m_y[3];
        const float w = point.X() * m_w[0] + point.Y() * m_w[1] + point.Z() * m_w[2] + m_w[3];
        return {(x / w + 1.0f) * m_halfWidth, (y / w + 1.0f) * m_halfHeight};
    }

private:
    // Clip x, y and w as functions of the point: three weights, then the
    // constant.
    std::array<float, 4> m_x;
    std::array<float, 4> m_y;
    std::array<float, 4> m_w;
    float m_halfWidth;
    float m_halfHeight;
};

// The nearest to a point p of a run of segments, in pixels. Segments are
// compared by squared distance, cross-multiplied, so that a square root is
// taken once, at the end, and a divide only when a segment comes nearer.
// The first segment measured is kept whatever its distance (NaN too);
// later ones replace it only when strictly nearer.
class ekNearestSegment {
public:
    explicit ekNearestSegment(const Wm4::Vector2<float>& p) : m_p(p) {}

    // Measures the segment ab; a segment whose ends coincide measures the
    // distance to that point.
    void add(const Wm4::Vector2<float>& a, const Wm4::Vector2<float>& b);
    // The smallest distance measured; -1 before any segment.
    float distance() const;

private:
    Wm4::Vector2<float> m_p;
    float m_squared = -1.0f;
};

// Smallest distance in pixels from p to the count - 1 segments joining
// consecutive points; -1 when count is below two. A segment whose ends
// coincide measures the distance to that point. Non-finite input gives a
// non-finite distance.
float distanceToPolyline(const Wm4::Vector2<float>* points, std::size_t count,
                         const Wm4::Vector2<float>& p);

inline float distanceToSegment(const ekScreenSegment& segment, const Wm4::Vector2<float>& p)
{
    return distanceToPolyline(segment.data(), segment.size(), p);
}

// The hover rule of every handle kind: the axis (0, 1, 2, skipping those
// whose bit 1 << axis is clear in mask) whose distance(axis), in pixels, is
// smallest and not above tolerance; on equal distances the later axis.
// -1 when none qualifies; a NaN distance never does.
template <class Distance>
int pickNearestAxis(unsigned char mask, float tolerance, Distance&& distance)
{
    int best = -1;
    float bestDistance = tolerance;
    for (int axis = 0; axis < 3; ++axis) {
        if ((mask & (1u << axis)) == 0) {
            continue;
        }
        const float d = distance(axis);
        if (bestDistance >= d) {
            bestDistance = d;
            best = axis;
        }
    }
    return best;
}

// The axes (bit 1 << axis) whose handles of mode's kind a hover or press
// may pick: those of node's mask for mode that are not faded.
inline unsigned char pickableAxes(const ekGizmoNode& node, ekGizmoNode::GizmoMode mode)
{
    return static_cast<unsigned char>(node.getEnabledAxis(mode) & ~node.getFadedHandles(mode));
}

// Whether pos lies in the viewport, borders included. A NaN lies outside.
bool isInsideViewport(const Wm4::Vector2<float>& pos);

// The camera's pick ray through pos (world space), direction as the camera
// gives it.
Wm4::Line3<float> pickRay(const ekCamera* camera, const Wm4::Vector2<float>& pos);

// Where a line meets a plane: the line parameter and the world point.
struct ekPlaneHit {
    float t;
    Wm4::Vector3<float> point;
};

// The line against the plane of the given normal through point. Empty when
// there is no single usable point: the line is parallel to the plane, the
// normal is zero (a degenerate gizmo), or the hit is not finite (a line so
// nearly parallel that the hit overflows). A line lying in the plane meets
// it at t = 0. A hit behind the line's origin (t < 0) is returned.
std::optional<ekPlaneHit> intersectPlane(const Wm4::Line3<float>& line,
                                         const Wm4::Vector3<float>& normal,
                                         const Wm4::Vector3<float>& point);

} // namespace ek
