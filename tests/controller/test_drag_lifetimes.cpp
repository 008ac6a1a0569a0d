#include "ekControllerFixture.h"

#include <cmath>
#include <functional>
#include <memory>

namespace ek::test {
namespace {

// From now on log runs act (with the gizmo a motion names) whenever it hears one of kinds.
void meddle(EventLog& log, const std::string& kinds, const std::function<void(ekGizmoNode*)>& act)
{
    log.then = [kinds, act](const Heard& h) {
        if (kinds.find(h.kind) != std::string::npos) { act(h.gizmo); }
    };
}

// A second view of the same scene, 400 x 300 (the same aspect), from (0, 0, eyeZ), with its own engine and controller.
struct SecondView : ekTestScene {
    SecondView(ekNode& root, float eyeZ)
    {
        engine().setScene(&root);
        engine().setViewportSize(400, 300);
        camera().lookAt({0.0f, 0.0f, eyeZ}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        engine().addController(&controller);
    }
    ekGizmoController controller;
};

TEST_F(ControllerTest, StructureChangesFromCallbacksAndOtherViewsAreSeen)
{
    setUpArrow();
    // a listener that attaches a gizmo at each end: all twenty are found
    std::vector<ekGizmoNode*> added;
    meddle(log, "T", [&](ekGizmoNode*) { added.push_back(scene.addGizmo(ekGizmoNode::TRANSLATE, {object})); });
    for (int i = 0; i < 20; ++i) { drag(grip, grip); frame(); }
    EXPECT_EQ(controller.get3DManipulators().size(), 21u);
    // a listener that detaches (and so deletes) every added gizmo: none is touched afterwards
    meddle(log, "T", [&](ekGizmoNode*) {
        for (ekGizmoNode* g : added) { scene.root().detachChild(g); }
        added.clear();
    });
    drag(grip, shifted(grip, 5));
    move({20, 20}); // on empty space: a hover asks every listed gizmo
    frame();
    EXPECT_EQ(controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));

    // a second engine on the same root sees the gizmo, and a detach made between two frames
    SecondView other(scene.root(), 20.0f);
    other.engine().frame();
    EXPECT_EQ(other.controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));
    ekGizmoNode* late = scene.addGizmo(ekGizmoNode::ROTATE, {object});
    frame(); // clears the structure bit before the other view runs
    other.engine().frame();
    EXPECT_EQ(other.controller.get3DManipulators().size(), 2u);
    scene.root().detachChild(late);
    other.controller.setMousePressed(&other.camera(), 10, 10, 400, 300);
    other.controller.setMouseReleased(10, 10);
    other.engine().frame();
    EXPECT_EQ(other.controller.get3DManipulators(), (std::vector<ekGizmoNode*>{gizmo}));

    // a listener that deletes the gizmo whose drag starts, for each kind: the drag ends at once
    for (auto mode : {ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE}) {
        ekGizmoNode* victim = scene.addGizmo(mode, {object});
        meddle(log, "trs", [&](ekGizmoNode*) { scene.root().detachChild(victim); });
        frame();
        const Pixel on = mode == ekGizmoNode::ROTATE ? circlePixel(*victim, 45.0f) : axisPixel(*victim, 0, 0.8f);
        controller.edit3DManipulators() = {victim};
        heard.clear();
        dragged(on, shifted(on, 20));
        EXPECT_EQ(heard.size(), 2u) << mode;
        EXPECT_FALSE(controller.isDragging()) << mode;
    }

    // a listener that deletes a gizmo while motions are told: the deleted one is not told
    ekGizmoNode* doomed = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({3.0f, 0.0f, 0.0f})});
    frame();
    meddle(log, "M", [&](ekGizmoNode* g) { scene.root().detachChild(g == gizmo ? doomed : gizmo); });
    heard.clear();
    drag(grip, grip);
    dragged(axisPixel(*doomed, 0, 0.8f), axisPixel(*doomed, 0, 0.8f));
    EXPECT_EQ(kindsOf(heard), "tTtTM");
}

