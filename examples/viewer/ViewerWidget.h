#pragma once

#include "FrameRenderer.h"

#include <ek3DManipulation/ekGizmoEventsListener.h>

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

namespace ek::viewer {

class EditorSession;

// The editor's 3D view: draws the session's frames and turns input into
// edits. The gizmo's bridge filters the mouse first, so a drag on a handle
// never reaches the selection or the camera navigation here; what it lets
// through selects (left click, left drag: a box), orbits (right drag), pans
// (middle drag, Shift + right drag) and zooms (wheel). Keys pass the
// bridge untouched: Esc cancels a drag, or else quits. Ctrl held at a
// press on a handle inverts snapping for that drag; while a drag moves, a
// readout of what it has done so far follows the cursor.
class ViewerWidget : public QWidget {
public:
    // session must outlive the widget.
    explicit ViewerWidget(EditorSession& session, QWidget* parent = nullptr);
    ~ViewerWidget() override;

    // Runs a frame and draws it into an image of the widget's size.
    QImage snapshot();
    // Runs a frame without drawing it.
    void advanceFrame();
    // Called after every frame (the inspector follows the drags by it).
    void setFrameListener(std::function<void()> listener) { m_frameListener = std::move(listener); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Sees the mouse before the bridge: cancels a drag at a right press
    // (taking that press), and asks for a frame on every mouse event,
    // including those the bridge swallows. Lets everything else through.
    class InputObserver : public QObject {
    public:
        InputObserver(ViewerWidget& view, EditorSession& session) : m_view(view), m_session(session) {}

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        ViewerWidget& m_view;
        EditorSession& m_session;
    };

    // What a held button is doing; a left press the gizmo did not take is
    // a click until it moves past kBandThreshold, then a box.
    enum class Gesture { None, Click, Box, Orbit, Pan };

    void render(QPainter& painter);
    void drawBox(QPainter& painter) const;
    void drawTexts(QPainter& painter);
    // The drag readout beside the cursor, over whatever lies there.
    void drawReadout(QPainter& painter);
    // The cursor's shape for the handle under it or dragged.
    void updateCursor();
    // Rebuilds the status texts when the session's changed.
    void refreshTexts();
    void finishSelection();

    EditorSession& m_session;
    ekGizmoEventsListener m_gizmoFilter;
    InputObserver m_observer;
    FrameRenderer m_renderer;
    std::function<void()> m_frameListener;
    std::string m_statusScratch;
    std::string m_statusShown;
    std::string m_optionsScratch;
    std::string m_optionsShown;
    std::string m_readout;
    QString m_status;
    QString m_options;
    Gesture m_gesture = Gesture::None;
    QPoint m_pressAt; // where the gesture started
    QPoint m_lastAt;  // where the cursor was at its last move
    QPoint m_cursorAt; // where the cursor is, whoever took its events
    Qt::KeyboardModifiers m_pressModifiers; // held at the gesture's press
    bool m_helpShown = false;
};

} // namespace ek::viewer
