// The extended handles' lines: made only when enabled, after the specified
// children, shown by mode, mask and fading, coloured and turned to the camera.
#include "gizmoLook.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <gtest/gtest.h>

using namespace ek;
using namespace ek::test;

namespace {

// Children appended by extended handles: squares X, Y, Z, screen, ring.
constexpr int kSquares = kChildCount;
constexpr int kScreen = kChildCount + 3;
constexpr int kRing = kChildCount + 4;

std::vector<bool> shownOf(const std::vector<LineLook>& looks)
{
    std::vector<bool> shown;
    for (std::size_t i = kChildCount; i < looks.size(); ++i) { shown.push_back(looks[i].shown); }
    return shown;
}

TEST(ExtendedLines, AppendedAfterTheSpecifiedChildrenAndShownByModeMaskAndFading)
{
    ekPointer<ekGizmoNode> plain = new ekGizmoNode, extended = new ekGizmoNode;
    plain->setMode(ekGizmoNode::TRANSLATE);
    extended->setMode(ekGizmoNode::TRANSLATE);
    // turned off again before ever on: nothing is made
    extended->setExtendedHandles(false);
    ASSERT_EQ(extended->getChildCount(), kChildCount);
    extended->setExtendedHandles(true);
    ASSERT_EQ(extended->getChildCount(), kChildCount + 5);
    const std::vector<LineLook> before = lookOf(*plain);
    std::vector<LineLook> after = lookOf(*extended);
    after.resize(kChildCount);
    expectLooks(before, after, {});

    // translate: squares and the screen handle; rotate: the ring; scale: none
    EXPECT_EQ(shownOf(lookOf(*extended)), (std::vector<bool>{true, true, true, true, false}));
    extended->setMode(ekGizmoNode::ROTATE);
    EXPECT_EQ(shownOf(lookOf(*extended)), (std::vector<bool>{false, false, false, false, true}));
    extended->setMode(ekGizmoNode::SCALE);
    EXPECT_EQ(shownOf(lookOf(*extended)), (std::vector<bool>{false, false, false, false, false}));
    // a square needs both of its axes: with X and Y only, the XY square alone
    extended->setMode(ekGizmoNode::TRANSLATE);
    extended->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x3);
    EXPECT_EQ(shownOf(lookOf(*extended)), (std::vector<bool>{false, false, true, true, false}));
    extended->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x7);
    // off again: every extended line hidden, the specified ones as before
    extended->setExtendedHandles(false);
    EXPECT_EQ(shownOf(lookOf(*extended)), (std::vector<bool>{false, false, false, false, false}));
    after = lookOf(*extended);
    after.resize(kChildCount);
    expectLooks(before, after, {});
}

TEST(ExtendedLines, HighlightAndStyleReachTheExtendedLines)
{
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    node->setMode(ekGizmoNode::TRANSLATE);
    node->setExtendedHandles(true);
    const std::vector<LineLook> plain = lookOf(*node);
    // a square takes the colour of the axis it is normal to
    EXPECT_EQ(plain[kSquares + 1].colour, Wm4::ColorRGBA(node->getStyle().axisColors[1]));
    node->highlightHandle(ekGizmoHandle::PLANE_Y);
    const Wm4::ColorRGBA white(1.0f, 1.0f, 1.0f, 1.0f);
    expectLooks(plain, lookOf(*node), {{kSquares + 1, {white, plain[kSquares + 1].width, true}}});
    // an axis highlight, or none, takes it off again
    node->highlightHandle(ekGizmoHandle::AXIS_X);
    EXPECT_EQ(lookOf(*node)[kSquares + 1], plain[kSquares + 1]);
    node->highlightHandle(ekGizmoHandle::SCREEN);
    EXPECT_EQ(lookOf(*node)[kScreen].colour, white);
    node->applyDefaultColors();
    expectLooks(plain, lookOf(*node), {});

    node->setStyle(ekGizmoStyle::highContrast());
    const std::vector<LineLook> contrast = lookOf(*node);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(contrast[kSquares + k].colour, Wm4::ColorRGBA(ekGizmoStyle::highContrast().axisColors[k]));
        EXPECT_EQ(contrast[kSquares + k].width, 3.5f);
    }
    EXPECT_EQ(contrast[kRing].width, 3.5f);
}

TEST(ExtendedLines, ScreenHandleAndRingFaceTheCamera)
{
    ekPointer<ekCamera> camera = new ekCamera;
    camera->lookAt({4.0f, 3.0f, 6.0f}, Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::UNIT_Y);
    camera->setFrustum(60.0f, 4.0f / 3.0f, 1.0f, 1000.0f);
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    node->setMode(ekGizmoNode::ROTATE);
    node->setExtendedHandles(true);
    ekGenericTransformation<float> frame;
    frame.SetRotate(Wm4::Matrix3<float>(Wm4::Vector3<float>(0.0f, 0.0f, 1.0f), Wm4::Vector3<float>(1.0f, 0.0f, 0.0f),
                                        Wm4::Vector3<float>(0.0f, 1.0f, 0.0f), true));
    node->calculateFrameFromObjectWorldTranform(frame, camera.get(), 60.0f, 600);
    node->updateCameraFacing(camera.get());
    for (int child : {kScreen, kRing}) {
        ekGenericTransformation<float> world;
        world.Product(node->getLocalTransform(), node->getChild(child)->getLocalTransform());
        // the line's own Z points back along the view direction, X along the camera's right
        Wm4::Vector3<float> normal = world.GetMatrix() * Wm4::Vector3<float>::UNIT_Z;
        Wm4::Vector3<float> across = world.GetMatrix() * Wm4::Vector3<float>::UNIT_X;
        normal /= normal.Length();
        across /= across.Length();
        EXPECT_NEAR(normal.Dot(-camera->getDVector()), 1.0f, 1e-5f) << child;
        EXPECT_NEAR(across.Dot(camera->getRVector()), 1.0f, 1e-5f) << child;
    }
}

} // namespace
