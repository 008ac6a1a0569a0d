#pragma once

#include "TransformPanel.h"
#include "ViewerWidget.h"

#include <QMainWindow>

class QSize;

namespace ek::viewer {

class EditorSession;
class JsonReport;

// The interactive editor: the 3D view in the middle and the inspector
// docked on the right (no menu or tool bar, so the view's origin is the
// window's). Titled "gizmo-viewer".
class EditorWindow : public QMainWindow {
public:
    // session and report must outlive the window. At its first frame it
    // reports where the inspector's boxes lie.
    EditorWindow(EditorSession& session, JsonReport& report);

    // Shows the window with the view viewSize pixels large and the
    // keyboard in the view.
    void showWithViewSize(const QSize& viewSize);
    // The 3D view, the window's central widget.
    ViewerWidget& view() { return *m_view; }

private:
    ViewerWidget* m_view;
    TransformPanel* m_inspector;
    bool m_boxesReported = false;
};

} // namespace ek::viewer
