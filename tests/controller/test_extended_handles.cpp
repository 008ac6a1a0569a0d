#include "ekControllerFixture.h"

#include <ek3DManipulation/ekGizmoHandle.h>

#include <cmath>
#include <optional>

namespace ek::test {
namespace {

// World positions that go through a pick ray and a plane intersection.
constexpr float kHitTolerance = 2e-4f;

class ExtendedHandles : public ControllerTest {
protected:
    // An object turned about an oblique axis (so that no plane faces the
    // camera) under an extended gizmo of mode, axes LOCAL.
    void setUpTurned(ekGizmoNode::GizmoMode mode)
    {
        object = scene.addObject({0.5f, -0.5f, 0.0f}, rotation(Wm4::Vector3<float>(1.0f, 2.0f, 2.0f) / 3.0f, 35.0f));
        gizmo = scene.addGizmo(mode, {object});
        gizmo->setExtendedHandles(true);
        frame();
    }
    // Where the pick ray of pixel p meets the plane of normal n through q.
    std::optional<Wm4::Vector3<float>> hit(Pixel p, const Wm4::Vector3<float>& n, const Wm4::Vector3<float>& q)
    {
        Wm4::Vector3<float> origin;
        Wm4::Vector3<float> direction;
        scene.camera().getPickRay((p.x + 0.5f) / kWidth, (kHeight - p.y - 0.5f) / kHeight, origin, direction);
        const float along = direction.Dot(n);
        if (along == 0.0f) { return std::nullopt; }
        return origin + direction * ((q - origin).Dot(n) / along);
    }
    Wm4::Vector3<float> worldAxis(int k) const
    {
        Wm4::Vector3<float> a = gizmo->getWorldTransform().GetMatrix().GetColumn(k);
        return a / a.Length();
    }
    // A press at from, a move to to and a frame: the drag left under way.
    void hold(Pixel from, Pixel to)
    {
        EXPECT_TRUE(press(from));
        move(to);
        frame();
    }
};

TEST_F(ExtendedHandles, PlaneSquaresKeepTheGrabbedPointUnderTheCursorInTheirPlane)
{
    setUpTurned(ekGizmoNode::TRANSLATE);
    for (int k = 0; k < 3; ++k) {
        Wm4::Vector3<float> centre;
        centre[(k + 1) % 3] = 0.425f;
        centre[(k + 2) % 3] = 0.425f;
        const Pixel from = scene.pixelOf(gizmoPoint(*gizmo, centre));
        const Pixel to{from.x + 23, from.y - 17};
        const Wm4::Vector3<float> normal = worldAxis(k);
        const Wm4::Vector3<float> pivot = positionOf(*object);
        heard.clear();
        hold(from, to);
        EXPECT_EQ(controller.getActiveHandle(), static_cast<ekGizmoHandle>(3 + k));
        EXPECT_EQ(controller.getActiveAxis(), k);
        // the point grabbed on the square follows the cursor within its plane
        const Wm4::Vector3<float> moved = positionOf(*object) - pivot;
        const Wm4::Vector3<float> expected = *hit(to, normal, pivot) - *hit(from, normal, pivot);
        for (int i = 0; i < 3; ++i) { EXPECT_NEAR(moved[i], expected[i], kHitTolerance) << k << i; }
        EXPECT_NEAR(moved.Dot(normal), 0.0f, kHitTolerance) << k;
        released(to);
        EXPECT_EQ(kindsOf(heard), "tMTM") << k;
        for (int i = 0; i < 3; ++i) { EXPECT_NEAR(heard[2].delta.GetTranslate()[i], moved[i], kHitTolerance) << k; }
    }
}

TEST_F(ExtendedHandles, ScreenHandleMovesInThePlaneFacingTheCamera)
{
    setUpTurned(ekGizmoNode::TRANSLATE);
    const Pixel from = scene.pixelOf(positionOf(*object));
    const Pixel to{from.x - 40, from.y + 25};
    const Wm4::Vector3<float> pivot = positionOf(*object);
    hold(from, to);
    EXPECT_EQ(controller.getActiveHandle(), ekGizmoHandle::SCREEN);
    EXPECT_EQ(controller.getActiveAxis(), -1);
    const Wm4::Vector3<float> view = scene.camera().getDVector();
    const Wm4::Vector3<float> moved = positionOf(*object) - pivot;
    const Wm4::Vector3<float> expected = *hit(to, view, pivot) - *hit(from, view, pivot);
    for (int i = 0; i < 3; ++i) { EXPECT_NEAR(moved[i], expected[i], kHitTolerance) << i; }
    // the object's own image moves with the cursor: it lies in that plane
    const Wm4::Vector2<float> shift = scene.screenOf(positionOf(*object)) - scene.screenOf(pivot);
    EXPECT_NEAR(shift.X(), static_cast<float>(to.x - from.x), 0.05f);
    EXPECT_NEAR(shift.Y(), static_cast<float>(from.y - to.y), 0.05f);
    released(to);
}

TEST_F(ExtendedHandles, ViewRingTurnsAboutTheViewDirectionByTheCursorsAngle)
{
    setUpArrow(ekGizmoNode::ROTATE);
    gizmo->setExtendedHandles(true);
    frame();
    // the ring's radius is 1.25 axis lengths: 75 pixels; from its right to
    // its top is a quarter turn, counter-clockwise on screen
    const Wm4::Vector2<float> c = scene.screenOf(positionOf(*object));
    const Pixel right{static_cast<int>(std::lround(c.X() + 75.0f - 0.5f)), static_cast<int>(std::lround(kHeight - c.Y() - 0.5f))};
    const Pixel top{static_cast<int>(std::lround(c.X() - 0.5f)), static_cast<int>(std::lround(kHeight - c.Y() - 75.0f - 0.5f))};
    hold(right, top);
    EXPECT_EQ(controller.getActiveHandle(), ekGizmoHandle::VIEW_RING);
    released(top);
    // the camera looks down -Z: X turns onto Y, Z stays
    expectMatrixNear(object->getWorldTransform().GetRotate(), rotation({0.0f, 0.0f, 1.0f}, 90.0f));
    EXPECT_EQ(kindsOf(heard), "rMRM");
}

TEST_F(ExtendedHandles, TrackballCarriesThePressedSpherePointToTheCursors)
{
    setUpArrow(ekGizmoNode::ROTATE);
    gizmo->setExtendedHandles(true);
    controller.setRotateSnap(0.0f);
    frame();
    const Wm4::Vector2<float> c = scene.screenOf(positionOf(*object));
    const Pixel from{static_cast<int>(c.X()) - 25, static_cast<int>(kHeight - c.Y()) + 20};
    const Pixel to{from.x + 35, from.y - 12};
    // the sphere of radius 60 pixels, seen from the camera (x right, y up,
    // z towards the eye)
    const auto onSphere = [&](Pixel p) {
        const float x = (p.x + 0.5f - c.X()) / 60.0f;
        const float y = (kHeight - p.y - 0.5f - c.Y()) / 60.0f;
        return Wm4::Vector3<float>(x, y, std::sqrt(1.0f - x * x - y * y));
    };
    hold(from, to);
    EXPECT_EQ(controller.getActiveHandle(), ekGizmoHandle::TRACKBALL);
    released(to);
    const Wm4::Matrix3<float> turned = object->getWorldTransform().GetRotate();
    const Wm4::Vector3<float> carried = turned * onSphere(from);
    const Wm4::Vector3<float> target = onSphere(to);
    for (int i = 0; i < 3; ++i) { EXPECT_NEAR(carried[i], target[i], 5e-3f) << i; }
    // the shortest such rotation: its axis is square to both points
    const Wm4::Vector3<float> axis = onSphere(from).Cross(target);
    EXPECT_NEAR((turned * axis - axis).Length(), 0.0f, 5e-3f);
}

TEST_F(ExtendedHandles, UniformCentreScalesEveryAxisAlike)
{
    setUpArrow(ekGizmoNode::SCALE);
    gizmo->setExtendedHandles(true);
    frame();
    const Pixel from = scene.pixelOf(gizmoPoint(*gizmo, {0.25f, 0.25f, 0.0f}));
    // 30 pixels right and 30 up: 60 / sqrt(2) pixels along the diagonal
    hold(from, {from.x + 30, from.y - 30});
    EXPECT_EQ(controller.getActiveHandle(), ekGizmoHandle::CENTER);
    released({from.x + 30, from.y - 30});
    const float factor = 1.0f + 60.0f * 0.70710678f / 60.0f;
    const Wm4::Vector3<float> scale = object->getWorldTransform().GetScale();
    for (int i = 0; i < 3; ++i) { EXPECT_NEAR(scale[i], factor, 1e-4f) << i; }
    EXPECT_EQ(kindsOf(heard), "sMSM");
}

TEST_F(ExtendedHandles, SnappedDragsLandOnExactMultiples)
{
    setUpArrow();
    controller.setTranslateSnap(0.5f);
    EXPECT_TRUE(controller.isSnapping());
    // an arrow drag: a multiple of 0.5 along X, exactly
    dragged(grip, shifted(grip, 37));
    const float x = positionOf(*object).X();
    EXPECT_GT(x, 0.0f);
    EXPECT_EQ(x, std::round(x / 0.5f) * 0.5f);
    // a plane drag: both of its axes' components
    gizmo->setExtendedHandles(true);
    frame();
    const Wm4::Vector3<float> before = positionOf(*object);
    const Pixel square = scene.pixelOf(gizmoPoint(*gizmo, {0.425f, 0.425f, 0.0f}));
    dragged(square, {square.x + 53, square.y - 71});
    const Wm4::Vector3<float> d = positionOf(*object) - before;
    EXPECT_EQ(d.X(), std::round(d.X() / 0.5f) * 0.5f);
    EXPECT_EQ(d.Y(), std::round(d.Y() / 0.5f) * 0.5f);
    EXPECT_EQ(d.Z(), 0.0f);
    EXPECT_NE(d.X(), 0.0f);

    // the host's key held at the press: free for that drag only
    controller.setSnapInverted(true);
    const float held = positionOf(*object).X();
    dragged(axisPixel(*gizmo, 0, 0.8f), shifted(axisPixel(*gizmo, 0, 0.8f), 13));
    controller.setSnapInverted(false);
    EXPECT_NE(std::fmod(positionOf(*object).X() - held, 0.5f), 0.0f);

    // rotate in 15-degree steps, and back to the specified 5 after a reset
    gizmo->setMode(ekGizmoNode::ROTATE);
    gizmo->setExtendedHandles(false);
    controller.setRotateSnap(15.0f);
    object->editLocalTransform(true).MakeIdentity();
    scene.root().UpdateGS();
    frame();
    // 20 degrees, give or take the pixels' rounding
    const Pixel ring = circlePixel(*gizmo, 30.0f);
    dragged(ring, circlePixel(*gizmo, 50.0f));
    const Wm4::Matrix3<float>& r = object->getWorldTransform().GetRotate();
    EXPECT_NEAR(std::atan2(r(1, 0), r(0, 0)) * Wm4::Math<float>::RAD_TO_DEG, 15.0f, 1e-3f);
    controller.resetSnapping();
    EXPECT_FALSE(controller.isSnapping());
    object->editLocalTransform(true).MakeIdentity();
    scene.root().UpdateGS();
    frame();
    dragged(ring, circlePixel(*gizmo, 50.0f));
    EXPECT_NEAR(std::atan2(r(1, 0), r(0, 0)) * Wm4::Math<float>::RAD_TO_DEG, 20.0f, 1e-3f);

    // scale factors in quarters, never below one quarter
    gizmo->setMode(ekGizmoNode::SCALE);
    controller.setScaleSnap(0.25f);
    object->editLocalTransform(true).MakeIdentity();
    scene.root().UpdateGS();
    frame();
    // the length one local X unit of the object takes in the world
    const auto scaleX = [&] {
        return (object->getWorldTransform().ApplyForward({1.0f, 0.0f, 0.0f}, true) - positionOf(*object)).Length();
    };
    const Pixel handle = axisPixel(*gizmo, 0, 1.0f);
    dragged(handle, shifted(handle, 41));
    const float sx = scaleX();
    EXPECT_EQ(sx, std::round(sx / 0.25f) * 0.25f);
    EXPECT_GT(sx, 1.0f);
    heard.clear();
    dragged(axisPixel(*gizmo, 0, 1.0f), shifted(axisPixel(*gizmo, 0, 1.0f), -300));
    ASSERT_EQ(kindsOf(heard), "sSM");
    EXPECT_EQ(heard[1].delta.GetScale().X(), 0.25f);
    EXPECT_NEAR(scaleX(), sx * 0.25f, 1e-6f);
}

TEST_F(ExtendedHandles, NothingExtendedIsPickedUnlessEnabled)
{
    setUpArrow();
    const Pixel square = scene.pixelOf(gizmoPoint(*gizmo, {0.425f, 0.425f, 0.0f}));
    EXPECT_FALSE(press(square));
    released(square);
    moved(square);
    EXPECT_EQ(controller.getHoveredGizmo(), nullptr);
    EXPECT_EQ(controller.getHoveredHandle(), ekGizmoHandle::NONE);
    gizmo->setExtendedHandles(true);
    frame();
    moved(square);
    EXPECT_EQ(controller.getHoveredGizmo(), gizmo);
    EXPECT_EQ(controller.getHoveredHandle(), ekGizmoHandle::PLANE_Z);
    moved(grip);
    EXPECT_EQ(controller.getHoveredHandle(), ekGizmoHandle::AXIS_X);
    EXPECT_EQ(kindsOf(heard), "");
}

// Hears the running delta of every move.
class DeltaLog : public ek3DManipulatorMotionListener {
public:
    void onManipulatorMotion(ekGizmoNode*) override {}
    void onManipulatorDragged(const ekGenericTransformation<float>& delta) override { deltas.push_back(delta); }
    std::vector<ekGenericTransformation<float>> deltas;
};

TEST_F(ExtendedHandles, EveryMoveTellsTheRunningDelta)
{
    setUpArrow();
    DeltaLog live;
    controller.install3DManipulatorMotionListener(&live);
    press(grip);
    move(shifted(grip, 10));
    move(shifted(grip, 20));
    frame();
    release(shifted(grip, 20));
    move(shifted(grip, 30));
    frame();
    ASSERT_EQ(live.deltas.size(), 2u);
    EXPECT_LT(live.deltas[0].GetTranslate().X(), live.deltas[1].GetTranslate().X());
    EXPECT_EQ(live.deltas[1].GetTranslate(), positionOf(*object));
    controller.uninstall3DManipulatorMotionListener(&live);
}

} // namespace
} // namespace ek::test
