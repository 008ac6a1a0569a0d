#include "ekControllerFixture.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace ek::test {
namespace {

const Wm4::Vector3<float> kAxisX(1.0f, 0.0f, 0.0f);
const Wm4::Vector3<float> kAxisY(0.0f, 1.0f, 0.0f);
const Wm4::Vector3<float> kAxisZ(0.0f, 0.0f, 1.0f);

Wm4::Matrix3<float> orientationOf(const ekGizmoNode& gizmo) { return gizmo.getWorldTransform().GetRotate(); }

// The camera's right, up and view direction as columns.
Wm4::Matrix3<float> cameraAxes(const ekCamera& camera)
{
    return {camera.getRVector(), camera.getUVector(), camera.getDVector(), true};
}

TEST_F(ControllerTest, LayoutFollowsTheOrientationReference)
{
    const Wm4::Matrix3<float> turned = rotation(kAxisZ, 30.0f);
    ekNode* object = scene.addObject({0.0f, 0.0f, 0.0f}, turned);
    ekNode* other = scene.addObject({2.0f, 0.0f, 0.0f}, rotation(kAxisX, 60.0f));
    ekGizmoNode* gizmo = scene.addGizmo(ekGizmoNode::TRANSLATE, {object});
    // LOCAL with one object: that object's axes
    frame();
    expectMatrixNear(orientationOf(*gizmo), turned);
    expectMatrixNear(controller.getCurrentOrientation(), turned);
    // LOCAL with two objects: the world axes, between them
    gizmo->setReferenceObjects({object, other});
    frame();
    expectMatrixNear(orientationOf(*gizmo), Wm4::Matrix3<float>::IDENTITY);
    EXPECT_NEAR(positionOf(*gizmo).X(), 1.0f, kWorldTolerance);
    // WORLD: the world axes
    gizmo->setReferenceObject(object);
    controller.setOrientationReference(ekGizmoController::WORLD);
    frame();
    expectMatrixNear(orientationOf(*gizmo), Wm4::Matrix3<float>::IDENTITY);
    // CUSTOM: the given matrix
    const Wm4::Matrix3<float> custom = rotation(kAxisY, 45.0f);
    controller.setOrientationReference(ekGizmoController::CUSTOM);
    controller.setCustomOrientationMatrix(custom);
    frame();
    expectMatrixNear(orientationOf(*gizmo), custom);
    // a custom matrix with NaN or infinity in it keeps the last placement, nothing poisoned
    controller.setCustomOrientationMatrix({std::numeric_limits<float>::quiet_NaN(), 0.0f, 0.0f, 0.0f,
                                           std::numeric_limits<float>::infinity(), 0.0f, 0.0f, 0.0f, 1.0f});
    frame();
    expectMatrixNear(orientationOf(*gizmo), custom);
    EXPECT_TRUE(std::isfinite(scene.root().getWorldBound().getRadius()));
}

TEST_F(ControllerTest, OrientationIsFrozenDuringADrag)
{
    const Wm4::Matrix3<float> first = rotation(kAxisZ, 20.0f);
    const Wm4::Matrix3<float> second = rotation(kAxisZ, -35.0f);
    controller.setOrientationReference(ekGizmoController::CUSTOM);
    controller.setCustomOrientationMatrix(first);
    setUpArrow();
    // Drags the X arrow by 5 pixels, runs between() with the drag under way (after one frame),
    // drags 5 more and checks that the orientation did not change; the release follows.
    auto dragAround = [&](auto between) {
        const Wm4::Matrix3<float> before = orientationOf(*gizmo);
        const Pixel from = axisPixel(*gizmo, 0, 0.8f);
        holdDrag(from, 5);
        between();
        moved(shifted(from, 10));
        expectMatrixNear(orientationOf(*gizmo), before);
        released(shifted(from, 10));
    };
    // a custom matrix set during a drag waits for its end
    dragAround([&] { controller.setCustomOrientationMatrix(second); });
    expectMatrixNear(orientationOf(*gizmo), second);
    // CAMERA: frozen while dragging, then following the moved camera
    controller.setOrientationReference(ekGizmoController::CAMERA);
    frame();
    expectMatrixNear(orientationOf(*gizmo), cameraAxes(scene.camera()));
    dragAround([&] { scene.camera().lookAt({3.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, kAxisY); });
    expectMatrixNear(orientationOf(*gizmo), cameraAxes(scene.camera()));
}

TEST_F(ControllerTest, DuringADragEveryGizmoTakesTheLastGizmosOrientation)
{
    const Wm4::Matrix3<float> leftAxes = rotation(kAxisZ, 30.0f);
    const Wm4::Matrix3<float> rightAxes = rotation(kAxisZ, -40.0f);
    ekGizmoNode* left = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({-3.0f, 0.0f, 0.0f}, leftAxes)});
    ekGizmoNode* right = scene.addGizmo(ekGizmoNode::TRANSLATE, {scene.addObject({3.0f, 0.0f, 0.0f}, rightAxes)});
    frame();
    // outside a drag each gizmo shows its own object's axes
    expectMatrixNear(orientationOf(*left), leftAxes);
    expectMatrixNear(orientationOf(*right), rightAxes);
    // while the left one is dragged both take the orientation laid out last: the right one's
    const Pixel from = axisPixel(*left, 0, 0.8f);
    dragged(from, shifted(from, 10), false);
    expectMatrixNear(orientationOf(*left), rightAxes);
    expectMatrixNear(orientationOf(*right), rightAxes);
    released(shifted(from, 10));
    expectMatrixNear(orientationOf(*left), leftAxes);
}

