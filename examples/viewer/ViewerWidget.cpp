#include "ViewerWidget.h"

#include "EditorSession.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRectF>
#include <QWheelEvent>

namespace ek::viewer {
namespace {

const QColor kBackground(30, 32, 38);
const QColor kText(215, 218, 225);
const QColor kTextBand(18, 19, 23, 200);
const QColor kHelpPanel(12, 13, 16, 220);
// Height of one line of the status band, pixels.
constexpr int kLineHeight = 18;
constexpr int kMargin = 10;
// Angle of one wheel notch, in Qt's eighths of a degree.
constexpr float kWheelNotch = 120.0f;

const QString& helpText()
{
    static const QString text = QStringLiteral(
        "W  translate     E  rotate     R  scale     Q  no gizmo\n"
        "O  orientation: local, world, custom (45\u00b0 about Y), camera\n"
        "U  uniform scale     S  rotation snapping     N  keep between near and far\n"
        "Left click  select     Shift+click  add or remove\n"
        "Left drag on a handle  translate, rotate or scale the selection\n"
        "Esc or a right click during the drag  cancel it (nothing to undo)\n"
        "Right drag  orbit     Wheel  zoom\n"
        "Ctrl+Z  undo     Ctrl+Shift+Z  redo\n"
        "F1 or ?  this help     Esc  quit");
    return text;
}

} // namespace

bool ViewerWidget::InputObserver::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
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
    refreshTexts();
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
    } else if (event->key() == Qt::Key_F1 || event->text() == QLatin1String("?")) {
        m_helpShown = !m_helpShown;
    } else if (event->key() == Qt::Key_Escape) {
        // Esc backs out of a drag first; with none under way it quits.
        if (!m_session.cancelDrag()) {
            close();
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
        default:
            QWidget::keyPressEvent(event);
            return;
        }
    }
    update();
}

void ViewerWidget::mousePressEvent(QMouseEvent* event)
{
    // Only presses the gizmo did not take arrive here.
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_session.selectAt(pos.x(), pos.y(), event->modifiers().testFlag(Qt::ShiftModifier));
    } else if (event->button() == Qt::RightButton) {
        m_orbiting = true;
        m_orbitFrom = pos;
    }
    update();
}

void ViewerWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_orbiting && event->buttons().testFlag(Qt::RightButton)) {
        const QPoint pos = event->position().toPoint();
        m_session.orbit(pos.x() - m_orbitFrom.x(), pos.y() - m_orbitFrom.y());
        m_orbitFrom = pos;
        update();
    }
}

void ViewerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && m_orbiting) {
        m_orbiting = false;
        m_session.endOrbit();
        update();
    }
}

void ViewerWidget::wheelEvent(QWheelEvent* event)
{
    m_session.zoom(float(event->angleDelta().y()) / kWheelNotch);
    update();
}

void ViewerWidget::render(QPainter& painter)
{
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size())), kBackground);
    m_renderer.draw(painter, m_session.drawList(), m_session.camera(), QSizeF(size()));
    drawTexts(painter);
}

void ViewerWidget::drawTexts(QPainter& painter)
{
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const qreal w = width();
    const qreal h = height();
    const QRectF band(0, h - 2 * kLineHeight - kMargin, w, 2 * kLineHeight + kMargin);
    painter.fillRect(band, kTextBand);
    painter.setPen(kText);
    painter.drawText(QRectF(kMargin, band.top() + kMargin / 2, w - 2 * kMargin, kLineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_status);
    painter.drawText(QRectF(kMargin, band.top() + kMargin / 2 + kLineHeight, w - 2 * kMargin,
                            kLineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_options);
    if (m_helpShown) {
        const QRectF text = painter.boundingRect(QRectF(2 * kMargin, 2 * kMargin, w, h),
                                                 Qt::AlignLeft | Qt::AlignTop, helpText());
        painter.fillRect(text.adjusted(-kMargin, -kMargin, kMargin, kMargin), kHelpPanel);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, helpText());
    }
}

void ViewerWidget::refreshTexts()
{
    m_session.statusLine(m_statusScratch);
    if (m_statusScratch != m_statusShown) {
        m_statusShown = m_statusScratch;
        m_status = QString::fromStdString(m_statusShown);
    }
    m_session.optionsLine(m_optionsScratch);
    if (m_optionsScratch != m_optionsShown) {
        m_optionsShown = m_optionsScratch;
        m_options = QString::fromStdString(m_optionsShown);
    }
}

} // namespace ek::viewer
