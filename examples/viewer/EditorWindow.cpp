#include "EditorWindow.h"

#include <QDockWidget>
#include <QLayout>
#include <QSize>

namespace ek::viewer {

EditorWindow::EditorWindow(EditorSession& session)
    : m_view(new ViewerWidget(session, this)), m_inspector(new InspectorPanel(session, *m_view))
{
    setWindowTitle(QStringLiteral("gizmo-viewer"));
    setCentralWidget(m_view);
    auto* dock = new QDockWidget(tr("Inspector"), this);
    dock->setObjectName(QStringLiteral("inspector"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_inspector);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    m_view->setFrameListener([this] { m_inspector->refresh(); });
}

void EditorWindow::showWithViewSize(const QSize& viewSize)
{
    layout()->activate();
    resize(size() + viewSize - m_view->size());
    show();
    m_view->setFocus(Qt::OtherFocusReason);
}

} // namespace ek::viewer
