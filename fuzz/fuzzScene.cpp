#include "fuzzScene.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector2.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ek_fuzz {

namespace {

const Wm4::Vector3<float> kFirstPosition(0.0f, 0.5f, 0.0f);
const Wm4::Vector3<float> kSecondPosition(1.5f, -0.5f, 0.5f);
const Wm4::Vector3<float> kEye(2.0f, 3.0f, 12.0f);

bool isFinite(const ek::ekGenericTransformation<float>& t)
{
    const Wm4::Matrix3<float> m = t.GetMatrix();
    for (int i = 0; i < 9; ++i) {
        if (!std::isfinite(m.Entries()[i])) {
            return false;
        }
    }
    const Wm4::Vector3<float>& p = t.GetTranslate();
    return std::isfinite(p.X()) && std::isfinite(p.Y()) && std::isfinite(p.Z());
}

ek::ekNode* makeObject()
{
    auto* object = new ek::ekNode();
    auto* line = new ek::ekLine(2u);
    line->setVertexPosition(1, Wm4::Vector3<float>(0.5f, 0.0f, 0.5f));
    object->attachChild(line);
    return object;
}

} // namespace

FuzzScene::FuzzScene()
    : m_root(new ek::ekNode()), m_camera(new ek::ekCamera()), m_first(makeObject()), m_second(makeObject()),
      m_gizmo(new ek::ekGizmoNode())
{
    ek::initialize3DManipulationLibrary();
    auto* parent = new ek::ekNode();
    parent->editLocalTransform(true).SetRotate(
        Wm4::Matrix3<float>(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f));
    parent->editLocalTransform(true).SetScale(Wm4::Vector3<float>(1.0f, 2.0f, 0.5f));
    parent->editLocalTransform(true).SetTranslate(Wm4::Vector3<float>(-1.0f, 0.0f, 0.0f));
    m_root->attachChild(parent);
    parent->attachChild(m_first);
    m_root->attachChild(m_second);
    m_root->attachChild(m_gizmo);
    m_engine.setScene(m_root);
    m_engine.setCameraNode(new ek::ekCameraNode(m_camera));
    reset();
}

FuzzScene::~FuzzScene()
{
    m_engine.removeController(m_controller.get());
    ek::terminate3DManipulationLibrary();
}

void FuzzScene::reset()
{
    if (m_controller != nullptr) {
        m_engine.removeController(m_controller.get());
    }
    m_controller = std::make_unique<ek::ekGizmoController>();
    m_engine.addController(m_controller.get());
    // The scene's structure is long settled, so a new controller would not
    // search it: hand it the gizmo.
    m_controller->edit3DManipulators().assign(1, m_gizmo);

    m_first->editLocalTransform(true).MakeIdentity();
    m_first->editLocalTransform(true).SetTranslate(kFirstPosition);
    m_second->editLocalTransform(true).MakeIdentity();
    m_second->editLocalTransform(true).SetTranslate(kSecondPosition);

    for (const ek::ekGizmoNode::GizmoMode mode :
         {ek::ekGizmoNode::TRANSLATE, ek::ekGizmoNode::ROTATE, ek::ekGizmoNode::SCALE}) {
        m_gizmo->setEnabledAxis(mode, 255);
    }
    m_gizmo->setUseUniformScale(false);
    m_gizmo->setSnapRotationToAxis(false);
    m_gizmo->restrictPositionBetweenNearFar(false);
    // The mode first: the reference objects then take the highlight off its group.
    m_gizmo->setMode(ek::ekGizmoNode::TRANSLATE);
    m_gizmo->setReferenceObjects({m_first, m_second});

    m_camera->setPerspective(true);
    m_camera->lookAt(kEye, Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::UNIT_Y);
    m_camera->setFrustum(50.0f, static_cast<float>(kWidth) / static_cast<float>(kHeight), 0.5f, 200.0f);
    m_engine.setViewportSize(kWidth, kHeight);
    m_engine.frame();

    Wm4::Vector2<float> centre;
    if (m_camera->project(m_gizmo->getWorldTransform().GetTranslate(), centre)) {
        m_centreX = static_cast<int>(centre.X() * kWidth);
        m_centreY = static_cast<int>((1.0f - centre.Y()) * kHeight);
    }
}

void FuzzScene::frameAndCheck()
{
    m_engine.frame();
    const std::vector<ek::ekSpatial*>& objects = m_gizmo->getReferenceObjects();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!isFinite(objects[i]->getWorldTransform())) {
            std::fprintf(stderr, "reference object %zu has a world transform that is not finite\n", i);
            std::abort();
        }
    }
}

} // namespace ek_fuzz
