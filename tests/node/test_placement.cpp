#include <ek3DManipulation/ekGizmoNode.h>

#include "ekUnitAxes.h"
#include "ekMatrixUtils.h"

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace ek;
using Transform = ekGenericTransformation<float>;
using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

// Float error of a projected axis length, in pixels.
constexpr float kPixelTolerance = 0.01f;
// Float error of coordinates and scales of magnitude up to about 20.
constexpr float kTolerance = 1e-5f;

void expectNear(const Vec3& expected, const Vec3& actual)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(expected[i], actual[i], kTolerance) << "component " << i;
    }
}

Transform frameOf(const Mat3& rotation, const Vec3& translation)
{
    Transform frame;
    frame.SetRotate(rotation);
    frame.SetTranslate(translation);
    return frame;
}

bool transformDirty(const ekSpatial& spatial)
{
    return (spatial.getDirtyFlags(0) & DIRTY_TRANSFORM) != 0;
}

struct ExposedGizmoNode : ekGizmoNode {
    using ekGizmoNode::getBestScale;
};

TEST(GizmoPlacement, AxisCoversExpectedPixelsOnScreen)
{
    const int width = 800, height = 600;
    for (bool perspective : {true, false}) {
        ekCamera camera;
        camera.setPerspective(perspective);
        camera.setFrustum(-8.0f, 8.0f, -6.0f, 6.0f, 0.5f, 1000.0f); // square pixels
        ASSERT_TRUE(camera.lookAt(Vec3(2, 3, 4), Vec3(-1, 0.5f, -20), Vec3::UNIT_Y));
        // gizmo X and Y along the camera's right and up, across the line of sight
        const Vec3 &right = camera.getRVector(), &up = camera.getUVector();
        const Mat3 facing(right, up, right.Cross(up), true);
        for (float depth : {1.5f, 10.0f, 80.0f, 400.0f}) {
            const Vec3 at = camera.getLocation() + camera.getDVector() * depth + right * 0.5f;
            ekGizmoNode gizmo;
            gizmo.calculateFrameFromObjectWorldTranform(frameOf(facing, at), &camera, 60.0f,
                                                        height);
            gizmo.UpdateGS();
            const Transform& world = gizmo.getWorldTransform();
            Wm4::Vector2<float> origin, tip;
            ASSERT_TRUE(camera.project(world.GetTranslate(), origin));
            for (int axis = 0; axis < 2; ++axis) {
                ASSERT_TRUE(camera.project(world.ApplyForward(unitAxis(axis)), tip));
                const Wm4::Vector2<float> d = tip - origin;
                EXPECT_NEAR(60.0f, std::hypot(d.X() * width, d.Y() * height), kPixelTolerance)
                    << "perspective " << perspective << " depth " << depth << " axis " << axis;
            }
        }
    }
}

TEST(GizmoPlacement, ScaleFollowsCameraAndDepth)
{
    ekCamera camera;
    // orthographic, u1 - u0 = 2, height 800: the same everywhere
    auto scaleAt = [&camera](const Vec3& p, int height) {
        return ekGizmoNode::ComputeGizmoScale(&camera, p, 60.0f, height);
    };
    camera.setPerspective(false);
    for (const Vec3& p : {Vec3(0, 0, -5), Vec3(3, -2, -700), Vec3(0, 0, 50)}) {
        EXPECT_NEAR(0.15f, scaleAt(p, 800), kTolerance);
    }
    // perspective, near 1, u1 - u0 = 0.5, height 500: 10 and 20 ahead, 10 behind
    camera.setPerspective(true);
    camera.setFrustum(-0.25f, 0.25f, -0.25f, 0.25f, 1.0f, 1000.0f);
    EXPECT_NEAR(0.6f, scaleAt(Vec3(0, 0, -10), 500), kTolerance);
    EXPECT_NEAR(1.2f, scaleAt(Vec3(4, -3, -20), 500), kTolerance);
    EXPECT_NEAR(-0.6f, scaleAt(Vec3(0, 0, 10), 500), kTolerance);
    // through the near plane at the node's bound centre: the same, straight ahead or off axis
    for (const Vec3& p : {Vec3(0, 0, -12), Vec3(3, 2, -9)}) {
        ExposedGizmoNode gizmo;
        gizmo.editLocalTransform(true).SetTranslate(p);
        gizmo.UpdateGS();
        EXPECT_NEAR(scaleAt(gizmo.getWorldBound().getCenter(), 500),
                    gizmo.getBestScale(&camera, 60.0f, 500), kTolerance);
    }
}

