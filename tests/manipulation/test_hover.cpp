// What the hover tests of the three drag kinds do to a gizmo's lines and which handles
// they offer.
#include "dragScene.h"
#include "ekTestPrinters.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace ek;
using namespace ek::test;

namespace {

// Far from every handle of a gizmo at the centre of the view.
const Vec2 kAway(0.05f, 0.05f);
// Pixels: a third of the gizmo's 60-pixel size.
constexpr float kFadeThreshold = 20.0f;

ekLine& lineOf(const DragScene& scene, int child)
{
    return static_cast<ekLine&>(*scene.gizmo()->getChild(child));
}

// The hover of one drag kind, with the drag object it needs.
struct Hover {
    ekGizmoControllerTranslate translate;
    ekGizmoControllerScale scale;
    ekGizmoControllerRotate rotate;

    bool at(DragScene& scene, const Vec2& pos)
    {
        ekGizmoNode* gizmo = scene.gizmo();
        switch (gizmo->getMode()) {
        case ekGizmoNode::ROTATE:
            return rotate.updateRotateHover(gizmo, scene.camera(), pos, kPickTolerance, kWidth, kHeight);
        case ekGizmoNode::SCALE:
            return scale.updateScaleHover(gizmo, scene.camera(), pos, kPickTolerance, kWidth, kHeight);
        default:
            return translate.updateTranslateHover(gizmo, scene.camera(), pos, kPickTolerance, kWidth, kHeight);
        }
    }
};

// The first line of the X handle: translate shaft, rotate circle, scale shaft.
int firstLineOfX(ekGizmoNode::GizmoMode mode)
{
    return mode == ekGizmoNode::ROTATE ? 6 : mode == ekGizmoNode::SCALE ? 15 : 0;
}

class HoverTest : public ::testing::TestWithParam<ekGizmoNode::GizmoMode> {
protected:
    void SetUp() override { scene.use(GetParam(), {scene.addObject(Vec3::ZERO)}); }

    DragScene scene;
    Hover hover;
};

// A hover that finds no handle gives every handle its default colour back, also one
// the host recoloured after the last reset.
TEST_P(HoverTest, MissRestoresALineTheHostRecoloured)
{
    ekLine& line = lineOf(scene, firstLineOfX(GetParam()));
    ASSERT_FALSE(hover.at(scene, kAway));
    const Wm4::ColorRGBA colour = line.getColor();
    line.setColor(Wm4::ColorRGBA(0.0f, 0.0f, 0.0f, 1.0f));
    ASSERT_FALSE(hover.at(scene, kAway));
    EXPECT_EQ(line.getColor(), colour);
}

// Where a handle that fades for the camera lies: the Z arrow and Z scale handle, which
// point nearly at the eye, and the X circle, seen edge-on; and the axis they belong to.
struct FadingHandle {
    Vec3 eye;
    Vec3 grip; // in the gizmo's own frame
    int axis;
};

FadingHandle fadingHandle(ekGizmoNode::GizmoMode mode)
{
    const float half = std::sqrt(0.5f);
    return mode == ekGizmoNode::ROTATE ? FadingHandle{{0.0f, 0.0f, 10.0f}, {0.0f, half, half}, 0}
                                       : FadingHandle{{2.0f, 2.0f, 10.0f}, {0.0f, 0.0f, 0.9f}, 2};
}

// A faded handle is neither offered by the hover nor answered by the press test, and a
// press on it starts nothing; with fading off the same cursor grabs it.
TEST_P(HoverTest, AFadedHandleCannotBePicked)
{
    const ekGizmoNode::GizmoMode mode = GetParam();
    const FadingHandle handle = fadingHandle(mode);
    scene.look(handle.eye, Vec3::ZERO);
    scene.use(mode, {scene.gizmo()->getReferenceObjects()});
    const Vec2 grip = scene.at(handle.grip);
    const auto selected = [&] {
        return mode == ekGizmoNode::ROTATE ? hover.rotate.getSelectedAxis()
               : mode == ekGizmoNode::SCALE ? hover.scale.getSelectedAxis()
                                            : hover.translate.getSelectedAxis();
    };
    const auto isOver = [&] {
        const ekGizmoNode* gizmo = scene.gizmo();
        return mode == ekGizmoNode::ROTATE
                   ? hover.rotate.isOver(gizmo, scene.camera(), grip, kPickTolerance, kWidth, kHeight)
                   : hover.translate.isOver(gizmo, scene.camera(), grip, kPickTolerance, kWidth, kHeight);
    };
    // fading off: the handle is under the cursor
    ASSERT_TRUE(hover.at(scene, grip));
    ASSERT_EQ(selected(), handle.axis);
    ASSERT_TRUE(isOver());
    // faded: nothing offered, the press test says no, a press starts no drag
    scene.gizmo()->setFadeThreshold(kFadeThreshold);
    scene.use(mode, {scene.gizmo()->getReferenceObjects()});
    ASSERT_NE(scene.gizmo()->getFadedHandles(mode) & (1 << handle.axis), 0);
    EXPECT_FALSE(hover.at(scene, grip));
    EXPECT_EQ(selected(), -1);
    EXPECT_FALSE(isOver());
    Recorder recorder("r");
    hover.translate.install3DManipulatorMotionListener(&recorder);
    hover.scale.install3DManipulatorMotionListener(&recorder);
    hover.rotate.install3DManipulatorMotionListener(&recorder);
    if (mode == ekGizmoNode::ROTATE) {
        hover.rotate.setMousePressed(scene.gizmo(), scene.camera(), grip, kWidth, kHeight);
    } else if (mode == ekGizmoNode::SCALE) {
        hover.scale.setMouseScalePressed(scene.gizmo(), scene.camera(), grip);
    } else {
        hover.translate.setMousePressed(scene.gizmo(), scene.camera(), grip);
    }
    EXPECT_TRUE(recorder.own.empty());
}

INSTANTIATE_TEST_SUITE_P(EachMode, HoverTest,
                         ::testing::Values(ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE));

} // namespace
