#pragma once

#include "Wm4Vector3.h"

namespace Wm4 {

// A 3x3 matrix stored row-major and applied to column vectors (M * v), so
// column i of an orientation is the direction of its axis i.
template <class Real>
class Matrix3 {
public:
    constexpr Matrix3() = default; // zero

    // Entries given row by row.
    constexpr Matrix3(Real m00, Real m01, Real m02,
            Real m10, Real m11, Real m12,
            Real m20, Real m21, Real m22)
        : m_entry{m00, m01, m02, m10, m11, m12, m20, m21, m22}
    {
    }

    // Three vectors taken as the columns (columns true) or the rows.
    Matrix3(const Vector3<Real>& u, const Vector3<Real>& v, const Vector3<Real>& w, bool columns)
    {
        for (int i = 0; i < 3; ++i) {
            if (columns) {
                (*this)(i, 0) = u[i];
                (*this)(i, 1) = v[i];
                (*this)(i, 2) = w[i];
            } else {
                (*this)(0, i) = u[i];
                (*this)(1, i) = v[i];
                (*this)(2, i) = w[i];
            }
        }
    }

    // The diagonal matrix of d.
    static Matrix3 Diagonal(const Vector3<Real>& d)
    {
        return Matrix3(d[0], 0, 0, 0, d[1], 0, 0, 0, d[2]);
    }

    Real operator()(int row, int col) const { return m_entry[3 * row + col]; }
    Real& operator()(int row, int col) { return m_entry[3 * row + col]; }
    const Real* Entries() const { return m_entry; }

    Vector3<Real> GetColumn(int col) const
    {
        return {(*this)(0, col), (*this)(1, col), (*this)(2, col)};
    }
    void SetColumn(int col, const Vector3<Real>& v)
    {
        for (int row = 0; row < 3; ++row) {
            (*this)(row, col) = v[row];
        }
    }
    Vector3<Real> GetRow(int row) const
    {
        return {(*this)(row, 0), (*this)(row, 1), (*this)(row, 2)};
    }

    // Exact, entry by entry.
    bool operator==(const Matrix3& m) const
    {
        for (int i = 0; i < 9; ++i) {
            if (m_entry[i] != m.m_entry[i]) {
                return false;
            }
        }
        return true;
    }
    bool operator!=(const Matrix3& m) const { return !(*this == m); }

    Matrix3 operator+(const Matrix3& m) const
    {
        Matrix3 r;
        for (int i = 0; i < 9; ++i) {
            r.m_entry[i] = m_entry[i] + m.m_entry[i];
        }
        return r;
    }
    Matrix3 operator-(const Matrix3& m) const { return *this + m * Real(-1); }
    Matrix3 operator*(Real s) const
    {
        Matrix3 r;
        for (int i = 0; i < 9; ++i) {
            r.m_entry[i] = m_entry[i] * s;
        }
        return r;
    }

    Matrix3 operator*(const Matrix3& m) const
    {
        Matrix3 r;
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                r(row, col) = (*this)(row, 0) * m(0, col) + (*this)(row, 1) * m(1, col)
                    + (*this)(row, 2) * m(2, col);
            }
        }
        return r;
    }

    Vector3<Real> operator*(const Vector3<Real>& v) const
    {
        return {GetRow(0).Dot(v), GetRow(1).Dot(v), GetRow(2).Dot(v)};
    }

    Matrix3 Transpose() const
    {
        return Matrix3(m_entry[0], m_entry[3], m_entry[6],
                       m_entry[1], m_entry[4], m_entry[7],
                       m_entry[2], m_entry[5], m_entry[8]);
    }

    // this^T * m
    Matrix3 TransposeTimes(const Matrix3& m) const { return Transpose() * m; }
    // this * m^T
    Matrix3 TimesTranspose(const Matrix3& m) const { return *this * m.Transpose(); }
    // this * diag(d): column i scaled by d[i].
    Matrix3 TimesDiagonal(const Vector3<Real>& d) const { return *this * Diagonal(d); }

    Real Determinant() const
    {
        const Matrix3& m = *this;
        return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1))
            + m(0, 1) * (m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2))
            + m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
    }

    // Adjugate over determinant; the zero matrix when the determinant is 0.
    // No tolerance: a tiny but regular matrix (a small scale) still inverts.
    Matrix3 Inverse() const
    {
        const Matrix3& m = *this;
        Matrix3 adj(m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1), m(0, 2) * m(2, 1) - m(0, 1) * m(2, 2),
                    m(0, 1) * m(1, 2) - m(0, 2) * m(1, 1), m(1, 2) * m(2, 0) - m(1, 0) * m(2, 2),
                    m(0, 0) * m(2, 2) - m(0, 2) * m(2, 0), m(0, 2) * m(1, 0) - m(0, 0) * m(1, 2),
                    m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0), m(0, 1) * m(2, 0) - m(0, 0) * m(2, 1),
                    m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0));
        const Real det = m(0, 0) * adj(0, 0) + m(0, 1) * adj(1, 0) + m(0, 2) * adj(2, 0);
        if (det == Real(0)) {
            return ZERO;
        }
        return adj * (Real(1) / det);
    }

    static const Matrix3 ZERO;
    static const Matrix3 IDENTITY;

private:
    Real m_entry[9] = {};
};

template <class Real> const Matrix3<Real> Matrix3<Real>::ZERO;
template <class Real>
const Matrix3<Real> Matrix3<Real>::IDENTITY(Real(1), Real(0), Real(0), Real(0), Real(1), Real(0),
                                            Real(0), Real(0), Real(1));

using Matrix3f = Matrix3<float>;

} // namespace Wm4
