#pragma once

#include "InspectorPanel.h"
#include "ViewerWidget.h"

#include <QMainWindow>

class QSize;

namespace ek::viewer {

class EditorSession;

// The interactive editor: the 3D view in the middle and the inspector
// docked on the right (no menu or tool bar, so the view's origin is the
// window's). Titled "gizmo-viewer".
class EditorWindow : public QMainWindow {
public:
    // session must outlive the window.
    explicit EditorWindow(EditorSession& session);

    // Shows the window with the view viewSize pixels large and the
    // keyboard in the view.
    void showWithViewSize(const QSize& viewSize);

private:
    ViewerWidget* m_view;
    InspectorPanel* m_inspector;
};

} // namespace ek::viewer
