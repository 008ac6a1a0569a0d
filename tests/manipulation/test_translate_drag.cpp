#include "dragScene.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <gtest/gtest.h>

#include <limits>

using namespace ek;
using namespace ek::test;

namespace {

// Drives a translate drag on scene's gizmo; reads the plane its press chose.
struct TranslateDrag : ekGizmoControllerTranslate {
    void press(const Vec2& pos, int expectedAxis)
    {
        updateTranslateHover(scene.gizmo(), scene.camera(), pos, kPickTolerance, kWidth, kHeight);
        EXPECT_EQ(getSelectedAxis(), expectedAxis);
        setMousePressed(scene.gizmo(), scene.camera(), pos);
    }
    void move(const Vec2& pos) { setMousePos(scene.gizmo(), scene.camera(), pos); }
    void release(const Vec2& pos) { setMouseReleased(scene.gizmo(), scene.camera(), pos); }
    bool usesSecondPlane() const { return m_useSecondPlane != 0; }

    explicit TranslateDrag(DragScene& s) : scene(s) {}
    DragScene& scene;
};

// World length that 40 pixels cover at depth 10 before the default camera.
const float kShift = 40.0f * 2.0f * std::tan(30.0f * Wm4::Math<float>::DEG_TO_RAD) * 10.0f / 600.0f;

} // namespace

TEST(TranslateDrag, MovesObjectsByTheWorldLengthThePixelsCover)
{
    DragScene scene;
    ekNode* a = scene.addObject({1.0f, 0.0f, 0.0f});
    ekNode* b = scene.addObject({-1.0f, 0.5f, 0.0f});
    scene.use(ekGizmoNode::TRANSLATE, {a, b});
    Recorder recorder("r");
    TranslateDrag drag(scene);
    drag.install3DManipulatorMotionListener(&recorder);
    const Vec2 press = scene.at({0.5f, 0.0f, 0.0f});
    drag.press(press, 0);
    // 40 pixels right, twice: moves start from the press and never add up
    drag.move(press + pixels(40.0f, 0.0f));
    drag.move(press + pixels(40.0f, 0.0f));
    expectNear(positionOf(a), {1.0f + kShift, 0.0f, 0.0f});
    expectNear(positionOf(b), {-1.0f + kShift, 0.5f, 0.0f});
    // back on the press point (no displacement), a NaN cursor, a collapsed gizmo: ignored
    drag.move(press);
    drag.move({std::numeric_limits<float>::quiet_NaN(), 0.5f});
    scene.collapse(Mat3::ZERO);
    drag.move(press + pixels(80.0f, 0.0f));
    scene.restore();
    expectNear(positionOf(a), {1.0f + kShift, 0.0f, 0.0f});
    // a cursor off the axis line counts only along the axis
    drag.release(press + pixels(-20.0f, 35.0f));
    expectNear(positionOf(a), {1.0f - kShift / 2.0f, 0.0f, 0.0f});
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    EXPECT_EQ(recorder.own, (std::vector<std::string>{"r:tStart", "r:tEnd"}));
    expectNear(recorder.lastDelta.GetTranslate(), {-kShift / 2.0f, 0.0f, 0.0f});
}

TEST(TranslateDrag, ParentedAndExcludedObjects)
{
    DragScene scene;
    ekNode* parent = scene.addObject({2.0f, 0.0f, 0.0f});
    parent->editLocalTransform(true).SetRotate(rotationZ(90.0f));
    parent->editLocalTransform(true).SetUniformScale(2.0f);
    ekNode* child = scene.addObject({1.0f, 0.0f, 0.0f}, parent);
    ekNode* excluded = scene.addObject({-2.0f, 0.0f, 0.0f});
    excluded->setExcluded(true);
    scene.use(ekGizmoNode::TRANSLATE, {child, excluded});
    TranslateDrag drag(scene);
    drag.press(scene.at({0.5f, 0.0f, 0.0f}), 0);
    drag.release(scene.at({0.5f, 0.0f, 0.0f}) + pixels(40.0f, 0.0f));
    // the child keeps its rotation and scale; its local transform is in the parent's
    // frame, so a full update keeps the world position
    scene.root()->UpdateGS();
    expectNear(positionOf(child), {2.0f + kShift, 2.0f, 0.0f});
    expectNear(matrixOf(child), rotationZ(90.0f) * 2.0f);
    expectNear(positionOf(excluded), {-2.0f, 0.0f, 0.0f});
}