TEST(GizmoPlacement, FrameKinds)
{
    ekCamera camera;
    camera.setPerspective(false);
    const float s = ekGizmoNode::ComputeGizmoScale(&camera, Vec3::ZERO, 60.0f, 800);
    const Mat3 rotation = eulerToMatrix(0.3f, -0.2f, 1.1f);
    const Vec3 at(1, -2, 3);
    auto place = [&camera](const Transform& frame, float pixels = 60.0f) {
        ekGizmoNode gizmo;
        gizmo.calculateFrameFromObjectWorldTranform(frame, &camera, pixels, 800);
        return gizmo.getLocalTransform();
    };
    // identity frame: only the uniform scale
    Transform t = place(Transform());
    EXPECT_TRUE(t.IsUniformScale() && t.GetRotate() == Mat3::IDENTITY);
    EXPECT_EQ(Vec3::ZERO, t.GetTranslate());
    EXPECT_NEAR(s, t.GetUniformScale(), kTolerance);
    // zero translation, rotated: the rotation is taken, the translation stays zero
    t = place(frameOf(rotation, Vec3::ZERO));
    EXPECT_TRUE(t.GetRotate() == rotation && t.GetTranslate() == Vec3::ZERO);
    // rotation-scale frame: its own scale gives way to the screen scale
    Transform frame = frameOf(rotation, at);
    frame.SetScale(Vec3(5, 6, 7));
    t = place(frame);
    EXPECT_TRUE(t.GetRotate() == rotation && t.GetTranslate() == at && t.IsUniformScale());
    // general matrix that is a rotation once normalised: its rotation part
    frame.SetMatrix(rotation.TimesDiagonal(Vec3(2, 3, 4)));
    t = place(frame);
    EXPECT_TRUE(t.IsRSMatrix() && t.IsUniformScale());
    for (int col = 0; col < 3; ++col) {
        expectNear(rotation.GetColumn(col), t.GetRotate().GetColumn(col));
    }
    // general matrix that is no rotation (a reflection): unit axes times s
    frame.SetMatrix(Mat3::Diagonal(Vec3(2, 3, -4)));
    t = place(frame);
    EXPECT_FALSE(t.IsRSMatrix());
    EXPECT_EQ(Mat3::Diagonal(Vec3(s, s, -s)), t.GetMatrix());
    // a scale of exactly 1 (400 pixels), an exact identity rotation part: nothing written
    frame.SetMatrix(Mat3::Diagonal(Vec3(2, 3, 4)));
    frame.SetTranslate(Vec3::ZERO);
    EXPECT_TRUE(place(Transform(), 400.0f).IsIdentity());
    EXPECT_TRUE(place(frame, 400.0f).IsIdentity());
}

