// The picture each handle group draws, rendered through the engine, and its highlights.
#include <ek3DManipulation/ekGizmoNode.h>
#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekRendererInterface.h>

#include "ekTestPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace ek;

namespace {

using Vec3 = Wm4::Vector3<float>;

// Positions lie within one unit of the origin after a few float operations.
constexpr float kPositionTolerance = 1e-6f;

const Vec3 kAxis[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
const Wm4::ColorRGBA kAxisColour[3] = {
    {0.6f, 0.212f, 0.368f, 1.0f}, {0.302f, 0.451f, 0.294f, 1.0f}, {0.306f, 0.262f, 0.749f, 1.0f}};
const Wm4::ColorRGBA kWhite(1.0f, 1.0f, 1.0f, 1.0f);
const Wm4::ColorRGBA kRed(1.0f, 0.0f, 0.0f, 1.0f);

struct Stroke {
    Vec3 start, end;
    Wm4::ColorRGBA colour;
    float width;
};

bool near(const Vec3& a, const Vec3& b) { return (a - b).Length() <= kPositionTolerance; }

// Every stroke is drawn exactly once, as an overlay, in its colour and
// width; nothing else is drawn.
void expectPicture(const std::vector<ekDrawSegment>& drawn, const std::vector<Stroke>& strokes)
{
    ASSERT_EQ(drawn.size(), strokes.size());
    std::vector<bool> used(drawn.size(), false);
    for (const Stroke& s : strokes) {
        const auto matches = [&s](const ekDrawSegment& d) {
            return (near(d.start, s.start) && near(d.end, s.end)) || (near(d.start, s.end) && near(d.end, s.start));
        };
        std::size_t i = 0;
        for (; i < drawn.size() && (used[i] || !matches(drawn[i])); ++i) {
        }
        ASSERT_LT(i, drawn.size()) << "no segment to " << s.end.X() << ", " << s.end.Y() << ", " << s.end.Z();
        used[i] = true;
        EXPECT_TRUE(drawn[i].color == s.colour && drawn[i].width == s.width && drawn[i].overlay);
    }
}

void addLoop(std::vector<Stroke>& out, const std::vector<Vec3>& corners, const Wm4::ColorRGBA& colour, float width)
{
    for (std::size_t i = 0; i < corners.size(); ++i) {
        out.push_back({corners[i], corners[(i + 1) % corners.size()], colour, width});
    }
}

std::vector<Stroke> arrows(unsigned int mask)
{
    const float spread = 0.08284271f; // 0.2 tan(22.5 degrees)
    std::vector<Stroke> out;
    for (unsigned int i = 0; i < 3; ++i) {
        if (((mask >> i) & 1u) != 0) {
            out.push_back({Vec3(), kAxis[i], kAxisColour[i], 2.5f});
            out.push_back({kAxis[i] + Vec3(-0.2f, spread, 0), kAxis[i], kAxisColour[i], 1.8f});
            out.push_back({kAxis[i], kAxis[i] + Vec3(-0.2f, -spread, 0), kAxisColour[i], 1.8f});
        }
    }
    return out;
}

Vec3 circlePoint(unsigned int axis, unsigned int k)
{
    const double theta = k * 2.0 * 3.14159265358979323846 / 64.0;
    const float c = static_cast<float>(std::cos(theta)), s = static_cast<float>(std::sin(theta));
    return axis == 0 ? Vec3(0, c, s) : axis == 1 ? Vec3(s, 0, c) : Vec3(c, s, 0);
}

// 63 segments each: the circle closes from vertex 62 to vertex 0, so
// vertex 63 is never reached.
std::vector<Stroke> circles()
{
    std::vector<Stroke> out;
    for (unsigned int i = 0; i < 3; ++i) {
        for (unsigned int k = 0; k < 63; ++k) {
            out.push_back({circlePoint(i, k), circlePoint(i, (k + 1) % 63), kAxisColour[i], 2.0f});
        }
    }
    return out;
}

std::vector<Stroke> scaleHandles()
{
    std::vector<Stroke> out;
    for (unsigned int i = 0; i < 3; ++i) {
        const Vec3 &e = kAxis[i], a = kAxis[(i + 1) % 3] * 0.1f, b = kAxis[(i + 2) % 3] * 0.1f;
        out.push_back({Vec3(), e, kAxisColour[i], 2.0f});
        addLoop(out, {e - a + b, e + a + b, e + a - b, e - a - b}, kAxisColour[i], 1.8f);
    }
    for (float r : {0.5f, 0.7f}) {
        addLoop(out, {kAxis[0] * r, kAxis[1] * r, kAxis[2] * r}, kWhite, 2.0f);
    }
    return out;
}

// Children: translate 0-5 (shaft X, head X, ...), circles 6-8, half-axis
// lines 9-14, scale 15-20 (shaft X, square X, ...), markers 21-23,
// uniform handle 24. The drags reach setActiveState as friends.
struct FeedbackGizmo : ekGizmoNode {
    using ekGizmoNode::setActiveState;
    const Wm4::ColorRGBA& colour(int child) const { return static_cast<const ekLine*>(getChild(child))->getColor(); }
    bool shown(int child) const { return getChild(child)->getCullingMode() == CULL_DYNAMIC; }
    // Whether a redraw was asked for since the last call.
    bool takeRedraw()
    {
        const bool redraw = (getDirtyFlags(0) & DIRTY_RENDER) != 0;
        clearDirtyFlags(0, ~0u);
        return redraw;
    }
};

TEST(HandlePicture, EachModeAndItsDragFeedback)
{
    ekEngine engine;
    ekPointer<ekNode> root = new ekNode;
    ekPointer<FeedbackGizmo> gizmo = new FeedbackGizmo;
    root->attachChild(gizmo);
    engine.setScene(root);
    engine.setCameraNode(new ekCameraNode(new ekCamera));
    // translate: shafts and two strokes per head, the Vs in the XY plane;
    // mask bits above Z are ignored: X and Z only
    gizmo->setMode(ekGizmoNode::TRANSLATE);
    expectPicture(engine.frame(), arrows(7));
    gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, 0xFD);
    expectPicture(engine.frame(), arrows(5));
    // rotate: a drag about X adds +X thick and both halves of Y and Z, white
    gizmo->setMode(ekGizmoNode::ROTATE);
    expectPicture(engine.frame(), circles());
    gizmo->setActiveState(0, true);
    std::vector<Stroke> expected = circles();
    expected.push_back({Vec3(), kAxis[0], kWhite, 2.6f});
    for (unsigned int i : {1u, 2u}) {
        expected.push_back({Vec3(), kAxis[i], kWhite, 2.0f});
        expected.push_back({Vec3(), -kAxis[i], kWhite, 2.0f});
    }
    expectPicture(engine.frame(), expected);
    // scale: shafts, end squares, the two uniform-scale triangles; a drag along Y
    // adds its plane marker at y = 1 (outline and cross) and ends the rotate feedback
    gizmo->setMode(ekGizmoNode::SCALE);
    gizmo->highlight(0);
    gizmo->applyDefaultColors();
    expectPicture(engine.frame(), scaleHandles());
    gizmo->setActiveState(1, true);
    expected = scaleHandles();
    addLoop(expected, {{-0.5f, 1, -0.5f}, {-0.5f, 1, 0.5f}, {0.5f, 1, 0.5f}, {0.5f, 1, -0.5f}}, kWhite, 1.0f);
    expected.push_back({{-0.5f, 1, 0}, {0.5f, 1, 0}, kWhite, 1.0f});
    expected.push_back({{0, 1, -0.5f}, {0, 1, 0.5f}, kWhite, 1.0f});
    expectPicture(engine.frame(), expected);
}

// Each mode colours its own group, opaque, and shows its own feedback; a redraw is asked
// for only when a colour changes or on a reset to the defaults.
TEST(Highlight, DispatchByMode)
{
    ekPointer<FeedbackGizmo> node = new FeedbackGizmo;
    node->setHighlightColor(ekGizmoNode::TRANSLATE, {1.0f, 0.0f, 0.0f, 0.5f});
    node->setHighlightColor(ekGizmoNode::ROTATE, {1.0f, 0.0f, 0.0f, 0.25f});
    // NONE: no colour or visibility changes; TRANSLATE: no feedback lines, an axis beyond
    // Z is ignored, shaft and head of X take the colour
    for (auto [mode, axis] : {std::pair(ekGizmoNode::NONE, 0u), std::pair(ekGizmoNode::TRANSLATE, 3u)}) {
        node->setMode(mode);
        node->setActiveState(1, true);
        node->highlight(axis);
        EXPECT_TRUE(node->colour(0) == kAxisColour[0] && node->colour(6) == kAxisColour[0] && !node->shown(10));
    }
    for (bool changes : {true, false}) {
        node->takeRedraw();
        node->highlight(0);
        EXPECT_TRUE(node->colour(0) == kRed && node->colour(1) == kRed && node->takeRedraw() == changes);
    }
    // another axis takes the highlight off X
    node->highlight(1);
    EXPECT_TRUE(node->takeRedraw() && node->colour(1) == kAxisColour[0] && node->colour(3) == kRed);
    node->applyDefaultColors();
    node->takeRedraw();
    node->applyDefaultColors();
    EXPECT_TRUE(node->takeRedraw());
    // a new reference object takes a highlight off
    node->highlight(0);
    node->setReferenceObject(nullptr);
    EXPECT_TRUE(node->colour(0) == kAxisColour[0]);
    // ROTATE: the Z circle takes the rotate group's colour
    node->setMode(ekGizmoNode::ROTATE);
    node->highlight(2);
    EXPECT_TRUE(node->colour(8) == kRed);
    // feedback lines are white and go with the next highlight
    node->setActiveState(1, true);
    EXPECT_TRUE(node->shown(10) && node->colour(10) == kWhite);
    node->highlight(0);
    EXPECT_FALSE(node->shown(10));
    // and with the default colours, also when the circles show theirs already
    node->applyDefaultColors();
    node->setActiveState(1, true);
    node->applyDefaultColors();
    EXPECT_FALSE(node->shown(10));
    // a disabled axis neither shows nor hides them
    node->setEnabledAxis(ekGizmoNode::ROTATE, 6);
    node->setActiveState(0, true);
    EXPECT_FALSE(node->shown(9));
    node->setActiveState(2, true);
    node->setActiveState(0, false);
    EXPECT_TRUE(node->shown(11));
    // SCALE: one plane marker at a time; highlight on shaft and square only
    node->setMode(ekGizmoNode::SCALE);
    for (int axis : {1, 2}) {
        node->setActiveState(axis, true);
    }
    EXPECT_TRUE(node->shown(23) && !node->shown(21) && !node->shown(22));
    node->setActiveState(2, false);
    EXPECT_FALSE(node->shown(21) || node->shown(22) || node->shown(23));
    node->setHighlightColor(ekGizmoNode::SCALE, kRed);
    node->highlight(0);
    EXPECT_TRUE(node->colour(15) == kRed && node->colour(16) == kRed && node->colour(24) == kWhite
                && node->colour(21) == kWhite);
}

// Whatever wrote a handle line last (a host may recolour any of them), the default
// colours put every handle of the shown group back, alpha included, and still ask for
// a redraw; in rotate mode they also hide half-axis lines a host showed.
TEST(DefaultColours, RestoreLinesTheHostChanged)
{
    struct Handle {
        int child;
        Wm4::ColorRGBA colour;
    };
    struct Case {
        ekGizmoNode::GizmoMode mode;
        std::vector<Handle> handles;
    };
    const Case cases[] = {
        {ekGizmoNode::TRANSLATE,
         {{0, kAxisColour[0]}, {1, kAxisColour[0]}, {2, kAxisColour[1]}, {3, kAxisColour[1]}, {4, kAxisColour[2]},
          {5, kAxisColour[2]}}},
        {ekGizmoNode::ROTATE, {{6, kAxisColour[0]}, {7, kAxisColour[1]}, {8, kAxisColour[2]}}},
        {ekGizmoNode::SCALE,
         {{15, kAxisColour[0]}, {16, kAxisColour[0]}, {17, kAxisColour[1]}, {18, kAxisColour[1]},
          {19, kAxisColour[2]}, {20, kAxisColour[2]}, {24, kWhite}}},
    };
    ekPointer<FeedbackGizmo> node = new FeedbackGizmo;
    const auto line = [&node](int child) { return static_cast<ekLine*>(node->getChild(child)); };
    for (const Case& c : cases) {
        node->setMode(c.mode);
        // the group shows its defaults already when the host recolours it: red, or
        // the axis colour made half transparent
        node->applyDefaultColors();
        for (const Handle& h : c.handles) {
            Wm4::ColorRGBA faint = h.colour;
            faint.A() = 0.5f;
            line(h.child)->setColor(h.child % 2 == 0 ? kRed : faint);
        }
        node->takeRedraw();
        node->applyDefaultColors();
        EXPECT_TRUE(node->takeRedraw()) << "mode " << c.mode;
        for (const Handle& h : c.handles) {
            EXPECT_EQ(node->colour(h.child), h.colour) << "child " << h.child;
        }
    }
    // a half-axis line the host showed is hidden again
    node->setMode(ekGizmoNode::ROTATE);
    node->applyDefaultColors();
    line(9)->setCullingMode(ekSpatial::CULL_DYNAMIC);
    node->applyDefaultColors();
    EXPECT_FALSE(node->shown(9));
}

// Records uploads and fails the one numbered failAt (from 0).
struct RecordingRenderer : ekRendererInterface {
    explicit RecordingRenderer(int failAt) : m_failAt(failAt) { SetHardwareRenderer(this); }
    ~RecordingRenderer() override { SetHardwareRenderer(nullptr); }
    bool loadResource(ekGPUResource* resource, bool immediate) override
    {
        m_loaded.push_back(immediate ? resource : nullptr);
        return static_cast<int>(m_loaded.size()) - 1 != m_failAt;
    }
    int m_failAt;
    std::vector<ekGPUResource*> m_loaded;
};

struct Uploader : ekGizmoNodeBase {
    using ekGizmoNodeBase::PrepareGeneratedPrimitives;
};

TEST(GizmoNodeBase, PrepareGeneratedPrimitives)
{
    ekPointer<ekLine> a = new ekLine(2u), b = new ekLine(2u);
    const std::vector<ekPointer<ekGeometry>> geometries = {a.get(), nullptr, b.get()};
    // no renderer: nothing to do
    EXPECT_TRUE(Uploader::PrepareGeneratedPrimitives(geometries));
    {
        // vertices then indices, geometry by geometry, now; an empty slot skipped
        RecordingRenderer renderer(-1);
        EXPECT_TRUE(Uploader::PrepareGeneratedPrimitives(geometries));
        EXPECT_EQ(renderer.m_loaded, (std::vector<ekGPUResource*>{a->getVertexBuffer(), a->getIndexBuffer(),
                                                                  b->getVertexBuffer(), b->getIndexBuffer()}));
    }
    // the first upload fails: nothing more is asked
    RecordingRenderer failing(0);
    EXPECT_TRUE(!Uploader::PrepareGeneratedPrimitives(geometries) && failing.m_loaded.size() == 1u);
}

} // namespace
