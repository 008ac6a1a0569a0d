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

// About 8 float epsilons (1.2e-7) of coordinates, scales and angles of magnitude up to 20.
constexpr float kTolerance = 2e-5f;
constexpr float kHalfPi = Wm4::Math<float>::HALF_PI;

void expectNear(const Vec3& expected, const Vec3& actual)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(expected[i], actual[i], kTolerance) << "component " << i;
    }
}

Transform frameOf(const Mat3& rotation, const Vec3& translation, float scale = 1.0f)
{
    Transform frame;
    frame.SetRotate(rotation);
    frame.SetTranslate(translation);
    if (scale != 1.0f) {
        frame.SetUniformScale(scale);
    }
    return frame;
}

bool transformDirty(const ekSpatial& spatial) { return (spatial.getDirtyFlags(0) & DIRTY_TRANSFORM) != 0; }

// Expects each column of the matrices to agree.
void expectColumnsNear(const Mat3& expected, const Mat3& actual)
{
    for (int col = 0; col < 3; ++col) {
        expectNear(expected.GetColumn(col), actual.GetColumn(col));
    }
}

// v turned by angle about one axis (0 X, 1 Y, 2 Z), right-handed.
Vec3 turn(const Vec3& v, int axis, float angle)
{
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    Vec3 r = v;
    r[a] = std::cos(angle) * v[a] - std::sin(angle) * v[b], r[b] = std::sin(angle) * v[a] + std::cos(angle) * v[b];
    return r;
}

Vec3 columnLengths(const Mat3& m)
{
    return Vec3(m.GetColumn(0).Length(), m.GetColumn(1).Length(), m.GetColumn(2).Length());
}

TEST(GizmoMatrixHelpers, NormaliseInvertAndRecogniseRotations)
{
    // zero, tiny, infinite and NaN vectors
    Vec3 v(1e-10f, 0.0f, 0.0f);
    EXPECT_TRUE(std::fabs(1e-10f - safeNormalize(v)) <= 1e-15f && v == Vec3::UNIT_X);
    for (Vec3 bad : {Vec3::ZERO, Vec3(std::numeric_limits<float>::infinity(), 1, 0), Vec3(std::nanf(""), 1, 0)}) {
        EXPECT_TRUE(safeNormalize(bad) == 0.0f && bad == Vec3::ZERO);
    }
    // inverse times matrix is the identity; a singular matrix has the zero inverse
    const Mat3 m(2, -1, 0.5f, 0.3f, 4, 1, -2, 0.7f, 3);
    expectColumnsNear(Mat3::IDENTITY, m * cofactorInverse(m));
    EXPECT_EQ(Mat3::ZERO, cofactorInverse(Mat3(1, 2, 3, 2, 4, 6, 0, 1, 5)));
    // rotation with scale or a tiny shear passes; a visible shear, a reflection or a degenerate column fails
    const Mat3 rotation = eulerToMatrix(0.4f, -1.2f, 2.5f);
    Mat3 n;
    EXPECT_TRUE(isRotationOnceNormalized(rotation.TimesDiagonal(Vec3(2, 3, 4)), n));
    expectNear(Vec3(1, 1, 1), columnLengths(n));
    EXPECT_TRUE(isRotationOnceNormalized(Mat3(1, 1e-4f, 0, 0, 1, 0, 0, 0, 1), n));
    for (const Mat3& bad : {Mat3(1, 0.01f, 0, 0, 1, 0, 0, 0, 1), rotation.TimesDiagonal(Vec3(1, 1, -1)),
                            rotation.TimesDiagonal(Vec3(1, 0, 1))}) {
        EXPECT_FALSE(isRotationOnceNormalized(bad, n));
    }
}

