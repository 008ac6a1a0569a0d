#include "dragScene.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace ek;
using namespace ek::test;

namespace {

// Drives a rotate drag object on scene's gizmo.
struct RotateDrag {
    // Cursor on the Z circle at degrees in the gizmo's own frame.
    Vec2 circle(float degrees) const
    {
        const float r = degrees * Wm4::Math<float>::DEG_TO_RAD;
        return scene.at({std::cos(r), std::sin(r), 0.0f});
    }
    bool hover(const Vec2& p, float tolerance = kPickTolerance)
    {
        return drag.updateRotateHover(scene.gizmo(), scene.camera(), p, tolerance, kWidth, kHeight);
    }
    void press(const Vec2& p) { drag.setMousePressed(scene.gizmo(), scene.camera(), p, kWidth, kHeight); }
    void move(const Vec2& p) { drag.setMousePos(scene.gizmo(), scene.camera(), p, kWidth, kHeight); }
    void release(const Vec2& p) { drag.setMouseReleased(scene.gizmo(), scene.camera(), p, kWidth, kHeight); }

    DragScene& scene;
    ekGizmoControllerRotate& drag;
};

// Two objects about the pivot (1, 1, 0), seen at a slant in perspective.
struct SlantedPair {
    SlantedPair()
    {
        scene.look({3.0f, 4.0f, 10.0f}, {1.0f, 1.0f, 0.0f});
        a = scene.addObject({2.0f, 1.0f, 0.0f});
        b = scene.addObject({0.0f, 1.0f, 0.0f});
        scene.use(ekGizmoNode::ROTATE, {a, b});
    }
    // Both objects turned by degrees about Z through the pivot.
    void expectTurned(float degrees) const
    {
        const Mat3 r = rotationZ(degrees);
        expectNear(matrixOf(a), r);
        expectNear(positionOf(a), Vec3(1.0f, 1.0f, 0.0f) + r * Vec3(1.0f, 0.0f, 0.0f));
        expectNear(positionOf(b), Vec3(1.0f, 1.0f, 0.0f) + r * Vec3(-1.0f, 0.0f, 0.0f));
    }

    DragScene scene;
    ekNode* a;
    ekNode* b;
};

} // namespace

TEST(RotateDrag, TurnsInWholeStepsOfFiveDegrees)
{
    SlantedPair pair;
    ekGizmoControllerRotate drag;
    Recorder recorder("r");
    drag.install3DManipulatorMotionListener(&recorder);
    RotateDrag r{pair.scene, drag};
    // pressed on the side of the circle away from the eye
    ASSERT_TRUE(r.hover(r.circle(225.0f)));
    EXPECT_EQ(drag.getSelectedAxis(), 2);
    const Vec2 later = r.circle(240.0f);
    r.press(r.circle(225.0f));
    // 7 degrees apply 5, 8 apply 10, -8 apply -10, 2 apply none
    const float cases[][2] = {{7.0f, 5.0f}, {8.0f, 10.0f}, {-8.0f, -10.0f}, {2.0f, 0.0f}};
    for (const auto& c : cases) {
        r.move(r.circle(225.0f + c[0]));
        pair.expectTurned(c[1]);
    }
    // a NaN cursor, a gizmo frame collapsed to the zero matrix (no plane): ignored
    r.move(r.circle(232.0f));
    r.move({std::numeric_limits<float>::quiet_NaN(), 0.5f});
    pair.scene.collapse(Mat3::ZERO);
    r.move(later);
    pair.scene.restore();
    pair.expectTurned(5.0f);
    // the release makes a last move and hands over the rotation about the pivot
    r.release(r.circle(218.0f));
    pair.expectTurned(-5.0f);
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    EXPECT_EQ(recorder.own, (std::vector<std::string>{"r:rStart", "r:rEnd"}));
    expectNear(recorder.lastDelta.GetRotate(), rotationZ(-5.0f));
    expectNear(recorder.lastDelta.ApplyForward({1.0f, 1.0f, 0.0f}, true), {1.0f, 1.0f, 0.0f});
}