TEST(GizmoPlacement, FrameThroughParentWrittenOnlyWhenNeeded)
{
    ekCamera camera;
    ekPointer<ekNode> parent(new ekNode);
    parent->editLocalTransform(true) = frameOf(eulerToMatrix(0.5f, 0.2f, -0.7f), Vec3(10, -2, 3));
    parent->editLocalTransform(true).SetUniformScale(2.0f);
    ekPointer<ekGizmoNode> gizmo(new ekGizmoNode);
    parent->attachChild(gizmo);
    parent->UpdateGS();
    const Mat3 rotation = eulerToMatrix(-0.4f, 0.9f, 0.1f);
    const Transform frame = frameOf(rotation, Vec3(1, 2, -15));
    const float s = ekGizmoNode::ComputeGizmoScale(&camera, frame.GetTranslate(), 60.0f, 500);
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 500);
    EXPECT_TRUE(transformDirty(*gizmo));
    parent->UpdateGS();
    // in the world the gizmo stands as the frame says, whatever the parent
    const Transform& world = gizmo->getWorldTransform();
    expectNear(frame.GetTranslate(), world.GetTranslate());
    for (int axis = 0; axis < 3; ++axis) {
        const Vec3 drawnAxis = world.ApplyForward(unitAxis(axis)) - world.GetTranslate();
        expectNear(rotation.GetColumn(axis) * s, drawnAxis);
    }
    // the same frame again writes nothing
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 500);
    EXPECT_FALSE(transformDirty(*gizmo));
    // a viewport height of 0, or a near distance of 0, keeps the placement as it was
    const Transform before = gizmo->getLocalTransform();
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 0);
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 0.0f, 1000.0f);
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 500);
    EXPECT_FALSE(transformDirty(*gizmo));
    EXPECT_TRUE(before == gizmo->getLocalTransform());
    // a finite scale that overflows through the parent's inverse keeps the placement too
    ekPointer<ekNode> squashed(new ekNode);
    squashed->editLocalTransform(true).SetScale(Vec3(1, 2, 0.5f));
    ekPointer<ekGizmoNode> inside(new ekGizmoNode);
    squashed->attachChild(inside);
    squashed->UpdateGS();
    ekCamera huge;
    huge.setPerspective(false);
    huge.setFrustum(-1e38f, 1e38f, -1e38f, 1e38f, 1e-3f, 200.0f); // 60 pixels: 2e38
    inside->calculateFrameFromObjectWorldTranform(frameOf(Mat3::IDENTITY, Vec3(1, 2, -15)), &huge,
                                                  60.0f, 60);
    EXPECT_TRUE(inside->getLocalTransform().IsIdentity());
    // so does a gizmo larger than 1e30 world units, which any scale of its parent could overflow
    ekGizmoNode loose;
    huge.setFrustum(-1e34f, 1e34f, -1e34f, 1e34f, 1e-3f, 200.0f);
    loose.calculateFrameFromObjectWorldTranform(Transform(), &huge, 60.0f, 60);
    EXPECT_TRUE(loose.getLocalTransform().IsIdentity());
    // behind the camera the scale is negative, and applied
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 1.0f, 1000.0f);
    gizmo->calculateFrameFromObjectWorldTranform(frameOf(Mat3::IDENTITY, Vec3(0, 0, 10)), &camera,
                                                 60.0f, 500);
    EXPECT_TRUE(transformDirty(*gizmo));
    parent->UpdateGS();
    expectNear(Vec3(-2.4f, 0, 0), world.ApplyForward(Vec3::UNIT_X) - world.GetTranslate());
}

