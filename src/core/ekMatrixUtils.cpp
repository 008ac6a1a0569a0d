#include "ekMatrixUtils.h"

#include <algorithm>
#include <cmath>

namespace ek {

namespace {

// Largest sum of squared differences between a row of the normalised matrix
// and the matching column of its inverse for the rows to count as
// orthonormal.
constexpr float kOrthonormalRowTolerance = 1e-6f;
// Largest distance of the normalised matrix's determinant from 1 for it to
// count as a proper rotation (not a reflection, not degenerate).
constexpr float kRotationDeterminantTolerance = 0.001f;

} // namespace

float safeNormalize(Wm4::Vector3<float>& v)
{
    const float length = std::sqrt(v.X() * v.X() + v.Y() * v.Y() + v.Z() * v.Z());
    if (length == 0.0f) {
        v = Wm4::Vector3<float>::ZERO;
        return 0.0f;
    }
    const float inverse = 1.0f / length;
    // An infinite length would turn an infinite component into NaN.
    if (!std::isfinite(length) || !std::isfinite(inverse)) {
        v = Wm4::Vector3<float>::ZERO;
        return 0.0f;
    }
    v *= inverse;
    return length;
}

float largestComponent(const Wm4::Vector3<float>& v)
{
    return std::max({std::fabs(v.X()), std::fabs(v.Y()), std::fabs(v.Z())});
}

Wm4::Vector3<float> directionOf(Wm4::Vector3<float> v)
{
    if (!std::isnormal(v.Dot(v))) {
        const float largest = largestComponent(v);
        if (!(largest > 0.0f) || !std::isfinite(largest)) {
            return Wm4::Vector3<float>::ZERO;
        }
        v /= largest;
    }
    safeNormalize(v);
    return v;
}

Wm4::Matrix3<float> normalizeColumns(const Wm4::Matrix3<float>& m)
{
    Wm4::Matrix3<float> result;
    for (int col = 0; col < 3; ++col) {
        Wm4::Vector3<float> column = m.GetColumn(col);
        safeNormalize(column);
        result.SetColumn(col, column);
    }
    return result;
}

Wm4::Matrix3<float> orthonormalFrame(const Wm4::Matrix3<float>& m)
{
    Wm4::Vector3<float> x = m.GetColumn(0);
    Wm4::Vector3<float> y = m.GetColumn(1);
    if (safeNormalize(x) == 0.0f) {
        return Wm4::Matrix3<float>::IDENTITY;
    }
    y -= x * x.Dot(y);
    if (safeNormalize(y) == 0.0f) {
        return Wm4::Matrix3<float>::IDENTITY;
    }
    return Wm4::Matrix3<float>(x, y, x.Cross(y), true);
}

float determinant(const Wm4::Matrix3<float>& m)
{
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1))
        + m(0, 1) * (m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2))
        + m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

Wm4::Matrix3<float> cofactorInverse(const Wm4::Matrix3<float>& m)
{
    const float det = determinant(m);
    if (det == 0.0f) {
        return Wm4::Matrix3<float>::ZERO;
    }
    const Wm4::Matrix3<float> adjugate(
        m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1), m(0, 2) * m(2, 1) - m(0, 1) * m(2, 2),
        m(0, 1) * m(1, 2) - m(0, 2) * m(1, 1),
        m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2), m(0, 0) * m(2, 2) - m(0, 2) * m(2, 0),
        m(0, 2) * m(1, 0) - m(0, 0) * m(1, 2),
        m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0), m(0, 1) * m(2, 0) - m(0, 0) * m(2, 1),
        m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0));
    return adjugate * (1.0f / det);
}

bool isRotationOnceNormalized(const Wm4::Matrix3<float>& m, Wm4::Matrix3<float>& normalized)
{
    normalized = normalizeColumns(m);
    // A rotation's inverse is its transpose.
    const Wm4::Matrix3<float> inverse = cofactorInverse(normalized);
    for (int row = 0; row < 3; ++row) {
        float sum = 0.0f;
        for (int col = 0; col < 3; ++col) {
            const float difference = normalized(row, col) - inverse(col, row);
            sum += difference * difference;
        }
        if (!(sum < kOrthonormalRowTolerance)) {
            return false;
        }
    }
    return std::fabs(determinant(normalized) - 1.0f) <= kRotationDeterminantTolerance;
}

Wm4::Matrix3<float> eulerToMatrix(float x, float y, float z)
{
    const float cx = std::cos(x), sx = std::sin(x);
    const float cy = std::cos(y), sy = std::sin(y);
    const float cz = std::cos(z), sz = std::sin(z);
    const Wm4::Matrix3<float> rx(1.0f, 0.0f, 0.0f, 0.0f, cx, -sx, 0.0f, sx, cx);
    const Wm4::Matrix3<float> ry(cy, 0.0f, sy, 0.0f, 1.0f, 0.0f, -sy, 0.0f, cy);
    const Wm4::Matrix3<float> rz(cz, -sz, 0.0f, sz, cz, 0.0f, 0.0f, 0.0f, 1.0f);
    return rx * (ry * rz);
}

void matrixToEuler(const Wm4::Matrix3<float>& r, float& x, float& y, float& z)
{
    const float r02 = r(0, 2);
    if (r02 > -1.0f && r02 < 1.0f) {
        y = static_cast<float>(std::asin(static_cast<double>(r02)));
        x = std::atan2(-r(1, 2), r(2, 2));
        z = std::atan2(-r(0, 1), r(0, 0));
    } else if (r02 <= -1.0f) {
        y = -Wm4::Math<float>::HALF_PI;
        x = -std::atan2(r(1, 0), r(1, 1));
        z = 0.0f;
    } else {
        // r02 >= 1, or not a number.
        y = Wm4::Math<float>::HALF_PI;
        x = std::atan2(r(1, 0), r(1, 1));
        z = 0.0f;
    }
}

bool isFinite(const Wm4::Vector3<float>& v)
{
    return std::isfinite(v.X()) && std::isfinite(v.Y()) && std::isfinite(v.Z());
}

bool isFinite(const Wm4::Matrix3<float>& m)
{
    for (int i = 0; i < 9; ++i) {
        if (!std::isfinite(m.Entries()[i])) {
            return false;
        }
    }
    return true;
}

} // namespace ek
