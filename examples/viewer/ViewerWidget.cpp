#include "ViewerWidget.h"

#include "EditorSession.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoHandle.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRect>
#include <QRectF>
#include <QWheelEvent>

namespace ek::viewer {
namespace {

// Angle of one wheel notch, in Qt's eighths of a degree.
constexpr float kWheelNotch = 120.0f;
// How far a left drag off the handles goes, in pixels along x plus y,
// before it draws a box rather than clicks.
constexpr int kBoxThreshold = 4;

SelectionChange clickChange(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        return SelectionChange::Toggle;
    }
    return modifiers.testFlag(Qt::ControlModifier) ? SelectionChange::Remove
                                                   : SelectionChange::Replace;
}

SelectionChange boxChange(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        return SelectionChange::Add;
    }
    return modifiers.testFlag(Qt::ControlModifier) ? SelectionChange::Remove
                                                   : SelectionChange::Replace;
}

} // namespace

bool ViewerWidget::InputObserver::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        m_view.m_cursorAt = mouse->position().toPoint();
        m_view.update();
        if (mouse->button() == Qt::RightButton && m_session.cancelDrag()) {
            // Taken here, before the bridge: the press that cancels a drag
            // starts no orbit.
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        // The bridge swallows a drag's moves: the readout follows them here.
        m_view.m_cursorAt = static_cast<const QMouseEvent*>(event)->position().toPoint();
        m_view.update();
        break;
    default:
        break;
    }
    return false;
}

ViewerWidget::ViewerWidget(EditorSession& session, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_gizmoFilter(&session.engineInterface()),
      m_observer(*this, session)
{
    setWindowTitle(QStringLiteral("gizmo-viewer"));
    setMouseTracking(true); // hover highlights need moves without a button
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_gizmoFilter.setController(&session.controller());
    m_gizmoFilter.setSnapToggleOnCtrl(true);
    // The filter installed last runs first: the observer sees every event,
    // then the bridge decides what the widget gets.
    installEventFilter(&m_gizmoFilter);
    installEventFilter(&m_observer);
    session.resize(width(), height());
}

ViewerWidget::~ViewerWidget()
{
    removeEventFilter(&m_observer);
    removeEventFilter(&m_gizmoFilter);
}

QImage ViewerWidget::snapshot()
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    advanceFrame();
    QPainter painter(&image);
    render(painter);
    return image;
}

void ViewerWidget::advanceFrame()
{
    m_session.frame();
    // A press the bridge let through can still start a drag at the replay
    // (the scene moved in between): the drag wins over the box.
    if (m_gesture == Gesture::Box && m_session.isBusy()) {
        m_gesture = Gesture::None;
    }
    refreshTexts();
    updateCursor();
    if (m_frameListener) {
        m_frameListener();
    }
}

void ViewerWidget::paintEvent(QPaintEvent* /*event*/)
{
    advanceFrame();
    QPainter painter(this);
    render(painter);
}

void ViewerWidget::resizeEvent(QResizeEvent* /*event*/)
{
    m_session.resize(width(), height());
}

void ViewerWidget::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    if (control && event->key() == Qt::Key_Z) {
        if (modifiers.testFlag(Qt::ShiftModifier)) {
            m_session.redo();
        } else {
            m_session.undo();
        }
    } else if (control && event->key() == Qt::Key_Y) {
        m_session.redo();
    } else if (event->key() == Qt::Key_F1 || event->text() == QLatin1String("?")) {
        m_helpShown = !m_helpShown;
    } else if (event->key() == Qt::Key_Escape) {
        // Esc backs out of a drag first; with none under way it quits.
        if (!m_session.cancelDrag()) {
            window()->close();
        }
    } else if (control) {
        QWidget::keyPressEvent(event);
        return;
    } else {
        switch (event->key()) {
        case Qt::Key_W:
            m_session.setMode(ekGizmoNode::TRANSLATE);
            break;
        case Qt::Key_E:
            m_session.setMode(ekGizmoNode::ROTATE);
            break;
        case Qt::Key_R:
            m_session.setMode(ekGizmoNode::SCALE);
            break;
        case Qt::Key_Q:
            m_session.setMode(ekGizmoNode::NONE);
            break;
        case Qt::Key_O:
            m_session.cycleOrientation();
            break;
        case Qt::Key_U:
            m_session.toggleUniformScale();
            break;
        case Qt::Key_S:
            m_session.toggleRotationSnap();
            break;
        case Qt::Key_N:
            m_session.toggleNearFarRestriction();
            break;
        case Qt::Key_H:
            m_session.setExtendedHandles(!m_session.extendedHandles());
            break;
        case Qt::Key_I:
            m_session.toggleSnapping();
            break;
        case Qt::Key_V:
            m_session.setFading(!m_session.fading());
            break;
        case Qt::Key_F:
            m_session.focus();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
    }
    update();
}

