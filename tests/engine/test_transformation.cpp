#include "ekTestMath.h"

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using ek::ekGenericTransformation;
using Transform = ekGenericTransformation<float>;
using Wm4::Matrix3f;
using Wm4::Vector3f;

// Error allowed on entries and coordinates up to about 40 after two or
// three float products: a few roundings of 40 * FLT_EPSILON (the reference
// is computed in double).
constexpr double kTolerance = 4e-5;

// Plain homogeneous 4x4 matrices in double, column-vector convention: the
// reference the transformations are checked against.
using Mat4 = std::array<std::array<double, 4>, 4>;

Mat4 identity4()
{
    Mat4 m{};
    for (int i = 0; i < 4; ++i) {
        m[i][i] = 1.0;
    }
    return m;
}

Mat4 multiply(const Mat4& a, const Mat4& b)
{
    Mat4 r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                r[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return r;
}

// Gauss-Jordan elimination with partial pivoting.
Mat4 invert(Mat4 m)
{
    Mat4 inv = identity4();
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            if (std::fabs(m[row][col]) > std::fabs(m[pivot][col])) {
                pivot = row;
            }
        }
        std::swap(m[col], m[pivot]);
        std::swap(inv[col], inv[pivot]);
        const double scale = 1.0 / m[col][col];
        for (int j = 0; j < 4; ++j) {
            m[col][j] *= scale;
            inv[col][j] *= scale;
        }
        for (int row = 0; row < 4; ++row) {
            if (row != col) {
                const double factor = m[row][col];
                for (int j = 0; j < 4; ++j) {
                    m[row][j] -= factor * m[col][j];
                    inv[row][j] -= factor * inv[col][j];
                }
            }
        }
    }
    return inv;
}

Mat4 translation4(const Vector3f& t)
{
    Mat4 m = identity4();
    for (int i = 0; i < 3; ++i) {
        m[i][3] = t[i];
    }
    return m;
}

Mat4 linear4(const Matrix3f& l)
{
    Mat4 m = identity4();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m[i][j] = l(i, j);
        }
    }
    return m;
}

Mat4 scale4(const Vector3f& s)
{
    Mat4 m = identity4();
    for (int i = 0; i < 3; ++i) {
        m[i][i] = s[i];
    }
    return m;
}

// A transformation and its reference matrix, built from the same inputs
// by independent routes.
struct Sample {
    std::string name;
    Transform transform;
    Mat4 reference;
};

Matrix3f rotation(const Vector3f& axis, float angle)
{
    return ek_test::rotationAbout(axis, angle);
}

std::vector<Sample> samples()
{
    std::vector<Sample> out;
    out.push_back({"identity", Transform(), identity4()});

    const Matrix3f r1 = rotation(Vector3f(0.0f, 0.6f, 0.8f), 0.9f);
    const Vector3f t1(1.0f, -2.0f, 3.0f);
    Transform uniform;
    uniform.SetRotate(r1);
    uniform.SetUniformScale(2.5f);
    uniform.SetTranslate(t1);
    out.push_back({"uniform", uniform,
                   multiply(translation4(t1), multiply(linear4(r1), scale4(Vector3f(2.5f, 2.5f, 2.5f))))});

    const Matrix3f r2 = rotation(Vector3f(0.48f, 0.6f, 0.64f), -1.3f);
    const Vector3f s2(1.0f, 2.0f, 4.0f);
    const Vector3f t2(-0.5f, 0.25f, 5.0f);
    Transform nonUniform;
    nonUniform.SetTranslate(t2);
    nonUniform.SetRotate(r2);
    nonUniform.SetScale(s2);
    out.push_back({"non-uniform", nonUniform,
                   multiply(translation4(t2), multiply(linear4(r2), scale4(s2)))});

    const Matrix3f shear(1.0f, 0.5f, 0.0f, 0.0f, 2.0f, -0.25f, 0.3f, 0.0f, 0.75f);
    const Vector3f t3(4.0f, 0.0f, -1.0f);
    Transform general;
    general.SetMatrix(shear);
    general.SetTranslate(t3);
    out.push_back({"general", general, multiply(translation4(t3), linear4(shear))});
    return out;
}

void expectMatches(const Transform& t, const Mat4& reference, const std::string& context)
{
    const Matrix3f m = t.GetMatrix();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(m(i, j), reference[i][j], kTolerance) << context << " entry " << i << ", " << j;
        }
        EXPECT_NEAR(t.GetTranslate()[i], reference[i][3], kTolerance) << context << " translation " << i;
    }
    // and by a third route: applied to a point
    const Vector3f p(0.7f, -1.1f, 0.4f);
    const Vector3f q = t.ApplyForward(p, true);
    for (int i = 0; i < 3; ++i) {
        const double expected = reference[i][0] * p[0] + reference[i][1] * p[1] + reference[i][2] * p[2]
            + reference[i][3];
        EXPECT_NEAR(q[i], expected, kTolerance) << context << " applied " << i;
    }
}

