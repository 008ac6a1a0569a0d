#pragma once

#include "UndoStack.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>

#include <ekSceneGraph/ekGenericTransformation.h>

namespace ek {
class ekGizmoController;
class ekGizmoNode;
}

namespace ek::viewer {

class JsonReport;

// Turns the controller's notifications into whole manipulations: at a
// start it records the reference objects' transforms, at the end it
// records them again, reports the manipulation and makes it undoable. A
// cancelled drag is reported as such and leaves the history alone.
class ManipulationTracker : public ek3DManipulatorMotionListener {
public:
    // All four must outlive the tracker.
    ManipulationTracker(ekGizmoNode& gizmo, const ekGizmoController& controller,
                        UndoStack& history, JsonReport& report);


    void onManipulatorMotion(ekGizmoNode* gizmo) override;
    void onTranslateManipulatorStart() override;
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta) override;
    void onRotateManipulatorStart() override;
    void onRotateManipulatorEnd(const ekGenericTransformation<float>& delta) override;
    void onScaleManipulatorStart() override;
    void onScaleManipulatorEnd(const ekGenericTransformation<float>& delta) override;
    void onManipulatorDragged(const ekGenericTransformation<float>& delta) override;

    // Cancels the controller's drag under way; the end it sends meanwhile
    // closes the manipulation as cancelled. False when none was under way.
    bool cancel(ekGizmoController& controller);
    // Whether a manipulation is under way.
    bool isOpen() const { return m_open; }
    // The kind of the manipulation under way (meaningful while isOpen).
    ManipulationKind openKind() const { return m_current.kind; }
    // The world delta the drag under way applies so far; null before its
    // first applied move and when none is under way.
    const ekGenericTransformation<float>* runningDelta() const
    {
        return m_open && m_moved ? &m_running : nullptr;
    }
    // True once after each finished manipulation (the gizmo has moved).
    bool takeFinished();

private:
    void begin(ManipulationKind kind);
    // Closes the open manipulation if it is of that kind.
    void end(ManipulationKind kind, const ekGenericTransformation<float>& delta);

    ekGizmoNode& m_gizmo;
    const ekGizmoController& m_controller; // tells the handle of a starting drag
    UndoStack& m_history;
    JsonReport& m_report;
    Manipulation m_current;
    ekGenericTransformation<float> m_running; // see runningDelta
    bool m_open = false;
    bool m_moved = false; // the open drag has applied a move
    bool m_cancelling = false;
    bool m_finished = false;
};

} // namespace ek::viewer