TEST_F(ControllerTest, GizmoListIsRebuiltOnlyOnAStructureChange)
{
    ekNode* leftGroup = scene.addObject({-3.0f, 0.0f, 0.0f});
    ekNode* rightGroup = scene.addObject({3.0f, 0.0f, 0.0f});
    ekGizmoNode* left = scene.addGizmo(ekGizmoNode::TRANSLATE, {leftGroup}, leftGroup);
    ekGizmoNode* right = scene.addGizmo(ekGizmoNode::TRANSLATE, {rightGroup}, rightGroup);
    frame();
    // the scene's gizmos in walk order, collected though never drawn themselves
    EXPECT_EQ(controller.get3DManipulators(), (std::vector<ekGizmoNode*>{left, right}));
    // nothing changed: a list edited by hand stays as it is
    controller.edit3DManipulators() = {right};
    frame();
    EXPECT_EQ(controller.get3DManipulators(), (std::vector<ekGizmoNode*>{right}));
    // a new root: the old list goes at once, so a gizmo deleted with the old root is never read
    controller.setRootNode(leftGroup);
    EXPECT_TRUE(controller.get3DManipulators().empty());
    scene.root().detachChild(rightGroup);
    EXPECT_FALSE(press({0, 0}));
    release({0, 0});
    // the list comes from the new root at the next frame, without excluded gizmos
    scene.addGizmo(ekGizmoNode::TRANSLATE, {leftGroup}, leftGroup)->setExcluded(true);
    frame();
    EXPECT_EQ(controller.get3DManipulators(), (std::vector<ekGizmoNode*>{left}));
}

// What a layout writes into each gizmo: its local transform and the turn of
// each arrowhead (children 1, 3 and 5).
std::vector<Wm4::Matrix3<float>> placementsOf(const std::vector<ekGizmoNode*>& gizmos)
{
    std::vector<Wm4::Matrix3<float>> out;
    for (const ekGizmoNode* g : gizmos) {
        const ekGenericTransformation<float>& local = g->getLocalTransform();
        out.push_back(local.GetMatrix());
        out.push_back({local.GetTranslate(), Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::ZERO, true});
        for (int head : {1, 3, 5}) {
            out.push_back(g->getChild(head)->getLocalTransform().GetRotate());
        }
    }
    return out;
}