TEST(ekGenericTransformation, ProductsOfEveryKind)
{
    const std::vector<Sample> all = samples();
    for (const Sample& a : all) {
        expectMatches(a.transform, a.reference, a.name);
        for (const Sample& b : all) {
            const std::string context = a.name + " * " + b.name;
            Transform product;
            product.Product(a.transform, b.transform);
            expectMatches(product, multiply(a.reference, b.reference), context);
            // writing the product into one of its factors gives the same
            Transform aliased = a.transform;
            aliased.Product(aliased, b.transform);
            EXPECT_EQ(aliased, product) << context;
        }
    }
}

TEST(ekGenericTransformation, ProductKinds)
{
    const std::vector<Sample> all = samples();
    const Transform& identity = all[0].transform;
    const Transform& uniform = all[1].transform;
    const Transform& nonUniform = all[2].transform;
    const Transform& general = all[3].transform;
    Transform product;

    // the identity on either side gives the other factor unchanged
    product.Product(identity, general);
    EXPECT_EQ(product, general);
    product.Product(nonUniform, identity);
    EXPECT_EQ(product, nonUniform);
    product.Product(identity, identity);
    EXPECT_TRUE(product.IsIdentity());
    // uniform after rotation-scale stays rotation-scale, uniform or not
    product.Product(uniform, uniform);
    EXPECT_TRUE(product.IsRSMatrix());
    EXPECT_TRUE(product.IsUniformScale());
    EXPECT_FLOAT_EQ(product.GetUniformScale(), 2.5f * 2.5f);
    product.Product(uniform, nonUniform);
    EXPECT_TRUE(product.IsRSMatrix());
    EXPECT_FALSE(product.IsUniformScale());
    // a non-uniform scale before a rotation shears: general
    product.Product(nonUniform, uniform);
    EXPECT_FALSE(product.IsRSMatrix());
    product.Product(uniform, general);
    EXPECT_FALSE(product.IsRSMatrix());
}

TEST(ekGenericTransformation, Inverse)
{
    for (const Sample& s : samples()) {
        Transform inverse;
        s.transform.Inverse(inverse);
        // against the reference inverse
        expectMatches(inverse, invert(s.reference), s.name + " inverse");
        // and by composition: T^-1 T and T T^-1 map points back
        Transform left;
        left.Product(inverse, s.transform);
        Transform right;
        right.Product(s.transform, inverse);
        expectMatches(left, identity4(), s.name + " inverse * T");
        expectMatches(right, identity4(), s.name + " T * inverse");
    }

    // the inverse of the identity is the identity
    Transform inverse;
    Transform().Inverse(inverse);
    EXPECT_TRUE(inverse.IsIdentity());
    // a non-uniform scale inverts to the reciprocal scales, general kind
    Transform stretch;
    stretch.SetScale(Vector3f(2.0f, 4.0f, 0.5f));
    stretch.Inverse(inverse);
    EXPECT_FALSE(inverse.IsRSMatrix());
    EXPECT_EQ(inverse.GetMatrix(), Matrix3f::Diagonal(Vector3f(0.5f, 0.25f, 2.0f)));
    // a general singular linear part inverts to the zero matrix
    Transform flat;
    flat.SetMatrix(Matrix3f(1.0f, 2.0f, 0.0f, 2.0f, 4.0f, 0.0f, 0.0f, 0.0f, 1.0f));
    flat.Inverse(inverse);
    EXPECT_EQ(inverse.GetMatrix(), Matrix3f::ZERO);
    // so does a rotation-scale one with a zero scale
    Transform squashed;
    squashed.SetRotate(rotation(Vector3f::UNIT_Z, 0.5f));
    squashed.SetScale(Vector3f(1.0f, 0.0f, 2.0f));
    squashed.SetTranslate(Vector3f(1.0f, 1.0f, 1.0f));
    squashed.Inverse(inverse);
    EXPECT_EQ(inverse.GetMatrix(), Matrix3f::ZERO);
}

