// What the view writes over the scene: the status band, the help and the
// drag readout.
#include "ViewerWidget.h"

#include "EditorSession.h"

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRectF>

#include <algorithm>

namespace ek::viewer {
namespace {

const QColor kText(215, 218, 225);
const QColor kTextBand(18, 19, 23, 200);
const QColor kHelpPanel(12, 13, 16, 220);
// Height of one line of the status band, pixels.
constexpr int kLineHeight = 18;
constexpr int kMargin = 10;
// The readout's panel: its top-left corner this far right of and below the
// cursor, pixels, clear of the cursor's arrow; its padding.
const QPoint kReadoutOffset(18, 22);
constexpr int kReadoutPadding = 4;
const QColor kReadoutPanel(12, 13, 16, 230);
const QColor kReadoutText(255, 236, 120);

const QString& helpText()
{
    static const QString text = QStringLiteral(
        "W  translate     E  rotate     R  scale     Q  no gizmo\n"
        "O  orientation: local, world, custom (45\u00b0 about Y), camera\n"
        "U  uniform scale     S  rotation snapping     N  keep between near and far\n"
        "H  extended handles: planes, screen, view ring, trackball, scale centre\n"
        "I  snap to steps (0.25 units, 15\u00b0, 0.25 scale)     V  fade edge-on axes\n"
        "Ctrl held at a press on a handle  snapping inverted for that drag\n"
        "Left click  select     Shift+click  add or remove     Ctrl+click  remove\n"
        "Left drag off the handles  box select (Shift adds, Ctrl removes)\n"
        "Left drag on a handle  translate, rotate or scale the selection\n"
        "Esc or a right click during the drag  cancel it (nothing to undo)\n"
        "Right drag  orbit about the selection     Wheel  zoom towards the cursor\n"
        "Middle drag or Shift+right drag  pan     F  frame the selection\n"
        "Inspector: type a value, Enter  set it (undoable)\n"
        "Ctrl+Z  undo     Ctrl+Shift+Z or Ctrl+Y  redo\n"
        "F1 or ?  this help     Esc  quit");
    return text;
}

} // namespace

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

void ViewerWidget::drawReadout(QPainter& painter)
{
    m_session.dragReadout(m_readout);
    if (m_readout.empty()) {
        return;
    }
    const QString text = QString::fromStdString(m_readout);
    QRectF box = painter.boundingRect(QRectF(m_cursorAt + kReadoutOffset, QSizeF(1, 1)),
                                      Qt::AlignLeft | Qt::AlignTop, text);
    // Kept inside the view, so a drag near an edge still shows it.
    box.moveRight(std::min(box.right(), width() - qreal(kReadoutPadding)));
    box.moveBottom(std::min(box.bottom(), height() - qreal(kReadoutPadding)));
    painter.fillRect(box.adjusted(-kReadoutPadding, -kReadoutPadding, kReadoutPadding,
                                  kReadoutPadding),
                     kReadoutPanel);
    painter.setPen(kReadoutText);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
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
