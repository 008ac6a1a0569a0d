#pragma once

#include "ManipulationTracker.h"
#include "OrbitCamera.h"
#include "SceneBuilder.h"
#include "UndoStack.h"
#include "ViewLayout.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>

#include <cstddef>
#include <string>
#include <vector>

namespace ek::viewer {

class JsonReport;

// Everything the viewer edits, without any Qt: the engine with its scene
// and camera, one gizmo on the selection, its controller, the history of
// manipulations and the orbit camera. The window feeds it input and draws
// its frames; the session reports layouts and manipulations as JSON.
//
// Positions are window pixels (origin top-left, y down).
class EditorSession {
public:
    // report must outlive the session. Starts with the first object
    // selected under a translate gizmo; the first frame reports a layout.
    explicit EditorSession(JsonReport& report);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // --- View

    // The window's size in pixels, both positive.
    void resize(int width, int height);
    // One engine frame: replays the gizmo input, lays the gizmo out and
    // collects the draw list; then reports the layout if it changed.
    void frame();
    const std::vector<ekDrawSegment>& drawList() const { return m_engine.getDrawList(); }
    const ekCamera& camera() const { return *m_camera; }
    // For the Qt bridge: the view size and camera of a press.
    ekEngineInterface& engineInterface() { return m_engine; }
    ekGizmoController& controller() { return m_controller; }

    // --- Input seen before the bridge: Esc or a right press cancels the
    // drag.

    // A manipulation is under way: mode, selection and history stay as
    // they are meanwhile.
    bool isBusy() const { return m_tracker.isOpen(); }
    // Ends the drag under way as if it had not happened: the objects get
    // back their transforms of the press, the report says it was cancelled
    // and the history stays as it was. The rest of the drag's input does
    // nothing. False when no drag is under way (a press not yet replayed
    // by a frame has started none).
    bool cancelDrag();

    // --- Editing (each ignored while busy)

    // Selects the object under (x, y), nearest by its projected bound;
    // add toggles it in the selection instead. Empty space clears the
    // selection, unless add.
    void selectAt(int x, int y, bool add);
    void setMode(ekGizmoNode::GizmoMode mode);
    // local, world, custom (45 degrees about Y), camera, local, ...
    void cycleOrientation();
    void toggleUniformScale();
    void toggleRotationSnap();
    void toggleNearFarRestriction();
    void undo();
    void redo();

    // --- Camera

    // A right drag of (dx, dy) pixels; the layout is reported when the drag
    // ends (endOrbit).
    void orbit(int dx, int dy);
    void endOrbit() { m_layoutDue = true; }
    void zoom(float notches);

    // --- Readouts

    // The layout last reported.
    const ViewLayout& lastLayout() const { return m_layout; }
    // The selection's world translation, Euler angles (degrees) and scale.
    // Written into out, whose capacity is reused from frame to frame.
    void statusLine(std::string& out) const;
    // Mode, orientation and the three options, likewise.
    void optionsLine(std::string& out) const;

private:
    void applySelection();
    void updateCamera();
    void measureLayout(ViewLayout& out) const;

    JsonReport& m_report;
    UndoStack m_history;
    ekEngine m_engine;
    Scene m_scene;
    ekPointer<ekCamera> m_camera;
    ekPointer<ekGizmoNode> m_gizmo;
    ekGizmoController m_controller;
    ManipulationTracker m_tracker;
    OrbitCamera m_orbit;
    std::vector<std::size_t> m_selection; // indices into m_scene.objects
    ekGizmoNode::GizmoMode m_mode = ekGizmoNode::TRANSLATE;
    int m_width = 800;
    int m_height = 600;
    bool m_layoutDue = true;
    ViewLayout m_layout;
};

} // namespace ek::viewer
