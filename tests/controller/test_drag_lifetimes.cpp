#include "ekControllerFixture.h"

#include <functional>
#include <memory>

namespace ek {
namespace test {
namespace {

// Runs an action at every start, every translate end and every motion it hears.
class Meddler : public ek3DManipulatorMotionListener {
public:
    std::function<void()> atStart;
    std::function<void()> atEnd;
    std::function<void(ekGizmoNode*)> atMotion;

    void onTranslateManipulatorStart() override { started(); }
    void onRotateManipulatorStart() override { started(); }
    void onScaleManipulatorStart() override { started(); }

    void onManipulatorMotion(ekGizmoNode* gizmo) override
    {
        if (atMotion) {
            atMotion(gizmo);
        }
    }
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>&) override
    {
        if (atEnd) {
            atEnd();
        }
    }

private:
    void started()
    {
        if (atStart) {
            atStart();
        }
    }
};

// A second view of the same scene: its own engine, camera and controller.
struct SecondView {
    SecondView(ekNode& root, int width, int height, const Wm4::Vector3<float>& eye)
        : camera(new ekCamera)
    {
        camera->lookAt(eye, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        camera->setFrustum(60.0f, static_cast<float>(width) / height, 1.0f, 1000.0f);
        engine.setScene(&root);
        engine.setCameraNode(new ekCameraNode(camera));
        engine.setViewportSize(width, height);
        engine.addController(&controller);
    }

    ekEngine engine;
    ekPointer<ekCamera> camera;
    ekGizmoController controller;
};

// Counts starts and ends per kind; fails the test on an end without a start.
class PairCounter : public ek3DManipulatorMotionListener {
public:
    int open = 0;
    int ends = 0;

    void onManipulatorMotion(ekGizmoNode*) override {}
    void onTranslateManipulatorStart() override { ++open; }
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>&) override { end(); }
    void onRotateManipulatorStart() override { ++open; }
    void onRotateManipulatorEnd(const ekGenericTransformation<float>&) override { end(); }
    void onScaleManipulatorStart() override { ++open; }
    void onScaleManipulatorEnd(const ekGenericTransformation<float>&) override { end(); }

private:
    void end()
    {
        EXPECT_GT(open, 0) << "an end without its start";
        --open;
        ++ends;
    }
};

TEST_F(ControllerTest, StructureChangesFromCallbacksAndOtherViewsAreSeen)
{
    setUpArrow();
    Meddler meddler;
    controller.install3DManipulatorMotionListener(&meddler);
    // a listener that attaches a gizmo at each end: all twenty are found
    std::vector<ekGizmoNode*> added;
    meddler.atEnd = [&] { added.push_back(scene.addGizmo(ekGizmoNode::TRANSLATE, {object})); };
    for (int i = 0; i < 20; ++i) {
        drag(grip, grip);
        frame();
    }
    EXPECT_EQ(controller.get3DManipulators().size(), 21u);
    // a listener that detaches (and so deletes) every added gizmo: none is touched afterwards
    meddler.atEnd = [&] {
        for (ekGizmoNode* g : added) {
            scene.root().detachChild(g);
        }
        added.clear();
    };
    drag(grip, shifted(grip, 5));
    move({20, 20}); // on empty space: a hover asks every listed gizmo
    frame();
    EXPECT_EQ(controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));
    meddler.atEnd = nullptr;

