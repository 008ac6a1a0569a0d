// The lit solids as the demo page and the desktop viewer lay them out,
// recorded from the demo's session as it starts: run by node in the
// WebAssembly build.
#include "SolidDrawing.h"
#include "WebDemo.h"

#include <ekSceneGraph/ekBound.h>
#include <ekSceneGraph/ekCamera.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using ek::viewer::SceneObject;
using ek::viewer::ViewPoint;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// A face's fill is its object's colour times one light factor: the ratios
// of its channels match to float rounding.
constexpr float kColourRatioTolerance = 1e-5f;

int g_failures = 0;

void expect(bool condition, const char* what)
{
    if (!condition) {
        std::printf("FAILED: %s\n", what);
        ++g_failures;
    }
}

// What the drawing painted, in its order. An outline segment belongs to
// the object whose faces were painted last.
class Recording final : public ek::viewer::SolidCanvas {
public:
    struct Face {
        std::vector<ViewPoint> corners;
        Wm4::ColorRGBA fill;
    };
    struct Outline {
        ViewPoint a, b;
        Wm4::ColorRGBA colour;
        std::size_t face; // the number of faces painted before it
    };

    void fillFace(const std::vector<ViewPoint>& corners, const Wm4::ColorRGBA& fill,
                  const Wm4::ColorRGBA&) override
    {
        faces.push_back({corners, fill});
    }
    void strokeOutline(const ViewPoint& a, const ViewPoint& b, const Wm4::ColorRGBA& colour,
                       float) override
    {
        outlines.push_back({a, b, colour, faces.size()});
    }

    std::vector<Face> faces;
    std::vector<Outline> outlines;
};

Recording record(const ek::web::WebDemo& demo)
{
    Recording recording;
    ek::viewer::SolidDrawing drawing;
    const ek::viewer::EditorSession& session = demo.session();
    drawing.draw(recording, session.objects(), session.selection(), session.camera(), kWidth,
                 kHeight);
    return recording;
}

// Twice the signed area of a polygon in view pixels (y down).
double signedArea(const std::vector<ViewPoint>& corners)
{
    double area = 0.0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const ViewPoint& a = corners[i];
        const ViewPoint& b = corners[(i + 1) % corners.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area;
}

// The object whose colour the fill is a multiple of; objects.size() if none.
std::size_t objectOf(const std::vector<SceneObject>& objects, const Wm4::ColorRGBA& fill)
{
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const Wm4::ColorRGBA& c = objects[i].colour;
        if (std::fabs(fill.R() * c.G() - fill.G() * c.R()) < kColourRatioTolerance
            && std::fabs(fill.G() * c.B() - fill.B() * c.G()) < kColourRatioTolerance) {
            return i;
        }
    }
    return objects.size();
}

// How many times the closed path of segments winds around p (a ray to the
// right crossing it upwards counts one way, downwards the other).
int windingAround(const std::vector<Recording::Outline>& loop, const ViewPoint& p)
{
    int winding = 0;
    for (const Recording::Outline& s : loop) {
        const bool up = s.a.y <= p.y && s.b.y > p.y;
        const bool down = s.b.y <= p.y && s.a.y > p.y;
        const double side = (s.b.x - s.a.x) * (p.y - s.a.y) - (p.x - s.a.x) * (s.b.y - s.a.y);
        winding += up && side > 0.0 ? 1 : 0;
        winding -= down && side < 0.0 ? 1 : 0;
    }
    return winding;
}

// Every end of the segments is the end of exactly two: a closed path.
bool closed(const std::vector<Recording::Outline>& loop)
{
    for (const Recording::Outline& s : loop) {
        for (const ViewPoint& end : {s.a, s.b}) {
            int count = 0;
            for (const Recording::Outline& t : loop) {
                count += (t.a.x == end.x && t.a.y == end.y) + (t.b.x == end.x && t.b.y == end.y);
            }
            if (count != 2) {
                return false;
            }
        }
    }
    return !loop.empty();
}

