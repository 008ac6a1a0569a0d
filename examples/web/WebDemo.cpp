#include "WebDemo.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>
#include <ek3DManipulation/ekGizmoController.h>

namespace ek::web {

WebDemo::LibraryUse::LibraryUse()
{
    initialize3DManipulationLibrary();
}

WebDemo::LibraryUse::~LibraryUse()
{
    terminate3DManipulationLibrary();
}

WebDemo::WebDemo()
    : m_report(m_reportLines),
      m_session(m_report)
{
}

void WebDemo::resize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_session.resize(width, height);
}

void WebDemo::frame()
{
    m_session.frame();
    m_sketch.build(m_session.drawList(), m_session.objects(), m_session.selection(),
                   m_session.camera(), m_width, m_height);
}

void WebDemo::pointerDown(int button, int x, int y, bool add)
{
    if (button == kRightButton) {
        // As on the desktop: the press that cancels a drag starts no orbit.
        if (!m_session.cancelDrag()) {
            m_orbiting = true;
            m_orbitX = x;
            m_orbitY = y;
            m_session.beginOrbit();
        }
    } else if (button == kLeftButton) {
        // The press is picked against the gizmo as the last frame laid it
        // out; one on a handle is the controller's alone.
        if (!m_session.controller().setMousePressed(&m_session.camera(), x, y, m_width, m_height)) {
            m_session.selectAt(x, y, add ? viewer::SelectionChange::Toggle : viewer::SelectionChange::Replace);
        }
    }
}

void WebDemo::pointerMove(int x, int y)
{
    // Every move reaches the controller (hover needs them); those of a drag
    // on a handle go no further.
    if (m_session.controller().setMousePos(x, y)) {
        return;
    }
    if (m_orbiting) {
        m_session.orbit(x - m_orbitX, y - m_orbitY);
        m_orbitX = x;
        m_orbitY = y;
    }
}

void WebDemo::pointerUp(int button, int x, int y)
{
    if (button == kLeftButton) {
        m_session.controller().setMouseReleased(x, y);
    } else if (button == kRightButton && m_orbiting) {
        m_orbiting = false;
        m_session.endNavigation();
    }
}

std::string WebDemo::takeReport()
{
    std::string lines = m_reportLines.str();
    m_reportLines.str(std::string());
    return lines;
}

std::string WebDemo::layoutJson() const
{
    std::ostringstream line;
    viewer::JsonReport(line).layout(m_session.lastLayout());
    std::string text = line.str();
    text.pop_back();
    return text;
}

} // namespace ek::web
