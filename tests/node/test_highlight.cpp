// Highlighting and drag feedback, dispatched by the node's mode.
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

using namespace ek;

namespace {

const Wm4::ColorRGBA kAxisColourX(0.6f, 0.212f, 0.368f, 1.0f);
const Wm4::ColorRGBA kRed(1.0f, 0.0f, 0.0f, 1.0f);
const Wm4::ColorRGBA kWhite(1.0f, 1.0f, 1.0f, 1.0f);

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

TEST(Highlight, TranslateRule)
{
    ekPointer<FeedbackGizmo> node = new FeedbackGizmo;
    node->setMode(ekGizmoNode::TRANSLATE);
    node->setHighlightColor(ekGizmoNode::TRANSLATE, {1.0f, 0.0f, 0.0f, 0.5f});
    node->takeRedraw();
    // shaft and head of X take the colour, opaque, and ask for a redraw
    node->highlight(0);
    EXPECT_TRUE(node->colour(0) == kRed && node->colour(1) == kRed);
    EXPECT_TRUE(node->takeRedraw());
    // the same axis again changes no colour: no redraw
    node->highlight(0);
    EXPECT_FALSE(node->takeRedraw());
    // another axis takes the highlight off X
    node->highlight(1);
    EXPECT_TRUE(node->takeRedraw());
    EXPECT_TRUE(node->colour(1) == kAxisColourX && node->colour(3) == kRed);
    // default colours always ask for a redraw, also when nothing changes
    node->applyDefaultColors();
    node->takeRedraw();
    node->applyDefaultColors();
    EXPECT_TRUE(node->takeRedraw());
    // a new reference object takes a highlight off
    node->highlight(0);
    node->setReferenceObject(nullptr);
    EXPECT_TRUE(node->colour(0) == kAxisColourX);
}

TEST(Highlight, DispatchByMode)
{
    ekPointer<FeedbackGizmo> node = new FeedbackGizmo;
    node->setHighlightColor(ekGizmoNode::ROTATE, {1.0f, 0.0f, 0.0f, 0.25f});
    // NONE: no colour or visibility changes
    node->highlight(0);
    node->setActiveState(1, true);
    EXPECT_TRUE(node->colour(0) == kAxisColourX && node->colour(6) == kAxisColourX && !node->shown(10));
    // TRANSLATE: no feedback lines; an axis beyond Z is ignored
    node->setMode(ekGizmoNode::TRANSLATE);
    node->setActiveState(1, true);
    node->highlight(3);
    EXPECT_TRUE(node->colour(0) == kAxisColourX && !node->shown(10));
    // ROTATE: the Z circle takes the rotate group's colour, opaque
    node->setMode(ekGizmoNode::ROTATE);
    node->highlight(2);
    EXPECT_TRUE(node->colour(8) == kRed);
    // feedback lines are white and go with the next highlight
    node->setActiveState(1, true);
    EXPECT_TRUE(node->shown(10) && node->colour(10) == kWhite);
    node->highlight(0);
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
    node->setActiveState(1, true);
    node->setActiveState(2, true);
    EXPECT_TRUE(node->shown(23) && !node->shown(21) && !node->shown(22));
    node->setActiveState(2, false);
    EXPECT_FALSE(node->shown(21) || node->shown(22) || node->shown(23));
    node->setHighlightColor(ekGizmoNode::SCALE, kRed);
    node->highlight(0);
    EXPECT_TRUE(node->colour(15) == kRed && node->colour(16) == kRed);
    EXPECT_TRUE(node->colour(24) == kWhite && node->colour(21) == kWhite);
}

} // namespace
