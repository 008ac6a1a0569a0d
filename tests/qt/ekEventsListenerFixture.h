#pragma once

#include "ekControllerFixture.h"

#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

namespace ek::test {

constexpr QEvent::Type kPress = QEvent::MouseButtonPress;
constexpr QEvent::Type kRelease = QEvent::MouseButtonRelease;
constexpr QEvent::Type kMove = QEvent::MouseMove;

// Spells the events the bridge let through: Press, Release, Double click, Move, Wheel, Key press,
// key release (k), Focus out, window deActivated, Ungrab mouse.
struct RecordingWidget : QWidget {
    std::string seen;
    bool event(QEvent* e) override
    {
        static const std::map<QEvent::Type, char> kLetters{
            {kPress, 'P'}, {kRelease, 'R'}, {QEvent::MouseButtonDblClick, 'D'}, {kMove, 'M'},
            {QEvent::Wheel, 'W'}, {QEvent::KeyPress, 'K'}, {QEvent::KeyRelease, 'k'},
            {QEvent::FocusOut, 'F'}, {QEvent::WindowDeactivate, 'A'}, {QEvent::UngrabMouse, 'U'}};
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
    // A move to at with the buttons held.
    void moveHolding(Pixel at, Qt::MouseButtons held)
    {
        const QPointF point(at.x, at.y);
        QMouseEvent e(kMove, point, point, Qt::NoButton, held, Qt::NoModifier);
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

} // namespace ek::test