    // a second engine on the same root sees the gizmo, and a detach made between two frames
    SecondView other(scene.root(), 400, 300, {0.0f, 0.0f, 20.0f});
    other.engine.frame();
    EXPECT_EQ(other.controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));
    ekGizmoNode* late = scene.addGizmo(ekGizmoNode::ROTATE, {object});
    frame(); // clears the structure bit before the other view runs
    other.engine.frame();
    EXPECT_EQ(other.controller.get3DManipulators().size(), 2u);
    scene.root().detachChild(late);
    other.controller.setMousePressed(other.camera, 10, 10, 400, 300);
    other.controller.setMouseReleased(10, 10);
    other.engine.frame();
    EXPECT_EQ(other.controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));

    // a listener that deletes the gizmo whose drag starts, for each kind: the drag ends at once
    meddler.atEnd = nullptr;
    for (auto mode : {ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE}) {
        ekGizmoNode* victim = scene.addGizmo(mode, {object});
        ekNode* parent = &scene.root();
        meddler.atStart = [&] { parent->detachChild(victim); };
        frame();
        const float h = std::sqrt(0.5f);
        const Pixel on = scene.pixelOf(gizmoPoint(*victim, mode == ekGizmoNode::ROTATE ? Wm4::Vector3<float>(h, h, 0.0f) : Wm4::Vector3<float>(0.8f, 0.0f, 0.0f)));
        controller.edit3DManipulators() = {victim};
        heard.clear();
        drag(on, shifted(on, 20));
        frame();
        EXPECT_EQ(heard.size(), 2u) << mode;
        EXPECT_FALSE(controller.isDragging()) << mode;
    }
    meddler.atStart = nullptr;

    // a listener that deletes a gizmo while motions are told: the deleted one is not told
    ekGizmoNode* doomed = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({3.0f, 0.0f, 0.0f})});
    frame();
    std::vector<ekGizmoNode*> told;
    meddler.atMotion = [&](ekGizmoNode* g) {
        told.push_back(g);
        scene.root().detachChild(g == gizmo ? doomed : gizmo);
    };
    drag(grip, grip);
    const Pixel doomedGrip = axisPixel(*doomed, 0, 0.8f);
    drag(doomedGrip, doomedGrip);
    frame();
    EXPECT_EQ(told.size(), 1u);
    controller.uninstall3DManipulatorMotionListener(&meddler);
}

TEST_F(ControllerTest, ForgetsADeletedGizmoItPressedBefore)
{
    setUpArrow();
    ekGizmoNode* other = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({0.0f, 0.0f, 0.0f})});
    frame();
    // the translate drag last pressed gizmo, which then leaves the scene and is deleted
    drag(grip, shifted(grip, 10));
    frame();
    scene.root().detachChild(gizmo);
    frame();
    // a click that ends on the other gizmo's arrow holds it; a second release reaches it
    const Pixel onOther = axisPixel(*other, 0, 0.8f);
    press({20, 20});
    release(onOther);
    frame();
    heard.clear();
    release(onOther);
    frame();
    EXPECT_TRUE(heard.empty());
}

TEST_F(ControllerTest, ReplacedReferenceListEndsTheDragsEffect)
{
    setUpArrow();
    ekNode* other = scene.addObject({3.0f, 2.0f, 0.0f});
    const ekGenericTransformation<float> otherBefore = other->getWorldTransform();
    press(grip);
    move(shifted(grip, 30));
    frame();
    const Wm4::Vector3<float> dragged = positionOf(*object);
    // the list replaced mid-drag: no object receives another's stored transform
    gizmo->setReferenceObjects({other});
    move(shifted(grip, 60));
    frame();
    EXPECT_EQ(other->getWorldTransform(), otherBefore);
    EXPECT_EQ(positionOf(*object), dragged);
    // ...and the release still ends the drag, with what it applied
    release(shifted(grip, 60));
    frame();
    ASSERT_EQ(kindsOf(heard), "tMMTM");
    EXPECT_NEAR(heard[3].delta.GetTranslate().X(), dragged.X(), kWorldTolerance);
    EXPECT_EQ(other->getWorldTransform(), otherBefore);
    // a list edited in place is caught at the next move as well
    gizmo->setReferenceObject(object);
    frame();
    const Pixel onArrow = axisPixel(*gizmo, 0, 0.8f);
    press(onArrow);
    move(shifted(onArrow, 10));
    frame();
    const Wm4::Vector3<float> again = positionOf(*object);
    gizmo->editReferenceObjects() = {other};
    move(shifted(onArrow, 40));
    frame();
    EXPECT_EQ(positionOf(*object), again);
    EXPECT_EQ(other->getWorldTransform(), otherBefore);
    release(shifted(onArrow, 40));
    frame();
}

