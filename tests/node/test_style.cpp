// The look a host can set: axis colours, highlight colour, stroke widths and the device
// pixel ratio; and the look of a node that sets none of it.
#include "gizmoLook.h"

#include <ek3DManipulation/ekGizmoNode.h>
#include <ek3DManipulation/ekGizmoStyle.h>

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

using namespace ek;
using namespace ek::test;

namespace {

const Wm4::ColorRGBA kX(0.6f, 0.212f, 0.368f, 1.0f);
const Wm4::ColorRGBA kY(0.302f, 0.451f, 0.294f, 1.0f);
const Wm4::ColorRGBA kZ(0.306f, 0.262f, 0.749f, 1.0f);
const Wm4::ColorRGBA kWhite(1.0f, 1.0f, 1.0f, 1.0f);

// The children a node builds, hidden, in the gizmo's own look: axis colours and the
// widths of each stroke; the half-axis lines and plane markers get no width (1).
std::vector<LineLook> builtLook()
{
    return {{kX, 2.5f, false},    {kX, 1.8f, false},    {kY, 2.5f, false},    {kY, 1.8f, false},
            {kZ, 2.5f, false},    {kZ, 1.8f, false},    {kX, 2.0f, false},    {kY, 2.0f, false},
            {kZ, 2.0f, false},    {kWhite, 1.0f, false}, {kWhite, 1.0f, false}, {kWhite, 1.0f, false},
            {kWhite, 1.0f, false}, {kWhite, 1.0f, false}, {kWhite, 1.0f, false}, {kX, 2.0f, false},
            {kX, 1.8f, false},    {kY, 2.0f, false},    {kY, 1.8f, false},    {kZ, 2.0f, false},
            {kZ, 1.8f, false},    {kWhite, 1.0f, false}, {kWhite, 1.0f, false}, {kWhite, 1.0f, false},
            {kWhite, 2.0f, false}};
}

// The handle strokes (not the drag feedback) and their own widths.
const std::vector<std::pair<int, float>> kHandleWidths = {
    {0, 2.5f},  {1, 1.8f},  {2, 2.5f},  {3, 1.8f},  {4, 2.5f},  {5, 1.8f},  {6, 2.0f},  {7, 2.0f},
    {8, 2.0f},  {15, 2.0f}, {16, 1.8f}, {17, 2.0f}, {18, 1.8f}, {19, 2.0f}, {20, 1.8f}, {24, 2.0f}};

// The handles of each axis, by the colour they carry.
const std::vector<std::vector<int>> kAxisHandles = {{0, 1, 6, 15, 16}, {2, 3, 7, 17, 18}, {4, 5, 8, 19, 20}};

// The drags reach setActiveState as friends.
struct StyledGizmo : ekGizmoNode {
    using ekGizmoNode::setActiveState;
};

// before with the handle strokes at width(own width), nothing else changed.
std::vector<std::pair<int, LineLook>> withHandleWidths(const std::vector<LineLook>& before, float (*width)(float))
{
    std::vector<std::pair<int, LineLook>> changed;
    for (const auto& [child, own] : kHandleWidths) {
        LineLook look = before[child];
        look.width = width(own);
        changed.emplace_back(child, look);
    }
    return changed;
}

// The default style with other widths.
ekGizmoStyle withWidths(float lineWidth, float devicePixelRatio)
{
    ekGizmoStyle style;
    style.lineWidth = lineWidth;
    style.devicePixelRatio = devicePixelRatio;
    return style;
}

// The widths of the +X half-axis line (the rotation axis) and the +Y one (an axis of the
// plane of rotation) as a rotate drag about X shows them.
std::pair<float, float> feedbackWidths(StyledGizmo& node)
{
    node.setMode(ekGizmoNode::ROTATE);
    node.setActiveState(0, true);
    const std::vector<LineLook> look = lookOf(node);
    return {look[9].width, look[10].width};
}

TEST(GizmoStyle, ANodeThatSetsNothingKeepsTheLookItIsBuiltWith)
{
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    ASSERT_EQ(node->getChildCount(), kChildCount);
    expectLooks(builtLook(), lookOf(*node), {});
    // the style it reports is the default one
    const ekGizmoStyle& style = node->getStyle();
    EXPECT_EQ(Wm4::ColorRGBA(style.axisColors[0]), kX);
    EXPECT_EQ(Wm4::ColorRGBA(style.axisColors[1]), kY);
    EXPECT_EQ(Wm4::ColorRGBA(style.axisColors[2]), kZ);
    EXPECT_EQ(style.highlightColor, kWhite);
    EXPECT_EQ(style.lineWidth, 0.0f);
    EXPECT_EQ(style.devicePixelRatio, 1.0f);
    // given that style explicitly, nothing changes
    node->setStyle(ekGizmoStyle());
    expectLooks(builtLook(), lookOf(*node), {});
}

TEST(GizmoStyle, AxisColoursRecolourTheirHandlesOnly)
{
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    node->setMode(ekGizmoNode::SCALE);
    const std::vector<LineLook> before = lookOf(*node);
    ekGizmoStyle style;
    const Wm4::ColorRGB colours[3] = {{1.0f, 0.5f, 0.0f}, {0.0f, 1.0f, 0.5f}, {0.5f, 0.0f, 1.0f}};
    std::vector<std::pair<int, LineLook>> changed;
    for (int axis = 0; axis < 3; ++axis) {
        style.axisColors[axis] = colours[axis];
        for (int child : kAxisHandles[axis]) {
            changed.emplace_back(child, LineLook{Wm4::ColorRGBA(colours[axis]), before[child].width,
                                                 before[child].shown});
        }
    }
    node->setStyle(style);
    // the uniform-scale handle, half-axis lines and plane markers stay white
    expectLooks(before, lookOf(*node), changed);
}

TEST(GizmoStyle, LineWidthSetsEveryHandleStroke)
{
    ekPointer<StyledGizmo> node = new StyledGizmo;
    const std::vector<LineLook> before = lookOf(*node);
    node->setStyle(withWidths(4.0f, 1.0f));
    expectLooks(before, lookOf(*node), withHandleWidths(before, [](float) { return 4.0f; }));
    // the drag feedback keeps its own widths
    EXPECT_EQ(feedbackWidths(*node), std::make_pair(2.6f, 2.0f));
}

TEST(GizmoStyle, DevicePixelRatioWidensEveryStroke)
{
    ekPointer<StyledGizmo> node = new StyledGizmo;
    const std::vector<LineLook> before = lookOf(*node);
    node->setStyle(withWidths(0.0f, 2.0f));
    // handle strokes and plane markers at once, twice as wide
    std::vector<std::pair<int, LineLook>> changed = withHandleWidths(before, [](float own) { return 2.0f * own; });
    for (int marker : {21, 22, 23}) {
        changed.emplace_back(marker, LineLook{kWhite, 2.0f, false});
    }
    expectLooks(before, lookOf(*node), changed);
    // the half-axis lines as a drag shows them
    EXPECT_EQ(feedbackWidths(*node), std::make_pair(5.2f, 4.0f));
    // with a line width: the width times the ratio
    node->setStyle(withWidths(3.0f, 2.0f));
    EXPECT_EQ(lookOf(*node)[0].width, 6.0f);
    EXPECT_EQ(lookOf(*node)[24].width, 6.0f);
}

TEST(GizmoStyle, UnusableWidthsAndRatiosKeepTheOwnWidths)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {0.0f, -2.0f, nan, inf}) {
        ekPointer<ekGizmoNode> node = new ekGizmoNode;
        node->setStyle(withWidths(bad, bad));
        expectLooks(builtLook(), lookOf(*node), {});
    }
}