TEST_F(ControllerTest, ForgetsADeletedGizmoItPressedBefore)
{
    setUpArrow();
    ekGizmoNode* other = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({0.0f, 0.0f, 0.0f})});
    frame();
    // the translate drag last pressed gizmo, which then leaves the scene and is deleted
    dragged(grip, shifted(grip, 10));
    scene.root().detachChild(gizmo);
    frame();
    // a click that ends on the other gizmo's arrow holds it; a second release reaches it
    const Pixel onOther = axisPixel(*other, 0, 0.8f);
    press({20, 20});
    released(onOther);
    heard.clear();
    released(onOther);
    EXPECT_TRUE(heard.empty());
}

TEST_F(ControllerTest, ReplacedReferenceListEndsTheDragsEffect)
{
    setUpArrow();
    ekNode* other = scene.addObject({3.0f, 2.0f, 0.0f});
    const ekGenericTransformation<float> otherBefore = other->getWorldTransform();
    // the list replaced mid-drag, then edited in place mid-drag: no object receives another's
    // stored transform, and the release still ends the drag with what it applied
    for (bool inPlace : {false, true}) {
        gizmo->setReferenceObject(object);
        frame();
        const Pixel from = axisPixel(*gizmo, 0, 0.8f);
        const float startX = positionOf(*object).X();
        const Wm4::Vector3<float> held = holdDrag(from, 30);
        if (inPlace) { gizmo->editReferenceObjects() = {other}; }
        else { gizmo->setReferenceObjects({other}); }
        moved(shifted(from, 60));
        EXPECT_EQ(other->getWorldTransform(), otherBefore);
        EXPECT_EQ(positionOf(*object), held);
        released(shifted(from, 60));
        ASSERT_EQ(kindsOf(heard), "MTM");
        EXPECT_NEAR(heard[1].delta.GetTranslate().X(), held.X() - startX, kWorldTolerance);
        EXPECT_EQ(other->getWorldTransform(), otherBefore);
    }
}

TEST_F(ControllerTest, HoverNeverChangesTheAxisOfADragUnderWay)
{
    // rotate: a quarter turn about Z, the events cleared, the cursor rests on the Y circle
    setUpArrow(ekGizmoNode::ROTATE);
    gizmo->setEnabledAxis(ekGizmoNode::ROTATE, 0x6);
    const Pixel quarterTurn = circlePixel(*gizmo, 135.0f);
    dragged(circlePixel(*gizmo, 45.0f), quarterTurn, false);
    EXPECT_TRUE(controller.isDragging());
    EXPECT_EQ(controller.getActiveAxis(), 2);
    controller.clearControllerEvents();
    const float h = std::sqrt(0.5f);
    moved(scene.pixelOf(gizmoPoint(*gizmo, {h, 0.0f, h})));
    EXPECT_EQ(controller.getActiveAxis(), 2);
    // the release ends the Z rotation where it is, and tells its end
    heard.clear();
    released(quarterTurn);
    expectMatrixNear(object->getWorldTransform().GetRotate(), rotation({0.0f, 0.0f, 1.0f}, 90.0f));
    EXPECT_EQ(kindsOf(heard), "RM");
    EXPECT_FALSE(controller.isDragging());

    // scale: the feedback lines of the dragged handle are hidden at the end
    object->editLocalTransform(true).SetRotate(Wm4::Matrix3<float>::IDENTITY);
    gizmo->setMode(ekGizmoNode::SCALE);
    frame();
    const std::size_t idleSegments = scene.engine().getDrawList().size();
    holdDrag(axisPixel(*gizmo, 0, 0.8f), 20);
    EXPECT_GT(scene.engine().getDrawList().size(), idleSegments);
    controller.clearControllerEvents();
    moved(axisPixel(*gizmo, 1, 0.8f));
    released(axisPixel(*gizmo, 1, 0.8f));
    EXPECT_EQ(scene.engine().getDrawList().size(), idleSegments);
    EXPECT_NEAR(object->getWorldTransform().ApplyForward({0.0f, 1.0f, 0.0f}, false).Length(), 1.0f, kWorldTolerance);
}

