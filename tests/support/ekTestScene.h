#pragma once

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>
#include <vector>

namespace ek {
namespace test {

// A window pixel: origin at the top-left corner, y down.
struct Pixel {
    int x;
    int y;
};

// The world position of a point given in a gizmo's own frame (one unit is
// one axis length), as last laid out.
inline Wm4::Vector3<float> gizmoPoint(const ekGizmoNode& gizmo, const Wm4::Vector3<float>& local)
{
    return gizmo.getWorldTransform().ApplyForward(local, true);
}

// A headless view: an engine with a scene root, a perspective camera at
// (0, 0, 10) looking down -Z with +Y up (60 degrees vertical field of view,
// near 1, far 1000) and an 800 x 600 viewport.
class ekTestScene {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    ekTestScene() : m_root(new ekNode), m_camera(new ekCamera)
    {
        m_camera->lookAt({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        m_camera->setFrustum(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
        m_engine.setScene(m_root);
        m_engine.setCameraNode(new ekCameraNode(m_camera));
        m_engine.setViewportSize(kWidth, kHeight);
    }

    ekEngine& engine() { return m_engine; }
    ekNode& root() { return *m_root; }
    ekCamera& camera() { return *m_camera; }

    // An empty node (bound radius 0: its centre is its position) placed in
    // parent's frame (the root's by default); world data up to date on
    // return. Owned by the scene.
    ekNode* addObject(const Wm4::Vector3<float>& position,
                      const Wm4::Matrix3<float>& rotation = Wm4::Matrix3<float>::IDENTITY,
                      ekNode* parent = nullptr)
    {
        ekNode* object = new ekNode;
        object->editLocalTransform(true).SetRotate(rotation);
        object->editLocalTransform(true).SetTranslate(position);
        (parent != nullptr ? parent : m_root.get())->attachChild(object);
        m_root->UpdateGS();
        return object;
    }

    // A gizmo in mode on objects, under parent (the root by default); a
    // controller finds it at the next frame. Owned by the scene.
    ekGizmoNode* addGizmo(ekGizmoNode::GizmoMode mode, const std::vector<ekSpatial*>& objects,
                          ekNode* parent = nullptr)
    {
        ekGizmoNode* gizmo = new ekGizmoNode;
        gizmo->setReferenceObjects(objects);
        gizmo->setMode(mode);
        (parent != nullptr ? parent : m_root.get())->attachChild(gizmo);
        return gizmo;
    }

    // Where a world point shows, in pixels from the bottom-left corner, y up,
    // unrounded; (0, 0) behind the camera.
    Wm4::Vector2<float> screenOf(const Wm4::Vector3<float>& world) const
    {
        Wm4::Vector2<float> normalised;
        m_camera->project(world, normalised);
        return {normalised.X() * kWidth, normalised.Y() * kHeight};
    }

    // The window pixel whose centre is nearest to where a world point shows.
    Pixel pixelOf(const Wm4::Vector3<float>& world) const
    {
        const Wm4::Vector2<float> screen = screenOf(world);
        return {static_cast<int>(std::lround(screen.X() - 0.5f)),
                static_cast<int>(std::lround(kHeight - screen.Y() - 0.5f))};
    }

private:
    ekEngine m_engine;
    ekPointer<ekNode> m_root;
    ekPointer<ekCamera> m_camera;
};

} // namespace test
} // namespace ek
