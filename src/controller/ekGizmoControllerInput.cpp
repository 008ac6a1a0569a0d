#include <ek3DManipulation/ekGizmoController.h>

#include "ekDragDispatch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ek {
namespace {

// From a pixel's corner to its centre, in pixels, on both axes.
constexpr float kPixelCentre = 0.5f;

} // namespace

bool ekGizmoController::setMousePressed(const ekCamera* camera, int x, int y, int width,
                                        int height)
{
    enqueue({x, y, MOUSE_PRESSED});
    // The answer must not test a gizmo deleted since the last update, nor
    // the layout another view left: bring both up to date for this view.
    refreshGizmos(m_state.watchedRoot, false);
    if (camera != nullptr) {
        layOutGizmos(*camera, height, true);
    }
    m_state.pressOnGizmo = hasGizmo(camera, getMousePos(x, y, width, height), width, height);
    return m_state.pressOnGizmo;
}

bool ekGizmoController::setMouseReleased(int x, int y)
{
    enqueue({x, y, MOUSE_RELEASED});
    const bool pressOnGizmo = m_state.pressOnGizmo;
    m_state.pressOnGizmo = false;
    return pressOnGizmo;
}

bool ekGizmoController::setMousePos(int x, int y)
{
    enqueue({x, y, MOUSE_POS});
    return m_state.pressOnGizmo;
}

void ekGizmoController::clearControllerEvents()
{
    m_state.eventQueue.clear();
    m_state.dragging = false;
    m_state.pressOnGizmo = false;
}

bool ekGizmoController::hasGizmo(const ekCamera* camera, const Wm4::Vector2<float>& position,
                                 int width, int height) const
{
    if (camera == nullptr) {
        return false;
    }
    const ekDragDispatch dispatch = drags();
    const std::vector<ekGizmoNode*>& gizmos = m_state.manipulators;
    return std::any_of(gizmos.begin(), gizmos.end(), [&](const ekGizmoNode* gizmo) {
        return dispatch.isOver(gizmo, camera, position, m_state.pickTolerance, width, height);
    });
}

Wm4::Vector2<float> ekGizmoController::getMousePos(int x, int y, int width, int height) const
{
    // Flipped in 64 bits: equal to the int difference wherever that exists,
    // and no overflow for positions far outside the view.
    const std::int64_t flippedY = static_cast<std::int64_t>(height) - y;
    return {(static_cast<float>(x) + kPixelCentre) / static_cast<float>(width),
            (static_cast<float>(flippedY) - kPixelCentre) / static_cast<float>(height)};
}

void ekGizmoController::enqueue(const ControllerEvent& event)
{
    // Once the queue is full only the latest of a run of moves matters;
    // presses and releases always keep their place.
    if (m_state.eventQueue.size() >= kMaxQueuedEvents && event.type == MOUSE_POS
        && m_state.eventQueue.back().type == MOUSE_POS) {
        m_state.eventQueue.back() = event;
        return;
    }
    m_state.eventQueue.push_back(event);
}

} // namespace ek
