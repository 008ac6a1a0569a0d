#pragma once

#include "ekGizmoRegistry.h"

#include <ek3DManipulation/ekGizmoController.h>

#include <cstddef>
#include <vector>

namespace ek {

// A view's mouse: the queue of input calls and the state machine that
// replays them at the next update.
//
//   IDLE               --press answered on a handle-->  DRAGGING
//   IDLE               --press answered off handles-->  PRESSED_ON_NOTHING
//   DRAGGING, PRESSED_ON_NOTHING --release, clear-->    IDLE
//   DRAGGING, PRESSED_ON_NOTHING --press-->             as from IDLE
//
// A replayed press starts a drag exactly when its answer said a handle was
// under the cursor, on the gizmo and handle that answer found: the user
// pressed on what was shown then, whatever has moved since.
class ekInputMachine {
public:
    using Event = ekGizmoController::ControllerEvent;

    enum class State { IDLE, PRESSED_ON_NOTHING, DRAGGING };

    // Queues a press with the answer it was given.
    void queuePress(const Event& event, ekPressHit answer);

    // The snapping a drag gets at its press. Off, the specified steps hold:
    // rotations in 5-degree steps, translations and scales free; on, the
    // steps set (a step of 0 is free). Inverted (the host's key held at the
    // press) swaps the two, as free everywhere stands for off-when-on.
    void setSnapStep(float ekSnapSteps::*step, float value);
    void resetSnapping();
    bool isSnapping() const { return m_snapping; }
    const ekSnapSteps& getSnapSteps() const { return m_snapSteps; }
    void setSnapInverted(bool inverted) { m_snapInverted = inverted; }
    bool isSnapInverted() const { return m_snapInverted; }
    // Queues a move or a release.
    void queue(const Event& event);
    // Replays the queue in order through registry, then empties it; input
    // queued from inside a notification is replayed too.
    void replay(ekGizmoRegistry& registry, const ekDragInput& view, float tolerance);
    // Drops the queue and the pending press answer; the state goes back to
    // IDLE. A drag under way stays under way.
    void clearEvents();

    // Whether the machine is between a replayed press and its release
    // (the controller's dragging flag).
    bool isPressed() const { return m_state != State::IDLE; }
    // The answer of the last press until its release
    // (the controller's pressOnGizmo flag).
    bool pressOnGizmo = false;
    // Input calls not yet replayed, oldest first (the controller's
    // eventQueue); once it holds kMaxQueuedEvents a move that follows a move
    // replaces it.
    std::vector<Event> eventQueue;

private:
    void press(ekGizmoRegistry& registry, const ekDragInput& at, const ekPressHit& answer,
               const ekSnapSteps& steps, float tolerance);
    void move(ekGizmoRegistry& registry, const ekDragInput& at, float tolerance);
    void release(ekGizmoRegistry& registry, const ekDragInput& at, float tolerance);

    // The steps a press with invertSnap gives its drag.
    ekSnapSteps stepsFor(bool invertSnap) const;

    // A queued press's answer, and whether the host's snap key was held.
    struct QueuedPress {
        ekPressHit answer;
        bool invertSnap = false;
    };
    // The queued presses, in queue order.
    std::vector<QueuedPress> m_answers;
    std::size_t m_nextAnswer = 0;
    State m_state = State::IDLE;
    ekSnapSteps m_snapSteps;
    bool m_snapping = false;
    bool m_snapInverted = false;
};

// The cursor of window pixel (x, y) in a width x height view, normalised
// to the pixel's centre: 0..1, origin bottom-left, y up.
Wm4::Vector2<float> normalisedPosition(int x, int y, int width, int height);

} // namespace ek