TEST_F(ControllerTest, HoverNeverChangesTheAxisOfADragUnderWay)
{
    // rotate: a quarter turn about Z, the events cleared, the cursor rests on the Y circle
    object = scene.addObject({0.0f, 0.0f, 0.0f});
    gizmo = scene.addGizmo(ekGizmoNode::ROTATE, {object});
    scene.engine().frame();
    gizmo->setEnabledAxis(ekGizmoNode::ROTATE, 0x6);
    gizmo->setMode(ekGizmoNode::ROTATE);
    frame();
    const float h = std::sqrt(0.5f);
    press(scene.pixelOf(gizmoPoint(*gizmo, {h, h, 0.0f})));
    const Pixel quarterTurn = scene.pixelOf(gizmoPoint(*gizmo, {-h, h, 0.0f}));
    move(quarterTurn);
    frame();
    EXPECT_TRUE(controller.isDragging());
    EXPECT_EQ(controller.getActiveAxis(), 2);
    controller.clearControllerEvents();
    move(scene.pixelOf(gizmoPoint(*gizmo, {h, 0.0f, h})));
    frame();
    EXPECT_EQ(controller.getActiveAxis(), 2);
    // the release ends the Z rotation where it is, and tells its end
    heard.clear();
    release(quarterTurn);
    frame();
    expectMatrixNear(object->getWorldTransform().GetRotate(), rotation({0.0f, 0.0f, 1.0f}, 90.0f));
    EXPECT_EQ(kindsOf(heard), "RM");
    EXPECT_FALSE(controller.isDragging());

    // scale: the feedback lines of the dragged handle are hidden at the end
    object->editLocalTransform(true).SetRotate(Wm4::Matrix3<float>::IDENTITY);
    gizmo->setMode(ekGizmoNode::SCALE);
    frame();
    const std::size_t idleSegments = scene.engine().getDrawList().size();
    const Pixel handle = axisPixel(*gizmo, 0, 0.8f);
    press(handle);
    move(shifted(handle, 20));
    frame();
    EXPECT_GT(scene.engine().getDrawList().size(), idleSegments);
    controller.clearControllerEvents();
    move(axisPixel(*gizmo, 1, 0.8f));
    frame();
    release(axisPixel(*gizmo, 1, 0.8f));
    frame();
    EXPECT_EQ(scene.engine().getDrawList().size(), idleSegments);
    EXPECT_NEAR(object->getWorldTransform().ApplyForward({0.0f, 1.0f, 0.0f}, false).Length(), 1.0f,
                kWorldTolerance);
}

TEST_F(ControllerTest, AGizmoLeavingMidDragEndsItsDrag)
{
    setUpArrow();
    press(grip);
    move(shifted(grip, 30));
    frame();
    const Wm4::Vector3<float> dragged = positionOf(*object);
    heard.clear();
    // the host drops the gizmo (its last reference) mid-drag: the end is heard, with the delta
    scene.root().detachChild(gizmo);
    frame();
    ASSERT_EQ(kindsOf(heard), "T");
    EXPECT_NEAR(heard[0].delta.GetTranslate().X(), dragged.X(), kWorldTolerance);
    EXPECT_FALSE(controller.isDragging());
    // the rest of the gesture reaches nothing
    move(shifted(grip, 60));
    release(shifted(grip, 60));
    frame();
    EXPECT_EQ(kindsOf(heard), "T");
    EXPECT_EQ(positionOf(*object), dragged);
}

TEST_F(ControllerTest, ReplacingTheSceneClearsTheControllerAndEndsItsDrag)
{
    setUpArrow();
    press(grip);
    move(shifted(grip, 30));
    frame();
    const Wm4::Vector3<float> dragged = positionOf(*object);
    heard.clear();
    // queued input is dropped, the drag ends where it was, nothing is listed or held
    move(shifted(grip, 60));
    ekPointer<ekNode> oldScene(&scene.root());
    scene.engine().setScene(new ekNode);
    ASSERT_EQ(kindsOf(heard), "T");
    EXPECT_NEAR(heard[0].delta.GetTranslate().X(), dragged.X(), kWorldTolerance);
    EXPECT_EQ(controller.getQueuedEventCount(), 0u);
    EXPECT_TRUE(controller.get3DManipulators().empty());
    EXPECT_FALSE(controller.isDragging());
    EXPECT_FALSE(release(shifted(grip, 60)));
    frame();
    EXPECT_EQ(kindsOf(heard), "T");
    EXPECT_EQ(positionOf(*object), dragged);
}

