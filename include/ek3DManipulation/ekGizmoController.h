#pragma once

#include "ek3DManipulationExport.h"
#include "ekGizmoHandle.h"

#include <ekSceneGraph/ekEngineInterface.h>

#include <Wm4/Wm4Matrix3.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;
class ekCamera;
class ekGizmoControllerRotate;
class ekGizmoControllerScale;
class ekGizmoControllerTranslate;
class ekGizmoNode;
class ekNode;

/// The per-view controller of the gizmos. Register it with the engine as a
/// controller; feed it the view's mouse in window pixels (origin top-left,
/// y down). Input calls only queue events (a press also answers at once
/// whether it lies on a handle); the engine's per-frame updateController
/// replays them through hover, press, drag and release, lays out every
/// gizmo of the scene and notifies the listeners.
///
/// Copies are independent: a copy gets its own drag objects (copies of the
/// source's), shares the listeners, gizmos and root (none of which either
/// owns).
///
/// Everything runs on one thread: the input calls, the setters and the
/// engine's update. The host owns the controller and removes it from the
/// engine before destroying it.
class EK3DMANIPULATION_API ekGizmoController : public ekGenericControllerInterface {
public:
    /// How the gizmo axes are chosen at layout.
    enum OrientationReference : std::uint32_t {
        LOCAL = 0,  ///< the only reference object's world rotation, else world axes
        WORLD = 1,  ///< world axes
        CUSTOM = 2, ///< setCustomOrientationMatrix
        CAMERA = 3, ///< the camera's right, up and view direction
    };

    /// The kind of a queued mouse event.
    enum ControllerEventType : std::uint32_t {
        MOUSE_PRESSED = 0,
        MOUSE_RELEASED = 1,
        MOUSE_POS = 2,
    };

    /// One queued mouse event, window pixels.
    struct ControllerEvent {
        std::int32_t x;           ///< pixels from the view's left edge
        std::int32_t y;           ///< pixels from the view's top edge
        ControllerEventType type; ///< press, release or move
    };

    /// The queue's bound. Once it holds this many events, a move that
    /// follows a move replaces it instead of being appended: a long run of
    /// moves while the controller is disabled folds into its latest
    /// position, and no press or release is ever dropped.
    static constexpr std::size_t kMaxQueuedEvents = 4096;

    /// Enabled, orientation LOCAL, no gizmo, root or listener, queue empty.
    ekGizmoController();
    /// A copy as the class describes; its drag objects start idle.
    ekGizmoController(const ekGizmoController& other);
    /// Ends a drag under way on this controller, then copies as the copy
    /// constructor does.
    ekGizmoController& operator=(const ekGizmoController& other);
    /// Does not remove the controller from the engine: do that first.
    ~ekGizmoController() override;

    /// Called by the engine once a frame: replays the queued input (when
    /// enabled), lays out the gizmos for the engine's camera and viewport
    /// and notifies the listeners. Without a camera it lays out nothing and
    /// the queue waits.
    void updateController(ekGenericRenderingContext* context) override;

    /// A disabled controller keeps queuing input and laying out its gizmos,
    /// but replays nothing until enabled again.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    /// Whether the controller replays its input; see setEnabled.
    bool isEnabled() const { return m_enabled; }

    /// Root of the gizmo search; null means the engine's scene. Not owned.
    /// A different root empties the gizmo list at once (a drag under way
    /// ends), since the old root is no longer watched; the list is built
    /// from the new root at the next update.
    void setRootNode(ekNode* root);

    /// How the gizmo axes are chosen from the next layout outside a drag on.
    void setOrientationReference(OrientationReference reference);
    /// The orientation reference set; LOCAL by default.
    OrientationReference getOrientationReference() const;
    /// World-space axes as columns; used under CUSTOM from the next update
    /// outside a drag.
    void setCustomOrientationMatrix(const Wm4::Matrix3<float>& matrix);
    /// The orientation the last layout used.
    const Wm4::Matrix3<float>& getCurrentOrientation() const;

    /// The gizmos of the view, in scene order. Entries added by hand must be
    /// live, non-null gizmo nodes; the next rebuild replaces the list. After
    /// every call that reached a listener, only gizmos still in the scene
    /// are listed.
    const std::vector<ekGizmoNode*>& get3DManipulators() const;
    /// The same list, to change by hand; see get3DManipulators.
    std::vector<ekGizmoNode*>& edit3DManipulators();

