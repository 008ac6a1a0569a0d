#pragma once

#include "ek3DManipulationExport.h"

#include <QObject>

class QEvent;

namespace ek {

class ekEngineInterface;
class ekGizmoController;

/// A Qt event filter that feeds a view's mouse to a gizmo controller.
/// Install it on the widget that receives the view's mouse events
/// (installEventFilter). Left presses, left releases and every move go to
/// the controller; the filter swallows exactly what the controller claims:
/// a left press on a handle, the moves that follow it and its release. Every
/// other event reaches the widget, so the host's own camera navigation never
/// sees a gizmo drag.
///
/// A release can be lost: the window system delivers it elsewhere or not at
/// all. After a left press went to the controller, a move with the left
/// button up is taken as its release at that position (and swallowed as
/// the release would be), and losing the input (FocusOut, WindowDeactivate,
/// UngrabMouse on the watched object) cancels the drag under way and drops
/// the input queued for the controller, a press not yet replayed included.
/// These events always reach the widget. A visible child widget receives
/// its window's WindowDeactivate, so the view widget itself is the place to
/// install the filter; with mouse tracking off, Qt delivers no buttonless
/// move and only the input loss and the next press end the drag.
///
/// Owns neither the engine interface nor the controller; destroying it does
/// not remove it from the widget. It runs where Qt delivers the widget's
/// events, the GUI thread, which must also be the thread of the controller
/// and the engine.
///
/// A press is picked with the camera of the engine's camera node. While the
/// engine has no camera node, or the node no camera, a press cannot be on a
/// gizmo: it reaches the widget and the controller is not told of it.
class EK3DMANIPULATION_API ekGizmoEventsListener : public QObject {
    Q_OBJECT

public:
    /// engine gives the view size and the camera of a press; it must stay
    /// valid while the filter has a controller.
    explicit ekGizmoEventsListener(ekEngineInterface* engine);
    ~ekGizmoEventsListener() override;

    /// The controller fed from now on; not owned. Null passes every event
    /// through. A press forwarded to the former controller is forgotten.
    void setController(ekGizmoController* controller);
    /// The controller fed; null when none.
    ekGizmoController* getController() const { return m_controller; }

    /// With on, a left press tells the controller whether Ctrl is held
    /// (ekGizmoController::setSnapInverted) before it is queued, so that
    /// Ctrl inverts snapping for that drag. Off by default: no modifier is
    /// looked at.
    void setSnapToggleOnCtrl(bool on) { m_snapToggleOnCtrl = on; }
    /// See setSnapToggleOnCtrl.
    bool isSnapToggleOnCtrl() const { return m_snapToggleOnCtrl; }

    /// Qt 6 has no trUtf8 of its own; it is tr here, as source strings are UTF-8.
    static QString trUtf8(const char* s, const char* c = nullptr, int n = -1);

protected:
    /// Forwards the mouse events of any watched object as the class says;
    /// true swallows event.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ekGizmoController* m_controller;
    ekEngineInterface* m_engine;
    // A left press went to m_controller and its release has not.
    bool m_leftPressForwarded;
    bool m_snapToggleOnCtrl = false;
};

} // namespace ek
