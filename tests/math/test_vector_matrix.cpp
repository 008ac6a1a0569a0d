#include "ekTestMath.h"

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Wm4::Matrix3f;
using Wm4::Vector3f;

// Error allowed on results of order 1 after a handful of float operations.
constexpr float kTolerance = 16.0f * std::numeric_limits<float>::epsilon();

void expectNear(const Vector3f& actual, const Vector3f& expected, float tolerance = kTolerance)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
    }
}

void expectNear(const Matrix3f& actual, const Matrix3f& expected, float tolerance = kTolerance)
{
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            EXPECT_NEAR(actual(row, col), expected(row, col), tolerance) << "entry " << row << ", " << col;
        }
    }
}

Matrix3f rotation(const Vector3f& axis, float angle)
{
    return ek_test::rotationAbout(axis, angle);
}

// A well-conditioned matrix with no special structure.
const Matrix3f kGeneral(2.0f, -1.0f, 0.5f, 0.25f, 3.0f, -2.0f, 1.0f, 0.5f, 4.0f);

TEST(Wm4Vector, Algebra)
{
    const Vector3f a(1.5f, -2.0f, 0.25f);
    const Vector3f b(-0.5f, 4.0f, 3.0f);

    // the unit axes form a right-handed frame
    EXPECT_EQ(Vector3f::UNIT_X.Cross(Vector3f::UNIT_Y), Vector3f::UNIT_Z);
    EXPECT_EQ(Vector3f::UNIT_Y.Cross(Vector3f::UNIT_Z), Vector3f::UNIT_X);
    EXPECT_EQ(Vector3f::UNIT_Z.Cross(Vector3f::UNIT_X), Vector3f::UNIT_Y);
    // the cross product is anti-commutative and orthogonal to both factors
    expectNear(a.Cross(b), -b.Cross(a));
    EXPECT_NEAR(a.Cross(b).Dot(a), 0.0f, kTolerance * 10.0f);
    EXPECT_NEAR(a.Cross(b).Dot(b), 0.0f, kTolerance * 10.0f);
    // |a x b|^2 + (a.b)^2 = |a|^2 |b|^2
    EXPECT_NEAR(a.Cross(b).SquaredLength() + a.Dot(b) * a.Dot(b), a.SquaredLength() * b.SquaredLength(),
                kTolerance * 100.0f);
    // dot product and length on exact numbers
    EXPECT_EQ(a.Dot(b), -0.75f - 8.0f + 0.75f);
    EXPECT_EQ(Vector3f(3.0f, 0.0f, 4.0f).Length(), 5.0f);
    // arithmetic operators, with the scalar on either side
    EXPECT_EQ(a + b - b, a);
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(a * 2.0f / 2.0f, a);
    EXPECT_EQ(Wm4::Vector2f(1.0f, 2.0f) + Wm4::Vector2f(3.0f, -1.0f), Wm4::Vector2f(4.0f, 1.0f));
    EXPECT_EQ(Wm4::Vector2f(3.0f, 4.0f).Length(), 5.0f);
}

TEST(Wm4Vector, Normalize)
{
    // a regular vector becomes unit length and reports its former length
    Vector3f v(3.0f, 0.0f, -4.0f);
    EXPECT_FLOAT_EQ(v.Normalize(), 5.0f);
    expectNear(v, Vector3f(0.6f, 0.0f, -0.8f));
    // the zero vector stays zero and reports 0
    Vector3f zero;
    EXPECT_EQ(zero.Normalize(), 0.0f);
    EXPECT_EQ(zero, Vector3f::ZERO);
    // a vector shorter than the zero tolerance becomes zero
    Vector3f tiny(Wm4::Math<float>::ZERO_TOLERANCE * 0.5f, 0.0f, 0.0f);
    EXPECT_EQ(tiny.Normalize(), 0.0f);
    EXPECT_EQ(tiny, Vector3f::ZERO);
}

TEST(Wm4Matrix, ColumnVectorConvention)
{
    const Vector3f u(1.0f, 2.0f, 3.0f);
    const Vector3f v(-4.0f, 5.0f, 0.5f);
    const Vector3f w(0.0f, -1.0f, 2.0f);
    const Matrix3f byColumns(u, v, w, true);

    // the vectors given as columns are the columns, given as rows the rows
    EXPECT_EQ(byColumns.GetColumn(0), u);
    EXPECT_EQ(byColumns.GetColumn(2), w);
    EXPECT_EQ(Matrix3f(u, v, w, false).GetRow(1), v);
    EXPECT_EQ(Matrix3f(u, v, w, false), byColumns.Transpose());
    // M * e_i is column i
    EXPECT_EQ(byColumns * Vector3f::UNIT_Y, v);
    // M * (a, b, c) is the combination of the columns
    EXPECT_EQ(byColumns * Vector3f(2.0f, -1.0f, 3.0f), u * 2.0f - v + w * 3.0f);
    // a quarter turn about Z takes X to Y and Y to -X
    const Matrix3f quarter = rotation(Vector3f::UNIT_Z, Wm4::Math<float>::HALF_PI);
    expectNear(quarter * Vector3f::UNIT_X, Vector3f::UNIT_Y);
    expectNear(quarter * Vector3f::UNIT_Y, -Vector3f::UNIT_X);
    // entry (row, col) addresses the row-major storage
    EXPECT_EQ(byColumns.Entries()[3 * 1 + 0], byColumns(1, 0));
    EXPECT_EQ(byColumns(1, 0), 2.0f);
}