TEST(GizmoParameters, EulerAnglesRoundTrip)
{
    ekGizmoNode node;
    float x, y, z;
    // Z turns first, X last; the angles read back as set
    for (const Vec3& a : {Vec3(0.3f, -0.5f, 1.2f), Vec3(-2.9f, 1.4f, -0.1f), Vec3(3, -1.5f, 2)}) {
        const Vec3 p(0.2f, -0.7f, 1.3f);
        ASSERT_TRUE(node.setEulerAngle(a.X(), a.Y(), a.Z(), false) && node.getEulerAngle(x, y, z, false));
        expectNear(turn(turn(turn(p, 2, a.Z()), 1, a.Y()), 0, a.X()), node.getLocalTransform().ApplyForward(p));
        expectNear(a, Vec3(x, y, z));
    }
    // gimbal lock at y = +pi/2 and -pi/2: x carries x + z, or x - z
    for (float sign : {1.0f, -1.0f}) {
        ASSERT_TRUE(node.setEulerAngle(0.3f, sign * kHalfPi, 0.2f, false) && node.getEulerAngle(x, y, z, false));
        expectNear(Vec3(0.3f + sign * 0.2f, sign * kHalfPi, 0), Vec3(x, y, z));
    }
}

// Scale is reported and set only for a rotation-scale matrix; a general one that is a
// rotation once normalised keeps its column lengths; a shear takes only the translation.
TEST(GizmoParameters, ScaleAndMatrixKinds)
{
    ekGizmoNode node;
    Vec3 t, scale;
    float x = 9, y = 9, z = 9;
    bool uniform = false;
    // identity: everything neutral; a unit scale keeps it the identity
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION_SCALE, node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_TRUE(t == Vec3::ZERO && Vec3(x, y, z) == Vec3::ZERO && scale == Vec3::ONE && uniform);
    EXPECT_TRUE(node.setScale(Vec3::ONE, false) && node.getLocalTransform().IsIdentity());
    // equal components make a uniform scale, others a per-axis one; the axes grow by it
    for (const Vec3& s : {Vec3(2, 2, 2), Vec3(1, 2, 3)}) {
        ASSERT_TRUE(node.setScale(s, false) && node.getScale(scale, uniform, false));
        EXPECT_TRUE(s == scale && uniform == (s.X() == s.Z()));
        expectNear(s, columnLengths(node.getLocalTransform().GetMatrix()));
    }
    // all at once, read back
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION_SCALE,
              node.setAllParameters(Vec3(1, 2, 3), 0.1f, 0.2f, 0.3f, Vec3(4, 4, 4), false));
    node.getAllParameters(t, x, y, z, scale, uniform, false);
    EXPECT_TRUE(t == Vec3(1, 2, 3) && scale == Vec3(4, 4, 4) && uniform);
    expectNear(Vec3(0.1f, 0.2f, 0.3f), Vec3(x, y, z));
    // columns of lengths 2, 3, 4: turned, lengths kept, scale neither reported nor set
    scale = Vec3(7, 7, 7);
    node.editLocalTransform(true).SetMatrix(eulerToMatrix(1, 0.2f, -2).TimesDiagonal(Vec3(2, 3, 4)));
    ASSERT_TRUE(node.setEulerAngle(0.3f, -0.4f, 0.5f, false));
    expectNear(Vec3(2, 3, 4), columnLengths(node.getLocalTransform().GetMatrix()));
    EXPECT_FALSE(node.getScale(scale, uniform, false) || node.setScale(Vec3(5, 5, 5), false));
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION, node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_TRUE(scale == Vec3(7, 7, 7) && !uniform);
    expectNear(Vec3(0.3f, -0.4f, 0.5f), Vec3(x, y, z));
    // a shear: only the translation is handled, the matrix and the angles stay
    const Mat3 shear(1, 0.5f, 0, 0, 1, 0, 0, 0, 1);
    node.editLocalTransform(true).SetMatrix(shear);
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ONLY, node.setAllParameters(Vec3(4, 5, 6), 0.1f, 0.2f, 0.3f, Vec3::ONE, false));
    EXPECT_FALSE(node.setEulerAngle(0.1f, 0.2f, 0.3f, false));
    EXPECT_TRUE(Vec3(4, 5, 6) == node.getLocalTransform().GetTranslate()
                && shear == node.getLocalTransform().GetMatrix());
    x = y = z = 9;
    EXPECT_FALSE(node.getEulerAngle(x, y, z, false));
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ONLY, node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_EQ(Vec3(9, 9, 9), Vec3(x, y, z));
}

