#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <ek3DManipulation/ekGizmoController.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngineInterface.h>

#include <QEvent>
#include <QMouseEvent>
#include <QPoint>
#include <QString>

namespace ek {

ekGizmoEventsListener::ekGizmoEventsListener(ekEngineInterface* engine)
    : QObject(nullptr), m_controller(nullptr), m_engine(engine)
{
}

ekGizmoEventsListener::~ekGizmoEventsListener() = default;

QString ekGizmoEventsListener::trUtf8(const char* s, const char* c, int n)
{
    return staticMetaObject.tr(s, c, n);
}

bool ekGizmoEventsListener::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (m_controller == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        // Window pixels, origin top-left, y down: what the controller takes.
        const QPoint pos = mouse->position().toPoint();
        // Without a camera there is no gizmo under the cursor: the press is
        // the host's, and the controller is not told of it.
        const ekCameraNode* cameraNode = m_engine->getCameraNode();
        const ekCamera* camera = cameraNode != nullptr ? cameraNode->getCamera() : nullptr;
        if (camera == nullptr) {
            return false;
        }
        int width = 0;
        int height = 0;
        m_engine->getViewportSize(width, height);
        return m_controller->setMousePressed(camera, pos.x(), pos.y(), width, height);
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        const QPoint pos = mouse->position().toPoint();
        return m_controller->setMouseReleased(pos.x(), pos.y());
    }
    case QEvent::MouseMove: {
        // Whatever buttons are held: the controller keeps hover up to date
        // and holds the press answer until the left release.
        const QPoint pos = static_cast<const QMouseEvent*>(event)->position().toPoint();
        return m_controller->setMousePos(pos.x(), pos.y());
    }
    default:
        return false;
    }
}

} // namespace ek