TEST(TranslateDrag, PlaneFacingTheCameraAndNoClampAlongTheNearPlane)
{
    // looking down Z the plane with normal Z (axis X + 2) faces the camera, from above the one
    // with normal Y (axis X + 1); X, parallel to the near and far planes, is never clamped
    for (const bool fromAbove : {false, true}) {
        DragScene scene;
        if (fromAbove) { scene.look({0.0f, 10.0f, 0.0f}, Vec3::ZERO, true, 1.0f, {0.0f, 0.0f, -1.0f}); }
        ekNode* dragged = scene.addObject(Vec3::ZERO);
        scene.use(ekGizmoNode::TRANSLATE, {dragged});
        scene.gizmo()->restrictPositionBetweenNearFar(true);
        TranslateDrag drag(scene);
        drag.press(scene.at({0.8f, 0.0f, 0.0f}), 0);
        EXPECT_EQ(drag.usesSecondPlane(), !fromAbove);
        drag.release(scene.at({0.8f, 0.0f, 0.0f}) + pixels(40.0f, 0.0f));
        expectNear(positionOf(dragged), {kShift, 0.0f, 0.0f});
    }
}

TEST(TranslateDrag, ListenersAndAPressThatMeetsNoPlane)
{
    // orthographic, looking down the Z arrow: both of its planes are parallel to the rays
    DragScene scene(false);
    ekNode* object = scene.addObject(Vec3::ZERO);
    scene.use(ekGizmoNode::TRANSLATE, {object});
    scene.gizmo()->setEnabledAxis(ekGizmoNode::TRANSLATE, 0x4);
    std::vector<std::string> log;
    Recorder a("a", log), b("b", log), c("c", log);
    // overrides only what it must: the notifications reach the empty defaults
    struct : ek3DManipulatorMotionListener { void onManipulatorMotion(ekGizmoNode*) override {} } quiet;
    TranslateDrag drag(scene);
    ek3DManipulatorMotionListener* const listeners[] = {&a, &b, &quiet, &c};
    for (ek3DManipulatorMotionListener* listener : listeners) {
        EXPECT_TRUE(drag.install3DManipulatorMotionListener(listener));
    }
    // a second install is refused; uninstalling keeps the others' order
    EXPECT_FALSE(drag.install3DManipulatorMotionListener(&a));
    EXPECT_TRUE(drag.uninstall3DManipulatorMotionListener(&a));
    EXPECT_FALSE(drag.uninstall3DManipulatorMotionListener(&a));

    const Vec2 press = scene.at(Vec3::ZERO) + pixels(3.0f, -3.0f);
    drag.press(press, 2);
    // the selection is dropped, yet the start and the end are both told
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    drag.release(press + pixels(30.0f, 0.0f));
    EXPECT_EQ(log, (std::vector<std::string>{"b:tStart", "c:tStart", "b:tEnd", "c:tEnd"}));
    EXPECT_TRUE(c.lastDelta.IsIdentity());
    expectNear(positionOf(object), Vec3::ZERO);
}

TEST(TranslateDrag, NearAndFarPlanesClampWhenRestricted)
{
    // the Z handle dragged towards the camera (near plane 4) or away past the horizon (far plane
    // 100), moved or scaled: restricted, its end stops on that plane; unrestricted, it goes past it
    // plane: depth of the clamping plane; past: a depth the unrestricted end reaches beyond it
    struct Case { ekGizmoNode::GizmoMode mode; float plane, past; };
    for (const Case& c : {Case{ekGizmoNode::TRANSLATE, 4.0f, 3.0f}, Case{ekGizmoNode::TRANSLATE, 100.0f, 400.0f},
                          Case{ekGizmoNode::SCALE, 4.0f, 3.0f}}) {
        const bool towards = c.past < c.plane;
        for (const bool restrict : {true, false}) {
            DragScene scene;
            scene.look({0.0f, 2.0f, 10.0f}, Vec3::ZERO, true, towards ? c.plane : 1.0f);
            ekNode* dragged = scene.addObject(Vec3::ZERO);
            scene.use(c.mode, {dragged});
            scene.gizmo()->restrictPositionBetweenNearFar(restrict);
            const Vec3 tip = scene.gizmo()->getWorldTransform().ApplyForward({0.0f, 0.0f, 1.0f}, true);
            const Vec2 to = towards ? Vec2(0.5f, 0.02f) : scene.screenOf({0.0f, 0.0f, -500.0f});
            if (c.mode == ekGizmoNode::SCALE) {
                ekGizmoControllerScale drag;
                drag.updateScaleHover(scene.gizmo(), scene.camera(), scene.screenOf(tip), kPickTolerance, kWidth, kHeight);
                ASSERT_EQ(drag.getSelectedAxis(), 2);
                drag.setMouseScalePressed(scene.gizmo(), scene.camera(), scene.screenOf(tip));
                drag.setMouseScaleReleased(scene.gizmo(), scene.camera(), to);
            } else {
                TranslateDrag drag(scene);
                drag.press(scene.screenOf(tip), 2);
                drag.release(to);
            }
            // the handle's end moved with the object, or grown by its scale about the origin
            const Vec3 eyeToEnd = dragged->getWorldTransform().ApplyForward(tip, true) - scene.camera()->getLocation();
            const float depth = eyeToEnd.Dot(scene.camera()->getDVector());
            if (restrict) {
                EXPECT_NEAR(depth, c.plane, c.plane * kWorldTolerance);
            } else {
                EXPECT_EQ(depth < c.past, towards) << depth;
            }
        }
    }
}
