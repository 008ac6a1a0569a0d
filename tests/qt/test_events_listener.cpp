#include <ek3DManipulation/ek3DManipulation.h>
#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using ek::ekGizmoController;
using ek::ekGizmoNode;
using Vec3 = Wm4::Vector3<float>;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
// A projected point lands within this many pixels of where the cursor
// dragged it (pixel rounding of the event positions).
constexpr float kPixelTolerance = 1.0f;

// Records the input events that reach it, i.e. those the filter let through.
class RecordingWidget : public QWidget {
public:
    std::vector<QEvent::Type> seen;

protected:
    bool event(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            seen.push_back(e->type());
            break;
        default:
            break;
        }
        return QWidget::event(e);
    }
};

// The drag starts and ends a controller's listeners hear, in order: 't'/'T'
// translate, 'r'/'R' rotate, 's'/'S' scale start/end; with each end's
// world translation.
class DragLog : public ek::ek3DManipulatorMotionListener {
public:
    std::string kinds;
    std::vector<Vec3> endTranslations;

    void onManipulatorMotion(ekGizmoNode* /*gizmo*/) override {}
    void onTranslateManipulatorStart() override { kinds += 't'; }
    void onTranslateManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override { end('T', delta); }
    void onRotateManipulatorStart() override { kinds += 'r'; }
    void onRotateManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override { end('R', delta); }
    void onScaleManipulatorStart() override { kinds += 's'; }
    void onScaleManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override { end('S', delta); }

private:
    void end(char kind, const ek::ekGenericTransformation<float>& delta)
    {
        kinds += kind;
        endTranslations.push_back(delta.GetTranslate());
    }
};

// A real engine with one object at the origin under a translate gizmo,
// seen from (0, 0, 10), laid out by one frame; a widget filtered by the
// bridge.
class EventsListenerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "test_qt";
            static char* argv[] = {name, nullptr};
            s_app = std::make_unique<QApplication>(argc, argv);
        }
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override
    {
        ek::initialize3DManipulationLibrary();
        m_camera = new ek::ekCamera;
        m_camera->lookAt(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));
        m_camera->setFrustum(60.0f, float(kWidth) / float(kHeight), 1.0f, 100.0f);
        m_engine.setCameraNode(new ek::ekCameraNode(m_camera));
        m_engine.setViewportSize(kWidth, kHeight);
        m_scene = new ek::ekNode;
        m_engine.setScene(m_scene);
        m_object = new ek::ekNode;
        m_scene->attachChild(m_object);
        m_gizmo = new ekGizmoNode;
        m_scene->attachChild(m_gizmo);
        m_gizmo->setReferenceObject(m_object);
        m_gizmo->setMode(ekGizmoNode::TRANSLATE);
        m_engine.addController(&m_controller);
        m_engine.frame();

        m_listener.setController(&m_controller);
        m_widget.resize(kWidth, kHeight);
        m_widget.setMouseTracking(true);
        m_widget.installEventFilter(&m_listener);
    }

    void TearDown() override
    {
        m_engine.removeController(&m_controller);
        ek::terminate3DManipulationLibrary();
    }

    // The window pixel (origin top-left, y down) whose centre a world point
    // projects to.
    QPoint pixelOf(const Vec3& world) const
    {
        Wm4::Vector2<float> n;
        EXPECT_TRUE(m_camera->project(world, n));
        return {int(std::lround(n.X() * kWidth - 0.5f)),
                int(std::lround((1.0f - n.Y()) * kHeight - 0.5f))};
    }
    QPoint onXShaft() const
    {
        return pixelOf(m_gizmo->getWorldTransform().ApplyForward(Vec3(0.6f, 0, 0)));
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&m_widget, &e);
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, at, button, button);
    }
    void move(QPoint at, Qt::MouseButtons held = Qt::LeftButton)
    {
        mouse(QEvent::MouseMove, at, Qt::NoButton, held);
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    std::size_t queued() const { return m_controller.getQueuedEventCount(); }
    std::vector<QEvent::Type>& seen() { return m_widget.seen; }
    void doubleClickOnHandle(bool framePerEvent);

    static std::unique_ptr<QApplication> s_app;
    ek::ekEngine m_engine;
    ek::ekCamera* m_camera = nullptr;
    ek::ekNode* m_scene = nullptr;
    ek::ekNode* m_object = nullptr;
    ekGizmoNode* m_gizmo = nullptr;
    ekGizmoController m_controller;
    ek::ekGizmoEventsListener m_listener{&m_engine};
    RecordingWidget m_widget;
};

