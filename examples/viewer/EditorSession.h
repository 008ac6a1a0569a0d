#pragma once

#include "ManipulationTracker.h"
#include "OrbitCamera.h"
#include "ParameterEditor.h"
#include "SceneBuilder.h"
#include "UndoStack.h"
#include "ViewLayout.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace ek::viewer {

class JsonReport;

// How a click or a box changes the selection.
enum class SelectionChange {
    Replace, // the selection becomes what was hit
    Add,
    Remove,
    Toggle, // each object hit goes in if it was out, out if it was in
};

// The snapping steps a host sets: translate (world units), rotate
// (degrees), scale (factor).
enum class SnapStep { Translate, Rotate, Scale };

// The steps snapping turns on with until a script or the host sets one.
constexpr std::array<float, 3> kDefaultSnapSteps = {0.25f, 15.0f, 0.25f};
// The on-screen extent below which a handle fades, pixels: a quarter of
// an axis's expected size, so an axis across the view (the full size)
// never fades and one within about 14 degrees of the view direction does.
constexpr float kFadeThreshold = 20.0f;

// Everything the viewer edits, without any Qt: the engine with its scene
// and camera, one gizmo on the selection (in the library's high-contrast
// style), its controller, the history of manipulations and edits, and the
// orbit camera. The window feeds it input and draws its frames; the
// session reports layouts, selections, manipulations and edits as JSON.
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
    const std::vector<SceneObject>& objects() const { return m_scene.objects; }
    // Indices into objects(), the active object last.
    const std::vector<std::size_t>& selection() const { return m_selection; }
    // For the Qt bridge: the view size and camera of a press.
    ekEngineInterface& engineInterface() { return m_engine; }
    ekGizmoController& controller() { return m_controller; }

    // --- Input seen before the bridge: Esc or a right press cancels the
    // drag.

    // A manipulation is under way: mode, selection, history and edits stay
    // as they are meanwhile.
    bool isBusy() const { return m_tracker.isOpen(); }
    // Ends the drag under way as if it had not happened: the objects get
    // back their transforms of the press, the report says it was cancelled
    // and the history stays as it was. The rest of the drag's input does
    // nothing. False when no drag is under way (a press not yet replayed
    // by a frame has started none).
    bool cancelDrag();

    // --- Selection (each ignored while busy). A change is reported.

    // The object under (x, y), nearest by its projected bound, if any.
    void selectAt(int x, int y, SelectionChange change);
    // The objects whose bound centres project into the rectangle between
    // the corners (x0, y0) and (x1, y1), edges included.
    void selectInRect(int x0, int y0, int x1, int y1, SelectionChange change);

    // --- Editing (each ignored while busy)

    void setMode(ekGizmoNode::GizmoMode mode);
    // local, world, custom (45 degrees about Y), camera, local, ...
    void cycleOrientation();
    void toggleUniformScale();
    void toggleRotationSnap();
    void toggleNearFarRestriction();
    void undo();
    void redo();

    // Whether the inspector's values are world ones (the orientation is
    // not local).
    bool editsWorld() const;
    // The index of the object of that name, or objects().size().
    std::size_t findObject(const std::string& name) const;
    // The parameters of objects()[index], world or local as editsWorld.
    TransformParameters parameters(std::size_t index);
    // Sets one part of objects()[index]'s transform, world or local as
    // editsWorld, through the gizmo node's parameter calls; the change is
    // reported and can be undone. False, with nothing changed, while busy
    // or when the object's matrix cannot take the part (see
    // ParameterEditor::write); true also when the value was already there,
    // which records and reports nothing.
    bool edit(std::size_t index, TransformPart part, const Wm4::Vector3<float>& value);

    // --- Extended handles, snapping and edge-on fading: all off at the
    // start, so that the gizmo is the library's default one.

    // Plane squares, screen handle, view ring, trackball and a grabbable
    // uniform-scale centre (ignored while busy).
    void setExtendedHandles(bool on);
    bool extendedHandles() const;
    // Fades what is seen edge-on below kFadeThreshold pixels: an arrow
    // pointing at the camera, never one lying across the view (ignored
    // while busy).
    void setFading(bool on);
    bool fading() const { return m_gizmo->getFadeThreshold() > 0.0f; }
    // Sets that step (world units, degrees with 0 free, or a scale factor
    // step) and turns snapping on; later presses round to it.
    void setSnapStep(SnapStep kind, float step);
    // Back to the library's default: rotations in 5-degree steps,
    // translations and scales free.
    void resetSnapping();
    // Snapping off, or on with the steps set last (kDefaultSnapSteps until
    // the first is set).
    void toggleSnapping();

    // --- Camera. Each motion is reported when it ends (endNavigation).

    // Starts an orbit about the selection's centre (the target without a
    // selection); orbit turns by a drag of (dx, dy) pixels.
    void beginOrbit();
    void orbit(int dx, int dy);
    // Slides the view with a drag of (dx, dy) pixels.
    void pan(int dx, int dy);
    void endNavigation() { m_layoutDue = true; }
    // Towards the point under (x, y), by wheel notches (positive: closer).
    void zoom(float notches, int x, int y);
    // Frames the selection (every object without one): about half the view.
    void focus();

    // --- Readouts

    // The layout last reported.
    const ViewLayout& lastLayout() const { return m_layout; }
    // The selection's world translation, Euler angles (degrees) and scale.
    // Written into out, whose capacity is reused from frame to frame.
    void statusLine(std::string& out) const;
    // Mode, orientation and the options, likewise.
    void optionsLine(std::string& out) const;
    // What the drag under way has done so far (world), e.g. "move (0.50,
    // 0, 0)"; empty when no drag has moved yet.
    void dragReadout(std::string& out) const;

private:
    // Applies change with the objects hit (in the scene's order); the
    // object hit becomes the active one when hitBecomesActive, else the
    // active object stays so while it stays selected. Shows the new
    // selection and reports it if it changed.
    void changeSelection(const std::vector<std::size_t>& hits, SelectionChange change,
                         bool hitBecomesActive);
    void applySelection();
    void updateCamera();
    void measureLayout(ViewLayout& out) const;
    // The layout's extended handles and faded axes.
    void measureExtendedHandles(ViewLayout& out) const;

    JsonReport& m_report;
    UndoStack m_history;
    ekEngine m_engine;
    Scene m_scene;
    ekPointer<ekCamera> m_camera;
    ekPointer<ekGizmoNode> m_gizmo;
    ekGizmoController m_controller;
    ManipulationTracker m_tracker;
    ParameterEditor m_parameters;
    OrbitCamera m_orbit;
    Wm4::Vector3<float> m_orbitPivot;
    std::vector<std::size_t> m_selection; // indices into m_scene.objects
    ekGizmoNode::GizmoMode m_mode = ekGizmoNode::TRANSLATE;
    int m_width = 800;
    int m_height = 600;
    bool m_layoutDue = true;
    std::array<float, 3> m_snapSteps = kDefaultSnapSteps; // by SnapStep
    ViewLayout m_layout;
};

} // namespace ek::viewer
