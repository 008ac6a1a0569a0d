#include "EditorWindow.h"

#include <QDockWidget>
#include <QLayout>
#include <QSize>

namespace ek::viewer {

EditorWindow::EditorWindow(EditorSession& session, JsonReport& report)
    : m_view(new ViewerWidget(session, this)), m_inspector(new InspectorPanel(session, *m_view))
{
    setWindowTitle(QStringLiteral("gizmo-viewer"));
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
