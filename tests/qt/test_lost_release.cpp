#include "ekEventsListenerFixture.h"

#include <QFocusEvent>

#include <algorithm>

namespace ek::test {
namespace {

// A drag on the arrow whose release the window system never delivers.
class LostReleaseTest : public EventsListenerTest {
protected:
    // A left press on the grip and a 30-pixel drag, replayed: the drag is under way.
    void startDrag()
    {
        send(kPress, grip);
        send(kMove, shifted(grip, 30));
        frame();
        ASSERT_TRUE(controller.isDragging());
        ASSERT_NEAR(objectShift(), 30.0f, kPixelTolerance);
    }
    // Exactly one start and one end of a translate drag were heard, and no drag is under way.
    void expectEndedOnce() const
    {
        const std::string kinds = kindsOf(heard);
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 't'), 1) << kinds;
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'T'), 1) << kinds;
        EXPECT_FALSE(controller.isDragging());
    }
    // The drag was cancelled: the object stands at its press position and the end told the identity.
    void expectCancelled() const
    {
        expectEndedOnce();
        EXPECT_EQ(positionOf(*object), Wm4::Vector3<float>::ZERO);
        const auto end = std::find_if(heard.begin(), heard.end(), [](const Heard& h) { return h.kind == 'T'; });
        ASSERT_NE(end, heard.end());
        EXPECT_TRUE(end->delta.IsIdentity());
    }
    // Moves with no button held, then a frame: none of them may drag.
    void moveWithoutButtons()
    {
        for (int dx : {60, 90}) { send(kMove, shifted(grip, dx), Qt::NoButton); }
        frame();
    }
};

TEST_F(LostReleaseTest, FocusOutAndDeactivationCancelTheDrag)
{
    startDrag();
    send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
    send(QEvent(QEvent::WindowDeactivate));
    EXPECT_EQ(queued(), 0u);
    moveWithoutButtons();
    expectCancelled();
    // both reach the widget, and so do the moves after them
    EXPECT_EQ(widget.seen, "FAMM");
}

TEST_F(LostReleaseTest, LostGrabCancelsTheDrag)
{
    startDrag();
    send(QEvent(QEvent::UngrabMouse));
    moveWithoutButtons();
    expectCancelled();
    EXPECT_EQ(widget.seen, "UMM");
}

TEST_F(LostReleaseTest, AMoveWithTheButtonUpIsTheMissingRelease)
{
    // released outside the widget, the release delivered elsewhere; or nothing delivered at all
    for (bool leftFirst : {true, false}) {
        SCOPED_TRACE(leftFirst ? "released outside" : "nothing delivered");
        heard.clear();
        widget.seen.clear();
        startDrag();
        if (leftFirst) {
            send(QEvent(QEvent::Leave));
            send(QEvent(QEvent::Enter));
        }
        moveWithoutButtons();
        expectEndedOnce();
        // released where the first buttonless move went; that move was the gizmo's, the next one hovers
        EXPECT_NEAR(objectShift(), 60.0f, kPixelTolerance);
        EXPECT_EQ(widget.seen, "M");
        startX = scene.screenOf(positionOf(*object)).X();
        frame();
        grip = axisPixel(*gizmo, 0, 0.8f);
    }
}

TEST_F(LostReleaseTest, APressNotYetReplayedStartsNothing)
{
    send(kPress, grip);
    send(kMove, shifted(grip, 30));
    send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
    EXPECT_EQ(queued(), 0u);
    frame();
    moveWithoutButtons();
    EXPECT_EQ(kindsOf(heard), "");
    EXPECT_FALSE(controller.isDragging());
    EXPECT_EQ(positionOf(*object), Wm4::Vector3<float>::ZERO);
}

TEST_F(LostReleaseTest, WithoutAPressForwardedInputLossChangesNothing)
{
    // a whole click waits in the queue: it is replayed as it came
    send(kPress, grip);
    send(kRelease, grip);
    send(QFocusEvent(QEvent::FocusOut, Qt::ActiveWindowFocusReason));
    send(QEvent(QEvent::WindowDeactivate));
    EXPECT_EQ(queued(), 2u);
    frame();
    EXPECT_EQ(kindsOf(heard), "tTM");
}

// The view as a child of a shown window: what Qt delivers to it when the window or the view loses the input.
class LostInputInWindowTest : public LostReleaseTest {
protected:
    void SetUp() override
    {
        LostReleaseTest::SetUp();
        widget.setParent(&window);
        widget.setFocusPolicy(Qt::StrongFocus);
        sibling.setParent(&window);
        sibling.setFocusPolicy(Qt::StrongFocus);
        window.show();
        other.show();
        QApplication::setActiveWindow(&window);
        widget.setFocus();
        ASSERT_TRUE(widget.hasFocus());
    }
    void TearDown() override
    {
        // the widget is the fixture's, not the window's to delete
        widget.setParent(nullptr);
        LostReleaseTest::TearDown();
    }

    QWidget window;
    QWidget sibling;
    QWidget other;
};

TEST_F(LostInputInWindowTest, AnotherWindowActivatedCancelsTheDrag)
{
    // a view that never takes the focus still hears its window's deactivation
    widget.setFocusPolicy(Qt::NoFocus);
    sibling.setFocus();
    startDrag();
    widget.seen.clear();
    QApplication::setActiveWindow(&other);
    EXPECT_EQ(widget.seen, "A");
    moveWithoutButtons();
    expectCancelled();
}

TEST_F(LostInputInWindowTest, FocusTakenByAnotherWidgetCancelsTheDrag)
{
    startDrag();
    widget.seen.clear();
    sibling.setFocus();
    EXPECT_EQ(widget.seen, "F");
    moveWithoutButtons();
    expectCancelled();
}

} // namespace
} // namespace ek::test
