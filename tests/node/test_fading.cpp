// Edge-on fading: which handles fade for a camera, what a faded handle shows, and that a
// node with fading off is untouched by it.
#include "ekTestMath.h"
#include "gizmoLook.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Math.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace ek;
using namespace ek::test;

namespace {

using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr float kPixelSize = 60.0f;
constexpr float kDegree = Wm4::Math<float>::DEG_TO_RAD;

Mat3 about(int axis, float degrees)
{
    Vec3 unit;
    unit[axis] = 1.0f;
    return ek_test::rotationAbout(unit, degrees * kDegree);
}

// A perspective (60-degree field of view, square pixels) or orthographic (8 x 6 world
// units) camera at eye looking at target.
struct View {
    explicit View(const Vec3& eye, bool perspective = true, const Vec3& target = Vec3::ZERO) : camera(new ekCamera)
    {
        EXPECT_TRUE(camera->lookAt(eye, target, Vec3::UNIT_Y));
        camera->setPerspective(perspective);
        if (perspective) {
            camera->setFrustum(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
        } else {
            camera->setFrustum(-4.0f, 4.0f, -3.0f, 3.0f, 1.0f, 1000.0f);
        }
    }

    // Lays gizmo out at position, turned by orientation, as the controller does.
    void layOut(ekGizmoNode& gizmo, const Mat3& orientation = Mat3::IDENTITY, const Vec3& position = Vec3::ZERO) const
    {
        ekGenericTransformation<float> frame;
        frame.SetRotate(orientation);
        frame.SetTranslate(position);
        gizmo.calculateFrameFromObjectWorldTranform(frame, camera, kPixelSize, kHeight);
        gizmo.updateCameraFacing(camera);
    }

    // Pixels between where the camera itself projects the gizmo's centre and the end of
    // its unit axis: the arrow's length on screen, by another route.
    float arrowPixels(const ekGizmoNode& gizmo, int axis) const
    {
        const ekGenericTransformation<float> world = gizmo.getLocalTransform();
        Vec3 unit;
        unit[axis] = 1.0f;
        Wm4::Vector2<float> centre, tip;
        EXPECT_TRUE(camera->project(world.GetTranslate(), centre) && camera->project(world.ApplyForward(unit), tip));
        const Wm4::Vector2<float> d = tip - centre;
        return std::hypot(d.X() * kWidth, d.Y() * kHeight);
    }

    ekPointer<ekCamera> camera;
};

// The drags reach setActiveState as friends.
struct FadingGizmo : ekGizmoNode {
    using ekGizmoNode::setActiveState;
};

TEST(Fading, OffByDefaultAndOffChangesNothing)
{
    const View view({0.0f, 0.0f, 10.0f});
    for (auto mode : {ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE}) {
        // Z points at the eye; X and Y circles are seen edge-on
        ekPointer<ekGizmoNode> plain = new ekGizmoNode, faded = new ekGizmoNode;
        EXPECT_EQ(plain->getFadeThreshold(), 0.0f);
        for (ekGizmoNode* gizmo : {plain.get(), faded.get()}) {
            gizmo->setMode(mode);
        }
        faded->setFadeThreshold(20.0f);
        view.layOut(*plain), view.layOut(*faded);
        EXPECT_EQ(plain->getFadedAxes() | plain->getFadedPlanes() | plain->getFadedHandles(mode), 0);
        EXPECT_NE(faded->getFadedHandles(mode), 0) << "mode " << mode;
        // turning fading off shows everything again at once, as if it had never been on
        faded->setFadeThreshold(0.0f);
        EXPECT_EQ(faded->getFadedAxes() | faded->getFadedPlanes(), 0);
        expectLooks(lookOf(*plain), lookOf(*faded), {});
    }
}

TEST(Fading, AnArrowPointingAtTheEyeFadesAndComesBack)
{
    const View view({0.0f, 0.0f, 10.0f});
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    gizmo->setFadeThreshold(20.0f);
    gizmo->setMode(ekGizmoNode::TRANSLATE);
    view.layOut(*gizmo);
    // translate: the Z arrow (shaft and head) hidden, X and Y shown
    EXPECT_EQ(gizmo->getFadedAxes(), 4);
    EXPECT_EQ(gizmo->getFadedHandles(ekGizmoNode::TRANSLATE), 4);
    std::vector<LineLook> look = lookOf(*gizmo);
    EXPECT_TRUE(look[0].shown && look[3].shown && !look[4].shown && !look[5].shown);
    // scale: the Z shaft and square; the uniform-scale handle stays
    gizmo->setMode(ekGizmoNode::SCALE);
    look = lookOf(*gizmo);
    EXPECT_TRUE(look[15].shown && look[17].shown && !look[19].shown && !look[20].shown && look[24].shown);
    // rotate: the X and Y circles, seen edge-on, hidden; Z faces the eye
    gizmo->setMode(ekGizmoNode::ROTATE);
    EXPECT_EQ(gizmo->getFadedPlanes(), 3);
    EXPECT_EQ(gizmo->getFadedHandles(ekGizmoNode::ROTATE), 3);
    look = lookOf(*gizmo);
    EXPECT_TRUE(!look[6].shown && !look[7].shown && look[8].shown);
    // turned a quarter about X: Z lies across the view and Y points at the eye
    gizmo->setMode(ekGizmoNode::TRANSLATE);
    view.layOut(*gizmo, about(0, 90.0f));
    EXPECT_EQ(gizmo->getFadedAxes(), 2);
    look = lookOf(*gizmo);
    EXPECT_TRUE(look[4].shown && look[5].shown && !look[2].shown && !look[3].shown);
    EXPECT_EQ(gizmo->getFadedHandles(ekGizmoNode::NONE), 0);
}

TEST(Fading, ThresholdComparesTheArrowLengthOnScreen)
{
    // orthographic: an axis turned 60 degrees out of the screen plane shows 60 cos 60 = 30
    // pixels long; in perspective, the length between the camera's own projections
    const View orthographic({0.0f, 0.0f, 10.0f}, false);
    const View perspective({2.0f, 1.0f, 8.0f}, true, {1.0f, 0.5f, 0.0f});
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    gizmo->setMode(ekGizmoNode::TRANSLATE);
    orthographic.layOut(*gizmo, about(1, 60.0f));
    const float orthographicPixels = 30.0f;
    EXPECT_NEAR(orthographic.arrowPixels(*gizmo, 0), orthographicPixels, 1e-3f);
    const Mat3 turned = about(1, 50.0f) * about(0, 20.0f);
    perspective.layOut(*gizmo, turned, {1.0f, 0.5f, 0.0f});
    const float perspectivePixels = perspective.arrowPixels(*gizmo, 0);
    ASSERT_LT(perspectivePixels, 55.0f);
    // half a pixel either side of the length decides
    for (float margin : {-0.5f, 0.5f}) {
        gizmo->setFadeThreshold(orthographicPixels + margin);
        orthographic.layOut(*gizmo, about(1, 60.0f));
        EXPECT_EQ((gizmo->getFadedAxes() & 1) != 0, margin > 0.0f) << "orthographic, margin " << margin;
        gizmo->setFadeThreshold(perspectivePixels + margin);
        perspective.layOut(*gizmo, turned, {1.0f, 0.5f, 0.0f});
        EXPECT_EQ((gizmo->getFadedAxes() & 1) != 0, margin > 0.0f) << "perspective, margin " << margin;
    }
}

TEST(Fading, AFadedHandleShowsAgainTwoPixelsAboveTheThreshold)
{
    // orthographic, X turned 60 degrees out of the screen plane: 30 pixels long
    const View view({0.0f, 0.0f, 10.0f}, false);
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    const auto fadesAt = [&](float threshold) {
        gizmo->setFadeThreshold(threshold);
        view.layOut(*gizmo, about(1, 60.0f));
        return (gizmo->getFadedAxes() & 1) != 0;
    };
    // not faded: the threshold alone decides; once faded, the threshold plus 2 does
    EXPECT_FALSE(fadesAt(29.5f));
    EXPECT_TRUE(fadesAt(30.5f));
    EXPECT_TRUE(fadesAt(29.5f));
    EXPECT_TRUE(fadesAt(28.1f));
    EXPECT_FALSE(fadesAt(27.9f));
    // a camera jittering about the threshold: 30 and 31 pixels, threshold 30.5, stays faded
    EXPECT_TRUE(fadesAt(30.5f));
    for (float degrees : {60.0f - 1.0f, 60.0f, 60.0f - 1.0f}) {
        view.layOut(*gizmo, about(1, degrees));
        EXPECT_EQ(gizmo->getFadedAxes() & 1, 1) << degrees;
    }
}

TEST(Fading, ThresholdComparesTheNarrowWidthOfACircle)
{
    // orthographic, turned 30 degrees about X: the Z circle shows as an ellipse of half-axes
    // 60 and 60 cos 30 = 52, the Y circle 60 and 60 sin 30 = 30, the X circle as a line
    const View view({0.0f, 0.0f, 10.0f}, false);
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    gizmo->setMode(ekGizmoNode::ROTATE);
    const float yPixels = 30.0f;
    const float zPixels = 60.0f * std::cos(30.0f * kDegree);
    const std::pair<float, unsigned char> cases[] = {
        {0.5f, 1}, {yPixels - 0.5f, 1}, {yPixels + 0.5f, 3}, {zPixels - 0.5f, 3}, {zPixels + 0.5f, 7}};
    for (const auto& [threshold, faded] : cases) {
        gizmo->setFadeThreshold(threshold);
        view.layOut(*gizmo, about(0, 30.0f));
        EXPECT_EQ(gizmo->getFadedPlanes(), faded) << "threshold " << threshold;
    }
}

TEST(Fading, AnAxisLyingAcrossTheViewIsNeverFaded)
{
    // every orientation that keeps X across the view direction (turns about Z, then about
    // X itself), anywhere in a perspective view: X measures the pixel size, 60, which
    // shows again a threshold of 57 even after X pointed at the eye
    const View view({0.0f, 0.0f, 10.0f});
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    gizmo->setFadeThreshold(kPixelSize - 3.0f);
    view.layOut(*gizmo, about(1, 90.0f));
    ASSERT_EQ(gizmo->getFadedAxes() & 1, 1);
    for (const Vec3& position : {Vec3(0.0f, 0.0f, 0.0f), Vec3(3.0f, 2.0f, -5.0f), Vec3(-4.0f, -1.5f, 3.0f)}) {
        for (float z = 0.0f; z < 360.0f; z += 15.0f) {
            for (float x = 0.0f; x < 360.0f; x += 15.0f) {
                view.layOut(*gizmo, about(2, z) * about(0, x), position);
                EXPECT_EQ(gizmo->getFadedAxes() & 1, 0) << "about Z " << z << ", about X " << x;
            }
        }
    }
}

TEST(Fading, AHandleReachingBehindTheEyeNeverFades)
{
    // 600 pixels at 5 units: the Z axis, pointing at the eye, ends 0.77 behind it
    const View view({0.0f, 0.0f, 10.0f});
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    gizmo->setFadeThreshold(20.0f);
    ekGenericTransformation<float> frame;
    frame.SetTranslate(Vec3(0.0f, 0.0f, 5.0f));
    gizmo->calculateFrameFromObjectWorldTranform(frame, view.camera, 600.0f, kHeight);
    ASSERT_LT((gizmo->getLocalTransform().ApplyForward(Vec3::UNIT_Z) - view.camera->getLocation())
                  .Dot(view.camera->getDVector()),
              0.0f);
    // neither its arrow nor the circles of the planes it spans
    EXPECT_EQ(gizmo->getFadedAxes(), 0);
    EXPECT_EQ(gizmo->getFadedPlanes(), 0);
}

TEST(Fading, ThresholdAndPixelSizeMoveTheLayoutRevision)
{
    ekPointer<ekGizmoNode> gizmo = new ekGizmoNode;
    std::uint32_t revision = gizmo->getLayoutRevision();
    const auto moved = [&] {
        const std::uint32_t now = gizmo->getLayoutRevision();
        const bool changed = now != revision;
        revision = now;
        return changed;
    };
    // what a layout reads of the node
    gizmo->setFadeThreshold(12.0f);
    EXPECT_TRUE(moved());
    gizmo->setExpectedPixelSize(80.0f);
    EXPECT_TRUE(moved());
    // what it does not
    gizmo->setMode(ekGizmoNode::ROTATE);
    gizmo->setStyle(ekGizmoStyle::highContrast());
    gizmo->setEnabledAxis(ekGizmoNode::ROTATE, 3);
    EXPECT_FALSE(moved());
}

TEST(Fading, DragFeedbackAndMasksAreLeftAlone)
{
    const View view({0.0f, 0.0f, 10.0f});
    ekPointer<FadingGizmo> gizmo = new FadingGizmo;
    gizmo->setMode(ekGizmoNode::ROTATE);
    gizmo->setActiveState(2, true);
    gizmo->setFadeThreshold(20.0f);
    view.layOut(*gizmo);
    // the circles of X and Y fade, the half-axis lines of a drag about Z stay
    std::vector<LineLook> look = lookOf(*gizmo);
    EXPECT_TRUE(!look[6].shown && !look[7].shown && look[11].shown && look[9].shown && look[13].shown);
    // an axis the mask leaves out stays hidden when it no longer fades
    gizmo->setMode(ekGizmoNode::TRANSLATE);
    gizmo->setEnabledAxis(ekGizmoNode::TRANSLATE, 3);
    gizmo->setFadeThreshold(0.0f);
    look = lookOf(*gizmo);
    EXPECT_TRUE(look[0].shown && look[2].shown && !look[4].shown && !look[5].shown);
}

} // namespace
