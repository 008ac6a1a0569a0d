#include "ekControllerFixture.h"

#include <ekSceneGraph/ekLine.h>

namespace ek::test {
namespace {

const Wm4::ColorRGBA kHighlight(1.0f, 1.0f, 1.0f, 1.0f);

// The translate shaft of axis: children 0, 2 and 4 of a gizmo.
Wm4::ColorRGBA shaftColour(const ekGizmoNode& gizmo, int axis)
{
    return static_cast<const ekLine*>(gizmo.getChild(2 * axis))->getColor();
}

TEST_F(ControllerTest, DragsFollowTheGizmoModeAndNotifyAfterLayout)
{
    setUpArrow();
    // translate: press, two moves and a release in one update move the object along X only
    EXPECT_TRUE(press(grip));
    EXPECT_TRUE(move(shifted(grip, 50)));
    EXPECT_TRUE(move({grip.x + 100, grip.y + 7}));
    EXPECT_TRUE(released({grip.x + 100, grip.y + 7}));
    const Wm4::Vector3<float> afterDrag = positionOf(*object);
    EXPECT_NEAR(objectShift(), 100.0f, kPixelTolerance);
    EXPECT_NEAR(afterDrag.Y(), 0.0f, kWorldTolerance);
    // start and end (with the applied delta) during the replay, the motion after the layout
    ASSERT_EQ(kindsOf(heard), "tTM");
    EXPECT_NEAR(heard[1].delta.GetTranslate().X(), afterDrag.X(), kWorldTolerance);
    EXPECT_EQ(heard[2].gizmo, gizmo);
    EXPECT_NEAR(heard[2].gizmoAt.X(), afterDrag.X(), kWorldTolerance);

    // rotate: a quarter turn along the Z circle turns the object 90 degrees about Z; the end
    // notice comes with the release
    heard.clear();
    gizmo->setMode(ekGizmoNode::ROTATE);
    frame();
    const Pixel quarterTurn = circlePixel(*gizmo, 135.0f);
    dragged(circlePixel(*gizmo, 45.0f), quarterTurn, false);
    expectMatrixNear(object->getWorldTransform().GetRotate(), rotation({0.0f, 0.0f, 1.0f}, 90.0f));
    released(quarterTurn);
    ASSERT_EQ(kindsOf(heard), "rMRM");
    EXPECT_NEAR(heard[2].delta.ApplyForward({1.0f, 0.0f, 0.0f}, false).Y(), 1.0f, kWorldTolerance);

    // scale: half an axis outwards scales along that axis by 1.5, the position kept
    object->editLocalTransform(true).SetRotate(Wm4::Matrix3<float>::IDENTITY);
    scene.root().UpdateGS();
    gizmo->setMode(ekGizmoNode::SCALE);
    frame();
    const Pixel handle = axisPixel(*gizmo, 0, 0.8f);
    holdDrag(handle, 30);
    const ekGenericTransformation<float>& scaled = object->getWorldTransform();
    EXPECT_NEAR(scaled.ApplyForward({1.0f, 0.0f, 0.0f}, false).Length(), 1.5f, kWorldTolerance);
    EXPECT_NEAR(scaled.ApplyForward({0.0f, 1.0f, 0.0f}, false).Length(), 1.0f, kWorldTolerance);
    EXPECT_NEAR(positionOf(*object).X(), afterDrag.X(), kWorldTolerance);
    released(shifted(handle, 30));
    ASSERT_EQ(kindsOf(heard), "SM");
    EXPECT_NEAR(heard[0].delta.GetScale().X(), 1.5f, kWorldTolerance);
}

TEST_F(ControllerTest, ScaleHandlesArePickedByTheTranslateMask)
{
    setUpArrow();
    gizmo->setEnabledAxis(ekGizmoNode::SCALE, 0x2);
    gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x1);
    gizmo->setMode(ekGizmoNode::SCALE);
    frame();
    // the drawn Y handle is not picked; X, masked for translation only, is
    EXPECT_FALSE(press(axisPixel(*gizmo, 1, 0.8f)));
    release(axisPixel(*gizmo, 1, 0.8f));
    EXPECT_TRUE(press(axisPixel(*gizmo, 0, 0.8f)));
    released(axisPixel(*gizmo, 0, 0.8f));
    EXPECT_EQ(kindsOf(heard), "sSM");
}

TEST_F(ControllerTest, HoverHighlightsExceptAfterAPressOnEmptySpace)
{
    setUpArrow();
    const Wm4::ColorRGBA xColour = shaftColour(*gizmo, 0);
    const Wm4::ColorRGBA yColour = shaftColour(*gizmo, 1);
    const Pixel onY = axisPixel(*gizmo, 1, 0.8f);
    // A move over the X arrow highlights it alone; a press on empty space hovers once (taking
    // the highlight off), then freezes it.
    for (const bool pressedOnEmpty : {false, true}) {
        if (pressedOnEmpty) { EXPECT_FALSE(press({20, 20})); }
        moved(pressedOnEmpty ? onY : grip);
        EXPECT_EQ(shaftColour(*gizmo, 0), pressedOnEmpty ? xColour : kHighlight);
        EXPECT_EQ(shaftColour(*gizmo, 1), yColour);
    }
    // its release hovers at once
    released(onY);
    EXPECT_EQ(shaftColour(*gizmo, 1), kHighlight);
    // no handle was pressed: nothing to tell
    EXPECT_TRUE(heard.empty());
}

TEST_F(ControllerTest, PressAnswerHoldsUntilRelease)
{
    const Pixel beside{20, 20};
    // Whether press, move and release each answered onHandle.
    auto answers = [&](Pixel from, Pixel to, bool onHandle) {
        EXPECT_EQ(press(from), onHandle);
        EXPECT_EQ(move(to), onHandle);
        EXPECT_EQ(release(to), onHandle);
    };
    // no gizmo: every call answers false
    answers({400, 300}, {400, 300}, false);
    controller.clearControllerEvents();
    setUpArrow();
    // on a handle: true until and including the release; a second release is false
    answers(grip, beside, true);
    EXPECT_FALSE(release(beside));
    // beside every handle: false throughout
    answers(beside, grip, false);
    // a gizmo in mode NONE is neither hit nor laid out
    controller.clearControllerEvents();
    gizmo->setMode(ekGizmoNode::NONE);
    EXPECT_FALSE(press(grip));
    release(grip);
    const ekGenericTransformation<float> placed = gizmo->getLocalTransform();
    scene.camera().lookAt({0.0f, 0.0f, 20.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    frame();
    EXPECT_TRUE(gizmo->getLocalTransform() == placed);
    EXPECT_TRUE(heard.empty());
}

TEST_F(ControllerTest, NormalisedPositionIsThePixelCentreFromTheBottomLeft)
{
    // an orthographic 100 x 50 view, 0.1 world units per pixel: pixel (0, 0) is the normalised
    // (0.005, 0.99), i.e. (0.5, 49.5) pixels from the bottom-left corner
    scene.engine().setViewportSize(100, 50);
    scene.camera().setFrustum(-5.0f, 5.0f, -2.5f, 2.5f, 1.0f, 1000.0f);
    scene.camera().setPerspective(false);
    setUpArrow();
    gizmo->setExpectedPixelSize(20.0f);
    // Whether a press at (0, 0) hits the one arrow of mask, its centre at (px, py) pixels.
    auto hitsArrowAt = [&](unsigned char mask, float px, float py) {
        object->editLocalTransform(true).SetTranslate({-5.0f + 0.1f * px, -2.5f + 0.1f * py, 0.0f});
        scene.root().UpdateGS();
        gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, mask);
        frame();
        const bool hit = controller.setMousePressed(&scene.camera(), 0, 0, 100, 50);
        controller.clearControllerEvents();
        return hit;
    };
    // the Y arrow 9.8 pixels right of the cursor is within the 10-pixel tolerance, at 10.2 not
    EXPECT_TRUE(hitsArrowAt(2, 10.3f, 40.0f));
    EXPECT_FALSE(hitsArrowAt(2, 10.7f, 40.0f));
    // the X arrow 9.8 pixels below it is, at 10.2 not
    EXPECT_TRUE(hitsArrowAt(1, -10.0f, 39.7f));
    EXPECT_FALSE(hitsArrowAt(1, -10.0f, 39.3f));
}

TEST_F(ControllerTest, StrayReleaseMovesAndTellsNothing)
{
    setUpArrow();
    // a drag that moved the object, then the cursor rests on the arrow
    dragged(grip, shifted(grip, 40));
    const Wm4::Vector3<float> held = positionOf(*object);
    moved(grip);
    heard.clear();
    // a release without a press answers false, replays nothing of the last drag and tells nothing
    EXPECT_FALSE(released(grip));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(positionOf(*object), held);
}

TEST_F(ControllerTest, ClearingEventsMidDragLeavesTheNextReleaseToEndIt)
{
    setUpArrow();
    holdDrag(grip, 30);
    ASSERT_NEAR(objectShift(), 30.0f, kPixelTolerance);
    // the queued move is dropped, and later input no longer counts as on a gizmo
    EXPECT_TRUE(move(shifted(grip, 60)));
    controller.clearControllerEvents();
    EXPECT_EQ(controller.getQueuedEventCount(), 0u);
    EXPECT_FALSE(moved(shifted(grip, 10)));
    // that move only hovered: the object stays where the drag left it
    EXPECT_NEAR(objectShift(), 30.0f, kPixelTolerance);
    EXPECT_TRUE(heard.empty());
    // the release still reaches the held gizmo: a last move from the press point, then the end
    EXPECT_FALSE(released(shifted(grip, 10)));
    EXPECT_NEAR(objectShift(), 10.0f, kPixelTolerance);
    EXPECT_EQ(kindsOf(heard), "TM");
}

TEST_F(ControllerTest, EventsWaitWhileDisabledOrWithoutCamera)
{
    setUpArrow();
    controller.setEnabled(false);
    EXPECT_TRUE(drag(grip, shifted(grip, 50))); // the press answered from the last layout
    scene.camera().lookAt({0.0f, 0.0f, 20.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    frame();
    // nothing replayed: the object stays, the events wait, no one is told anything...
    EXPECT_NEAR(positionOf(*object).X(), 0.0f, kWorldTolerance);
    EXPECT_EQ(controller.getQueuedEventCount(), 3u);
    EXPECT_TRUE(heard.empty());
    // ...but the gizmo is laid out for the moved camera: an axis still covers 60 pixels
    EXPECT_NEAR(scene.screenOf(gizmoPoint(*gizmo, {1.0f, 0.0f, 0.0f})).X() - startX, 60.0f, kPixelTolerance);
    // enabled but without a camera, nothing can be hit: the events keep waiting
    controller.setEnabled(true);
    ekPointer<ekCameraNode> cameraNode = scene.engine().getCameraNode();
    scene.engine().setCameraNode(nullptr);
    frame();
    EXPECT_EQ(controller.getQueuedEventCount(), 3u);
    // with the camera back, the next update replays all of it in order
    scene.engine().setCameraNode(cameraNode);
    frame();
    EXPECT_NEAR(objectShift(), 50.0f, kPixelTolerance);
    EXPECT_EQ(controller.getQueuedEventCount(), 0u);
    EXPECT_EQ(kindsOf(heard), "tTM");
}

TEST_F(ControllerTest, FullQueueFoldsMovesButKeepsPressesAndReleases)
{
    constexpr int kMoves = 5000;
    constexpr int kLastShift = 70;
    setUpArrow();
    controller.setEnabled(false);
    for (int i = 0; i < kMoves; ++i) { move({10 + i % 50, 10}); }
    press(grip);
    for (int i = 0; i < kMoves; ++i) { move(shifted(grip, i + 1 == kMoves ? kLastShift : 1 + i % 60)); }
    release(grip); // on the press point: leaves the object where the last move put it
    // moves up to the bound (the last slot holding the latest), the press, the latest move after it, and the release
    EXPECT_EQ(controller.getQueuedEventCount(), ekGizmoController::kMaxQueuedEvents + 3);
    controller.setEnabled(true);
    frame();
    EXPECT_NEAR(objectShift(), float(kLastShift), kPixelTolerance);
    EXPECT_EQ(kindsOf(heard), "tTM");
}

TEST_F(ControllerTest, TouchedGizmosAreToldOnceEachInAddressOrder)
{
    ekGizmoNode* left = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({-3.0f, 0.0f, 0.0f})});
    ekGizmoNode* right = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({3.0f, 0.0f, 0.0f})});
    frame();
    std::vector<Heard> motions;
    EventLog first(motions, 1);
    EventLog second(motions, 2);
    controller.uninstall3DManipulatorMotionListener(&log);
    EXPECT_TRUE(controller.install3DManipulatorMotionListener(&first));
    EXPECT_FALSE(controller.install3DManipulatorMotionListener(&first));
    EXPECT_TRUE(controller.install3DManipulatorMotionListener(&second));
    // right pressed, moved and released, then left, in one update
    for (ekGizmoNode* g : {right, left}) { drag(axisPixel(*g, 0, 0.8f), shifted(axisPixel(*g, 0, 0.8f), 10)); }
    frame();
    // each gizmo once, lower address first, every listener in install order
    ekGizmoNode* lower = std::less<>()(left, right) ? left : right;
    ekGizmoNode* upper = lower == left ? right : left;
    ASSERT_EQ(kindsOf(motions), "ttTTttTTMMMM"); // starts and ends reach both
    const std::vector<std::pair<int, ekGizmoNode*>> expected{{1, lower}, {2, lower}, {1, upper}, {2, upper}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::make_pair(motions[8 + i].listener, motions[8 + i].gizmo), expected[i]);
    }
    EXPECT_TRUE(controller.uninstall3DManipulatorMotionListener(&first));
    EXPECT_FALSE(controller.uninstall3DManipulatorMotionListener(&first));
    EXPECT_TRUE(controller.uninstall3DManipulatorMotionListener(&second));
}

} // namespace
} // namespace ek::test
