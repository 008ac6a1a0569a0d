#include <ek3DManipulation/ekGizmoEventsListener.h>

#include "ekBridgeDecision.h"

#include <ek3DManipulation/ekGizmoController.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngineInterface.h>

#include <QEvent>
#include <QMouseEvent>
#include <QPoint>
#include <QString>

namespace ek {
namespace {

ekBridgeEventKind kindOf(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton
            ? ekBridgeEventKind::LEFT_PRESS
            : ekBridgeEventKind::OTHER;
    case QEvent::MouseButtonRelease:
        return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton
            ? ekBridgeEventKind::LEFT_RELEASE
            : ekBridgeEventKind::OTHER;
    case QEvent::MouseMove:
        return ekBridgeEventKind::MOVE;
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
        return ekBridgeEventKind::INPUT_LOST;
    default:
        return ekBridgeEventKind::OTHER;
    }
}

// Window pixels, origin top-left, y down: what the controller takes.
QPoint pixelOf(const QEvent& event)
{
    return static_cast<const QMouseEvent&>(event).position().toPoint();
}

} // namespace

ekGizmoEventsListener::ekGizmoEventsListener(ekEngineInterface* engine)
    : QObject(nullptr), m_controller(nullptr), m_engine(engine), m_leftPressForwarded(false)
{
}

ekGizmoEventsListener::~ekGizmoEventsListener() = default;

void ekGizmoEventsListener::setController(ekGizmoController* controller)
{
    m_controller = controller;
    m_leftPressForwarded = false;
}

QString ekGizmoEventsListener::trUtf8(const char* s, const char* c, int n)
{
    return staticMetaObject.tr(s, c, n);
}

bool ekGizmoEventsListener::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (m_controller == nullptr) {
        return false;
    }
    ekBridgeInput input;
    input.kind = kindOf(*event);
    input.pressForwarded = m_leftPressForwarded;
    const ekCamera* camera = nullptr;
    if (input.kind == ekBridgeEventKind::LEFT_PRESS) {
        const ekCameraNode* cameraNode = m_engine->getCameraNode();
        camera = cameraNode != nullptr ? cameraNode->getCamera() : nullptr;
        input.canPick = camera != nullptr;
    } else if (input.kind == ekBridgeEventKind::MOVE) {
        input.leftHeld = static_cast<const QMouseEvent*>(event)->buttons().testFlag(Qt::LeftButton);
    }
    const ekBridgeDecision decision = decideBridgeAction(input);
    // Settled before the controller runs: a listener it notifies may open a
    // dialog, whose WindowDeactivate comes back here at once.
    m_leftPressForwarded = decision.pressForwarded;
    switch (decision.action) {
    case ekBridgeAction::PRESS: {
        int width = 0;
        int height = 0;
        m_engine->getViewportSize(width, height);
        const QPoint pos = pixelOf(*event);
        if (m_snapToggleOnCtrl) {
            const auto* mouse = static_cast<const QMouseEvent*>(event);
            m_controller->setSnapInverted(mouse->modifiers().testFlag(Qt::ControlModifier));
        }
        return m_controller->setMousePressed(camera, pos.x(), pos.y(), width, height);
    }
    case ekBridgeAction::RELEASE: {
        const QPoint pos = pixelOf(*event);
        return m_controller->setMouseReleased(pos.x(), pos.y());
    }
    case ekBridgeAction::MOVE: {
        const QPoint pos = pixelOf(*event);
        return m_controller->setMousePos(pos.x(), pos.y());
    }
    case ekBridgeAction::CANCEL:
        // Dropped first, so that input a listener queues from the end
        // notification is kept.
        m_controller->clearControllerEvents();
        m_controller->cancelDrag();
        return false;
    case ekBridgeAction::PASS:
        break;
    }
    return false;
}

} // namespace ek
