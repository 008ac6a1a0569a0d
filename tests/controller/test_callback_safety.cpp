#include "ekControllerFixture.h"

#include <ekSceneGraph/ekObject.h>

#include <memory>
#include <string>

namespace ek::test {
namespace {

// What one listener heard, in order, e.g. "tT".
std::string heardBy(const std::vector<Heard>& heard, int listener)
{
    std::string kinds;
    for (const Heard& h : heard) {
        if (h.listener == listener && h.kind != 'M') { kinds += h.kind; }
    }
    return kinds;
}

class CallbackSafety : public ControllerTest, public ::testing::WithParamInterface<ekGizmoNode::GizmoMode> {
protected:
    // A pixel on the X handle of g (its ring under ROTATE).
    Pixel handleOf(const ekGizmoNode& g) const
    {
        return g.getMode() == ekGizmoNode::ROTATE ? circlePixel(g, 45.0f) : axisPixel(g, 0, 0.8f);
    }
    // The start and end a listener hears for a drag of mode.
    static std::string pair(ekGizmoNode::GizmoMode mode)
    {
        return mode == ekGizmoNode::TRANSLATE ? "tT" : mode == ekGizmoNode::ROTATE ? "rR" : "sS";
    }
};

TEST_P(CallbackSafety, CancelFromAStartNotificationTellsEveryoneStartThenEnd)
{
    setUpArrow(GetParam());
    EventLog second{heard, 1};
    controller.install3DManipulatorMotionListener(&second);
    const ekGenericTransformation<float> before = object->getLocalTransform();
    // the first listener refuses the drag (a locked object) as soon as it starts
    bool cancelled = false;
    log.then = [&](const Heard& h) {
        if (h.kind == pair(GetParam())[0]) { cancelled = controller.cancelDrag(); }
    };
    const Pixel on = handleOf(*gizmo);
    dragged(on, shifted(on, 25), false);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(heardBy(heard, 0), pair(GetParam()));
    EXPECT_EQ(heardBy(heard, 1), pair(GetParam()));
    EXPECT_FALSE(controller.isDragging());
    EXPECT_EQ(object->getLocalTransform(), before);
    // the rest of the gesture moves nothing and ends nothing
    heard.clear();
    moved(shifted(on, 40));
    released(shifted(on, 40));
    EXPECT_EQ(heardBy(heard, 0) + heardBy(heard, 1), "");
    EXPECT_EQ(object->getLocalTransform(), before);
    controller.uninstall3DManipulatorMotionListener(&second);
}

TEST_P(CallbackSafety, CancelWhoseEndDetachesTheGizmoLeavesNothingDangling)
{
    setUpArrow(GetParam());
    const Pixel on = handleOf(*gizmo);
    dragged(on, shifted(on, 25), false);
    ASSERT_TRUE(controller.isDragging());
    // the scene holds the gizmo's last count: its end notification frees it
    log.then = [&](const Heard& h) {
        if (h.kind == pair(GetParam())[1]) { scene.root().detachChild(gizmo); }
    };
    EXPECT_TRUE(controller.cancelDrag());
    EXPECT_TRUE(controller.get3DManipulators().empty());
    EXPECT_FALSE(controller.isDragging());
    EXPECT_EQ(controller.getActiveAxis(), -1);
    // what follows touches no freed gizmo (the sanitizers watch)
    log.then = nullptr;
    heard.clear();
    moved(shifted(on, 40));
    released(shifted(on, 40));
    frame();
    EXPECT_EQ(kindsOf(heard), "");
}

TEST_P(CallbackSafety, ListenersThatDeleteOrReparentMidNotificationLeaveValidLists)
{
    setUpArrow(GetParam());
    EventLog second{heard, 1};
    controller.install3DManipulatorMotionListener(&second);
    ekGizmoNode* extra = scene.addGizmo(GetParam(), {object});
    frame();
    // at the start: detach another gizmo, add a new one and drop the dragged
    // object from the list; at motion: detach the dragged gizmo
    log.then = [&](const Heard& h) {
        if (h.kind == pair(GetParam())[0]) {
            scene.root().detachChild(extra);
            scene.addGizmo(ekGizmoNode::TRANSLATE, {object});
            gizmo->setReferenceObjects({});
        } else if (h.kind == 'M') {
            scene.root().detachChild(h.gizmo);
        }
    };
    const Pixel on = handleOf(*gizmo);
    dragged(on, shifted(on, 25));
    EXPECT_EQ(heardBy(heard, 0), pair(GetParam()));
    EXPECT_EQ(heardBy(heard, 1), pair(GetParam()));
    EXPECT_EQ(controller.get3DManipulators().size(), 1u);
    EXPECT_FALSE(controller.isDragging());
    controller.uninstall3DManipulatorMotionListener(&second);
}

TEST_P(CallbackSafety, AnEndToldBecauseTheGizmoLeftMayDeleteAnother)
{
    setUpArrow(GetParam());
    ekGizmoNode* other = scene.addGizmo(ekGizmoNode::TRANSLATE, {object});
    frame();
    const Pixel on = handleOf(*gizmo);
    dragged(on, shifted(on, 25), false);
    // the dragged gizmo leaves between two frames; the end that this tells
    // deletes the other gizmo (the scene held its last count)
    scene.root().detachChild(gizmo);
    log.then = [&](const Heard& h) {
        if (h.kind == pair(GetParam())[1]) { scene.root().detachChild(other); }
    };
    press({5, 5});
    EXPECT_TRUE(controller.get3DManipulators().empty());
    released({5, 5});
    EXPECT_EQ(heardBy(heard, 0), pair(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Modes, CallbackSafety,
                         ::testing::Values(ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE));

TEST_F(ControllerTest, ReplayedPressFollowsItsAnswer)
{
    // before the first frame nothing is laid out: the press answers false and
    // its replay starts nothing, although the gizmo is then laid out under it
    object = scene.addObject({0.0f, 0.0f, 0.0f});
    gizmo = scene.addGizmo(ekGizmoNode::TRANSLATE, {object});
    // the gizmo's centre, on its arrows once it is laid out
    const Pixel early = scene.pixelOf({0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(press(early));
    frame();
    EXPECT_FALSE(controller.isDragging());
    released(early);
    EXPECT_EQ(kindsOf(heard), "");
    EXPECT_TRUE(controller.setMousePressed(&scene.camera(), early.x, early.y, kWidth, kHeight));
    controller.clearControllerEvents();

    // the host moves the object between the press and the frame: the drag
    // starts on the arrow the user pressed, as it was shown
    frame();
    grip = axisPixel(*gizmo, 0, 0.8f);
    EXPECT_TRUE(press(grip));
    object->editLocalTransform(true).SetTranslate({0.0f, 2.0f, 0.0f});
    scene.root().UpdateGS();
    frame();
    EXPECT_TRUE(controller.isDragging());
    EXPECT_EQ(controller.getActiveAxis(), 0);
    released(grip);
    EXPECT_EQ(kindsOf(heard), "tMTM");

    // the host moves the object under the cursor after a press beside it:
    // nothing starts, so the host alone acts on that press
    heard.clear();
    frame();
    ASSERT_NE(axisPixel(*gizmo, 0, 0.8f).y, grip.y);
    EXPECT_FALSE(press(grip));
    object->editLocalTransform(true).SetTranslate({0.0f, 0.0f, 0.0f});
    scene.root().UpdateGS();
    frame();
    EXPECT_EQ(axisPixel(*gizmo, 0, 0.8f).y, grip.y);
    EXPECT_FALSE(controller.isDragging());
    released(grip);
    EXPECT_EQ(kindsOf(heard), "");
}

} // namespace
} // namespace ek::test
