#include <ek3DManipulation/ekGizmoNode.h>

#include "ekMatrixUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace ek;
using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

// Float error of angles, unit vectors and lengths of magnitude up to 10.
constexpr float kTolerance = 2e-5f;
constexpr float kHalfPi = Wm4::Math<float>::HALF_PI;

void expectNear(const Vec3& expected, const Vec3& actual)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(expected[i], actual[i], kTolerance) << "component " << i;
    }
}

// v turned by angle about one axis (0 X, 1 Y, 2 Z), right-handed.
Vec3 turn(const Vec3& v, int axis, float angle)
{
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    Vec3 r = v;
    r[a] = std::cos(angle) * v[a] - std::sin(angle) * v[b];
    r[b] = std::sin(angle) * v[a] + std::cos(angle) * v[b];
    return r;
}

Vec3 columnLengths(const Mat3& m)
{
    return Vec3(m.GetColumn(0).Length(), m.GetColumn(1).Length(), m.GetColumn(2).Length());
}

TEST(GizmoMatrixHelpers, NormaliseInvertAndRecogniseRotations)
{
    // zero, tiny, infinite and NaN vectors
    Vec3 v;
    EXPECT_EQ(0.0f, safeNormalize(v));
    EXPECT_EQ(Vec3::ZERO, v);
    v = Vec3(1e-10f, 0.0f, 0.0f);
    EXPECT_NEAR(1e-10f, safeNormalize(v), 1e-15f);
    EXPECT_EQ(Vec3::UNIT_X, v);
    for (float bad : {std::numeric_limits<float>::infinity(), std::nanf("")}) {
        v = Vec3(bad, 1.0f, 0.0f);
        EXPECT_EQ(0.0f, safeNormalize(v));
        EXPECT_EQ(Vec3::ZERO, v);
    }
    // inverse times matrix is the identity; a singular matrix has the zero inverse
    const Mat3 m(2, -1, 0.5f, 0.3f, 4, 1, -2, 0.7f, 3);
    const Mat3 product = m * cofactorInverse(m);
    for (int col = 0; col < 3; ++col) {
        expectNear(Mat3::IDENTITY.GetColumn(col), product.GetColumn(col));
    }
    EXPECT_EQ(Mat3::ZERO, cofactorInverse(Mat3(1, 2, 3, 2, 4, 6, 0, 1, 5)));
    // rotation with scale passes; a tiny shear passes, a visible one, a reflection or a
    // degenerate column fails
    const Mat3 rotation = eulerToMatrix(0.4f, -1.2f, 2.5f);
    Mat3 n;
    EXPECT_TRUE(isRotationOnceNormalized(rotation.TimesDiagonal(Vec3(2, 3, 4)), n));
    expectNear(Vec3(1, 1, 1), columnLengths(n));
    EXPECT_TRUE(isRotationOnceNormalized(Mat3(1, 1e-4f, 0, 0, 1, 0, 0, 0, 1), n));
    EXPECT_FALSE(isRotationOnceNormalized(Mat3(1, 0.01f, 0, 0, 1, 0, 0, 0, 1), n));
    EXPECT_FALSE(isRotationOnceNormalized(rotation.TimesDiagonal(Vec3(1, 1, -1)), n));
    EXPECT_FALSE(isRotationOnceNormalized(rotation.TimesDiagonal(Vec3(1, 0, 1)), n));
}

TEST(GizmoParameters, EulerAnglesRoundTrip)
{
    ekGizmoNode node;
    float x, y, z;
    // a quarter turn about Z
    ASSERT_TRUE(node.setEulerAngle(0.0f, 0.0f, kHalfPi, false));
    const Mat3& r = node.getLocalTransform().GetRotate();
    expectNear(Vec3(0, 1, 0), r.GetColumn(0));
    expectNear(Vec3(-1, 0, 0), r.GetColumn(1));
    // Z turns first, X last; the angles read back as set
    for (const Vec3& a : {Vec3(0.3f, -0.5f, 1.2f), Vec3(-2.9f, 1.4f, -0.1f), Vec3(3, -1.5f, 2)}) {
        ASSERT_TRUE(node.setEulerAngle(a.X(), a.Y(), a.Z(), false));
        const Vec3 p(0.2f, -0.7f, 1.3f);
        expectNear(turn(turn(turn(p, 2, a.Z()), 1, a.Y()), 0, a.X()),
                   node.getLocalTransform().ApplyForward(p));
        ASSERT_TRUE(node.getEulerAngle(x, y, z, false));
        expectNear(a, Vec3(x, y, z));
    }
    // gimbal lock at y = +pi/2 and -pi/2: x carries x + z, or x - z
    ASSERT_TRUE(node.setEulerAngle(0.3f, kHalfPi, 0.2f, false));
    ASSERT_TRUE(node.getEulerAngle(x, y, z, false));
    expectNear(Vec3(0.5f, kHalfPi, 0), Vec3(x, y, z));
    ASSERT_TRUE(node.setEulerAngle(0.3f, -kHalfPi, 0.2f, false));
    ASSERT_TRUE(node.getEulerAngle(x, y, z, false));
    expectNear(Vec3(0.1f, -kHalfPi, 0), Vec3(x, y, z));
}

