// What the hover tests of the three drag kinds do to a gizmo's lines and which handles
// they offer.
#include "dragScene.h"
#include "ekTestPrinters.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

using namespace ek;
using namespace ek::test;

namespace {

// Far from every handle of a gizmo at the centre of the view.
const Vec2 kAway(0.05f, 0.05f);

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

INSTANTIATE_TEST_SUITE_P(EachMode, HoverTest,
                         ::testing::Values(ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE));

} // namespace