TEST(ekGenericTransformation, ApplyForward)
{
    Transform t;
    const Vector3f p(1.0f, 2.0f, 3.0f);
    // the identity returns the point, with or without translation
    EXPECT_EQ(t.ApplyForward(p, true), p);
    EXPECT_EQ(t.ApplyForward(p, false), p);
    // scale per axis, then the translation only when asked for
    t.SetScale(Vector3f(2.0f, 3.0f, 4.0f));
    t.SetTranslate(Vector3f(10.0f, 20.0f, 30.0f));
    EXPECT_EQ(t.ApplyForward(p, false), Vector3f(2.0f, 6.0f, 12.0f));
    EXPECT_EQ(t.ApplyForward(p, true), Vector3f(12.0f, 26.0f, 42.0f));
    // a general matrix: M p (+ T)
    Transform g;
    g.SetMatrix(Matrix3f(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f));
    g.SetTranslate(Vector3f(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(g.ApplyForward(p, false), Vector3f(-2.0f, 1.0f, 6.0f));
    EXPECT_EQ(g.ApplyForward(p, true), Vector3f(-1.0f, 2.0f, 7.0f));
}

TEST(ekGenericTransformation, FlagsAfterEachSetter)
{
    Transform t;
    // a default transformation is the identity of every kind
    EXPECT_TRUE(t.IsIdentity());
    EXPECT_TRUE(t.IsRSMatrix());
    EXPECT_TRUE(t.IsUniformScale());
    // a zero translation still leaves the identity
    t.SetTranslate(Vector3f::ZERO);
    EXPECT_FALSE(t.IsIdentity());
    EXPECT_TRUE(t.IsRSMatrix());
    EXPECT_TRUE(t.IsUniformScale());
    // a rotation keeps the kind
    t.MakeIdentity();
    t.SetRotate(Matrix3f::IDENTITY);
    EXPECT_FALSE(t.IsIdentity());
    EXPECT_TRUE(t.IsRSMatrix());
    EXPECT_TRUE(t.IsUniformScale());
    // a per-axis scale is not uniform, even with equal factors
    t.SetScale(Vector3f(2.0f, 2.0f, 2.0f));
    EXPECT_FALSE(t.IsUniformScale());
    EXPECT_TRUE(t.IsRSMatrix());
    // a uniform scale is
    t.SetUniformScale(3.0f);
    EXPECT_TRUE(t.IsUniformScale());
    EXPECT_EQ(t.GetScale(), Vector3f(3.0f, 3.0f, 3.0f));
    EXPECT_EQ(t.GetUniformScale(), 3.0f);
    // unit scale keeps rotation and translation
    t.SetTranslate(Vector3f(1.0f, 2.0f, 3.0f));
    t.MakeUnitScale();
    EXPECT_EQ(t.GetScale(), Vector3f::ONE);
    EXPECT_TRUE(t.IsUniformScale());
    EXPECT_EQ(t.GetTranslate(), Vector3f(1.0f, 2.0f, 3.0f));
    EXPECT_FALSE(t.IsIdentity());
    // a matrix makes it general, never uniform
    t.SetMatrix(Matrix3f::IDENTITY);
    EXPECT_FALSE(t.IsRSMatrix());
    EXPECT_FALSE(t.IsUniformScale());
    EXPECT_FALSE(t.IsIdentity());
    // a rotation set after a matrix starts unscaled
    Transform scaled;
    scaled.SetScale(Vector3f(2.0f, 3.0f, 4.0f));
    scaled.SetMatrix(Matrix3f::IDENTITY);
    scaled.SetRotate(Matrix3f::IDENTITY);
    EXPECT_EQ(scaled.GetMatrix(), Matrix3f::IDENTITY);
    // back to the identity
    t.MakeIdentity();
    EXPECT_TRUE(t.IsIdentity());
    EXPECT_TRUE(t.IsRSMatrix());
    EXPECT_TRUE(t.IsUniformScale());
    EXPECT_EQ(t.GetTranslate(), Vector3f::ZERO);
    EXPECT_EQ(t.GetMatrix(), Matrix3f::IDENTITY);
}

TEST(ekGenericTransformation, Equality)
{
    const std::vector<Sample> all = samples();
    // each sample equals its copy and no other sample
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (std::size_t j = 0; j < all.size(); ++j) {
            EXPECT_EQ(all[i].transform == all[j].transform, i == j) << all[i].name << " vs " << all[j].name;
            EXPECT_EQ(all[i].transform != all[j].transform, i != j) << all[i].name << " vs " << all[j].name;
        }
    }
    Transform a;
    Transform b;
    // a zero translation is not the identity
    b.SetTranslate(Vector3f::ZERO);
    EXPECT_NE(a, b);
    // the same numbers in another kind differ
    a.SetTranslate(Vector3f::ZERO);
    a.SetRotate(Matrix3f::IDENTITY);
    b.SetMatrix(Matrix3f::IDENTITY);
    EXPECT_NE(a, b);
    // a translation that differs in one bit differs
    Transform c = all[1].transform;
    Vector3f moved = c.GetTranslate();
    moved[2] = std::nextafter(moved[2], 100.0f);
    c.SetTranslate(moved);
    EXPECT_NE(c, all[1].transform);
    // the scale of a general transformation takes no part
    Transform stale;
    stale.SetScale(Vector3f(5.0f, 6.0f, 7.0f));
    stale.SetMatrix(Matrix3f::IDENTITY);
    Transform fresh;
    fresh.SetMatrix(Matrix3f::IDENTITY);
    EXPECT_EQ(stale, fresh);
    // a uniform and a per-axis scale of equal factors differ in kind
    Transform uniform;
    uniform.SetUniformScale(2.0f);
    Transform perAxis;
    perAxis.SetScale(Vector3f(2.0f, 2.0f, 2.0f));
    EXPECT_NE(uniform, perAxis);
}

} // namespace
