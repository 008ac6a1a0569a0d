#include "ekControllerFixture.h"

#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <map>
#include <memory>

namespace ek::test {
namespace {

constexpr QEvent::Type kPress = QEvent::MouseButtonPress;
constexpr QEvent::Type kRelease = QEvent::MouseButtonRelease;
constexpr QEvent::Type kMove = QEvent::MouseMove;

// Spells the input events the bridge let through: Press, Release, Double click, Move, Wheel,
// Key press, key release (k).
struct RecordingWidget : QWidget {
    std::string seen;
    bool event(QEvent* e) override
    {
        static const std::map<QEvent::Type, char> kLetters{
            {kPress, 'P'}, {kRelease, 'R'}, {QEvent::MouseButtonDblClick, 'D'}, {kMove, 'M'},
            {QEvent::Wheel, 'W'}, {QEvent::KeyPress, 'K'}, {QEvent::KeyRelease, 'k'}};
        const auto letter = kLetters.find(e->type());
        if (letter != kLetters.end()) { seen += letter->second; }
        return QWidget::event(e);
    }
};

// The controller fixture's translate arrow, its view's widget filtered by the bridge.
class EventsListenerTest : public ControllerTest {
protected:
    static void SetUpTestSuite()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s_app = std::make_unique<QApplication>(s_argc, s_argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override
    {
        ControllerTest::SetUp();
        setUpArrow();
        bridge.setController(&controller);
        widget.setMouseTracking(true); // else Qt drops buttonless moves before any filter
        widget.installEventFilter(&bridge);
    }

    // A mouse event of button; a move holds it, a press is of it and holds it.
    void send(QEvent::Type type, Pixel at, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPointF point(at.x, at.y);
        QMouseEvent e(type, point, point, type == kMove ? Qt::NoButton : button,
                      type == kRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &e);
    }
    void send(QEvent&& e) { QCoreApplication::sendEvent(&widget, &e); }
    // A left press at from, a move to to and the release there.
    void gesture(Pixel from, Pixel to)
    {
        for (QEvent::Type type : {kPress, kMove, kRelease}) { send(type, type == kPress ? from : to); }
    }
    std::size_t queued() const { return controller.getQueuedEventCount(); }

    static inline int s_argc = 1;
    static inline char s_name[] = "test_qt";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::unique_ptr<QApplication> s_app;
    ekGizmoEventsListener bridge{&scene.engine()};
    RecordingWidget widget;
};

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
    send(kMove, shifted(grip, 5), Qt::RightButton);
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

} // namespace
} // namespace ek::test