TEST_F(ControllerTest, AGizmoLeavingMidDragEndsItsDrag)
{
    ekPointer<ekNode> oldScene(&scene.root());
    // the host drops the gizmo (its last reference), or replaces the whole scene (dropping the
    // queued input and the list): the end is heard at once, with the delta applied so far
    for (bool replaceScene : {false, true}) {
        setUpArrow();
        const Wm4::Vector3<float> held = holdDrag(grip, 30);
        if (replaceScene) {
            move(shifted(grip, 60));
            scene.engine().setScene(new ekNode);
            EXPECT_EQ(controller.getQueuedEventCount(), 0u);
            EXPECT_TRUE(controller.get3DManipulators().empty());
        } else {
            scene.root().detachChild(gizmo);
            frame();
        }
        ASSERT_EQ(kindsOf(heard), "T");
        EXPECT_NEAR(heard[0].delta.GetTranslate().X(), held.X(), kWorldTolerance);
        EXPECT_FALSE(controller.isDragging());
        // the rest of the gesture reaches nothing; the release answers as the press did unless
        // the new scene cleared the controller
        move(shifted(grip, 60));
        EXPECT_EQ(released(shifted(grip, 60)), !replaceScene);
        EXPECT_EQ(kindsOf(heard), "T");
        EXPECT_EQ(positionOf(*object), held);
    }
}

// Counts its updates and may take itself out of the engine while it runs.
struct CountingController : ekGenericControllerInterface {
    void updateController(ekGenericRenderingContext*) override
    {
        ++updates;
        if (removeFrom != nullptr) { removeFrom->removeController(this); }
    }
    ekEngine* removeFrom = nullptr;
    int updates = 0;
};

TEST(EngineControllers, OneRemovingItselfSkipsNoOther)
{
    ekEngine engine;
    CountingController counters[3];
    for (CountingController& c : counters) { engine.addController(&c); }
    counters[1].removeFrom = counters[0].removeFrom = &engine;
    engine.frame();
    for (const CountingController& c : counters) { EXPECT_EQ(c.updates, 1); }
    engine.frame();
    EXPECT_EQ(counters[2].updates, 2);
    EXPECT_EQ(counters[0].updates + counters[1].updates, 2);
}

TEST_F(ControllerTest, EachViewHitsAndDragsTheGizmoAsItShowsIt)
{
    object = scene.addObject({0.0f, 0.0f, 0.0f});
    gizmo = scene.addGizmo(ekGizmoNode::SCALE, {object});
    SecondView other(scene.root(), 30.0f);
    other.engine().frame();
    frame();
    const Pixel handle = axisPixel(*gizmo, 0, 0.8f);
    // the other view lays the gizmo out last, at its own size
    other.engine().frame();
    // this view's press still lies on the handle as this view shows it, and half a handle
    // length outwards (30 of 60 pixels) gives 1.5
    EXPECT_TRUE(dragged(handle, shifted(handle, 30)));
    EXPECT_NEAR(object->getWorldTransform().ApplyForward({1.0f, 0.0f, 0.0f}, false).Length(), 1.5f, 1e-3f);
}

