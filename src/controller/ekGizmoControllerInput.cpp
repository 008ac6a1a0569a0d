#include <ek3DManipulation/ekGizmoController.h>

#include "ekDragDispatch.h"

#include <algorithm>
#include <cstdint>

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
    refreshGizmos(m_watchedRoot, false);
    if (camera != nullptr) {
        layOutGizmos(*camera, height, true);
    }
    m_pressOnGizmo = hasGizmo(camera, getMousePos(x, y, width, height), width, height);
    return m_pressOnGizmo;
}

bool ekGizmoController::setMouseReleased(int x, int y)
{
    enqueue({x, y, MOUSE_RELEASED});
    const bool pressOnGizmo = m_pressOnGizmo;
    m_pressOnGizmo = false;
    return pressOnGizmo;
}

bool ekGizmoController::setMousePos(int x, int y)
{
    enqueue({x, y, MOUSE_POS});
    return m_pressOnGizmo;
}

void ekGizmoController::clearControllerEvents()
{
    m_eventQueue.clear();
    m_dragging = false;
    m_pressOnGizmo = false;
}

bool ekGizmoController::hasGizmo(const ekCamera* camera, const Wm4::Vector2<float>& position,
                                 int width, int height) const
{
    if (camera == nullptr) {
        return false;
    }
    const ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    return std::any_of(m_manipulators.begin(), m_manipulators.end(),
                       [&](const ekGizmoNode* gizmo) {
                           return drags.isOver(gizmo, camera, position, m_pickTolerance, width,
                                               height);
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
    if (m_eventQueue.size() >= kMaxQueuedEvents && event.type == MOUSE_POS
        && m_eventQueue.back().type == MOUSE_POS) {
        m_eventQueue.back() = event;
        return;
    }
    m_eventQueue.push_back(event);
}

} // namespace ek