TEST(GizmoStyle, HighlightColourShowsInEveryMode)
{
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    const Wm4::ColorRGBA yellow(1.0f, 1.0f, 0.0f, 0.5f);
    ekGizmoStyle style;
    style.highlightColor = yellow;
    node->setStyle(style);
    // nothing changes until a highlight; then the colour, opaque, on that axis's handles
    expectLooks(builtLook(), lookOf(*node), {});
    Wm4::ColorRGBA opaque = yellow;
    opaque.A() = 1.0f;
    const std::pair<ekGizmoNode::GizmoMode, std::vector<int>> cases[] = {
        {ekGizmoNode::TRANSLATE, {2, 3}}, {ekGizmoNode::ROTATE, {7}}, {ekGizmoNode::SCALE, {17, 18}}};
    for (const auto& [mode, handles] : cases) {
        node->setMode(mode);
        const std::vector<LineLook> before = lookOf(*node);
        node->highlight(1);
        std::vector<std::pair<int, LineLook>> changed;
        for (int child : handles) {
            changed.emplace_back(child, LineLook{opaque, before[child].width, before[child].shown});
        }
        expectLooks(before, lookOf(*node), changed);
    }
    // a style set afterwards takes the highlight off
    node->setStyle(style);
    EXPECT_EQ(lookOf(*node)[17].colour, kY);
}

TEST(GizmoStyle, HighContrastIsBrighterAndThicker)
{
    const ekGizmoStyle style = ekGizmoStyle::highContrast();
    const ekGizmoStyle defaults;
    // Rec. 709 relative luminance.
    const auto luminance = [](const Wm4::ColorRGB& c) { return 0.2126f * c.R() + 0.7152f * c.G() + 0.0722f * c.B(); };
    for (int axis = 0; axis < 3; ++axis) {
        // its own channel full, and at least half as bright again as the default colour
        EXPECT_EQ(style.axisColors[axis][axis], 1.0f);
        EXPECT_GT(luminance(style.axisColors[axis]), 1.5f * luminance(defaults.axisColors[axis])) << "axis " << axis;
    }
    EXPECT_EQ(style.highlightColor, Wm4::ColorRGBA(1.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(style.devicePixelRatio, 1.0f);
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    node->setStyle(style);
    for (const auto& [child, own] : kHandleWidths) {
        EXPECT_GT(lookOf(*node)[child].width, own) << "child " << child;
    }
}

} // namespace
