#include "ekExtendedDrag.h"
#include "ekExtendedDrags.h"
#include "ekHandleProbe.h"
#include "ekMatrixUtils.h"
#include "ekRotations.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Math.h>

#include <cmath>

namespace ek {
namespace {

constexpr float kPi = Wm4::Math<float>::WM4_PI;

// The rotate step of steps in radians, half a turn over the steps in it
// (so 5 degrees is the rotate drag's own step bit for bit); 0 turns freely.
float stepRadians(const ekSnapSteps& steps)
{
    return steps.rotateDegrees > 0.0f ? kPi / (180.0f / steps.rotateDegrees) : 0.0f;
}

// The view ring turns about the view direction through the pivot; the
// trackball turns freely, as an arcball: the rotation that carries the
// press's point on the sphere of the rotate circles to the cursor's.
class ekFreeRotateDrag final : public ekExtendedDrag {
public:
    explicit ekFreeRotateDrag(const std::vector<ek3DManipulatorMotionListener*>& listeners)
        : ekExtendedDrag(Kind::ROTATE, listeners)
    {
    }

    ekGizmoHandle pick(const ekGizmoNode& gizmo, const ekDragInput& input,
                       float tolerance) const override
    {
        const ekHandleProbe probe(gizmo, input);
        if (probe.distanceToViewRing() <= tolerance) {
            return ekGizmoHandle::VIEW_RING;
        }
        return probe.insideSphere() ? ekGizmoHandle::TRACKBALL : ekGizmoHandle::NONE;
    }

protected:
    bool start(const ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& input) override
    {
        const ekCamera& camera = *input.camera;
        m_trackball = handle == ekGizmoHandle::TRACKBALL;
        m_pivot = gizmo.getCenterReferences();
        m_right = camera.getRVector();
        m_up = camera.getUVector();
        m_view = camera.getDVector();
        const ekHandleProbe probe(gizmo, input);
        m_centre = probe.centre();
        m_radius = gizmo.getExpectedPixelSize();
        return pointAt(input, m_start) && m_start != Wm4::Vector3<float>::ZERO;
    }

    bool deltaAt(const ekDragInput& input, ekGenericTransformation<float>& delta) const override
    {
        Wm4::Vector3<float> current;
        if (!pointAt(input, current)) {
            return false;
        }
        Wm4::Vector3<float> axis = m_trackball ? m_start.Cross(current) : m_view;
        const float sine = m_trackball ? safeNormalize(axis) : axis.Dot(m_start.Cross(current));
        // Opposite points, or the pivot itself, give no plane to turn in.
        if (axis == Wm4::Vector3<float>::ZERO) {
            return false;
        }
        const float angle = roundToStep(std::atan2(sine, m_start.Dot(current)), stepRadians(steps()));
        const Wm4::Matrix3<float> rotation = rotationAbout(axis, angle);
        delta.SetRotate(rotation);
        delta.SetTranslate(m_pivot - rotation * m_pivot);
        return true;
    }

private:
    // The cursor's point, seen from the pivot: on the unit sphere for the
    // trackball, in the plane facing the camera (unit length) for the ring.
    bool pointAt(const ekDragInput& input, Wm4::Vector3<float>& point) const
    {
        if (m_trackball) {
            const Wm4::Vector2<float> d =
                (cursorPixel(input.position, input.width, input.height) - m_centre) / m_radius;
            const float squared = d.Dot(d);
            // Past the sphere's outline the point slides along its rim.
            const float depth = squared < 1.0f ? std::sqrt(1.0f - squared) : 0.0f;
            point = m_right * d.X() + m_up * d.Y() - m_view * depth;
        } else {
            const auto hit = intersectPlane(pickRay(input.camera, input.position), m_view, m_pivot);
            if (!hit) {
                return false;
            }
            point = hit->point - m_pivot;
        }
        return safeNormalize(point) > 0.0f;
    }

    Wm4::Vector3<float> m_pivot;
    Wm4::Vector3<float> m_right;
    Wm4::Vector3<float> m_up;
    Wm4::Vector3<float> m_view;
    Wm4::Vector3<float> m_start;
    Wm4::Vector2<float> m_centre;
    float m_radius = 1.0f;
    bool m_trackball = false;
};

} // namespace

std::unique_ptr<ekDrag> makeFreeRotateDrag(
    const std::vector<ek3DManipulatorMotionListener*>& listeners)
{
    return std::make_unique<ekFreeRotateDrag>(listeners);
}

} // namespace ek
