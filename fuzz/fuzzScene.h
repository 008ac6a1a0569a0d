#pragma once

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <memory>

namespace ek_fuzz {

// A small headless view: two objects, one under a turned and scaled
// parent, manipulated by one gizmo; a camera; a registered controller.
// Built once per process, since a gizmo costs more to build than most
// inputs take to run; reset() puts everything an input can change back,
// and gives it a new controller, so that one input does not leak into the
// next.
class FuzzScene {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    FuzzScene();
    ~FuzzScene();
    FuzzScene(const FuzzScene&) = delete;
    FuzzScene& operator=(const FuzzScene&) = delete;

    void reset();

    ek::ekEngine& engine() { return m_engine; }
    ek::ekGizmoController& controller() { return *m_controller; }
    ek::ekGizmoNode& gizmo() { return *m_gizmo; }
    ek::ekCamera& camera() { return *m_camera; }
    // Window pixel of the gizmo's centre as laid out after a reset.
    int centreX() const { return m_centreX; }
    int centreY() const { return m_centreY; }

    // Runs a frame and aborts when a reference object's world transform is
    // not finite.
    void frameAndCheck();

private:
    ek::ekEngine m_engine;
    ek::ekPointer<ek::ekNode> m_root;
    ek::ekPointer<ek::ekCamera> m_camera;
    ek::ekNode* m_first;
    ek::ekNode* m_second;
    ek::ekGizmoNode* m_gizmo;
    std::unique_ptr<ek::ekGizmoController> m_controller;
    int m_centreX = 0;
    int m_centreY = 0;
};

} // namespace ek_fuzz
