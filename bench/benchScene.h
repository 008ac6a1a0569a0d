#pragma once

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <vector>

namespace ek_bench {

// A window pixel: origin at the top-left corner, y down.
struct Pixel {
    int x;
    int y;
};

// A headless 800 x 600 view with a registered gizmo controller and a
// square grid of objects, 3 units apart, each carrying a short line and
// manipulated by its own gizmo in one mode. The camera looks at the grid
// from slightly off its axis, far enough back to see all of it. The library
// is started for the scene's lifetime.
class BenchScene {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    BenchScene(int gizmoCount, ek::ekGizmoNode::GizmoMode mode);
    ~BenchScene();
    BenchScene(const BenchScene&) = delete;
    BenchScene& operator=(const BenchScene&) = delete;

    void frame() { m_engine.frame(); }
    ek::ekEngine& engine() { return m_engine; }
    ek::ekGizmoController& controller() { return m_controller; }
    const ek::ekCamera& camera() const { return *m_camera; }
    const ek::ekGizmoNode& gizmo(int i) const { return *m_gizmos[static_cast<std::size_t>(i)]; }

    // The window pixel that shows a point of a gizmo's own frame (one unit
    // is one axis length), as laid out by the last frame.
    Pixel pixelOf(const ek::ekGizmoNode& gizmo, const Wm4::Vector3<float>& local) const;

    // Queue a mouse event at pixel p.
    bool press(const Pixel& p) { return m_controller.setMousePressed(m_camera, p.x, p.y, kWidth, kHeight); }
    bool move(const Pixel& p) { return m_controller.setMousePos(p.x, p.y); }
    bool release(const Pixel& p) { return m_controller.setMouseReleased(p.x, p.y); }

private:
    ek::ekEngine m_engine;
    ek::ekPointer<ek::ekNode> m_root;
    ek::ekPointer<ek::ekCamera> m_camera;
    ek::ekGizmoController m_controller;
    std::vector<ek::ekGizmoNode*> m_gizmos;
};

} // namespace ek_bench
