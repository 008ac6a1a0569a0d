#include "ekLayoutPass.h"

#include "ekTransformUtils.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekGenericTransformation.h>

namespace ek {
namespace {

// Dirty bits after which a spatial's world data is out of date.
constexpr unsigned int kNeedsWorldUpdate = DIRTY_TRANSFORM | DIRTY_SUBTREE | DIRTY_BOUND;

bool showsHandles(const ekGizmoNode* gizmo)
{
    return gizmo != nullptr && gizmo->getMode() < ekGizmoNode::NONE;
}

// Places gizmo on the centre of its reference objects with the given axes,
// at its expected size on screen, its arrowheads turned to the camera.
void place(ekGizmoNode& gizmo, const Wm4::Matrix3<float>& orientation, const ekCamera& camera,
           int viewportHeight)
{
    ekGenericTransformation<float> frame;
    frame.SetRotate(orientation);
    frame.SetTranslate(gizmo.getCenterReferences());
    // A custom matrix or a centre with NaN or infinity in it would poison the
    // gizmo and the bounds of everything above it: keep the last placement.
    if (!isFinite(frame)) {
        return;
    }
    gizmo.calculateFrameFromObjectWorldTranform(frame, &camera, gizmo.getExpectedPixelSize(),
                                                viewportHeight);
    gizmo.updateCameraFacing(&camera);
}

} // namespace

void ekLayoutPass::chooseOrientation(const ekGizmoNode& gizmo, const ekCamera& camera)
{
    switch (orientationReference) {
    case ekGizmoController::LOCAL:
        currentOrientation = gizmo.getOrientationReferences();
        break;
    case ekGizmoController::WORLD:
        currentOrientation = Wm4::Matrix3<float>::IDENTITY;
        break;
    case ekGizmoController::CUSTOM:
        currentOrientation = customOrientation;
        break;
    case ekGizmoController::CAMERA:
        currentOrientation = Wm4::Matrix3<float>(camera.getRVector(), camera.getUVector(),
                                                 camera.getDVector(), true);
        break;
    }
}

void ekLayoutPass::layOut(const std::vector<ekGizmoNode*>& gizmos, const ekCamera& camera,
                          int viewportHeight, bool dragging, bool settle)
{
    m_cache.beginPass(ekLayoutKey(camera, viewportHeight, orientationReference, customOrientation,
                                  dragging, currentOrientation),
                      gizmos.size());
    const ekGizmoNode* lastShown = nullptr;
    bool lastLaidOut = false;
    for (std::size_t i = 0; i < gizmos.size(); ++i) {
        ekGizmoNode* gizmo = gizmos[i];
        if (!showsHandles(gizmo)) {
            m_cache.forget(i);
            continue;
        }
        lastShown = gizmo;
        lastLaidOut = m_cache.isDue(i, *gizmo);
        if (lastLaidOut) {
            // Frozen during a drag, so that the axes being dragged along stay
            // put (every gizmo then shares the last orientation computed
            // before it).
            if (!dragging) {
                chooseOrientation(*gizmo, camera);
            }
            place(*gizmo, currentOrientation, camera, viewportHeight);
            m_cache.laidOut(i, *gizmo);
        }
#if !EK3D_ENGINE_EXTENSIONS
        else {
            // Without the engine's change count a host's turn of an
            // arrowhead goes unseen by the cache: the facing compares itself.
            gizmo->updateCameraFacing(&camera);
        }
#endif
        if (settle && (gizmo->getDirtyFlags(0) & kNeedsWorldUpdate) != 0) {
            gizmo->UpdateGS_Flags();
        }
    }
    // The orientation a drag freezes is the last shown gizmo's, laid out
    // in this pass or not.
    if (lastShown != nullptr && !lastLaidOut && !dragging) {
        chooseOrientation(*lastShown, camera);
    }
}

} // namespace ek
