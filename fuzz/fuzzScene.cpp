#include "fuzzScene.h"

#include "fuzzCheck.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Matrix3.h>

#include <vector>

namespace ek_fuzz {

namespace {

// Reference lists a gizmo may get, as object indices; kObjects stands for
// a null entry, -1 ends a list.
constexpr int kSelections[8][3] = {
    {0, 1, -1},
    {1, -1, -1},
    {2, -1, -1},
    {0, 1, 2},
    {-1, -1, -1},
    {3, -1, -1},
    {1, 1, -1},
    {FuzzScene::kObjects, 0, -1},
};

void checkFinite(const ek::ekSpatial& spatial, const char* what, int index)
{
    if (!isFinite(spatial.getLocalTransform())) {
        fail("%s %d has a local transform that is not finite", what, index);
    }
    if (!isFinite(spatial.getWorldTransform())) {
        fail("%s %d has a world transform that is not finite", what, index);
    }
}

// An object with a line below it, so that it has a bound of its own.
ek::ekNode* makeObject(const Wm4::Vector3<float>& position)
{
    auto* object = new ek::ekNode();
    auto* line = new ek::ekLine(2u);
    line->setVertexPosition(1, Wm4::Vector3<float>(0.5f, 0.0f, 0.5f));
    object->attachChild(line);
    object->editLocalTransform(true).SetTranslate(position);
    return object;
}

} // namespace

FuzzView::FuzzView(FuzzScene& scene, int index, ek::ekNode& root, const Wm4::Vector3<float>& eye,
                   int width, int height)
    : camera(new ek::ekCamera()),
      listeners{CheckingListener(scene, index, 0), CheckingListener(scene, index, 1)},
      witness(scene, index, kListeners)
{
    camera->lookAt(eye, Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::UNIT_Y);
    camera->setFrustum(50.0f, static_cast<float>(width) / static_cast<float>(height), 0.5f, 200.0f);
    engine.setScene(&root);
    engine.setCameraNode(new ek::ekCameraNode(camera));
    engine.setViewportSize(width, height);
    controller.install3DManipulatorMotionListener(&witness);
    engine.addController(&controller);
}

void FuzzView::toggleListener(int listener)
{
    const auto i = static_cast<std::size_t>(listener % kListeners);
    if (installed[i]) {
        controller.uninstall3DManipulatorMotionListener(&listeners[i]);
        installed[i] = false;
    } else if (!controller.isDragging()) {
        listeners[i].forgetDrags();
        controller.install3DManipulatorMotionListener(&listeners[i]);
        installed[i] = true;
    }
}

int FuzzView::width() const
{
    int width = 0;
    int height = 0;
    engine.getViewportSize(width, height);
    return width;
}

int FuzzView::height() const
{
    int width = 0;
    int height = 0;
    engine.getViewportSize(width, height);
    return height;
}

FuzzScene::LibraryRun::LibraryRun()
{
    ek::initialize3DManipulationLibrary();
}

FuzzScene::LibraryRun::~LibraryRun()
{
    ek::terminate3DManipulationLibrary();
}

FuzzScene::FuzzScene()
    : m_root(new ek::ekNode()), m_turned(new ek::ekNode()), m_group(new ek::ekNode()),
      m_outside(new ek::ekNode()),
      m_objects{makeObject({0.0f, 0.5f, 0.0f}), makeObject({1.5f, -0.5f, 0.5f}),
                makeObject({-2.0f, 1.0f, -1.0f}), makeObject({0.0f, 0.0f, -3.0f})}
{
    m_turned->editLocalTransform(true).SetRotate(
        Wm4::Matrix3<float>(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f));
    m_turned->editLocalTransform(true).SetScale(Wm4::Vector3<float>(1.0f, 2.0f, 0.5f));
    m_turned->editLocalTransform(true).SetTranslate(Wm4::Vector3<float>(-1.0f, 0.0f, 0.0f));
    m_group->editLocalTransform(true).SetTranslate(Wm4::Vector3<float>(0.0f, -2.0f, 0.0f));
    m_root->attachChild(m_turned);
    m_turned->attachChild(m_objects[0]);
    m_root->attachChild(m_objects[1]);
    m_root->attachChild(m_group);
    m_group->attachChild(m_objects[2]);

    // A translate gizmo on the first two objects under the root, a rotate
    // gizmo on the third in the group.
    addGizmo(0x00);
    addGizmo(0x41);

    m_views[0] = std::make_unique<FuzzView>(*this, 0, *m_root, Wm4::Vector3<float>(2.0f, 3.0f, 12.0f), 640, 480);
    m_views[1] = std::make_unique<FuzzView>(*this, 1, *m_root, Wm4::Vector3<float>(-8.0f, 4.0f, 6.0f), 400, 300);
    for (int i = 0; i < kViews; ++i) {
        frame(i);
    }
}

FuzzScene::~FuzzScene() = default;

ek::ekGizmoNode* FuzzScene::gizmo(int slot) const
{
    return m_gizmos[static_cast<std::size_t>(slot % kGizmoSlots)];
}

ek::ekNode* FuzzScene::object(int index) const
{
    return index >= kObjects ? nullptr : m_objects[static_cast<std::size_t>(index)].get();
}

ek::ekNode& FuzzScene::place(int index) const
{
    switch (index % kPlaces) {
    case 0:
        return *m_root;
    case 1:
        return *m_group;
    case 2:
        return *m_turned;
    case 3: // a reference object itself: the gizmo moves with what it drags
        return *m_objects[1];
    default:
        return *m_outside;
    }
}

void FuzzScene::addGizmo(std::uint8_t choice)
{
    for (std::size_t slot = 0; slot < m_gizmos.size(); ++slot) {
        if (m_gizmos[slot] == nullptr) {
            auto* gizmo = new ek::ekGizmoNode();
            m_gizmos[slot] = gizmo;
            gizmo->setMode(static_cast<ek::ekGizmoNode::GizmoMode>(choice % 4));
            setReferences(static_cast<int>(slot), static_cast<std::uint8_t>(choice >> 5));
            place((choice >> 2) % kPlaces).attachChild(gizmo);
            return;
        }
    }
}

void FuzzScene::detachGizmo(int slot)
{
    ek::ekGizmoNode* gizmo = this->gizmo(slot);
    if (gizmo != nullptr && gizmo->getParent() != nullptr) {
        gizmo->getParent()->detachChild(gizmo);
    }
}

void FuzzScene::deleteGizmo(int slot)
{
    detachGizmo(slot);
    m_gizmos[static_cast<std::size_t>(slot % kGizmoSlots)] = nullptr;
}

void FuzzScene::attachGizmo(int slot, int place)
{
    ek::ekGizmoNode* gizmo = this->gizmo(slot);
    if (gizmo != nullptr && gizmo->getParent() == nullptr) {
        this->place(place).attachChild(gizmo);
    }
}

void FuzzScene::setReferences(int slot, std::uint8_t choice)
{
    ek::ekGizmoNode* gizmo = this->gizmo(slot);
    if (gizmo == nullptr) {
        return;
    }
    std::vector<ek::ekSpatial*> objects;
    for (const int index : kSelections[choice % 8]) {
        if (index >= 0) {
            objects.push_back(object(index));
        }
    }
    gizmo->setReferenceObjects(objects);
}

void FuzzScene::reparentObject(int index, int placeIndex)
{
    ek::ekNode* object = this->object(index);
    ek::ekNode& parent = place(placeIndex);
    for (const ek::ekNode* above = &parent; above != nullptr; above = above->getParent()) {
        if (above == object) {
            return;
        }
    }
    ek::ekGenericTransformation<float> parentInverse;
    parent.getWorldTransform().Inverse(parentInverse);
    ek::ekGenericTransformation<float> local;
    local.Product(parentInverse, object->getWorldTransform());
    if (ek::ekNode* old = object->getParent()) {
        old->detachChild(object);
    }
    parent.attachChild(object);
    object->editLocalTransform(true) = local;
}

void FuzzScene::meddle(Meddling meddling, std::uint8_t argument, ek::ekGizmoNode* told)
{
    const int slot = argument % kGizmoSlots;
    switch (meddling) {
    case Meddling::DETACH_GIZMO:
        detachGizmo(slot);
        break;
    case Meddling::DELETE_GIZMO:
        deleteGizmo(slot);
        break;
    case Meddling::ADD_GIZMO:
        addGizmo(argument);
        break;
    case Meddling::ATTACH_GIZMO:
        attachGizmo(slot, argument / kGizmoSlots);
        break;
    case Meddling::SET_REFERENCES:
        setReferences(slot, static_cast<std::uint8_t>(argument / kGizmoSlots));
        break;
    case Meddling::CANCEL_DRAG:
        view(argument).controller.cancelDrag();
        break;
    case Meddling::REPARENT:
        reparentObject(argument % kObjects, argument / kObjects);
        break;
    case Meddling::DELETE_TOLD:
        for (int i = 0; told != nullptr && i < kGizmoSlots; ++i) {
            if (gizmo(i) == told) {
                deleteGizmo(i);
            }
        }
        break;
    default:
        break;
    }
}

void FuzzScene::frame(int index)
{
    FuzzView& view = this->view(index);
    // Camera and scene are always set: an enabled controller with queued
    // events replays them all in this frame.
    const bool replays = view.controller.isEnabled() && view.controller.getQueuedEventCount() > 0;
    view.engine.frame();
    if (replays) {
        if (view.queued == QueuedButton::RELEASE && view.controller.isDragging()) {
            fail("view %d: a drag is under way after its release was replayed", index % kViews);
        }
        view.queued = QueuedButton::NONE;
    }
}

void FuzzScene::check()
{
    for (int i = 0; i < kObjects; ++i) {
        checkFinite(*m_objects[static_cast<std::size_t>(i)], "object", i);
    }
    for (int i = 0; i < kGizmoSlots; ++i) {
        if (const ek::ekGizmoNode* gizmo = this->gizmo(i)) {
            checkFinite(*gizmo, "gizmo", i);
        }
    }
    for (int v = 0; v < kViews; ++v) {
        const FuzzView& view = this->view(v);
        const bool dragging = view.controller.isDragging();
        view.witness.checkOpenDrags(dragging);
        // A translate or scale press that met no drag plane drags without a
        // handle; a rotation always has one (an axis, or for the view ring
        // and the trackball none). The axis is always the handle's.
        const int axis = view.controller.getActiveAxis();
        const ek::ekGizmoHandle handle = view.controller.getActiveHandle();
        const bool axisAllowed = axis == ek::axisOf(handle)
            && (dragging ? handle != ek::ekGizmoHandle::NONE || !view.witness.rotating()
                         : handle == ek::ekGizmoHandle::NONE);
        if (!axisAllowed) {
            fail("view %d: active axis %d while %s", v, axis,
                 dragging ? (view.witness.rotating() ? "rotating" : "dragging") : "not dragging");
        }
        for (std::size_t l = 0; l < view.listeners.size(); ++l) {
            if (view.installed[l]) {
                view.listeners[l].checkOpenDrags(dragging);
            }
        }
    }
}

} // namespace ek_fuzz
