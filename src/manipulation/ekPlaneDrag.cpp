#include "ekExtendedDrag.h"
#include "ekExtendedDrags.h"
#include "ekHandleProbe.h"
#include "ekMatrixUtils.h"
#include "ekUnitAxes.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Matrix3.h>

#include <cmath>

namespace ek {
namespace {

// A plane square is picked inside it and this fraction of the pick
// tolerance around it: more would reach over the arrows beside it.
constexpr float kPlaneReach = 0.25f;
// Pixels around the screen handle that still pick it.
constexpr float kScreenReach = 1.0f;

ekGizmoHandle planeHandle(int axis)
{
    return static_cast<ekGizmoHandle>(static_cast<int>(ekGizmoHandle::PLANE_X) + axis);
}

class ekPlaneDrag final : public ekExtendedDrag {
public:
    explicit ekPlaneDrag(const std::vector<ek3DManipulatorMotionListener*>& listeners)
        : ekExtendedDrag(Kind::TRANSLATE, listeners)
    {
    }

    ekGizmoHandle pick(const ekGizmoNode& gizmo, const ekDragInput& input,
                       float tolerance) const override
    {
        const ekHandleProbe probe(gizmo, input);
        if (probe.onScreenHandle(kScreenReach)) {
            return ekGizmoHandle::SCREEN;
        }
        const unsigned char mask = gizmo.getEnabledAxis(ekGizmoNode::TRANSLATE);
        const unsigned char faded = gizmo.getFadedPlanes();
        ekGizmoHandle best = ekGizmoHandle::NONE;
        float bestDistance = tolerance * kPlaneReach;
        for (int axis = 0; axis < 3; ++axis) {
            // A square lies between two axes: both must be enabled.
            const unsigned int spanned = (1u << ((axis + 1) % 3)) | (1u << ((axis + 2) % 3));
            // ...and a square seen edge-on cannot be grabbed.
            if ((mask & spanned) != spanned || (faded & (1u << axis)) != 0) {
                continue;
            }
            const float distance = probe.distanceToPlane(axis);
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = planeHandle(axis);
            }
        }
        return best;
    }

protected:
    bool start(const ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& input) override
    {
        const Wm4::Matrix3<float>& linear = gizmo.getWorldTransform().GetMatrix();
        for (unsigned int k = 0; k < 3; ++k) {
            m_axes.SetColumn(static_cast<int>(k), directionOf(linear * unitAxis(k)));
        }
        m_movesAlong = handle == ekGizmoHandle::SCREEN ? 3 : axisOf(handle);
        m_normal = handle == ekGizmoHandle::SCREEN ? input.camera->getDVector()
                                                   : m_axes.GetColumn(axisOf(handle));
        m_pivot = gizmo.getCenterReferences();
        return hitAt(input, m_start);
    }

    bool deltaAt(const ekDragInput& input, ekGenericTransformation<float>& delta) const override
    {
        Wm4::Vector3<float> hit;
        if (!hitAt(input, hit)) {
            return false;
        }
        delta.SetTranslate(snapped(hit - m_start));
        return true;
    }

private:
    // Where the cursor's ray meets the drag plane in front of the eye.
    bool hitAt(const ekDragInput& input, Wm4::Vector3<float>& point) const
    {
        const auto hit = intersectPlane(pickRay(input.camera, input.position), m_normal, m_pivot);
        if (!hit || hit->t < 0.0f) {
            return false;
        }
        point = hit->point;
        return true;
    }

    // displacement with its component along each gizmo axis the drag moves
    // on rounded to the translate step (the plane's normal component, 0
    // by construction, stays out).
    Wm4::Vector3<float> snapped(const Wm4::Vector3<float>& displacement) const
    {
        const float step = steps().translate;
        // Axes that span no volume give no components to round.
        if (!(step > 0.0f) || determinant(m_axes) == 0.0f) {
            return displacement;
        }
        Wm4::Vector3<float> along = cofactorInverse(m_axes) * displacement;
        for (int k = 0; k < 3; ++k) {
            along[k] = k == m_movesAlong ? 0.0f : std::round(along[k] / step) * step;
        }
        return m_axes * along;
    }

    Wm4::Matrix3<float> m_axes;
    Wm4::Vector3<float> m_normal;
    Wm4::Vector3<float> m_pivot;
    Wm4::Vector3<float> m_start;
    // The axis a plane drag does not move along; 3 for the screen handle.
    int m_movesAlong = 3;
};

} // namespace

std::unique_ptr<ekDrag> makePlaneDrag(const std::vector<ek3DManipulatorMotionListener*>& listeners)
{
    return std::make_unique<ekPlaneDrag>(listeners);
}

} // namespace ek