// World values go through the parent: a translated one, then a turned and scaled one.
TEST(GizmoParameters, WorldValuesThroughParent)
{
    ekPointer<ekNode> parent(new ekNode);
    ekPointer<ekGizmoNode> node(new ekGizmoNode);
    parent->attachChild(node);
    parent->editLocalTransform(true).SetTranslate(Vec3(10, 0, 0));
    parent->UpdateGS();
    node->setTranslation(Vec3(10, 5, 0), true);
    expectNear(Vec3(0, 5, 0), node->getLocalTransform().GetTranslate());
    parent->editLocalTransform(true) = frameOf(eulerToMatrix(0.7f, -0.2f, 0.4f), Vec3(10, 0, 0), 2.0f);
    parent->UpdateGS();
    node->setAllParameters(Vec3(-3, 2, 8), 0.5f, 0.6f, -0.9f, Vec3::ONE, true);
    parent->UpdateGS();
    float x, y, z;
    Vec3 t;
    ASSERT_TRUE(node->getEulerAngle(x, y, z, true));
    node->getTranslation(t, true);
    expectNear(Vec3(0.5f, 0.6f, -0.9f), Vec3(x, y, z));
    expectNear(Vec3(-3, 2, 8), t);
}

struct ExposedGizmoNode : ekGizmoNode {
    using ekGizmoNode::getBestScale;
};

TEST(GizmoPlacement, ScaleFollowsCameraAndDepth)
{
    ekCamera camera;
    // orthographic, u1 - u0 = 2, height 800: the same everywhere
    auto scaleAt = [&camera](const Vec3& p, int h) { return ekGizmoNode::ComputeGizmoScale(&camera, p, 60.0f, h); };
    camera.setPerspective(false);
    for (const Vec3& p : {Vec3(0, 0, -5), Vec3(3, -2, -700), Vec3(0, 0, 50)}) {
        EXPECT_NEAR(0.15f, scaleAt(p, 800), kTolerance);
    }
    // perspective, near 0.5 (not 1, so that the division by it shows), u1 - u0 = 0.25, height 500:
    // 60/500 * 0.25 / 0.5 = 0.06 per unit of depth; 10 and 20 ahead, 10 behind
    camera.setPerspective(true);
    camera.setFrustum(-0.375f, 0.375f, -0.125f, 0.125f, 0.5f, 1000.0f); // r1 - r0 = 0.75
    expectNear(Vec3(0.6f, 1.2f, -0.6f),
               Vec3(scaleAt(Vec3(0, 0, -10), 500), scaleAt(Vec3(4, -3, -20), 500), scaleAt(Vec3(0, 0, 10), 500)));
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
    EXPECT_TRUE(t.IsUniformScale() && t.GetRotate() == Mat3::IDENTITY && t.GetTranslate() == Vec3::ZERO);
    EXPECT_NEAR(s, t.GetUniformScale(), kTolerance);
    // rotation-scale frame: its own scale gives way to the screen scale
    Transform frame = frameOf(rotation, at);
    frame.SetScale(Vec3(5, 6, 7));
    t = place(frame);
    EXPECT_TRUE(t.GetRotate() == rotation && t.GetTranslate() == at && t.IsUniformScale());
    // general matrix that is a rotation once normalised: its rotation part
    frame.SetMatrix(rotation.TimesDiagonal(Vec3(2, 3, 4)));
    t = place(frame);
    EXPECT_TRUE(t.IsRSMatrix() && t.IsUniformScale());
    expectColumnsNear(rotation, t.GetRotate());
    // general matrix that is no rotation (a reflection): unit axes times s
    frame.SetMatrix(Mat3::Diagonal(Vec3(2, 3, -4)));
    t = place(frame);
    EXPECT_TRUE(!t.IsRSMatrix() && Mat3::Diagonal(Vec3(s, s, -s)) == t.GetMatrix());
    // a scale of exactly 1 (400 pixels), an exact identity rotation part: nothing written
    frame.SetMatrix(Mat3::Diagonal(Vec3(2, 3, 4)));
    frame.SetTranslate(Vec3::ZERO);
    EXPECT_TRUE(place(Transform(), 400.0f).IsIdentity() && place(frame, 400.0f).IsIdentity());
}

