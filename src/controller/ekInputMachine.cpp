#include "ekInputMachine.h"

#include <cstdint>

namespace ek {
namespace {

// From a pixel's corner to its centre, in pixels, on both axes.
constexpr float kPixelCentre = 0.5f;

} // namespace

Wm4::Vector2<float> normalisedPosition(int x, int y, int width, int height)
{
    // Flipped in 64 bits: equal to the int difference wherever that exists,
    // and no overflow for positions far outside the view.
    const std::int64_t flippedY = static_cast<std::int64_t>(height) - y;
    return {(static_cast<float>(x) + kPixelCentre) / static_cast<float>(width),
            (static_cast<float>(flippedY) - kPixelCentre) / static_cast<float>(height)};
}

void ekInputMachine::queuePress(const Event& event, ekPressHit answer)
{
    m_answers.push_back({std::move(answer), m_snapInverted});
    eventQueue.push_back(event);
}

void ekInputMachine::queue(const Event& event)
{
    // Once the queue is full only the latest of a run of moves matters;
    // presses and releases always keep their place.
    if (eventQueue.size() >= ekGizmoController::kMaxQueuedEvents
        && event.type == ekGizmoController::MOUSE_POS
        && eventQueue.back().type == ekGizmoController::MOUSE_POS) {
        eventQueue.back() = event;
        return;
    }
    eventQueue.push_back(event);
}

void ekInputMachine::clearEvents()
{
    eventQueue.clear();
    m_answers.clear();
    m_nextAnswer = 0;
    m_state = State::IDLE;
    pressOnGizmo = false;
}

void ekInputMachine::replay(ekGizmoRegistry& registry, const ekDragInput& view, float tolerance)
{
    // Indexed: a listener reached from a step may queue more input, or
    // clear the queue.
    for (std::size_t i = 0; i < eventQueue.size(); ++i) {
        const Event event = eventQueue[i];
        ekDragInput at = view;
        at.position = normalisedPosition(event.x, event.y, view.width, view.height);
        switch (event.type) {
        case ekGizmoController::MOUSE_PRESSED:
            if (m_nextAnswer < m_answers.size()) {
                // A copy: a listener the press reaches may queue more.
                const QueuedPress queued = m_answers[m_nextAnswer++];
                press(registry, at, queued.answer, stepsFor(queued.invertSnap), tolerance);
            }
            break;
        case ekGizmoController::MOUSE_RELEASED:
            release(registry, at, tolerance);
            break;
        case ekGizmoController::MOUSE_POS:
            move(registry, at, tolerance);
            break;
        }
    }
    eventQueue.clear();
    m_answers.clear();
    m_nextAnswer = 0;
}

void ekInputMachine::setSnapStep(float ekSnapSteps::*step, float value)
{
    m_snapSteps.*step = value;
    m_snapping = true;
}

void ekInputMachine::resetSnapping()
{
    m_snapSteps = ekSnapSteps();
    m_snapping = false;
}

ekSnapSteps ekInputMachine::stepsFor(bool invertSnap) const
{
    if (invertSnap) {
        return {0.0f, 0.0f, 0.0f};
    }
    return m_snapping ? m_snapSteps : ekSnapSteps();
}

void ekInputMachine::press(ekGizmoRegistry& registry, const ekDragInput& at,
                           const ekPressHit& answer, const ekSnapSteps& steps, float tolerance)
{
    // Every start has its end: a drag still under way (its release was
    // lost) ends before the next one.
    registry.finishDrag();
    registry.setActiveGizmo(registry.hover(at, tolerance));
    const bool answeredOnHandle = answer.gizmo.get() != nullptr;
    // Also on empty space: the moves of that press must not hover.
    m_state = answeredOnHandle && registry.press(answer, at, steps) != nullptr ? State::DRAGGING
                                                                          : State::PRESSED_ON_NOTHING;
    if (m_state == State::PRESSED_ON_NOTHING) {
        registry.setActiveGizmo(nullptr);
    }
}

void ekInputMachine::move(ekGizmoRegistry& registry, const ekDragInput& at, float tolerance)
{
    switch (m_state) {
    case State::IDLE:
        // Only the highlight changes.
        registry.hover(at, tolerance);
        break;
    case State::DRAGGING:
        registry.move(at);
        break;
    case State::PRESSED_ON_NOTHING:
        // The highlight stays as the press left it.
        break;
    }
}

void ekInputMachine::release(ekGizmoRegistry& registry, const ekDragInput& at, float tolerance)
{
    // The held gizmo may still own a drag that clearControllerEvents
    // interrupted; without a drag under way the release changes nothing.
    registry.release(at);
    m_state = State::IDLE;
    registry.setActiveGizmo(registry.hover(at, tolerance));
}

} // namespace ek