TEST(Wm4Matrix, Products)
{
    const Matrix3f r = rotation(Vector3f(0.0f, 0.6f, 0.8f), 0.7f);
    const Vector3f p(0.3f, -1.2f, 2.5f);

    // (A B) p = A (B p): B is applied first
    expectNear((kGeneral * r) * p, kGeneral * (r * p), kTolerance * 10.0f);
    // transpose swaps entries and is an involution
    EXPECT_EQ(kGeneral.Transpose()(0, 2), kGeneral(2, 0));
    EXPECT_EQ(kGeneral.Transpose().Transpose(), kGeneral);
    // A^T B: entry (i, j) is column i of A dotted with column j of B
    const Matrix3f atb = kGeneral.TransposeTimes(r);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(atb(i, j), kGeneral.GetColumn(i).Dot(r.GetColumn(j)), kTolerance * 10.0f);
        }
    }
    // A B^T: entry (i, j) is row i of A dotted with row j of B
    const Matrix3f abt = kGeneral.TimesTranspose(r);
    EXPECT_NEAR(abt(2, 1), kGeneral.GetRow(2).Dot(r.GetRow(1)), kTolerance * 10.0f);
    // a rotation's transpose is its inverse
    expectNear(r.TransposeTimes(r), Matrix3f::IDENTITY);
    // diag(d) on the right scales the columns
    const Matrix3f scaled = kGeneral.TimesDiagonal(Vector3f(2.0f, 3.0f, -1.0f));
    EXPECT_EQ(scaled.GetColumn(1), kGeneral.GetColumn(1) * 3.0f);
    EXPECT_EQ(scaled.GetColumn(2), -kGeneral.GetColumn(2));
    // the identity is neutral on both sides
    EXPECT_EQ(Matrix3f::IDENTITY * kGeneral, kGeneral);
    EXPECT_EQ(kGeneral * Matrix3f::IDENTITY, kGeneral);
}

TEST(Wm4Matrix, InverseAndDeterminant)
{
    // inverse on either side gives the identity
    const Matrix3f inverse = kGeneral.Inverse();
    expectNear(inverse * kGeneral, Matrix3f::IDENTITY);
    expectNear(kGeneral * inverse, Matrix3f::IDENTITY);
    // det(A) det(A^-1) = 1
    EXPECT_NEAR(kGeneral.Determinant() * inverse.Determinant(), 1.0f, kTolerance);
    // a rotation has determinant 1 and its transpose as inverse
    const Matrix3f r = rotation(Vector3f(0.48f, 0.6f, 0.64f), -2.1f);
    EXPECT_NEAR(r.Determinant(), 1.0f, kTolerance);
    expectNear(r.Inverse(), r.Transpose());
    // a small but regular scale still inverts, without a tolerance
    const Matrix3f small = Matrix3f::Diagonal(Vector3f(1e-3f, 2e-3f, 4e-3f));
    expectNear(small.Inverse() * small, Matrix3f::IDENTITY);
    // a singular matrix (two equal rows) gives the zero matrix
    const Matrix3f singular(1.0f, 2.0f, 3.0f, 1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 5.0f);
    EXPECT_EQ(singular.Determinant(), 0.0f);
    EXPECT_EQ(singular.Inverse(), Matrix3f::ZERO);
    EXPECT_EQ(Matrix3f::ZERO.Inverse(), Matrix3f::ZERO);
}

TEST(Wm4Constants, Values)
{
    // constants every user of the library relies on
    EXPECT_EQ(Matrix3f::IDENTITY * Vector3f(1.0f, 2.0f, 3.0f), Vector3f(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(Matrix3f::ZERO, Matrix3f());
    EXPECT_EQ(Vector3f::ONE, Vector3f(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(Vector3f::ZERO, Vector3f());
    EXPECT_FLOAT_EQ(Wm4::Math<float>::HALF_PI * 2.0f, Wm4::Math<float>::WM4_PI);
    EXPECT_DOUBLE_EQ(Wm4::Math<double>::WM4_PI, std::acos(-1.0));
    EXPECT_EQ(Wm4::Math<float>::MAX_REAL, std::numeric_limits<float>::max());
    EXPECT_GT(Wm4::Math<float>::ZERO_TOLERANCE, 0.0f);
}

} // namespace