TEST(GizmoReferences, CentreAndOrientation)
{
    ekGizmoNode gizmo;
    ekPointer<ekNode> objects[3] = {new ekNode, new ekNode, new ekNode};
    const Vec3 positions[3] = {Vec3(0, 0, 0), Vec3(3, 0, 0), Vec3(0, 3, 0)};
    for (int i = 0; i < 3; ++i) {
        objects[i]->editLocalTransform(true) = frameOf(eulerToMatrix(0.2f, 0.3f, 0), positions[i]);
        objects[i]->UpdateGS();
    }
    // no objects: zero and identity
    EXPECT_EQ(Vec3::ZERO, gizmo.getCenterReferences());
    EXPECT_EQ(Mat3::IDENTITY, gizmo.getOrientationReferences());
    // objects without geometry: the mean of their positions; several, however turned: identity
    gizmo.setReferenceObjects({objects[0], objects[1], objects[2]});
    expectNear(Vec3(1, 1, 0), gizmo.getCenterReferences());
    EXPECT_EQ(Mat3::IDENTITY, gizmo.getOrientationReferences());
    // a null entry counts in the divisor
    gizmo.editReferenceObjects().push_back(nullptr);
    expectNear(Vec3(0.75f, 0.75f, 0), gizmo.getCenterReferences());
    // an object with geometry counts by its bound centre, not its origin
    ekPointer<ekLine> line(new ekLine(2));
    line->setVertexPosition(0, Vec3(1, 0, 0));
    line->setVertexPosition(1, Vec3(3, 0, 0));
    line->editLocalTransform(true).SetTranslate(Vec3(0, 0, 5));
    line->UpdateGS();
    gizmo.setReferenceObject(line);
    expectNear(Vec3(2, 0, 5), gizmo.getCenterReferences());
    // one object: its world rotation; one null entry: identity
    gizmo.setReferenceObject(objects[1]);
    EXPECT_EQ(objects[1]->getWorldTransform().GetRotate(), gizmo.getOrientationReferences());
    gizmo.setReferenceObject(nullptr);
    EXPECT_EQ(Mat3::IDENTITY, gizmo.getOrientationReferences());
    // one object with a general matrix (turned, then stretched along world X): its axes,
    // orthonormal, X along its own X, not the stretched and sheared matrix
    ekGenericTransformation<float> stretch;
    stretch.SetScale(Vec3(3, 1, 1));
    ekGenericTransformation<float> general;
    general.Product(stretch, objects[0]->getWorldTransform());
    ASSERT_FALSE(general.IsRSMatrix());
    objects[0]->editLocalTransform(true) = general;
    objects[0]->UpdateGS();
    gizmo.setReferenceObject(objects[0]);
    const Mat3 axes = gizmo.getOrientationReferences();
    Vec3 objectX = general.GetMatrix().GetColumn(0);
    objectX.Normalize();
    expectNear(objectX, axes.GetColumn(0));
    expectNear(Vec3::ZERO, axes.TransposeTimes(axes).GetColumn(0) - Vec3::UNIT_X);
    expectNear(Vec3::ZERO, axes.TransposeTimes(axes).GetColumn(1) - Vec3::UNIT_Y);
    expectNear(axes.GetColumn(0).Cross(axes.GetColumn(1)), axes.GetColumn(2));
}

TEST(GizmoReferences, WorldTransformsFromStoredOnes)
{
    ekPointer<ekNode> parent(new ekNode), moved(new ekNode), below(new ekNode), loose(new ekNode),
        excluded(new ekNode);
    parent->attachChild(moved);
    moved->attachChild(below);
    parent->editLocalTransform(true) = frameOf(eulerToMatrix(0.1f, 0.7f, -0.3f), Vec3(4, 0, 1));
    parent->editLocalTransform(true).SetUniformScale(2.0f);
    moved->editLocalTransform(true).SetTranslate(Vec3(1, 0, 0));
    below->editLocalTransform(true).SetTranslate(Vec3(0, 1, 0));
    loose->editLocalTransform(true).SetTranslate(Vec3(0, 5, 0));
    excluded->setExcluded(true);
    for (ekNode* root : {parent.get(), loose.get(), excluded.get()}) {
        root->UpdateGS();
    }
    ekGizmoNode gizmo;
    gizmo.setReferenceObjects({moved, nullptr, loose, excluded});
    gizmo.storeOriginalTransform();
    const Transform start = moved->getWorldTransform();
    // a translation moves each object; its local transform and subtree agree
    Transform delta;
    delta.SetTranslate(Vec3(1, 2, 3));
    gizmo.setWorldTransform(delta, false, false);
    const Transform& world = moved->getWorldTransform();
    expectNear(start.GetTranslate() + Vec3(1, 2, 3), world.GetTranslate());
    Transform recomposed;
    recomposed.Product(parent->getWorldTransform(), moved->getLocalTransform());
    expectNear(world.ApplyForward(Vec3(1, 2, 3)), recomposed.ApplyForward(Vec3(1, 2, 3)));
    expectNear(world.ApplyForward(Vec3(0, 1, 0)), below->getWorldTransform().GetTranslate());
    expectNear(Vec3(1, 7, 3), loose->getWorldTransform().GetTranslate());
    // an excluded object stays
    EXPECT_TRUE(excluded->getLocalTransform().IsIdentity());
    EXPECT_TRUE(excluded->getWorldTransform().IsIdentity());
    // the identity restores the stored transforms: deltas do not add up
    gizmo.setWorldTransform(Transform(), true, false);
    EXPECT_TRUE(start == moved->getWorldTransform());
    // keepTranslation: a scale changes sizes, not positions
    delta.MakeIdentity();
    delta.SetUniformScale(3.0f);
    gizmo.setWorldTransform(delta, false, true);
    EXPECT_EQ(start.GetTranslate(), world.GetTranslate());
    EXPECT_NEAR(6.0f, world.ApplyForward(Vec3::UNIT_X, false).Length(), kTolerance);
    // a delta that is not finite writes nothing
    const Transform local = moved->getLocalTransform();
    delta.SetTranslate(Vec3(std::numeric_limits<float>::quiet_NaN(), 0, 0));
    gizmo.setWorldTransform(delta, false, false);
    EXPECT_TRUE(local == moved->getLocalTransform() && isFinite(world.GetTranslate()));
}

