#pragma once

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector3.h>

#include <vector>

namespace ek_bench {

// A window pixel: origin at the top-left corner, y down.
struct Pixel {
    int x;
    int y;
};

// A headless 800 x 600 view of a scene, with a registered gizmo controller.
// The library is started for the view's lifetime.
class BenchView {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    BenchView();
    ~BenchView();
    BenchView(const BenchView&) = delete;
    BenchView& operator=(const BenchView&) = delete;

    void frame() { m_engine.frame(); }
    ek::ekEngine& engine() { return m_engine; }
    ek::ekNode& root() { return *m_root; }
    ek::ekGizmoController& controller() { return m_controller; }
    const ek::ekCamera& camera() const { return *m_camera; }
    // A 60-degree perspective camera at eye looking at target, y up.
    void look(const Wm4::Vector3<float>& eye, const Wm4::Vector3<float>& target);

    // The window pixel that shows a point of a gizmo's own frame (one unit
    // is one axis length), as laid out by the last frame.
    Pixel pixelOf(const ek::ekGizmoNode& gizmo, const Wm4::Vector3<float>& local) const;

    // Queue a mouse event at pixel p; the press answers whether p lies on
    // a handle.
    bool press(const Pixel& p) { return m_controller.setMousePressed(m_camera, p.x, p.y, kWidth, kHeight); }
    bool move(const Pixel& p) { return m_controller.setMousePos(p.x, p.y); }
    bool release(const Pixel& p) { return m_controller.setMouseReleased(p.x, p.y); }

    // An object of the scene: a node at position carrying a short line.
    ek::ekNode* addObject(const Wm4::Vector3<float>& position);
    // A gizmo in mode manipulating objects, attached to the root.
    ek::ekGizmoNode* addGizmo(const std::vector<ek::ekSpatial*>& objects, ek::ekGizmoNode::GizmoMode mode);

private:
    ek::ekEngine m_engine;
    ek::ekPointer<ek::ekNode> m_root;
    ek::ekPointer<ek::ekCamera> m_camera;
    ek::ekGizmoController m_controller;
};

// count objects on a square grid of the plane z = 0, each manipulated by
// its own gizmo in one mode. The grid is wide (12 units) and the camera
// looks at the last gizmo from 30 units away, so that every other gizmo
// lies some 200 pixels off or more: a cursor on the last gizmo's handles
// is on no other, and a hover there tests every gizmo.
class GizmoGrid : public BenchView {
public:
    GizmoGrid(int count, ek::ekGizmoNode::GizmoMode mode);

    int count() const { return static_cast<int>(m_gizmos.size()); }
    const ek::ekGizmoNode& last() const { return *m_gizmos.back(); }
    const ek::ekGizmoNode& gizmo(int i) const { return *m_gizmos[static_cast<std::size_t>(i)]; }
    // Two close camera positions (0 and 1), both looking at the last
    // gizmo: every gizmo is laid out anew when the pose changes.
    void setPose(int pose);
    // Every opt-in feature on every gizmo: extended handles, the
    // high-contrast style at two device pixels per pixel, edge-on fading;
    // and snapping on the controller.
    void enableEverything();

private:
    std::vector<ek::ekGizmoNode*> m_gizmos;
    Wm4::Vector3<float> m_target;
};

// count objects on a grid 3 units apart, all manipulated by one gizmo in
// one mode, which the camera looks at from 30 units away.
class DragScene : public BenchView {
public:
    DragScene(int count, ek::ekGizmoNode::GizmoMode mode);

    const ek::ekGizmoNode& gizmo() const { return *m_gizmo; }

private:
    ek::ekGizmoNode* m_gizmo;
};

} // namespace ek_bench
