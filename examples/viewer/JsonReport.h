#pragma once

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace ek::viewer {

struct Manipulation;
struct ViewLayout;

// One JSON object per line on a stream (the viewer's stdout), flushed at
// once so that a script reading the pipe sees each event as it happens.
class JsonReport {
public:
    // out must outlive the report.
    explicit JsonReport(std::ostream& out) : m_out(out) {}

    // {"event":"layout",...}: window size, gizmo handles in window pixels,
    // camera and objects; "planes", "screen" and "viewRing" only with
    // extended handles, "faded" only with them or fading.
    void layout(const ViewLayout& layout);
    // {"event":"manipulation","kind":..,"axis":..,"handle":..,"delta":[16],
    // "objects":[..]}: handle as handleName says; delta row-major 4x4; each
    // object's world transform after (and before).
    void manipulation(const Manipulation& manipulation);
    // {"event":"cancel","kind":..,"axis":..,"handle":..,"objects":[..]}: a drag cancelled
    // midway (Esc, right press); each object's world transform after the
    // cancel and before the drag, the same since the cancel restores it.
    void cancellation(const Manipulation& manipulation);
    // {"event":"edit","objects":[..]}: a value typed in the inspector; the
    // object's world transform after and before, as a manipulation's.
    void edit(const Manipulation& edit);
    // {"event":"selection","selection":[names]}: the active object last.
    void selection(const std::vector<std::string>& names);
    // {"event":"undo"|"redo",...}: the objects' world transforms as the
    // scene holds them after the write-back.
    void history(bool undo, const Manipulation& manipulation);
    // {"event":"input",...}: an event a script sent, in window pixels.
    void input(const char* type, int x, int y, const char* button);
    // {"event":"inspector","boxes":{"position.x":[X,Y],..}}: where the
    // centre of each of the inspector's boxes lies, in pixels of the
    // window (whose origin is the view's), for tests that click them.
    void inspector(const std::vector<std::pair<std::string, std::array<int, 2>>>& boxes);
    // {"event":"snapshot","file":..}
    void snapshot(const std::string& file);

private:
    void writeManipulation(const char* event, const Manipulation& manipulation, bool withDelta);
    void writeLine();

    std::ostream& m_out;
    std::string m_line; // reused for every line
};

} // namespace ek::viewer
