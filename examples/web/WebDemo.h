#pragma once

#include "EditorSession.h"
#include "FrameSketch.h"
#include "JsonReport.h"

#include <sstream>
#include <string>
#include <vector>

namespace ek::web {

// The viewer's editing session in a browser page: the page hands it the
// canvas's size and pointer, it runs the frames, routes the pointer as the
// desktop viewer's window does and keeps what the page paints and logs.
//
// Positions are canvas CSS pixels as whole pixel indices (origin top-left,
// y down), the unit the session and the controller take.
class WebDemo {
public:
    // Pointer buttons as the page's events number them.
    static constexpr int kLeftButton = 0;
    static constexpr int kRightButton = 2;

    // Starts the library and the session: the crate selected under a
    // translate gizmo, as the desktop viewer starts.
    WebDemo();
    WebDemo(const WebDemo&) = delete;
    WebDemo& operator=(const WebDemo&) = delete;

    // The canvas's CSS size, both positive.
    void resize(int width, int height);
    // Replays the input given since the last frame, then sketches the
    // result (see sketch).
    void frame();
    // The last frame as the page paints it; see FrameSketch.
    const std::vector<float>& sketch() const { return m_sketch.commands(); }

    // A left press on a handle starts a drag and nothing else; elsewhere it
    // selects (add: toggles the object under it). A right press cancels a
    // drag under way, or else starts orbiting.
    void pointerDown(int button, int x, int y, bool add);
    void pointerMove(int x, int y);
    void pointerUp(int button, int x, int y);
    // Wheel notches, positive towards the scene, zooming towards the CSS
    // pixel (x, y) as the desktop viewer's wheel does.
    void wheel(float notches, int x, int y) { m_session.zoom(notches, x, y); }

    viewer::EditorSession& session() { return m_session; }
    const viewer::EditorSession& session() const { return m_session; }

    // The JSON lines the session reported since the last call (layouts,
    // manipulations, cancels, undo and redo), each ending in a newline.
    std::string takeReport();
    // The last layout as the desktop viewer reports it, without the newline.
    std::string layoutJson() const;

private:
    // One start-up of the library for the demo's lifetime: made before the
    // session, ended after it.
    struct LibraryUse {
        LibraryUse();
        ~LibraryUse();
        LibraryUse(const LibraryUse&) = delete;
        LibraryUse& operator=(const LibraryUse&) = delete;
    };

    LibraryUse m_library;
    std::ostringstream m_reportLines;
    viewer::JsonReport m_report;
    viewer::EditorSession m_session;
    FrameSketch m_sketch;
    int m_width = 1;
    int m_height = 1;
    bool m_orbiting = false;
    int m_orbitX = 0;
    int m_orbitY = 0;
};

} // namespace ek::web
