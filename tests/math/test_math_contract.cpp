// What the library relies on of the math stand-in: the column-vector
// convention of Matrix3, its products and inverse, the line/plane query and
// colour comparison.

#include "ekTestMath.h"

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4IntrLine3Plane3.h>
#include <Wm4/Wm4Line3.h>
#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Plane3.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

using Wm4::Matrix3f;
using Wm4::Vector3f;

// Results of order 1 after a handful of float operations.
constexpr float kTolerance = 16.0f * std::numeric_limits<float>::epsilon();

void expectNear(const Matrix3f& actual, const Matrix3f& expected)
{
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(actual.Entries()[i], expected.Entries()[i], kTolerance) << "entry " << i;
    }
}

TEST(Wm4Matrix, ColumnVectorConventionProductsAndInverse)
{
    const Vector3f u(1.0f, 2.0f, 3.0f);
    const Vector3f v(-4.0f, 5.0f, 0.5f);
    const Vector3f w(0.0f, -1.0f, 2.0f);
    const Matrix3f m(u, v, w, true);
    // columns are the axes: M * e_i is column i, M * (a, b, c) combines them
    EXPECT_EQ(m.GetColumn(1), v);
    EXPECT_EQ(m * Vector3f::UNIT_Z, w);
    EXPECT_EQ(m * Vector3f(2.0f, -1.0f, 3.0f), u * 2.0f - v + w * 3.0f);
    EXPECT_EQ(m(1, 0), 2.0f); // row-major storage
    // (A B) p = A (B p): B applies first; a quaternion-built turn takes X to Y
    const Matrix3f quarter = ek_test::rotationAbout(Vector3f::UNIT_Z, Wm4::Math<float>::HALF_PI);
    const Vector3f turned = (quarter * m) * Vector3f::UNIT_X;
    const Vector3f expected = quarter * u;
    EXPECT_NEAR((turned - expected).Length(), 0.0f, kTolerance * u.Length());
    // A^T B pairs columns; diag on the right scales columns
    EXPECT_NEAR(m.TransposeTimes(quarter)(2, 1), w.Dot(quarter.GetColumn(1)), kTolerance * 4.0f);
    EXPECT_EQ(m.TimesDiagonal(Vector3f(2.0f, 3.0f, -1.0f)).GetColumn(2), -w);
    // inverse: exact identity up to rounding; a singular matrix inverts to zero
    expectNear(m.Inverse() * m, Matrix3f::IDENTITY);
    const Matrix3f small = Matrix3f::Diagonal(Vector3f(1e-3f, 2e-3f, 4e-3f));
    expectNear(small.Inverse() * small, Matrix3f::IDENTITY);
    EXPECT_EQ(Matrix3f(u, u, w, false).Inverse(), Matrix3f::ZERO);
}

TEST(Wm4IntrLine3Plane3, HitsBehindParallelAndInPlane)
{
    const Wm4::Plane3<float> plane(Vector3f::UNIT_Z, Vector3f(5.0f, -3.0f, 2.0f));
    // a slanted line meets z = 2 at t = 3 / 0.8
    const Wm4::Line3<float> slanted(Vector3f(1.0f, 1.0f, -1.0f), Vector3f(0.0f, 0.6f, 0.8f));
    Wm4::IntrLine3Plane3<float> hit(slanted, plane);
    ASSERT_TRUE(hit.Find());
    EXPECT_NEAR(hit.GetLineT(), 3.75f, kTolerance * 4.0f);
    // a plane behind the origin gives a negative t (the query keeps references: named lines)
    const Wm4::Line3<float> away(Vector3f(0.0f, 0.0f, 5.0f), Vector3f::UNIT_Z);
    Wm4::IntrLine3Plane3<float> behind(away, plane);
    ASSERT_TRUE(behind.Find());
    EXPECT_NEAR(behind.GetLineT(), -3.0f, kTolerance * 4.0f);
    // parallel and off the plane: no point; lying in it: found at t = 0
    const Vector3f along(0.6f, 0.8f, 0.0f);
    const Wm4::Line3<float> parallel(Vector3f::ZERO, along);
    EXPECT_FALSE((Wm4::IntrLine3Plane3<float>(parallel, plane).Find()));
    const Wm4::Line3<float> lying(Vector3f(3.0f, 4.0f, 2.0f), along);
    Wm4::IntrLine3Plane3<float> inPlane(lying, plane);
    EXPECT_TRUE(inPlane.Find());
    EXPECT_EQ(inPlane.GetLineT(), 0.0f);
}

TEST(Wm4Color, AnyChannelMakesColoursDiffer)
{
    const Wm4::ColorRGBA base(0.6f, 0.212f, 0.368f, 1.0f);
    for (int channel = 0; channel < 4; ++channel) {
        Wm4::ColorRGBA other = base;
        other[channel] += 0.001f;
        EXPECT_TRUE(other != base) << "channel " << channel;
    }
    EXPECT_FALSE(Wm4::ColorRGBA(Wm4::ColorRGB(0.6f, 0.212f, 0.368f)) != base);
}

} // namespace