TEST_F(ControllerTest, PastTheHorizonTheObjectsStayWhereTheLastValidMovePutThem)
{
    // looking down at the ground: dragged away along Z, the axis meets the horizon on screen
    scene.camera().lookAt({0.0f, 3.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    for (bool restrict : {false, true}) {
        setUpArrow();
        gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x4);
        gizmo->restrictPositionBetweenNearFar(restrict);
        const Pixel onZ = axisPixel(*gizmo, 2, 0.8f);
        const Pixel horizon = scene.pixelOf({0.0f, 0.0f, -1.0e6f});
        dragged(onZ, {onZ.x, horizon.y + 3}, false); // below the horizon: far away, still in front
        const Wm4::Vector3<float> far = positionOf(*object);
        EXPECT_LT(far.Z(), -20.0f) << "restrict " << restrict;
        move({onZ.x, horizon.y - 3}); // above it the ray meets the ground behind the eye
        released({onZ.x, horizon.y - 40});
        EXPECT_EQ(positionOf(*object), far) << "restrict " << restrict;
        scene.root().detachChild(gizmo);
        scene.root().detachChild(object);
        frame();
    }
}

TEST_F(ControllerTest, PressAnswersTrueOnlyWhenADragCanFollow)
{
    // orthographic views so wide or so narrow that a drag may not move anything
    for (float halfHeight : {1.0e30f, 1.0e-30f}) {
        ekTestScene view;
        view.camera().setPerspective(false);
        view.camera().setFrustum(-halfHeight * 4 / 3, halfHeight * 4 / 3, -halfHeight, halfHeight, 1.0f, 1000.0f);
        ekGizmoController viewController;
        view.engine().addController(&viewController);
        ekNode* target = view.addObject({0.0f, 0.0f, 0.0f});
        const ekGizmoNode* arrow = view.addGizmo(ekGizmoNode::TRANSLATE, {target});
        const Pixel onArrow = view.pixelOf(gizmoPoint(*arrow, {0.8f, 0.0f, 0.0f}));
        view.engine().frame();
        const bool answered = viewController.setMousePressed(&view.camera(), onArrow.x, onArrow.y, kWidth, kHeight);
        viewController.setMousePos(onArrow.x + 40, onArrow.y);
        viewController.setMouseReleased(onArrow.x + 40, onArrow.y);
        view.engine().frame();
        EXPECT_EQ(answered, positionOf(*target) != Wm4::Vector3<float>::ZERO) << "half height " << halfHeight;
        view.engine().removeController(&viewController);
    }
}

TEST_F(ControllerTest, InwardScaleDragsNeverReachZero)
{
    setUpArrow(ekGizmoNode::SCALE);
    gizmo->setUseUniformScale(true);
    // 80 drags inwards, then an outward one that still grows it
    float smallest = 0.0f;
    for (int i = 0; i <= 80; ++i) {
        const Pixel handle = axisPixel(*gizmo, 0, 0.9f);
        dragged(handle, shifted(handle, i < 80 ? -200 : 60));
        const float scale = object->getWorldTransform().GetUniformScale();
        ASSERT_TRUE(i < 80 ? std::isnormal(scale) : scale > smallest) << "drag " << i;
        smallest = scale;
    }
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
    // translate, rotate and scale: each cancelled mid-drag, its start paired with one identity end
    const std::pair<ekGizmoNode::GizmoMode, const char*> modes[] = {
        {ekGizmoNode::TRANSLATE, "tMT"}, {ekGizmoNode::ROTATE, "rMR"}, {ekGizmoNode::SCALE, "sMS"}};
    for (const auto& [mode, kinds] : modes) {
        gizmo->setEnabledAxis(mode, 0x1);
        gizmo->setMode(mode);
        frame();
        const Pixel onX = mode == ekGizmoNode::ROTATE ? circlePixel(*gizmo, 90.0f) : axisPixel(*gizmo, 0, 0.8f);
        heard.clear();
        dragged(onX, {onX.x + 25, onX.y + 25}, false);
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
        ASSERT_EQ(kindsOf(heard), kinds) << mode;
        EXPECT_TRUE(heard[2].delta.IsIdentity()) << mode;
        // the rest of the gesture does nothing
        move({onX.x + 60, onX.y});
        release({onX.x + 60, onX.y});
        EXPECT_LE(scene.engine().frame().size(), during) << mode;
        EXPECT_EQ(object->getWorldTransform(), world) << mode;
        EXPECT_EQ(kindsOf(heard), kinds) << mode;
    }
}

} // namespace
} // namespace ek::test