TEST(GizmoParameters, ScaleRules)
{
    ekGizmoNode node;
    Vec3 t, scale;
    float x = 9, y = 9, z = 9;
    bool uniform = false;
    // identity: everything neutral; a unit scale keeps it the identity
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION_SCALE,
              node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_TRUE(t == Vec3::ZERO && Vec3(x, y, z) == Vec3::ZERO && scale == Vec3::ONE && uniform);
    ASSERT_TRUE(node.setScale(Vec3::ONE, false));
    EXPECT_TRUE(node.getLocalTransform().IsIdentity());
    // equal components make a uniform scale, others a per-axis one; the axes grow by it
    for (const Vec3& s : {Vec3(2, 2, 2), Vec3(1, 1, 1), Vec3(1, 2, 3)}) {
        ASSERT_TRUE(node.setScale(s, false));
        ASSERT_TRUE(node.getScale(scale, uniform, false));
        EXPECT_EQ(s, scale);
        EXPECT_EQ(s.X() == s.Z(), uniform);
        expectNear(s, columnLengths(node.getLocalTransform().GetMatrix()));
    }
    // all at once, read back
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION_SCALE,
              node.setAllParameters(Vec3(1, 2, 3), 0.1f, 0.2f, 0.3f, Vec3(4, 4, 4), false));
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION_SCALE,
              node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_TRUE(t == Vec3(1, 2, 3) && scale == Vec3(4, 4, 4) && uniform);
    expectNear(Vec3(0.1f, 0.2f, 0.3f), Vec3(x, y, z));
    // the result values belong to the interface
    EXPECT_EQ(0u, ekGizmoNode::TRANSLATION_ONLY);
    EXPECT_EQ(1u, ekGizmoNode::TRANSLATION_ROTATION);
    EXPECT_EQ(3u, ekGizmoNode::TRANSLATION_ROTATION_SCALE);
}

TEST(GizmoParameters, GeneralMatrices)
{
    ekGizmoNode node;
    Vec3 t, scale(7, 7, 7);
    float x = 9, y = 9, z = 9;
    bool uniform = true;
    // columns of lengths 2, 3, 4: turned, lengths kept, scale neither reported nor set
    node.editLocalTransform(true).SetMatrix(eulerToMatrix(1, 0.2f, -2).TimesDiagonal(Vec3(2, 3, 4)));
    ASSERT_TRUE(node.setEulerAngle(0.3f, -0.4f, 0.5f, false));
    expectNear(Vec3(2, 3, 4), columnLengths(node.getLocalTransform().GetMatrix()));
    EXPECT_FALSE(node.getScale(scale, uniform, false) || node.setScale(Vec3(5, 5, 5), false));
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ROTATION,
              node.getAllParameters(t, x, y, z, scale, uniform, false));
    expectNear(Vec3(0.3f, -0.4f, 0.5f), Vec3(x, y, z));
    EXPECT_TRUE(scale == Vec3(7, 7, 7) && !uniform);
    // a shear: only the translation is handled, the matrix and the angles stay
    const Mat3 shear(1, 0.5f, 0, 0, 1, 0, 0, 0, 1);
    node.editLocalTransform(true).SetMatrix(shear);
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ONLY,
              node.setAllParameters(Vec3(1, 2, 3), 0.1f, 0.2f, 0.3f, Vec3::ONE, false));
    EXPECT_FALSE(node.setEulerAngle(0.1f, 0.2f, 0.3f, false));
    EXPECT_EQ(Vec3(1, 2, 3), node.getLocalTransform().GetTranslate());
    EXPECT_EQ(shear, node.getLocalTransform().GetMatrix());
    x = y = z = 9;
    EXPECT_FALSE(node.getEulerAngle(x, y, z, false));
    EXPECT_EQ(ekGizmoNode::TRANSLATION_ONLY,
              node.getAllParameters(t, x, y, z, scale, uniform, false));
    EXPECT_EQ(Vec3(9, 9, 9), Vec3(x, y, z));
}

TEST(GizmoParameters, WorldValuesThroughParent)
{
    ekPointer<ekNode> parent(new ekNode);
    ekPointer<ekGizmoNode> node(new ekGizmoNode);
    parent->attachChild(node);
    parent->editLocalTransform(true).SetTranslate(Vec3(10, 0, 0));
    parent->UpdateGS();
    Vec3 t;
    // a world translation lands in the parent's frame
    node->setTranslation(Vec3(10, 5, 0), true);
    expectNear(Vec3(0, 5, 0), node->getLocalTransform().GetTranslate());
    parent->UpdateGS();
    node->getTranslation(t, true);
    expectNear(Vec3(10, 5, 0), t);
    // under a turned, scaled parent, world angles and translation read back as set
    parent->editLocalTransform(true).SetRotate(eulerToMatrix(0.7f, -0.2f, 0.4f));
    parent->editLocalTransform(true).SetUniformScale(2.0f);
    parent->UpdateGS();
    node->setAllParameters(Vec3(-3, 2, 8), 0.5f, 0.6f, -0.9f, Vec3::ONE, true);
    parent->UpdateGS();
    float x, y, z;
    ASSERT_TRUE(node->getEulerAngle(x, y, z, true));
    expectNear(Vec3(0.5f, 0.6f, -0.9f), Vec3(x, y, z));
    node->getTranslation(t, true);
    expectNear(Vec3(-3, 2, 8), t);
}

} // namespace
