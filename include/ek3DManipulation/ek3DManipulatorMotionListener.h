#pragma once

#include "ek3DManipulationExport.h"

#include <ekSceneGraph/ekGenericTransformation.h>

namespace ek {

class ekGizmoNode;

/// Told what the user does with the gizmos of a controller. Install it with
/// ekGizmoController::install3DManipulatorMotionListener and uninstall it
/// before destroying it: nothing uninstalls it for you. Notifications come
/// on the thread that runs the controller's update; installing or
/// uninstalling from inside one is not allowed. The start and end
/// notifications do nothing unless overridden.
class EK3DMANIPULATION_API ek3DManipulatorMotionListener {
public:
    /// Does not uninstall the listener.
    virtual ~ek3DManipulatorMotionListener();

    /// Once per update for each gizmo pressed, dragged or released in it,
    /// after the gizmos were laid out; gizmos in ascending pointer order.
    virtual void onManipulatorMotion(ekGizmoNode* gizmo) = 0;
    /// At the press of a translate drag. Every start is paired with one end
    /// of the same kind: at the release, at ekGizmoController::cancelDrag
    /// (delta identity) or when the dragged gizmo leaves the scene (delta
    /// applied so far).
    virtual void onTranslateManipulatorStart();
    /// At the release of a translate drag, with the world translation it
    /// applied (identity when none).
    virtual void onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta);
    /// At a press that starts a rotation.
    virtual void onRotateManipulatorStart();
    /// At the release of a rotation, with the world rotation about the pivot
    /// that it applied.
    virtual void onRotateManipulatorEnd(const ekGenericTransformation<float>& delta);
    /// At the press of a scale drag on a handle.
    virtual void onScaleManipulatorStart();
    /// At the release of a scale drag, with the world scale (about each
    /// object's own position, along the world axes) that it applied.
    virtual void onScaleManipulatorEnd(const ekGenericTransformation<float>& delta);
    /// After every move applied during a drag, with the world transform the
    /// drag applies so far (as its end would tell it): for live readouts.
    virtual void onManipulatorDragged(const ekGenericTransformation<float>& delta);

protected:
    /// For derived classes only: the class is an interface.
    ek3DManipulatorMotionListener() = default;

public:
    /// A copy is installed nowhere, whatever the source is.
    ek3DManipulatorMotionListener(const ek3DManipulatorMotionListener&) = default;
    /// Leaves the target installed where it was.
    ek3DManipulatorMotionListener& operator=(const ek3DManipulatorMotionListener&) = default;
};

} // namespace ek