void ViewerWidget::mousePressEvent(QMouseEvent* event)
{
    // Only presses the gizmo did not take arrive here; one gesture at a time.
    if (m_gesture != Gesture::None) {
        return;
    }
    m_pressAt = event->position().toPoint();
    m_lastAt = m_pressAt;
    m_pressModifiers = event->modifiers();
    const bool shift = m_pressModifiers.testFlag(Qt::ShiftModifier);
    if (event->button() == Qt::LeftButton) {
        m_gesture = Gesture::Click;
    } else if (event->button() == Qt::MiddleButton
               || (event->button() == Qt::RightButton && shift)) {
        m_gesture = Gesture::Pan;
    } else if (event->button() == Qt::RightButton) {
        m_gesture = Gesture::Orbit;
        m_session.beginOrbit();
    }
    update();
}

void ViewerWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint step = pos - m_lastAt;
    m_lastAt = pos;
    switch (m_gesture) {
    case Gesture::Click:
        if ((pos - m_pressAt).manhattanLength() > kBoxThreshold) {
            m_gesture = Gesture::Box;
        }
        break;
    case Gesture::Orbit:
        m_session.orbit(step.x(), step.y());
        break;
    case Gesture::Pan:
        m_session.pan(step.x(), step.y());
        break;
    case Gesture::Box:
    case Gesture::None:
        break;
    }
    update();
}

void ViewerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    switch (m_gesture) {
    case Gesture::Click:
    case Gesture::Box:
        if (left) {
            m_lastAt = event->position().toPoint();
            finishSelection();
            m_gesture = Gesture::None;
        }
        break;
    case Gesture::Orbit:
    case Gesture::Pan:
        if (!left) {
            m_session.endNavigation();
            m_gesture = Gesture::None;
        }
        break;
    case Gesture::None:
        break;
    }
    update();
}

void ViewerWidget::finishSelection()
{
    if (m_gesture == Gesture::Box) {
        m_session.selectInRect(m_pressAt.x(), m_pressAt.y(), m_lastAt.x(), m_lastAt.y(),
                               boxChange(m_pressModifiers));
    } else {
        m_session.selectAt(m_pressAt.x(), m_pressAt.y(), clickChange(m_pressModifiers));
    }
}

void ViewerWidget::wheelEvent(QWheelEvent* event)
{
    const QPoint pos = event->position().toPoint();
    m_session.zoom(float(event->angleDelta().y()) / kWheelNotch, pos.x(), pos.y());
    update();
}

void ViewerWidget::render(QPainter& painter)
{
    static const QColor kBackground(30, 32, 38);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size())), kBackground);
    m_renderer.draw(painter, m_session.drawList(), m_session.camera(), m_session.objects(),
                    m_session.selection(), QSizeF(size()));
    drawBox(painter);
    drawTexts(painter);
    drawReadout(painter);
}

void ViewerWidget::updateCursor()
{
    const ekGizmoController& controller = m_session.controller();
    if (controller.getActiveHandle() != ekGizmoHandle::NONE) {
        setCursor(Qt::ClosedHandCursor);
    } else if (controller.getHoveredHandle() != ekGizmoHandle::NONE) {
        setCursor(Qt::OpenHandCursor);
    } else {
        unsetCursor();
    }
}

void ViewerWidget::drawBox(QPainter& painter) const
{
    static const QColor kBoxFill(90, 150, 255, 45);
    static const QColor kBoxEdge(140, 190, 255, 230);
    if (m_gesture != Gesture::Box) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kBoxEdge, 1.0, Qt::DashLine));
    painter.setBrush(kBoxFill);
    painter.drawRect(QRect(m_pressAt, m_lastAt).normalized());
}

} // namespace ek::viewer