    /// Installs on the three drag objects too. False when already installed.
    bool install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);
    /// False when it was not installed.
    bool uninstall3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);

    /// Queues a press at window pixel (x, y) of a width x height view and
    /// answers at once whether it lies on a handle of a gizmo as laid out by
    /// the last update. The answer holds until the release.
    bool setMousePressed(const ekCamera* camera, int x, int y, int width, int height);
    /// Queues a release at window pixel (x, y); returns the pending press
    /// answer and clears it.
    bool setMouseReleased(int x, int y);
    /// Queues a move to window pixel (x, y); returns the pending press
    /// answer.
    bool setMousePos(int x, int y);
    /// Drops the queued events and the pending press answer; a drag under way
    /// is ended by the next release.
    void clearControllerEvents();

    /// The input events waiting for the next update.
    std::size_t getQueuedEventCount() const;

    /// Whether a drag has started (its start notified) and not yet ended:
    /// the reference objects may differ from their transforms at the press.
    bool isDragging() const;
    /// The handle of the drag under way: 0 X, 1 Y, 2 Z; -1 when none, and
    /// also during a translate or scale drag whose press met no drag plane
    /// (its start was told, its moves do nothing, its release tells the end
    /// with the identity).
    int getActiveAxis() const;
    /// Ends the drag under way at once: every reference object gets back its
    /// transform of the press (bit for bit), the drag feedback is hidden and
    /// the listeners hear the end of that drag's kind with an identity delta.
    /// The queued events stay; the release that follows ends nothing. False
    /// when no drag is under way. Called from inside a notification, the
    /// cancel is carried out once every listener has heard that
    /// notification, so that each hears the start before the end.
    bool cancelDrag();

    /// @name Snapping (opt-in)
    /// Increments a drag rounds to, relative to its press. Until a step is
    /// set the specified behaviour holds: rotations in 5-degree steps,
    /// translations and scales free. Setting any step turns snapping on for
    /// every drag, with the steps set so far (the rotate step stays 5
    /// degrees until set). Read at each press.
    /// @{

    /// The displacement along each gizmo axis a translate drag moves on
    /// (arrows, plane squares, the screen handle), in world units; 0 free.
    void setTranslateSnap(float worldUnits);
    /// The angle of a rotate drag (circles, view ring, trackball), in
    /// degrees; 0 free.
    void setRotateSnap(float degrees);
    /// The factor of a scale drag; never below one step; 0 free.
    void setScaleSnap(float step);
    /// Back to the specified behaviour, every step forgotten.
    void resetSnapping();
    /// Whether a step was set since construction or the last reset.
    bool isSnapping() const;
    /// Whether the host's snapping key is held: a press made while it is
    /// inverts snapping for its drag (on: every step free; off: the steps
    /// set, or free where none is). Read by each press call as it is made.
    void setSnapInverted(bool inverted);
    /// @}

    /// @name What is under the cursor
    /// @{

    /// The gizmo whose handle the last replayed hover found under the
    /// cursor (null when none): for cursor shapes and tooltips.
    ekGizmoNode* getHoveredGizmo() const;
    /// That handle; NONE when none.
    ekGizmoHandle getHoveredHandle() const;
    /// The handle of the drag under way; NONE when none. getActiveAxis
    /// answers its axis: the plane's normal for a plane square, -1 for the
    /// screen handle, the view ring, the trackball and the centre.
    ekGizmoHandle getActiveHandle() const;
    /// @}

protected:
    /// Called by the engine when its scene is replaced: ends a drag under
    /// way (its listeners hear the end), drops the queue, the pending press
    /// answer and the gizmo list, which the next update rebuilds.
    void clearController() override;

private:
    // The gizmo registry, the layout pass and the input state machine.
    struct Parts;

    // Made in this order, each controller its own: the rotate, translate and
    // scale drag objects, shared by every gizmo of the view.
    std::unique_ptr<ekGizmoControllerRotate> m_rotateController;
    std::unique_ptr<ekGizmoControllerTranslate> m_translateController;
    std::unique_ptr<ekGizmoControllerScale> m_scaleController;
    // In install order, without duplicates; not owned. Before the parts,
    // which tell them.
    std::vector<ek3DManipulatorMotionListener*> m_motionListeners;
    std::unique_ptr<Parts> m_parts;
    // The root of the gizmo search; null means the engine's scene. Not owned.
    ekNode* m_rootNode = nullptr;
    // Pixels within which a handle counts as under the cursor; no setter.
    float m_pickTolerance;
    // Whether an update replays the queued input.
    bool m_enabled = true;
};

} // namespace ek
