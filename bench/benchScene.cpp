#include "benchScene.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Vector2.h>

#include <cmath>

namespace ek_bench {

namespace {

// Distance between neighbouring gizmos of a grid, world units.
constexpr float kGridSpacing = 12.0f;
// Distance between neighbouring objects of a drag, world units.
constexpr float kDragSpacing = 3.0f;
// Where the camera stands from what it looks at, for each pose.
const Wm4::Vector3<float> kEyeOffsets[2] = {{3.0f, 2.0f, 30.0f}, {3.3f, 2.2f, 31.0f}};

int columnsFor(int count)
{
    return static_cast<int>(std::ceil(std::sqrt(static_cast<float>(count))));
}

Wm4::Vector3<float> gridPoint(int i, int columns, float spacing)
{
    return {spacing * static_cast<float>(i % columns), spacing * static_cast<float>(i / columns), 0.0f};
}

} // namespace

BenchView::BenchView() : m_root(new ek::ekNode()), m_camera(new ek::ekCamera())
{
    ek::initialize3DManipulationLibrary();
    m_engine.setScene(m_root);
    m_engine.setCameraNode(new ek::ekCameraNode(m_camera));
    m_engine.setViewportSize(kWidth, kHeight);
    m_engine.addController(&m_controller);
}

BenchView::~BenchView()
{
    m_engine.removeController(&m_controller);
    ek::terminate3DManipulationLibrary();
}

void BenchView::look(const Wm4::Vector3<float>& eye, const Wm4::Vector3<float>& target)
{
    m_camera->lookAt(eye, target, Wm4::Vector3<float>::UNIT_Y);
    m_camera->setFrustum(60.0f, static_cast<float>(kWidth) / static_cast<float>(kHeight), 1.0f, 1000.0f);
}

Pixel BenchView::pixelOf(const ek::ekGizmoNode& gizmo, const Wm4::Vector3<float>& local) const
{
    Wm4::Vector2<float> normalised;
    m_camera->project(gizmo.getWorldTransform().ApplyForward(local, true), normalised);
    return {static_cast<int>(std::lround(normalised.X() * kWidth - 0.5f)),
            static_cast<int>(std::lround(kHeight - normalised.Y() * kHeight - 0.5f))};
}

ek::ekNode* BenchView::addObject(const Wm4::Vector3<float>& position)
{
    auto* object = new ek::ekNode();
    object->editLocalTransform(true).SetTranslate(position);
    auto* line = new ek::ekLine(2u);
    line->setVertexPosition(1, Wm4::Vector3<float>(0.5f, 0.5f, 0.0f));
    object->attachChild(line);
    m_root->attachChild(object);
    return object;
}

ek::ekGizmoNode* BenchView::addGizmo(const std::vector<ek::ekSpatial*>& objects,
                                     ek::ekGizmoNode::GizmoMode mode)
{
    auto* gizmo = new ek::ekGizmoNode();
    gizmo->setReferenceObjects(objects);
    gizmo->setMode(mode);
    m_root->attachChild(gizmo);
    return gizmo;
}

GizmoGrid::GizmoGrid(int count, ek::ekGizmoNode::GizmoMode mode)
{
    const int columns = columnsFor(count);
    for (int i = 0; i < count; ++i) {
        m_gizmos.push_back(addGizmo({addObject(gridPoint(i, columns, kGridSpacing))}, mode));
    }
    m_target = gridPoint(count - 1, columns, kGridSpacing);
    setPose(0);
    frame();
}

void GizmoGrid::setPose(int pose)
{
    look(m_target + kEyeOffsets[pose], m_target);
}

void GizmoGrid::enableEverything()
{
    ek::ekGizmoStyle style = ek::ekGizmoStyle::highContrast();
    style.devicePixelRatio = 2.0f;
    for (ek::ekGizmoNode* gizmo : m_gizmos) {
        gizmo->setExtendedHandles(true);
        gizmo->setStyle(style);
        // A quarter of the axis length: what a viewer would fade below.
        gizmo->setFadeThreshold(15.0f);
    }
    controller().setTranslateSnap(0.25f);
    controller().setRotateSnap(15.0f);
    frame();
}

DragScene::DragScene(int count, ek::ekGizmoNode::GizmoMode mode)
{
    const int columns = columnsFor(count);
    std::vector<ek::ekSpatial*> objects;
    for (int i = 0; i < count; ++i) {
        objects.push_back(addObject(gridPoint(i, columns, kDragSpacing)));
    }
    m_gizmo = addGizmo(objects, mode);
    // The gizmo stands on the centre of the objects' bounds.
    const float half = 0.5f * kDragSpacing * static_cast<float>(columns - 1);
    const Wm4::Vector3<float> centre(half, 0.5f * kDragSpacing * static_cast<float>((count - 1) / columns), 0.0f);
    look(centre + kEyeOffsets[0], centre);
    frame();
}

} // namespace ek_bench