TEST(GizmoPlacement, FrameThroughParentWrittenOnlyWhenNeeded)
{
    ekCamera camera;
    ekPointer<ekNode> parent(new ekNode);
    parent->editLocalTransform(true) = frameOf(eulerToMatrix(0.5f, 0.2f, -0.7f), Vec3(10, -2, 3), 2.0f);
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
        expectNear(rotation.GetColumn(axis) * s, world.ApplyForward(unitAxis(axis)) - world.GetTranslate());
    }
    // the same frame again writes nothing
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 500);
    EXPECT_FALSE(transformDirty(*gizmo));
    // a viewport height of 0, or a near distance of 0, keeps the placement as it was
    const Transform before = gizmo->getLocalTransform();
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 0);
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 0.0f, 1000.0f);
    gizmo->calculateFrameFromObjectWorldTranform(frame, &camera, 60.0f, 500);
    EXPECT_TRUE(!transformDirty(*gizmo) && before == gizmo->getLocalTransform());
    // a finite scale that overflows through the parent's inverse keeps the placement too
    // (60 pixels: 2e38); so does a gizmo larger than 1e30 world units, which any scale
    // of its parent could overflow
    ekPointer<ekNode> squashed(new ekNode);
    squashed->editLocalTransform(true).SetScale(Vec3(1, 2, 0.5f));
    ekPointer<ekGizmoNode> inside(new ekGizmoNode), loose(new ekGizmoNode);
    squashed->attachChild(inside);
    squashed->UpdateGS();
    ekCamera huge;
    huge.setPerspective(false);
    for (auto [gizmoTried, extent] : {std::pair(inside.get(), 1e38f), std::pair(loose.get(), 1e34f)}) {
        huge.setFrustum(-extent, extent, -extent, extent, 1e-3f, 200.0f);
        gizmoTried->calculateFrameFromObjectWorldTranform(frameOf(Mat3::IDENTITY, Vec3(1, 2, -15)), &huge, 60.0f, 60);
        EXPECT_TRUE(gizmoTried->getLocalTransform().IsIdentity()) << extent;
    }
    // behind the camera the scale is negative, and applied
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 1.0f, 1000.0f);
    gizmo->calculateFrameFromObjectWorldTranform(frameOf(Mat3::IDENTITY, Vec3(0, 0, 10)), &camera, 60.0f, 500);
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
    // no objects: zero and identity; objects without geometry: the mean of their positions;
    // several, however turned: identity
    EXPECT_TRUE(gizmo.getCenterReferences() == Vec3::ZERO && gizmo.getOrientationReferences() == Mat3::IDENTITY);
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
    // one object of a general matrix (turned, then stretched along world X): its axes
    // orthonormalised, X along its own X
    Transform stretch, general;
    stretch.SetScale(Vec3(3, 1, 1));
    general.Product(stretch, objects[0]->getWorldTransform());
    ASSERT_FALSE(general.IsRSMatrix());
    objects[0]->editLocalTransform(true) = general;
    objects[0]->UpdateGS();
    gizmo.setReferenceObject(objects[0]);
    const Mat3 axes = gizmo.getOrientationReferences();
    Vec3 objectX = general.GetMatrix().GetColumn(0);
    objectX.Normalize();
    expectNear(objectX, axes.GetColumn(0));
    expectColumnsNear(Mat3::IDENTITY, axes.TransposeTimes(axes));
    expectNear(axes.GetColumn(0).Cross(axes.GetColumn(1)), axes.GetColumn(2));
}