// A view lays out only the gizmos whose inputs changed; after every kind of
// change its frame leaves each gizmo exactly as a copy of the controller,
// which remembers no earlier layout, lays it out afresh.
TEST_F(ControllerTest, LayoutsLeftOutAgreeWithFreshOnes)
{
    ekNode* moving = scene.addObject({1.0f, 0.0f, 0.0f});
    ekNode* parent = scene.addObject({0.0f, 2.0f, 0.0f});
    ekNode* child = scene.addObject({1.0f, 0.0f, 0.0f}, rotation(kAxisZ, 20.0f), parent);
    ekNode* spare = scene.addObject({-2.0f, 1.0f, 0.0f}, rotation(kAxisX, 30.0f));
    ekNode* gizmoParent = scene.addObject({0.0f, 0.0f, -1.0f});
    const std::vector<ekGizmoNode*> gizmos = {
        scene.addGizmo(ekGizmoNode::TRANSLATE, {moving}), scene.addGizmo(ekGizmoNode::TRANSLATE, {child}),
        scene.addGizmo(ekGizmoNode::ROTATE, {moving, spare}), scene.addGizmo(ekGizmoNode::NONE, {spare}),
        scene.addGizmo(ekGizmoNode::SCALE, {spare}, gizmoParent)};
    // a listener moves an object in a drag's end notification, after the replay read it
    log.then = [&](const Heard& h) {
        if (h.kind == 'T') { child->editLocalTransform(true).SetTranslate({0.5f, 0.5f, 0.0f}); }
    };
    const std::vector<std::function<void()>> changes = {
        [] {},
        [&] { moving->editLocalTransform(true).SetTranslate({1.5f, 0.5f, 0.0f}); },
        [&] { parent->editLocalTransform(true).SetRotate(rotation(kAxisY, 25.0f)); },
        [&] { gizmos[1]->editReferenceObjects()[0] = spare; },
        // gizmo 2 follows two objects: the second one moves
        [&] { spare->editLocalTransform(true).SetTranslate({-2.0f, 1.5f, 0.5f}); },
        [&] { gizmos[0]->setExpectedPixelSize(90.0f); },
        [&] { gizmos[3]->setMode(ekGizmoNode::TRANSLATE); },
        [&] { gizmoParent->editLocalTransform(true).SetUniformScale(2.0f); },
        [&] { scene.camera().lookAt({3.0f, 2.0f, 9.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}); },
        [&] { move({10, 10}); },
        [&] { gizmos[1]->editReferenceObjects()[0] = child; },
        [&] { gizmos[2]->editReferenceObjects()[1] = child; },
        // what a listener moves during a frame's replay shows at the next frame
        [&] { dragged(axisPixel(*gizmos[1], 0, 0.8f), axisPixel(*gizmos[1], 0, 1.2f)); },
        [&] { controller.setOrientationReference(ekGizmoController::CAMERA); },
        [&] { controller.setOrientationReference(ekGizmoController::CUSTOM); },
        [&] { controller.setCustomOrientationMatrix(rotation(kAxisX, 40.0f)); },
        [&] { scene.engine().setViewportSize(kWidth, kHeight / 2); },
        // a threshold above every handle's extent fades them all at once
        [&] { gizmos[0]->setFadeThreshold(1000.0f); },
    };
    const auto fadedOf = [&] {
        std::vector<int> faded;
        for (const ekGizmoNode* g : gizmos) { faded.push_back(g->getFadedAxes() | g->getFadedPlanes() << 3); }
        return faded;
    };
    for (std::size_t step = 0; step < changes.size(); ++step) {
        changes[step]();
        frame();
        const std::vector<Wm4::Matrix3<float>> laidOut = placementsOf(gizmos);
        const std::vector<int> faded = fadedOf();
        const Wm4::Matrix3<float> orientation = controller.getCurrentOrientation();
        ekGizmoController fresh(controller);
        scene.engine().addController(&fresh);
        frame();
        scene.engine().removeController(&fresh);
        EXPECT_TRUE(laidOut == placementsOf(gizmos)) << "after change " << step;
        EXPECT_EQ(faded, fadedOf()) << "after change " << step;
        EXPECT_TRUE(orientation == fresh.getCurrentOrientation()) << "after change " << step;
        // adding and removing a controller marks the scene changed: laid out
        // again here, so that the next change is the only one
        frame();
        frame();
    }
    EXPECT_EQ(kindsOf(heard).find('T') == std::string::npos, false);
}

TEST_F(ControllerTest, CopiesOwnTheirDragObjects)
{
    setUpArrow();
    std::vector<Heard> copyHeard;
    EventLog copyLog(copyHeard);
    // Drags once with a controller registered for one frame only.
    auto dragWith = [&](ekGizmoController& dragger) {
        dragger.setMousePressed(&scene.camera(), grip.x, grip.y, kWidth, kHeight);
        dragger.setMouseReleased(grip.x + 5, grip.y);
        scene.engine().addController(&dragger);
        frame();
        scene.engine().removeController(&dragger);
    };
    auto original = std::make_unique<ekGizmoController>();
    original->edit3DManipulators() = controller.get3DManipulators();
    original->install3DManipulatorMotionListener(&copyLog);
    ekGizmoController copy(*original);
    ekGizmoController assigned;
    assigned = copy;
    ekGizmoController& alias = assigned;
    assigned = alias; // self-assignment keeps everything
    EXPECT_EQ(assigned.get3DManipulators(), controller.get3DManipulators());
    // the copies share the listener, not the drags: uninstalling it from them leaves the original's
    EXPECT_TRUE(copy.uninstall3DManipulatorMotionListener(&copyLog));
    EXPECT_TRUE(assigned.uninstall3DManipulatorMotionListener(&copyLog));
    dragWith(*original);
    EXPECT_EQ(kindsOf(copyHeard), "tTM");
    // the original goes first; the copy still drags with drag objects of its own
    original.reset();
    copyHeard.clear();
    copy.install3DManipulatorMotionListener(&copyLog);
    dragWith(copy);
    EXPECT_EQ(kindsOf(copyHeard), "tTM");
}

} // namespace
} // namespace ek::test
