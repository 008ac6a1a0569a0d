#pragma once

#include <ek3DManipulation/ek3DManipulation.h>

#include <ekSceneGraph/ekSceneGraph.h>

// One object at the origin under a translate gizmo, seen from (0, 0, 10)
// in an 800 x 600 view, laid out by one engine frame. The library must be
// initialised while it exists.
class DragScene {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    DragScene();
    ~DragScene();
    DragScene(const DragScene&) = delete;
    DragScene& operator=(const DragScene&) = delete;

    ek::ekEngine& engine() { return m_engine; }
    ek::ekGizmoController& controller() { return m_controller; }
    const ek::ekCamera* camera() const { return m_camera; }

    // The window pixel (origin top-left, y down) of the X arrow near its
    // tip; false when it is not in view.
    bool xArrowPixel(int& x, int& y) const;
    // Prints where the object is; true when its image moved dx pixels to
    // the right of where it started and the object stayed on the X axis.
    bool reportMovedBy(int dx) const;

private:
    bool windowPixel(const Wm4::Vector3<float>& world, int& x, int& y) const;

    ek::ekPointer<ek::ekNode> m_scene;
    ek::ekNode* m_object;
    ek::ekGizmoNode* m_gizmo;
    ek::ekCamera* m_camera;
    ek::ekEngine m_engine;
    ek::ekGizmoController m_controller;
};