// Counts its updates and may take itself out of the engine while it runs.
class CountingController : public ekGenericControllerInterface {
public:
    ekEngine* removeFrom = nullptr;
    int updates = 0;

    void updateController(ekGenericRenderingContext*) override
    {
        ++updates;
        if (removeFrom != nullptr) {
            removeFrom->removeController(this);
        }
    }
};

TEST(EngineControllers, OneRemovingItselfSkipsNoOther)
{
    ekEngine engine;
    CountingController first;
    CountingController second;
    CountingController third;
    engine.addController(&first);
    engine.addController(&second);
    engine.addController(&third);
    second.removeFrom = &engine;
    first.removeFrom = &engine;
    engine.frame();
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 1);
    EXPECT_EQ(third.updates, 1);
    engine.frame();
    EXPECT_EQ(third.updates, 2);
    EXPECT_EQ(first.updates + second.updates, 2);
}

TEST_F(ControllerTest, EachViewHitsAndDragsTheGizmoAsItShowsIt)
{
    object = scene.addObject({0.0f, 0.0f, 0.0f});
    gizmo = scene.addGizmo(ekGizmoNode::SCALE, {object});
    SecondView other(scene.root(), 400, 300, {0.0f, 0.0f, 30.0f});
    other.engine.frame();
    frame();
    const Pixel handle = axisPixel(*gizmo, 0, 0.8f);
    // the other view lays the gizmo out last, at its own size
    other.engine.frame();
    // this view's press still lies on the handle as this view shows it, and half a handle
    // length outwards (30 of 60 pixels) gives 1.5
    EXPECT_TRUE(press(handle));
    move(shifted(handle, 30));
    release(shifted(handle, 30));
    frame();
    EXPECT_NEAR(object->getWorldTransform().ApplyForward({1.0f, 0.0f, 0.0f}, false).Length(), 1.5f, 1e-3f);
}

