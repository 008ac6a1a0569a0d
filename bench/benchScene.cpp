#include "benchScene.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Vector2.h>

#include <cmath>

namespace ek_bench {

namespace {

// Distance between neighbouring objects of the grid, world units.
constexpr float kSpacing = 3.0f;

} // namespace

BenchScene::BenchScene(int gizmoCount, ek::ekGizmoNode::GizmoMode mode)
    : m_root(new ek::ekNode()), m_camera(new ek::ekCamera())
{
    ek::initialize3DManipulationLibrary();
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<float>(gizmoCount))));
    for (int i = 0; i < gizmoCount; ++i) {
        auto* object = new ek::ekNode();
        object->editLocalTransform(true).SetTranslate(
            Wm4::Vector3<float>(kSpacing * static_cast<float>(i % columns), kSpacing * static_cast<float>(i / columns), 0.0f));
        auto* line = new ek::ekLine(2u);
        line->setVertexPosition(1, Wm4::Vector3<float>(0.5f, 0.5f, 0.0f));
        object->attachChild(line);
        m_root->attachChild(object);

        auto* gizmo = new ek::ekGizmoNode();
        gizmo->setReferenceObject(object);
        gizmo->setMode(mode);
        m_root->attachChild(gizmo);
        m_gizmos.push_back(gizmo);
    }

    const float extent = kSpacing * static_cast<float>(columns - 1);
    const Wm4::Vector3<float> centre(0.5f * extent, 0.5f * extent, 0.0f);
    m_camera->lookAt(centre + Wm4::Vector3<float>(3.0f, 2.0f, 30.0f + 2.0f * extent), centre,
                     Wm4::Vector3<float>::UNIT_Y);
    m_camera->setFrustum(60.0f, static_cast<float>(kWidth) / static_cast<float>(kHeight), 1.0f, 1000.0f);
    m_engine.setScene(m_root);
    m_engine.setCameraNode(new ek::ekCameraNode(m_camera));
    m_engine.setViewportSize(kWidth, kHeight);
    m_engine.addController(&m_controller);
    frame();
}

BenchScene::~BenchScene()
{
    m_engine.removeController(&m_controller);
    ek::terminate3DManipulationLibrary();
}

Pixel BenchScene::pixelOf(const ek::ekGizmoNode& gizmo, const Wm4::Vector3<float>& local) const
{
    Wm4::Vector2<float> normalised;
    m_camera->project(gizmo.getWorldTransform().ApplyForward(local, true), normalised);
    return {static_cast<int>(std::lround(normalised.X() * kWidth - 0.5f)),
            static_cast<int>(std::lround(kHeight - normalised.Y() * kHeight - 0.5f))};
}

} // namespace ek_bench
