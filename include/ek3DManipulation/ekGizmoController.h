#pragma once

#include "ek3DManipulationExport.h"

#include <ekSceneGraph/ekEngineInterface.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;
class ekCamera;
class ekDragDispatch;
class ekGizmoControllerRotate;
class ekGizmoControllerScale;
class ekGizmoControllerTranslate;
class ekGizmoLayoutCache;
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
    void setEnabled(bool enabled) { m_state.enabled = enabled; }
    /// Whether the controller replays its input; see setEnabled.
    bool isEnabled() const { return m_state.enabled; }

    /// Root of the gizmo search; null means the engine's scene. Not owned.
    /// A different root empties the gizmo list at once (a drag under way
    /// ends), since the old root is no longer watched; the list is built
    /// from the new root at the next update.
    void setRootNode(ekNode* root);

    /// How the gizmo axes are chosen from the next layout outside a drag on.
    void setOrientationReference(OrientationReference reference) { m_state.orientationReference = reference; }
    /// The orientation reference set; LOCAL by default.
    OrientationReference getOrientationReference() const { return m_state.orientationReference; }
    /// World-space axes as columns; used under CUSTOM from the next update
    /// outside a drag.
    void setCustomOrientationMatrix(const Wm4::Matrix3<float>& matrix) { m_state.customOrientation = matrix; }
    /// The orientation the last layout used.
    const Wm4::Matrix3<float>& getCurrentOrientation() const { return m_state.currentOrientation; }

    /// The gizmos of the view, in scene order. Entries added by hand must be
    /// live, non-null gizmo nodes; the next rebuild replaces the list.
    const std::vector<ekGizmoNode*>& get3DManipulators() const { return m_state.manipulators; }
    /// The same list, to change by hand; see get3DManipulators.
    std::vector<ekGizmoNode*>& edit3DManipulators() { return m_state.manipulators; }

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
    std::size_t getQueuedEventCount() const { return m_state.eventQueue.size(); }

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
    /// when no drag is under way.
    bool cancelDrag();

protected:
    /// Called by the engine when its scene is replaced: ends a drag under
    /// way (its listeners hear the end), drops the queue, the pending press
    /// answer and the gizmo list, which the next update rebuilds.
    void clearController() override;

private:
    ekGizmoNode* updateHover(const ekCamera* camera, const Wm4::Vector2<float>& position, int width,
                             int height);
    void setMousePressedImpl(const ekCamera* camera, int x, int y, int width, int height);
    void setMouseReleasedImpl(const ekCamera* camera, int x, int y, int width, int height);
    void setMousePosImpl(const ekCamera* camera, int x, int y, int width, int height);
    bool hasGizmo(const ekCamera* camera, const Wm4::Vector2<float>& position, int width,
                  int height) const;
    Wm4::Vector2<float> getMousePos(int x, int y, int width, int height) const;
    void enqueue(const ControllerEvent& event);
    // Rebuilds the gizmo list when root is not the root watched so far or
    // its structure changed since the last rebuild (or, with honourBit, it
    // shows DIRTY_STRUCTURE), dropping every reference to a gizmo that left.
    void refreshGizmos(ekNode* root, bool honourBit);
    void rebuildGizmos(ekNode& root);
    // Drops every reference to a gizmo that is no longer listed.
    void forgetUnlisted();
    bool isListed(const ekGizmoNode* gizmo) const;
    // Lays out every gizmo with handles for camera; settle also brings their
    // world transforms up to date at once, for hit tests that follow.
    void layOutGizmos(const ekCamera& camera, int viewportHeight, bool settle);
    void notifyTouched();
    // Counts the gizmo of the drag under way, so that it outlives the drag,
    // and lets it go once no drag is.
    void holdDraggedGizmo();

    // The three drag objects seen as one.
    ekDragDispatch drags() const;

    // Everything a copy takes over as it is: a new member goes here.
    struct State {
        ekGizmoNode* activeGizmo = nullptr; ///< not owned
        OrientationReference orientationReference = LOCAL;
        ekNode* rootNode = nullptr; ///< not owned
        /// The root the gizmo list was last built from (not owned) and its
        /// structure generation then.
        ekNode* watchedRoot = nullptr;
        std::uint64_t seenGeneration = 0;
        Wm4::Matrix3<float> customOrientation = Wm4::Matrix3<float>::IDENTITY;
        Wm4::Matrix3<float> currentOrientation = Wm4::Matrix3<float>::IDENTITY;
        std::vector<ek3DManipulatorMotionListener*> motionListeners; ///< not owned
        std::vector<ekGizmoNode*> manipulators;                       ///< not owned
        std::vector<ControllerEvent> eventQueue;
        std::vector<ekGizmoNode*> touchedGizmos; ///< sorted by address, no duplicates
        float pickTolerance;
        bool dragging = false;
        bool pressOnGizmo = false;
        bool enabled = true;
    };

    State m_state;
    // Made in this order; each controller owns its own.
    std::unique_ptr<ekGizmoControllerRotate> m_rotateController;
    std::unique_ptr<ekGizmoControllerTranslate> m_translateController;
    std::unique_ptr<ekGizmoControllerScale> m_scaleController;
    // What each gizmo was last laid out for; a copy starts empty.
    std::unique_ptr<ekGizmoLayoutCache> m_layoutCache;
    // The gizmo of the drag under way, counted so that it outlives the drag
    // even when the host drops it; never copied.
    ekPointer<ekGizmoNode> m_draggedGizmo;
};

} // namespace ek