TEST_F(ControllerTest, PastTheHorizonTheObjectsStayWhereTheLastValidMovePutThem)
{
    // looking down at the ground: dragged away along Z, the axis meets the horizon on screen
    scene.camera().lookAt({0.0f, 3.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    for (bool restrict : {false, true}) {
        object = scene.addObject({0.0f, 0.0f, 0.0f});
        gizmo = scene.addGizmo(ekGizmoNode::TRANSLATE, {object});
        gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x4);
        gizmo->setMode(ekGizmoNode::TRANSLATE);
        gizmo->restrictPositionBetweenNearFar(restrict);
        frame();
        const Pixel onZ = axisPixel(*gizmo, 2, 0.8f);
        const Pixel horizon = scene.pixelOf({0.0f, 0.0f, -1.0e6f});
        press(onZ);
        move({onZ.x, horizon.y + 3}); // below the horizon: far away, still in front
        frame();
        const Wm4::Vector3<float> far = positionOf(*object);
        EXPECT_LT(far.Z(), -20.0f) << "restrict " << restrict;
        move({onZ.x, horizon.y - 3}); // above it the ray meets the ground behind the eye
        release({onZ.x, horizon.y - 40});
        frame();
        EXPECT_EQ(positionOf(*object), far) << "restrict " << restrict;
        scene.root().detachChild(gizmo);
        scene.root().detachChild(object);
        frame();
    }
}

TEST_F(ControllerTest, PressAnswersTrueOnlyWhenADragCanFollow)
{
    for (float halfHeight : {1.0e30f, 1.0e-30f}) {
        ekTestScene view;
        view.camera().setPerspective(false);
        const float halfWidth = halfHeight * kWidth / kHeight;
        view.camera().setFrustum(-halfWidth, halfWidth, -halfHeight, halfHeight, 1.0f, 1000.0f);
        ekGizmoController viewController;
        view.engine().addController(&viewController);
        ekNode* target = view.addObject({0.0f, 0.0f, 0.0f});
        ekGizmoNode* g = view.addGizmo(ekGizmoNode::TRANSLATE, {target});
        view.engine().frame();
        const Wm4::Vector3<float> tip = gizmoPoint(*g, {0.8f, 0.0f, 0.0f});
        const Pixel onArrow = view.pixelOf(tip);
        const bool answered =
            viewController.setMousePressed(&view.camera(), onArrow.x, onArrow.y, kWidth, kHeight);
        viewController.setMousePos(onArrow.x + 40, onArrow.y);
        viewController.setMouseReleased(onArrow.x + 40, onArrow.y);
        view.engine().frame();
        const bool moved = positionOf(*target) != Wm4::Vector3<float>::ZERO;
        EXPECT_EQ(answered, moved) << "half height " << halfHeight;
        view.engine().removeController(&viewController);
    }
}

TEST_F(ControllerTest, InwardScaleDragsNeverReachZero)
{
    object = scene.addObject({0.0f, 0.0f, 0.0f});
    gizmo = scene.addGizmo(ekGizmoNode::SCALE, {object});
    gizmo->setUseUniformScale(true);
    frame();
    for (int i = 0; i < 80; ++i) {
        const Pixel handle = axisPixel(*gizmo, 0, 0.9f);
        drag(handle, {handle.x - 200, handle.y});
        frame();
        ASSERT_TRUE(std::isnormal(object->getWorldTransform().GetUniformScale())) << "drag " << i;
    }
    // and an outward drag still grows it
    const float smallest = object->getWorldTransform().GetUniformScale();
    const Pixel handle = axisPixel(*gizmo, 0, 0.9f);
    drag(handle, shifted(handle, 60));
    frame();
    EXPECT_GT(object->getWorldTransform().GetUniformScale(), smallest);
}

TEST_F(ControllerTest, CancelRestoresTheObjectsAndPairsTheEnd)
{
    setUpArrow();
    object->editLocalTransform(true).SetRotate(rotation({0.3f, 0.4f, 0.5f * std::sqrt(3.0f)}, 17.0f));
    scene.root().UpdateGS();
    frame();
    const ekGenericTransformation<float> world = object->getWorldTransform();
    const ekGenericTransformation<float> local = object->getLocalTransform();
    EXPECT_FALSE(controller.cancelDrag());
    PairCounter pairs;
    controller.install3DManipulatorMotionListener(&pairs);
    // translate, rotate and scale: each cancelled mid-drag
    for (auto mode : {ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE}) {
        gizmo->setMode(mode);
        gizmo->setEnabledAxis(mode, 0x1);
        gizmo->setMode(mode);
        frame();
        const Pixel onX = mode == ekGizmoNode::ROTATE ? scene.pixelOf(gizmoPoint(*gizmo, {0.0f, 1.0f, 0.0f}))
                                                      : axisPixel(*gizmo, 0, 0.8f);
        heard.clear();
        press(onX);
        move({onX.x + 25, onX.y + 25});
        frame();
        EXPECT_TRUE(controller.isDragging()) << mode;
        EXPECT_EQ(controller.getActiveAxis(), 0) << mode;
        EXPECT_NE(object->getWorldTransform(), world) << mode;
        const std::size_t during = scene.engine().frame().size();
        EXPECT_TRUE(controller.cancelDrag());
        EXPECT_FALSE(controller.isDragging());
        EXPECT_EQ(controller.getActiveAxis(), -1);
        // bit for bit, world and local
        EXPECT_EQ(object->getWorldTransform(), world) << mode;
        EXPECT_EQ(object->getLocalTransform(), local) << mode;
        ASSERT_EQ(heard.size(), 3u) << mode;
        EXPECT_EQ(heard[2].kind, heard[0].kind - 'a' + 'A') << mode;
        EXPECT_TRUE(heard[2].delta.IsIdentity()) << mode;
        // the rest of the gesture does nothing
        move({onX.x + 60, onX.y});
        release({onX.x + 60, onX.y});
        EXPECT_LE(scene.engine().frame().size(), during) << mode;
        EXPECT_EQ(object->getWorldTransform(), world) << mode;
        EXPECT_EQ(heard.size(), 3u) << mode;
    }
    EXPECT_EQ(pairs.open, 0);
    EXPECT_EQ(pairs.ends, 3);
    controller.uninstall3DManipulatorMotionListener(&pairs);
}

} // namespace
} // namespace test
} // namespace ek