TEST(GizmoCameraFacing, ArrowheadsTurnToTheCamera)
{
    ekCamera camera;
    const Vec3 eye(4, 3, 6);
    ASSERT_TRUE(camera.lookAt(eye, Vec3::ZERO, Vec3::UNIT_Y));
    ekPointer<ekNode> parent(new ekNode);
    parent->editLocalTransform(true).SetRotate(eulerToMatrix(0.0f, 0.4f, 0.2f));
    ekPointer<ekGizmoNode> gizmo(new ekGizmoNode);
    parent->attachChild(gizmo);
    parent->UpdateGS();
    const Transform frame = frameOf(eulerToMatrix(0.3f, -0.6f, 0.9f), Vec3(0.5f, 0, -1));
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 600);
    parent->UpdateGS();
    gizmo->updateCameraFacing(&camera);
    parent->UpdateGS();
    ekSpatial* heads[3];
    Mat3 rotations[3];
    for (int axis = 0; axis < 3; ++axis) {
        heads[axis] = gizmo->getChild(2 * axis + 1); // shaft X, head X, shaft Y, head Y, ...
        rotations[axis] = heads[axis]->getLocalTransform().GetRotate();
        const Transform& world = heads[axis]->getWorldTransform();
        Vec3 along = world.GetTranslate() - gizmo->getWorldTransform().GetTranslate();
        Vec3 sight = world.GetTranslate() - eye, x = world.GetMatrix().GetColumn(0),
             y = world.GetMatrix().GetColumn(1), z = world.GetMatrix().GetColumn(2);
        for (Vec3* v : {&along, &sight, &x, &y, &z}) {
            safeNormalize(*v);
        }
        // the head points along its axis, its Y lies across the axis and the line of sight
        expectNear(along, x);
        EXPECT_NEAR(0.0f, y.Dot(along), kTolerance);
        EXPECT_NEAR(0.0f, y.Dot(sight), kTolerance);
        // the V faces the viewer as far as the axis allows
        EXPECT_NEAR(along.Cross(sight).Length(), std::fabs(z.Dot(sight)), kTolerance);
        heads[axis]->clearDirtyFlags(0, ~0u);
    }
    // nothing moved: nothing written
    gizmo->updateCameraFacing(&camera);
    for (const ekSpatial* head : heads) {
        EXPECT_FALSE(transformDirty(*head));
    }
    // the camera on the X arrowhead: that head keeps its rotation
    camera.setFrame(heads[0]->getWorldTransform().GetTranslate(), camera.getDVector(),
                    camera.getUVector(), camera.getRVector());
    gizmo->updateCameraFacing(&camera);
    EXPECT_EQ(rotations[0], heads[0]->getLocalTransform().GetRotate());
    // a gizmo of scale 0: every head keeps its rotation
    gizmo->editLocalTransform(true).SetUniformScale(0.0f);
    parent->UpdateGS();
    gizmo->updateCameraFacing(&camera);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_TRUE(isFinite(heads[axis]->getLocalTransform().GetRotate()));
    }
}

} // namespace