std::unique_ptr<QApplication> EventsListenerTest::s_app;

using Types = std::vector<QEvent::Type>;

TEST_F(EventsListenerTest, MetaObjectAndTranslation)
{
    // moc ran: the class knows its name and casts from QObject.
    const QMetaObject* meta = m_listener.metaObject();
    EXPECT_STREQ(meta->className(), "ek::ekGizmoEventsListener");
    EXPECT_EQ(meta->superClass(), &QObject::staticMetaObject);
    QObject* asObject = &m_listener;
    EXPECT_EQ(qobject_cast<ek::ekGizmoEventsListener*>(asObject), &m_listener);
    // Nothing is installed to translate: both give the source text.
    EXPECT_EQ(ek::ekGizmoEventsListener::trUtf8("Gizmo \xc3\xa9"), QString::fromUtf8("Gizmo \xc3\xa9"));
    EXPECT_EQ(ek::ekGizmoEventsListener::tr("Gizmo"), QStringLiteral("Gizmo"));
    // set then get; the engine was not touched by construction.
    EXPECT_EQ(m_listener.getController(), &m_controller);
}

TEST_F(EventsListenerTest, WithoutControllerEverythingPasses)
{
    m_listener.setController(nullptr);
    const QPoint handle = onXShaft();
    press(handle);
    move(handle + QPoint(20, 0));
    release(handle + QPoint(20, 0));
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}));
    EXPECT_EQ(queued(), 0u);
}

TEST_F(EventsListenerTest, LeftDragOnHandleIsSwallowedUntilRelease)
{
    const QPoint handle = onXShaft();
    // hover before the press reaches the widget and is queued
    move(handle, Qt::NoButton);
    EXPECT_EQ(seen(), Types{QEvent::MouseMove});
    press(handle);
    move(handle + QPoint(10, 0));
    move(handle + QPoint(20, 0));
    release(handle + QPoint(20, 0));
    EXPECT_EQ(seen(), Types{QEvent::MouseMove});
    EXPECT_EQ(queued(), 5u);
    // after the release, moves reach the widget again
    move(handle + QPoint(30, 0), Qt::NoButton);
    EXPECT_EQ(seen(), (Types{QEvent::MouseMove, QEvent::MouseMove}));
    EXPECT_EQ(queued(), 6u);
}

TEST_F(EventsListenerTest, DragThroughTheFilterMovesTheObjectUnderTheCursor)
{
    const QPoint handle = onXShaft();
    const QPoint before = pixelOf(Vec3(0, 0, 0));
    const QPoint shift(40, 0);
    press(handle);
    move(handle + shift / 2);
    move(handle + shift);
    release(handle + shift);
    m_engine.frame();
    EXPECT_EQ(queued(), 0u);

    // The object plane faces the camera, so the object's image moves with
    // the cursor; the drag is along X only.
    const Vec3 moved = m_object->getWorldTransform().GetTranslate();
    EXPECT_GT(moved.X(), 0.0f);
    EXPECT_FLOAT_EQ(moved.Y(), 0.0f);
    EXPECT_FLOAT_EQ(moved.Z(), 0.0f);
    const QPoint after = pixelOf(moved);
    EXPECT_NEAR(after.x() - before.x(), shift.x(), kPixelTolerance);
    EXPECT_NEAR(after.y() - before.y(), 0, kPixelTolerance);
}

TEST_F(EventsListenerTest, PressBesideHandlesPassesAndIsQueued)
{
    const QPoint empty(5, 5);
    press(empty);
    move(empty + QPoint(50, 0));
    move(onXShaft()); // crossing a handle while pressed elsewhere claims nothing
    release(onXShaft());
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseMove,
                             QEvent::MouseButtonRelease}));
    EXPECT_EQ(queued(), 4u);
}

TEST_F(EventsListenerTest, RightAndMiddleButtonsPassUnqueued)
{
    const QPoint handle = onXShaft();
    // right and middle presses and releases on a handle: not the gizmo's
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        press(handle, button);
        release(handle, button);
    }
    EXPECT_EQ(seen().size(), 4u);
    EXPECT_EQ(queued(), 0u);
    // a move with the right button held is forwarded, and passes
    move(handle + QPoint(5, 5), Qt::RightButton);
    EXPECT_EQ(seen().size(), 5u);
    EXPECT_EQ(queued(), 1u);

    // while a left press on a handle is pending, the right button passes
    // but the moves it drags are the gizmo's
    seen().clear();
    press(handle);
    press(handle, Qt::RightButton);
    move(handle + QPoint(5, 0), Qt::LeftButton | Qt::RightButton);
    release(handle + QPoint(5, 0), Qt::RightButton);
    release(handle + QPoint(5, 0));
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
    EXPECT_EQ(queued(), 4u); // the earlier move, left press, move, left release
}