// Parents and excluded objects are covered by the translate drag; here the stored start,
// keepTranslation and a non-finite delta.
TEST(GizmoReferences, WorldTransformsFromStoredOnes)
{
    ekPointer<ekNode> parent(new ekNode), moved(new ekNode);
    parent->attachChild(moved);
    parent->editLocalTransform(true) = frameOf(eulerToMatrix(0.1f, 0.7f, -0.3f), Vec3(4, 0, 1), 2.0f);
    moved->editLocalTransform(true).SetTranslate(Vec3(1, 0, 0));
    parent->UpdateGS();
    ekGizmoNode gizmo;
    gizmo.setReferenceObjects({moved, nullptr});
    gizmo.storeOriginalTransform();
    const Transform start = moved->getWorldTransform(), &world = moved->getWorldTransform();
    // two translations from the stored start: the second replaces the first
    Transform delta;
    for (const Vec3& shift : {Vec3(5, 0, 0), Vec3(1, 2, 3)}) {
        delta.SetTranslate(shift);
        gizmo.setWorldTransform(delta, false, false);
    }
    expectNear(start.GetTranslate() + Vec3(1, 2, 3), world.GetTranslate());
    // the identity restores the stored transforms
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
    parent->UpdateGS(), gizmo->updateCameraFacing(&camera), parent->UpdateGS();
    ekSpatial* heads[3];
    for (int axis = 0; axis < 3; ++axis) {
        heads[axis] = gizmo->getChild(2 * axis + 1); // shaft X, head X, shaft Y, head Y, ...
        const Transform& world = heads[axis]->getWorldTransform();
        Vec3 along = world.GetTranslate() - gizmo->getWorldTransform().GetTranslate();
        Vec3 sight = world.GetTranslate() - eye, x = world.GetMatrix().GetColumn(0),
             y = world.GetMatrix().GetColumn(1), z = world.GetMatrix().GetColumn(2);
        for (Vec3* v : {&along, &sight, &x, &y, &z}) {
            safeNormalize(*v);
        }
        // the head points along its axis, its Y lies across the axis and the line of
        // sight; the V faces the viewer as far as the axis allows
        expectNear(along, x);
        expectNear(Vec3(0, 0, along.Cross(sight).Length()),
                   Vec3(y.Dot(along), y.Dot(sight), std::fabs(z.Dot(sight))));
        heads[axis]->clearDirtyFlags(0, ~0u);
    }
    // nothing moved: nothing written
    gizmo->updateCameraFacing(&camera);
    for (const ekSpatial* head : heads) {
        EXPECT_FALSE(transformDirty(*head));
    }
    // the gizmo moved under a fixed camera: the heads turn again
    const Mat3 facing = heads[0]->getLocalTransform().GetRotate();
    gizmo->editLocalTransform(true).SetTranslate(Vec3(3, -2, 1));
    parent->UpdateGS(), gizmo->updateCameraFacing(&camera);
    EXPECT_FALSE(facing == heads[0]->getLocalTransform().GetRotate());
    // the camera on the X arrowhead: that head keeps its rotation
    const Mat3 headX = heads[0]->getLocalTransform().GetRotate();
    camera.setFrame(heads[0]->getWorldTransform().GetTranslate(), camera.getDVector(), camera.getUVector(),
                    camera.getRVector());
    gizmo->updateCameraFacing(&camera);
    EXPECT_EQ(headX, heads[0]->getLocalTransform().GetRotate());
    // a gizmo of scale 0: every head keeps its rotation
    gizmo->editLocalTransform(true).SetUniformScale(0.0f);
    parent->UpdateGS(), gizmo->updateCameraFacing(&camera);
    for (const ekSpatial* head : heads) {
        EXPECT_TRUE(isFinite(head->getLocalTransform().GetRotate()));
    }
}

TEST(GizmoCameraFacing, AHeadTheHostTurnedIsTurnedBack)
{
    ekCamera camera;
    ASSERT_TRUE(camera.lookAt(Vec3(4, 3, 6), Vec3::ZERO, Vec3::UNIT_Y));
    ekPointer<ekGizmoNode> gizmo(new ekGizmoNode);
    gizmo->calculateFrameFromObjectWorldTranform(frameOf(eulerToMatrix(0.3f, -0.6f, 0.9f), Vec3(0.5f, 0, -1)),
                                                 &camera, 60.0f, 600);
    gizmo->UpdateGS();
    gizmo->updateCameraFacing(&camera);
    const Mat3 turned = eulerToMatrix(1.0f, 0.5f, -0.25f);
    for (int axis = 0; axis < 3; ++axis) {
        ekSpatial& head = *gizmo->getChild(2 * axis + 1);
        const Mat3 facing = head.getLocalTransform().GetRotate();
        ASSERT_FALSE(facing == turned);
        // same camera and gizmo: the same rotation is computed again, bit for bit
        head.editLocalTransform(true).SetRotate(turned);
        gizmo->updateCameraFacing(&camera);
        EXPECT_EQ(head.getLocalTransform().GetRotate(), facing) << "axis " << axis;
    }
}

} // namespace
