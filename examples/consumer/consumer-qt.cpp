// Drags the X arrow of a gizmo 100 pixels to the right with Qt mouse events
// through the bridge; exits 0 when the bridge claimed the drag and the
// object followed the cursor. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.

#include "DragScene.h"

#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QObject>

#include <cstdio>

namespace {

// Sends a left-button event at window pixel (x, y) to target; true when a
// filter swallowed it.
bool send(QObject& target, QEvent::Type type, int x, int y)
{
    const QPointF at(x, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, at, button, held, Qt::NoModifier);
    return QCoreApplication::sendEvent(&target, &event);
}

int run()
{
    DragScene scene;
    ek::ekGizmoEventsListener filter(&scene.engine());
    filter.setController(&scene.controller());
    QObject view;
    view.installEventFilter(&filter);

    int x = 0;
    int y = 0;
    if (!scene.xArrowPixel(x, y)) {
        std::fprintf(stderr, "the gizmo is out of view\n");
        return 1;
    }
    bool swallowed = send(view, QEvent::MouseButtonPress, x, y);
    for (int step = 1; step <= 4; ++step) {
        swallowed = send(view, QEvent::MouseMove, x + 25 * step, y) && swallowed;
        scene.engine().frame();
    }
    swallowed = send(view, QEvent::MouseButtonRelease, x + 100, y) && swallowed;
    scene.engine().frame();
    if (!swallowed) {
        std::fprintf(stderr, "the bridge let part of the drag through to the view\n");
        return 1;
    }
    return scene.reportMovedBy(100) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ek::initialize3DManipulationLibrary();
    const int status = run();
    ek::terminate3DManipulationLibrary();
    std::printf("ek3DManipulation Qt bridge: %s\n", status == 0 ? "drag ok" : "drag FAILED");
    return status;
}
