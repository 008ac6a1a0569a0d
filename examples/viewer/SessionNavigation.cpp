// How the session moves its camera: orbit about the selection, pan, zoom
// towards the cursor, frame the selection.
#include "EditorSession.h"

#include <ekSceneGraph/ekBound.h>

#include <algorithm>

namespace ek::viewer {

void EditorSession::beginOrbit()
{
    m_orbitPivot = m_selection.empty() ? m_orbit.target() : m_gizmo->getCenterReferences();
}

void EditorSession::orbit(int dx, int dy)
{
    m_orbit.orbit(m_orbitPivot, dx, dy);
    updateCamera();
}

void EditorSession::pan(int dx, int dy)
{
    m_orbit.pan(dx, dy, m_height);
    updateCamera();
}

void EditorSession::zoom(float notches, int x, int y)
{
    m_orbit.zoom(notches, float(x), float(y), m_width, m_height);
    updateCamera();
    m_layoutDue = true;
}

void EditorSession::focus()
{
    ekBound bound;
    bool first = true;
    for (std::size_t i = 0; i < m_scene.objects.size(); ++i) {
        const bool selected =
            std::find(m_selection.begin(), m_selection.end(), i) != m_selection.end();
        if (!m_selection.empty() && !selected) {
            continue;
        }
        const ekBound& objectBound = m_scene.objects[i].node->getWorldBound();
        if (first) {
            bound = objectBound;
            first = false;
        } else {
            bound.growToContain(objectBound);
        }
    }
    m_orbit.frame(bound.getCenter(), bound.getRadius(), m_width, m_height);
    updateCamera();
    m_layoutDue = true;
}

} // namespace ek::viewer