TEST_F(EventsListenerTest, DoubleClickEventItselfPassesUnqueued)
{
    const QPoint handle = onXShaft();
    // What Qt sends for a double click: press, release, double click, release.
    press(handle);
    release(handle);
    mouse(QEvent::MouseButtonDblClick, handle, Qt::LeftButton, Qt::LeftButton);
    release(handle);
    // The second release finds no pending press answer: it passes.
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}));
    EXPECT_EQ(queued(), 3u);
}

// What the controller makes of a double click on a handle, with the
// engine's frames falling between the events or only after them: one click
// (a start and its end, nothing moved); the double-click event and the
// second release start and end nothing.
void EventsListenerTest::doubleClickOnHandle(bool framePerEvent)
{
    DragLog log;
    ASSERT_TRUE(m_controller.install3DManipulatorMotionListener(&log));
    const QPoint handle = onXShaft();
    const auto frameIf = [this](bool now) {
        if (now) {
            m_engine.frame();
        }
    };
    press(handle);
    frameIf(framePerEvent);
    release(handle);
    frameIf(framePerEvent);
    mouse(QEvent::MouseButtonDblClick, handle, Qt::LeftButton, Qt::LeftButton);
    frameIf(framePerEvent);
    release(handle);
    m_engine.frame();
    EXPECT_TRUE(m_controller.uninstall3DManipulatorMotionListener(&log));

    EXPECT_EQ(log.kinds, "tT");
    ASSERT_EQ(log.endTranslations.size(), 1u);
    EXPECT_EQ(log.endTranslations[0], Vec3::ZERO);
    EXPECT_EQ(m_object->getWorldTransform().GetTranslate(), Vec3::ZERO);
    EXPECT_FALSE(m_controller.isDragging());
    EXPECT_EQ(queued(), 0u);
}

TEST_F(EventsListenerTest, DoubleClickIsOneClickToTheController)
{
    doubleClickOnHandle(false);
}

TEST_F(EventsListenerTest, DoubleClickAcrossFramesIsOneClickToTheController)
{
    doubleClickOnHandle(true);
}

// Without a camera the bridge cannot pick: a press on a handle is left to
// the widget and not queued, whether the engine lacks the camera node or
// the node lacks its camera.
TEST_F(EventsListenerTest, PressWithoutCameraPassesUnqueued)
{
    const QPoint handle = onXShaft();
    m_engine.setCameraNode(new ek::ekCameraNode(nullptr));
    press(handle);
    m_engine.setCameraNode(nullptr);
    press(handle);
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonPress, QEvent::MouseButtonPress}));
    EXPECT_EQ(queued(), 0u);
    // The moves that follow are not the gizmo's either.
    move(handle + QPoint(20, 0));
    EXPECT_EQ(seen().size(), 3u);
}

TEST_F(EventsListenerTest, WheelAndKeysPassEvenDuringADrag)
{
    const QPoint handle = onXShaft();
    press(handle);
    const QPointF at(handle);
    QWheelEvent wheel(at, at, QPoint(), QPoint(0, 120), Qt::LeftButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&m_widget, &wheel);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    QCoreApplication::sendEvent(&m_widget, &key);
    QKeyEvent keyUp(QEvent::KeyRelease, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    QCoreApplication::sendEvent(&m_widget, &keyUp);
    EXPECT_EQ(seen(), (Types{QEvent::Wheel, QEvent::KeyPress, QEvent::KeyRelease}));
    EXPECT_EQ(queued(), 1u);
}

TEST_F(EventsListenerTest, PressAnswerUsesTheEngineViewSize)
{
    // The engine reports a view twice the size of the laid-out one: the
    // same window pixel now lies elsewhere in the view and misses.
    m_engine.setViewportSize(2 * kWidth, 2 * kHeight);
    press(onXShaft());
    EXPECT_EQ(seen(), Types{QEvent::MouseButtonPress});
    m_engine.setViewportSize(kWidth, kHeight);
    release(onXShaft());
    press(onXShaft());
    EXPECT_EQ(seen(), (Types{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
    EXPECT_EQ(queued(), 3u);
}

} // namespace
