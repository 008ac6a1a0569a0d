#include "EditorWindow.h"

#include <QColor>
#include <QDockWidget>
#include <QLayout>
#include <QPalette>
#include <QSize>

namespace ek::viewer {
namespace {

// Dark panels around the dark view, as 3D editors have them.
QPalette darkPalette()
{
    const QColor text(215, 218, 225);
    const QColor muted(120, 123, 132);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(40, 42, 50));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(26, 27, 32));
    palette.setColor(QPalette::AlternateBase, QColor(34, 35, 42));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(52, 55, 64));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(255, 140, 26));
    palette.setColor(QPalette::HighlightedText, QColor(20, 20, 20));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, muted);
    }
    return palette;
}

} // namespace

EditorWindow::EditorWindow(EditorSession& session, JsonReport& report)
    : m_view(new ViewerWidget(session, this)), m_inspector(new TransformPanel(session, *m_view))
{
    setWindowTitle(QStringLiteral("gizmo-viewer"));
    setPalette(darkPalette());
    setCentralWidget(m_view);
    auto* dock = new QDockWidget(tr("Inspector"), this);
    dock->setObjectName(QStringLiteral("inspector"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_inspector);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    // The first frame is drawn once the window is laid out and shown.
    m_view->setFrameListener([this, &report] {
        m_inspector->refresh();
        if (!m_boxesReported) {
            m_boxesReported = true;
            m_inspector->reportBoxes(*this, report);
        }
    });
}

void EditorWindow::showWithViewSize(const QSize& viewSize)
{
    layout()->activate();
    resize(size() + viewSize - m_view->size());
    show();
    m_view->setFocus(Qt::OtherFocusReason);
}

} // namespace ek::viewer
