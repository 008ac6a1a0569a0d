#pragma once

#include "UndoStack.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>

#include <ekSceneGraph/ekGenericTransformation.h>

namespace ek {
class ekGizmoNode;
}

namespace ek::viewer {

class JsonReport;

// Turns the controller's notifications into whole manipulations: at a
// start it records the reference objects' transforms, at the end it
// records them again, reports the manipulation and makes it undoable.
//
// A scale drag has no end notification. Its end is the first frame after
// the left button went up (finishScale, called by the session); a new start
// while a scale is still open ends that scale first.
class ManipulationTracker : public ek3DManipulatorMotionListener {
public:
    // All three must outlive the tracker.
    ManipulationTracker(ekGizmoNode& gizmo, UndoStack& history, JsonReport& report);

    // The handle the next press picked, 0..2 or -1; the controller does not
    // tell it.
    void setPressAxis(int axis) { m_pressAxis = axis; }

    void onManipulatorMotion(ekGizmoNode* gizmo) override;
    void onTranslateManipulatorStart() override;
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta) override;
    void onRotateManipulatorStart() override;
    void onRotateManipulatorEnd(const ekGenericTransformation<float>& delta) override;

    // Ends an open scale drag.
    void finishScale();
    // Whether a manipulation is under way.
    bool isOpen() const { return m_open; }
    // True once after each finished manipulation (the gizmo has moved).
    bool takeFinished();

private:
    void begin(ManipulationKind kind);
    void finish(const ekGenericTransformation<float>& delta);

    ekGizmoNode& m_gizmo;
    UndoStack& m_history;
    JsonReport& m_report;
    Manipulation m_current;
    int m_pressAxis = -1;
    bool m_open = false;
    bool m_finished = false;
};

} // namespace ek::viewer
