// How the session picks objects: by a click and by a box.
#include "EditorSession.h"

#include "JsonReport.h"

#include <ekSceneGraph/ekBound.h>

#include <algorithm>
#include <cmath>

namespace ek::viewer {
namespace {

// Smallest pick radius of an object, pixels, so far-away objects stay
// clickable.
constexpr float kMinObjectPickRadius = 8.0f;

} // namespace

void EditorSession::selectAt(int x, int y, SelectionChange change)
{
    if (isBusy()) {
        return;
    }
    const ScreenPoint cursor{float(x), float(y), true};
    std::vector<std::size_t> hits;
    float bestDistance = 0.0f;
    for (std::size_t i = 0; i < m_scene.objects.size(); ++i) {
        const ekBound& bound = m_scene.objects[i].node->getWorldBound();
        const ScreenPoint centre = toWindowPixel(*m_camera, bound.getCenter(), m_width, m_height);
        const ScreenPoint rim = toWindowPixel(
            *m_camera, bound.getCenter() + m_camera->getUVector() * bound.getRadius(), m_width,
            m_height);
        if (!centre.visible || !rim.visible) {
            continue;
        }
        const float radius = std::max(std::hypot(rim.x - centre.x, rim.y - centre.y),
                                      kMinObjectPickRadius);
        const float distance = std::hypot(cursor.x - centre.x, cursor.y - centre.y);
        if (distance <= radius && (hits.empty() || distance < bestDistance)) {
            hits.assign(1, i);
            bestDistance = distance;
        }
    }
    changeSelection(hits, change, true);
}

void EditorSession::selectInRect(int x0, int y0, int x1, int y1, SelectionChange change)
{
    if (isBusy()) {
        return;
    }
    const float left = float(std::min(x0, x1));
    const float right = float(std::max(x0, x1));
    const float top = float(std::min(y0, y1));
    const float bottom = float(std::max(y0, y1));
    std::vector<std::size_t> hits;
    for (std::size_t i = 0; i < m_scene.objects.size(); ++i) {
        const ScreenPoint centre = toWindowPixel(
            *m_camera, m_scene.objects[i].node->getWorldBound().getCenter(), m_width, m_height);
        if (centre.visible && centre.x >= left && centre.x <= right && centre.y >= top
            && centre.y <= bottom) {
            hits.push_back(i);
        }
    }
    changeSelection(hits, change, false);
}

void EditorSession::changeSelection(const std::vector<std::size_t>& hits, SelectionChange change,
                                    bool hitBecomesActive)
{
    std::vector<std::size_t> next;
    if (change != SelectionChange::Replace) {
        next = m_selection;
    }
    for (std::size_t hit : hits) {
        const auto found = std::find(next.begin(), next.end(), hit);
        const bool present = found != next.end();
        if (present) {
            next.erase(found); // put back last below when it stays
        }
        if (change != SelectionChange::Remove && !(change == SelectionChange::Toggle && present)) {
            next.push_back(hit);
        }
    }
    if (!hitBecomesActive && !m_selection.empty()) {
        const auto active = std::find(next.begin(), next.end(), m_selection.back());
        if (active != next.end()) {
            std::rotate(active, active + 1, next.end());
        }
    }
    if (next == m_selection) {
        return;
    }
    m_selection = next;
    applySelection();
    std::vector<std::string> names;
    for (std::size_t index : m_selection) {
        names.push_back(m_scene.objects[index].node->getName());
    }
    m_report.selection(names);
}

} // namespace ek::viewer
