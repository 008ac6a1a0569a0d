#include "ekEventsListenerFixture.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace ek::test {
namespace {

TEST_F(EventsListenerTest, IsAQObjectWithNothingToTranslate)
{
    EXPECT_STREQ(bridge.metaObject()->className(), "ek::ekGizmoEventsListener");
    EXPECT_EQ(ekGizmoEventsListener::trUtf8("Gizmo \xc3\xa9"), QString::fromUtf8("Gizmo \xc3\xa9"));
}

TEST_F(EventsListenerTest, APressOnAHandleSwallowsExactlyItsGesture)
{
    send(kMove, grip, Qt::NoButton); // hover passes, queued
    send(kPress, grip);
    send(kMove, shifted(grip, 20));
    // wheel and keys pass even during the drag, unqueued
    send(QWheelEvent({}, {}, {}, {0, 120}, Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false));
    send(QKeyEvent(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w")));
    send(QKeyEvent(QEvent::KeyRelease, Qt::Key_W, Qt::NoModifier, QStringLiteral("w")));
    send(kMove, shifted(grip, 40));
    send(kRelease, shifted(grip, 40));
    send(kMove, shifted(grip, 50), Qt::NoButton); // after the release, moves pass again
    EXPECT_EQ(widget.seen, "MWKkM");
    EXPECT_EQ(queued(), 6u);
    // the queued drag carries the object with the cursor
    frame();
    EXPECT_NEAR(objectShift(), 40.0f, kPixelTolerance);
}

TEST_F(EventsListenerTest, OtherGesturesPass)
{
    // a press beside the handles passes and is queued, and crossing a handle then claims nothing
    gesture({5, 5}, grip);
    EXPECT_EQ(widget.seen, "PMR");
    EXPECT_EQ(queued(), 3u);
    // right and middle presses and releases on a handle pass unqueued; a right-held move passes
    frame();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        for (QEvent::Type type : {kPress, kRelease}) { send(type, grip, button); }
    }
    send(kMove, grip, Qt::RightButton);
    EXPECT_EQ(widget.seen, "PMRPRPRM");
    EXPECT_EQ(queued(), 1u);
    // while a left press on a handle holds, the right button passes but its moves are the gizmo's
    frame();
    send(kPress, grip);
    send(kPress, grip, Qt::RightButton);
    moveHolding(shifted(grip, 5), Qt::LeftButton | Qt::RightButton);
    send(kRelease, shifted(grip, 5), Qt::RightButton);
    send(kRelease, shifted(grip, 5));
    EXPECT_EQ(widget.seen, "PMRPRPRMPR");
    EXPECT_EQ(queued(), 3u);
}

TEST_F(EventsListenerTest, WithNothingToPickWithEverythingPassesUnqueued)
{
    // no controller
    bridge.setController(nullptr);
    gesture(grip, shifted(grip, 20));
    EXPECT_EQ(queued(), 0u);
    // a camera node without its camera, then no camera node: the presses pass unqueued, and so do the moves after them
    bridge.setController(&controller);
    scene.engine().setCameraNode(new ekCameraNode(nullptr));
    send(kPress, grip);
    scene.engine().setCameraNode(nullptr);
    send(kPress, grip);
    EXPECT_EQ(queued(), 0u);
    send(kMove, shifted(grip, 20));
    EXPECT_EQ(widget.seen, "PMRPPM");
}

TEST_F(EventsListenerTest, PressAnswerUsesTheEngineViewSize)
{
    // in a view twice the laid-out one the same pixel lies elsewhere, off the handle
    scene.engine().setViewportSize(2 * kWidth, 2 * kHeight);
    send(kPress, grip);
    send(kRelease, grip);
    scene.engine().setViewportSize(kWidth, kHeight);
    send(kPress, grip);
    EXPECT_EQ(widget.seen, "PR");
}

TEST_F(EventsListenerTest, DoubleClickIsOneClickToTheController)
{
    // Qt sends press, release, double click, release; the engine's frames fall between them or only after them
    for (const auto& [framePerEvent, kinds] : {std::pair(false, "tTM"), std::pair(true, "tMTM")}) {
        heard.clear();
        widget.seen.clear();
        for (QEvent::Type type : {kPress, kRelease, QEvent::MouseButtonDblClick, kRelease}) {
            send(type, grip);
            if (framePerEvent) { frame(); }
        }
        frame();
        // the double click and the second release find no pending press answer: they pass
        EXPECT_EQ(widget.seen, "DR");
        // one start and its end, nothing moved
        EXPECT_EQ(kindsOf(heard), kinds);
        EXPECT_EQ(positionOf(*object), Wm4::Vector3<float>::ZERO);
        EXPECT_FALSE(controller.isDragging());
    }
}

TEST_F(EventsListenerTest, CtrlInvertsSnappingOnlyWhenAsked)
{
    controller.setTranslateSnap(0.25f);
    // a left press with Ctrl: ignored by default, the drag snaps to quarters
    const auto ctrlGesture = [&](Pixel from, Pixel to) {
        const QPointF a(from.x, from.y);
        QMouseEvent press(kPress, a, a, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
        send(std::move(press));
        send(kMove, to);
        send(kRelease, to);
        frame();
    };
    ctrlGesture(grip, shifted(grip, 40));
    const float snapped = object->getWorldTransform().GetTranslate().X();
    EXPECT_EQ(snapped, std::round(snapped * 4.0f) / 4.0f);
    EXPECT_NE(snapped, 0.0f);
    // asked to, the bridge passes Ctrl on: that drag is free
    bridge.setSnapToggleOnCtrl(true);
    const Pixel from = axisPixel(*gizmo, 0, 0.8f);
    ctrlGesture(from, shifted(from, 40));
    const float moved = object->getWorldTransform().GetTranslate().X() - snapped;
    EXPECT_NE(moved, std::round(moved * 4.0f) / 4.0f);
    // and a press without Ctrl snaps again
    const float before = object->getWorldTransform().GetTranslate().X();
    const Pixel again = axisPixel(*gizmo, 0, 0.8f);
    gesture(again, shifted(again, 40));
    frame();
    const float x = object->getWorldTransform().GetTranslate().X() - before;
    EXPECT_NEAR(x, std::round(x * 4.0f) / 4.0f, 1e-5f);
    EXPECT_NE(x, 0.0f);
}

} // namespace
} // namespace ek::test