// The object a segment of outline belongs to; objects.size() if none.
std::size_t outlined(const std::vector<SceneObject>& objects, const Recording& recording,
                     const Recording::Outline& segment)
{
    return segment.face == 0 ? objects.size()
                             : objectOf(objects, recording.faces[segment.face - 1].fill);
}

ViewPoint centreOf(const ek::viewer::ViewLayout& layout, std::size_t object)
{
    // The layout names a pixel by its index; its centre is half a pixel in.
    const ek::viewer::ScreenPoint& centre = layout.objects[object].centre;
    return {centre.x + 0.5, centre.y + 0.5};
}

} // namespace

int main()
{
    ek::web::WebDemo demo;
    demo.resize(kWidth, kHeight);
    demo.frame();
    const std::vector<SceneObject>& objects = demo.session().objects();
    const ek::ekCamera& camera = demo.session().camera();
    const Recording start = record(demo);

    // Only faces that look towards the eye: all turn the same way on
    // screen (a back face would turn the other way).
    bool sameTurn = !start.faces.empty();
    for (const Recording::Face& face : start.faces) {
        const double turn = signedArea(face.corners) * signedArea(start.faces.front().corners);
        sameTurn = sameTurn && turn > 0.0;
    }
    expect(sameTurn, "every face painted turns the same way on screen");

    // Objects from the farthest to the nearest, each painted in one run
    // of faces in its own colour.
    std::vector<std::size_t> runs;
    for (const Recording::Face& face : start.faces) {
        const std::size_t object = objectOf(objects, face.fill);
        expect(object < objects.size(), "a face in its object's colour");
        if (runs.empty() || runs.back() != object) {
            runs.push_back(object);
        }
    }
    expect(runs.size() == objects.size(), "every object painted, in one run of faces");
    const auto distance = [&](std::size_t object) {
        const ek::ekBound& bound = objects[object].node->getWorldBound();
        return (bound.getCenter() - camera.getLocation()).Length();
    };
    for (std::size_t i = 1; i < runs.size(); ++i) {
        expect(distance(runs[i - 1]) > distance(runs[i]), "painted from the farthest");
    }

    // The crate, selected at start, outlined with its faces: a closed
    // path once around its centre on screen, and nothing else outlined.
    const std::size_t crate = demo.session().selection().back();
    const ek::viewer::ViewLayout& layout = demo.session().lastLayout();
    bool afterCrate = !start.outlines.empty();
    for (const Recording::Outline& segment : start.outlines) {
        afterCrate = afterCrate && outlined(objects, start, segment) == crate;
    }
    expect(afterCrate, "the crate's outline follows its faces");
    expect(closed(start.outlines), "the outline is closed");
    expect(std::abs(windingAround(start.outlines, centreOf(layout, crate))) == 1,
           "the outline goes once around the crate's centre");

    // A second object added to the selection becomes the active one: its
    // outline brighter than the crate's, which is still drawn.
    const std::size_t other = runs.front() != crate ? runs.front() : runs.back();
    const ViewPoint aim = centreOf(layout, other);
    demo.session().selectAt(int(aim.x), int(aim.y), ek::viewer::SelectionChange::Toggle);
    demo.frame();
    const Recording both = record(demo);
    std::vector<Recording::Outline> crateLoop;
    std::vector<Recording::Outline> otherLoop;
    for (const Recording::Outline& segment : both.outlines) {
        (outlined(objects, both, segment) == crate ? crateLoop : otherLoop).push_back(segment);
    }
    expect(closed(crateLoop) && closed(otherLoop), "both selected objects outlined");
    const auto brightness = [](const Wm4::ColorRGBA& c) { return c.R() + c.G() + c.B(); };
    expect(!otherLoop.empty() && !crateLoop.empty()
               && brightness(otherLoop.front().colour) > brightness(crateLoop.front().colour),
           "the active object's outline is the brighter");

    std::printf("solid drawing: %s\n", g_failures == 0 ? "passed" : "failed");
    return g_failures == 0 ? 0 : 1;
}
