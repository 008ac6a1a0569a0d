#pragma once

// The Qt bridge's decisions, free of Qt: the filter translates each event
// into an ekBridgeInput and carries out the ekBridgeDecision it gets back,
// so that tests and fuzzers built without Qt can drive the same rules.

#include <cstdint>

namespace ek {

/// What an event is to the bridge.
enum class ekBridgeEventKind : std::uint8_t {
    LEFT_PRESS,   ///< a press of the left button
    LEFT_RELEASE, ///< a release of the left button
    MOVE,         ///< a mouse move, whatever buttons are held
    INPUT_LOST,   ///< focus out, the window deactivated or the mouse grab lost
    OTHER,        ///< anything else: other buttons, a double click, wheel, keys
};

/// What the bridge does with an event.
enum class ekBridgeAction : std::uint8_t {
    PASS,    ///< tell the controller nothing; the event reaches the widget
    PRESS,   ///< queue a press; swallow the event when it lies on a handle
    RELEASE, ///< queue a release at the event's position; swallow it as the press answer says
    MOVE,    ///< queue a move; swallow it as the press answer says
    CANCEL,  ///< drop the queued input and cancel the drag under way; the event reaches the widget
};

/// One event and the bridge's state before it.
struct ekBridgeInput {
    ekBridgeEventKind kind = ekBridgeEventKind::OTHER;
    /// MOVE: the left button is among the buttons held.
    bool leftHeld = false;
    /// LEFT_PRESS: the engine has a camera to pick the press with.
    bool canPick = false;
    /// A left press went to the controller and its release has not.
    bool pressForwarded = false;
};

/// The action for an event and the bridge's state once it is carried out.
struct ekBridgeDecision {
    ekBridgeAction action = ekBridgeAction::PASS;
    /// pressForwarded of ekBridgeInput after the action.
    bool pressForwarded = false;
};

/// Decides an event. Left presses, left releases and moves go to the
/// controller, except that a move which shows the left button up after a
/// forwarded press is the release that never came, at that move's
/// position. Losing the input with a press forwarded cancels: its release
/// may never come, and no drag may outlive the gesture.
ekBridgeDecision decideBridgeAction(const ekBridgeInput& input);

} // namespace ek