TEST(RotateDrag, PicksByThePolylineAndRefusesUnusablePresses)
{
    // orthographic, looking down Z: the X and Y circles are seen edge-on as lines
    DragScene scene(false);
    ekNode* object = scene.addObject(Vec3::ZERO);
    scene.use(ekGizmoNode::ROTATE, {object});
    Recorder recorder("r");
    ekGizmoControllerRotate drag;
    drag.install3DManipulatorMotionListener(&recorder);
    RotateDrag r{scene, drag};
    const Vec2 centre = scene.at(Vec3::ZERO);
    // X and Y at the same distance: the later axis, unless its bit is clear
    EXPECT_TRUE(r.hover(centre));
    EXPECT_EQ(drag.getSelectedAxis(), 1);
    scene.gizmo()->setEnabledAxis(ekGizmoNode::ROTATE, 0x5);
    EXPECT_TRUE(r.hover(centre));
    EXPECT_EQ(drag.getSelectedAxis(), 0);
    scene.gizmo()->setEnabledAxis(ekGizmoNode::ROTATE, 0x3);
    EXPECT_FALSE(r.hover(r.circle(45.0f)));
    EXPECT_FALSE(drag.isOver(scene.gizmo(), scene.camera(), r.circle(45.0f), kPickTolerance, kWidth, kHeight));
    // between two samples the distance is to the chord: 60 (1 - cos 4.5 deg) = 0.185 px
    scene.gizmo()->setEnabledAxis(ekGizmoNode::ROTATE, 0x7);
    EXPECT_FALSE(r.hover(r.circle(4.5f), 0.18f));
    EXPECT_TRUE(r.hover(r.circle(4.5f), 0.19f));
    EXPECT_EQ(drag.getSelectedAxis(), 2);
    // within 1.6 pixels of the pivot: the selection is dropped
    ASSERT_TRUE(r.hover(centre + pixels(1.5f, -1.5f)));
    r.press(centre + pixels(1.5f, -1.5f));
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    // the Y circle's plane is parallel to the orthographic rays
    ASSERT_TRUE(r.hover(centre + pixels(30.0f, 3.0f)));
    r.press(centre + pixels(30.0f, 3.0f));
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    r.release(centre + pixels(0.0f, 30.0f));
    EXPECT_TRUE(recorder.own.empty());
    expectNear(matrixOf(object), Mat3::IDENTITY);
}

TEST(RotateDrag, SnapsTheGizmoBeforeTellingTheEnd)
{
    DragScene scene;
    ekNode* object = scene.addObject(Vec3::ZERO);
    object->editLocalTransform(true).SetRotate(rotationZ(12.0f));
    scene.use(ekGizmoNode::ROTATE, {object}, rotationZ(12.0f));
    scene.gizmo()->setSnapRotationToAxis(true);
    // Records the gizmo's own orientation when the end is told.
    struct Watcher : ek3DManipulatorMotionListener {
        void onManipulatorMotion(ekGizmoNode*) override {}
        void onRotateManipulatorEnd(const ekGenericTransformation<float>&) override
        {
            seen = gizmo->getLocalTransform().GetRotate();
        }
        const ekGizmoNode* gizmo = nullptr;
        Mat3 seen;
    } watcher;
    watcher.gizmo = scene.gizmo();
    ekGizmoControllerRotate drag;
    drag.install3DManipulatorMotionListener(&watcher);
    RotateDrag r{scene, drag};
    ASSERT_TRUE(r.hover(r.circle(45.0f)));
    r.press(r.circle(45.0f));
    // released without a move: the release itself turns by 5 degrees
    r.release(r.circle(52.0f));
    expectNear(matrixOf(object), rotationZ(17.0f));
    // the gizmo's X axis at azimuth 12 degrees snaps to 10, Z stays X cross Y
    expectNear(scene.gizmo()->getLocalTransform().GetRotate(), rotationZ(10.0f));
    expectNear(watcher.seen, rotationZ(10.0f));
}

TEST(RotateDrag, CopiesWorkAfterTheOriginalIsGone)
{
    SlantedPair pair;
    auto original = std::make_unique<ekGizmoControllerRotate>();
    ASSERT_TRUE((RotateDrag{pair.scene, *original}.hover(pair.scene.at({0.6f, 0.8f, 0.0f}))));
    ekGizmoControllerRotate copied(*original);
    ekGizmoControllerRotate assigned;
    assigned = *original;
    original.reset();
    for (ekGizmoControllerRotate* drag : {&copied, &assigned}) {
        RotateDrag r{pair.scene, *drag};
        r.press(r.circle(45.0f));
        r.move(r.circle(53.0f));
        pair.expectTurned(10.0f);
        r.release(r.circle(45.0f));
        pair.expectTurned(0.0f);
    }
}
