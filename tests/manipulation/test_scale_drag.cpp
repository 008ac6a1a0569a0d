#include "dragScene.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <gtest/gtest.h>

using namespace ek;
using namespace ek::test;

namespace {

Mat3 diagonal(float x, float y, float z) { return Mat3::Diagonal({x, y, z}); }

// A scale drag pressed on the tip of the X handle of scene's gizmo.
struct ScaleDrag : ekGizmoControllerScale {
    explicit ScaleDrag(DragScene& s) : scene(s), tip(s.at({1.0f, 0.0f, 0.0f})), handle(tip - s.at(Vec3::ZERO))
    {
        install3DManipulatorMotionListener(&recorder);
        updateScaleHover(s.gizmo(), s.camera(), tip, kPickTolerance, kWidth, kHeight);
        setMouseScalePressed(s.gizmo(), s.camera(), tip);
        EXPECT_EQ(getSelectedAxis(), 0);
    }
    // To handle lengths out from the tip on screen (negative inwards), plus offset.
    void move(float lengths, const Vec2& offset = Vec2::ZERO)
    {
        setMouseScalePos(scene.gizmo(), scene.camera(), tip + handle * lengths + offset);
    }

    Recorder recorder{"r"};
    DragScene& scene;
    Vec2 tip;
    Vec2 handle;
};

} // namespace

TEST(ScaleDrag, FactorFollowsTheHandleLength)
{
    // orthographic, the gizmo to the right so that nine handle lengths fit in the view
    DragScene scene(false);
    ekNode* a = scene.addObject({3.0f, 0.0f, 0.0f});
    ekNode* b = scene.addObject({1.0f, 0.5f, 0.0f});
    scene.use(ekGizmoNode::SCALE, {a, b});
    ScaleDrag drag(scene);
    const auto expectScale = [&](float x, float y, float z) {
        expectNear(matrixOf(a), diagonal(x, y, z));
        expectNear(matrixOf(b), diagonal(x, y, z));
        // each object keeps its own position
        expectNear(positionOf(a), {3.0f, 0.0f, 0.0f});
        expectNear(positionOf(b), {1.0f, 0.5f, 0.0f});
    };
    // one handle length outwards doubles, along X only
    drag.move(1.0f);
    expectScale(2.0f, 1.0f, 1.0f);
    // half a length gives 1.5; only the cursor's projection onto the axis counts
    drag.move(0.5f, pixels(0.0f, 25.0f));
    expectScale(1.5f, 1.0f, 1.0f);
    // inwards one length halves, nine give a tenth
    drag.move(-1.0f);
    expectScale(0.5f, 1.0f, 1.0f);
    drag.move(-9.0f);
    expectScale(0.1f, 1.0f, 1.0f);
    // uniform: all three axes alike; outside the view: ignored
    scene.gizmo()->setUseUniformScale(true);
    drag.move(0.5f);
    drag.move(0.5f, pixels(1000.0f, 0.0f));
    expectScale(1.5f, 1.5f, 1.5f);
    // release on the press point: factor 1, and the scale's own end pairs its start
    drag.setMouseScaleReleased(scene.gizmo(), scene.camera(), drag.tip);
    expectScale(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(drag.getSelectedAxis(), -1);
    EXPECT_EQ(drag.recorder.own, (std::vector<std::string>{"r:sStart", "r:sEnd"}));
    expectNear(drag.recorder.lastDelta.ApplyForward({1.0f, 2.0f, 3.0f}, true), {1.0f, 2.0f, 3.0f});
}

TEST(ScaleDrag, ScalesAlongTheWorldAxisInPerspective)
{
    // a turned object turns its gizmo; the scale still applies along world X
    DragScene scene;
    scene.look({2.0f, 3.0f, 10.0f}, Vec3::ZERO);
    ekNode* object = scene.addObject({0.5f, 0.0f, 0.0f});
    object->editLocalTransform(true).SetRotate(rotationZ(30.0f));
    scene.use(ekGizmoNode::SCALE, {object}, rotationZ(30.0f));
    ScaleDrag drag(scene);
    // the cursor on the image of the world point one handle length past the tip
    const ekGenericTransformation<float>& gizmo = scene.gizmo()->getWorldTransform();
    const Vec3 tip = gizmo.ApplyForward({1.0f, 0.0f, 0.0f}, true);
    drag.setMouseScalePos(scene.gizmo(), scene.camera(),
                          scene.screenOf(tip * 2.0f - gizmo.GetTranslate()));
    const Mat3 doubled = diagonal(2.0f, 1.0f, 1.0f) * rotationZ(30.0f);
    expectNear(matrixOf(object), doubled);
    expectNear(positionOf(object), {0.5f, 0.0f, 0.0f});
    // the gizmo's X axis collapses: a handle of length 0 measures no factor
    scene.collapse(gizmo.GetMatrix().TimesDiagonal({0.0f, 1.0f, 1.0f}));
    drag.move(3.0f);
    expectNear(matrixOf(object), doubled);
}
