#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

namespace ek {

// An affine transformation Y = M * X + T in one of three kinds:
//   identity;
//   rotation-scale: M = R * S with R a rotation and S = diag(scale), which
//     may be uniform;
//   general: M any 3x3 matrix (set with SetMatrix).
// The kind is kept in flags, not deduced from the numbers: SetTranslate of
// zero still makes a transformation that is not the identity.
template <class Real>
class ekGenericTransformation {
public:
    using Vector3 = Wm4::Vector3<Real>;
    using Matrix3 = Wm4::Matrix3<Real>;

    // The identity. Constant, unlike the library's IDENTITY, ZERO and ONE,
    // so that making one reads no other library's data.
    constexpr ekGenericTransformation() = default;

    bool IsIdentity() const { return m_isIdentity; }
    bool IsRSMatrix() const { return m_isRSMatrix; }
    bool IsUniformScale() const { return m_isRSMatrix && m_isUniformScale; }

    void MakeIdentity()
    {
        m_matrix = Matrix3::IDENTITY;
        m_translate = Vector3::ZERO;
        m_scale = Vector3::ONE;
        m_isIdentity = true;
        m_isRSMatrix = true;
        m_isUniformScale = true;
    }

    // Scale back to one; rotation and translation stay.
    void MakeUnitScale()
    {
        m_scale = Vector3::ONE;
        m_isUniformScale = true;
    }

    // The rotation R of a rotation-scale transformation. For a general one
    // it is the whole matrix.
    void SetRotate(const Matrix3& rotate)
    {
        m_matrix = rotate;
        m_isIdentity = false;
        m_isRSMatrix = true;
    }
    const Matrix3& GetRotate() const { return m_matrix; }

    // Makes the transformation general with linear part matrix. The scale
    // goes back to one, so that a later SetRotate starts unscaled.
    void SetMatrix(const Matrix3& matrix)
    {
        m_matrix = matrix;
        m_scale = Vector3::ONE;
        m_isIdentity = false;
        m_isRSMatrix = false;
        m_isUniformScale = false;
    }
    // The whole linear part: R * S for a rotation-scale transformation.
    Matrix3 GetMatrix() const
    {
        return m_isRSMatrix ? m_matrix.TimesDiagonal(m_scale) : m_matrix;
    }

    void SetTranslate(const Vector3& translate)
    {
        m_translate = translate;
        m_isIdentity = false;
    }
    const Vector3& GetTranslate() const { return m_translate; }

    // Per-axis scale; meaningful for rotation-scale transformations only.
    void SetScale(const Vector3& scale)
    {
        m_scale = scale;
        m_isIdentity = false;
        m_isUniformScale = false;
    }
    const Vector3& GetScale() const { return m_scale; }

    void SetUniformScale(Real scale)
    {
        m_scale = Vector3(scale, scale, scale);
        m_isIdentity = false;
        m_isUniformScale = true;
    }
    Real GetUniformScale() const { return m_scale[0]; }

    // An upper bound of how much the linear part stretches a length.
    Real GetNorm() const
    {
        if (m_isRSMatrix) {
            Real norm = Wm4::Math<Real>::FAbs(m_scale[0]);
            for (int i = 1; i < 3; ++i) {
                const Real s = Wm4::Math<Real>::FAbs(m_scale[i]);
                norm = s > norm ? s : norm;
            }
            return norm;
        }
        Real sum = Real(0);
        for (int i = 0; i < 9; ++i) {
            sum += m_matrix.Entries()[i] * m_matrix.Entries()[i];
        }
        return Wm4::Math<Real>::Sqrt(sum); // Frobenius norm bounds the spectral norm
    }

    // M * p, plus T when withTranslation.
    Vector3 ApplyForward(const Vector3& p, bool withTranslation = true) const
    {
        if (m_isIdentity) {
            return p;
        }
        Vector3 result;
        if (m_isRSMatrix) {
            result = m_matrix * Vector3(m_scale[0] * p[0], m_scale[1] * p[1], m_scale[2] * p[2]);
        } else {
            result = m_matrix * p;
        }
        return withTranslation ? result + m_translate : result;
    }

    // this = a * b: b applied first, then a. Either argument may be this.
    void Product(const ekGenericTransformation& a, const ekGenericTransformation& b)
    {
        if (a.IsIdentity()) {
            *this = b;
            return;
        }
        if (b.IsIdentity()) {
            *this = a;
            return;
        }
        // Everything is computed before this is written, and written once:
        // no intermediate transformation to fill and copy.
        if (a.m_isRSMatrix && b.m_isRSMatrix && a.m_isUniformScale) {
            // s R1 (R2 S2 x + T2) + T1 stays a rotation-scale product.
            const Real s = a.GetUniformScale();
            const Matrix3 rotate = a.m_matrix * b.m_matrix;
            const Vector3 translate = a.m_matrix * b.m_translate * s + a.m_translate;
            const bool uniform = b.m_isUniformScale;
            Vector3 scale;
            if (uniform) {
                const Real product = s * b.GetUniformScale();
                scale = Vector3(product, product, product);
            } else {
                scale = b.m_scale * s;
            }
            m_matrix = rotate;
            m_translate = translate;
            m_scale = scale;
            m_isRSMatrix = true;
            m_isUniformScale = uniform;
        } else {
            const Matrix3 ma = a.GetMatrix();
            const Matrix3 matrix = ma * b.GetMatrix();
            const Vector3 translate = ma * b.m_translate + a.m_translate;
            m_matrix = matrix;
            m_translate = translate;
            m_scale = Vector3(Real(1), Real(1), Real(1));
            m_isRSMatrix = false;
            m_isUniformScale = false;
        }
        m_isIdentity = false;
    }

    // out = this^-1, as a general transformation (the identity stays the
    // identity). A singular linear part gives the zero matrix.
    void Inverse(ekGenericTransformation& out) const
    {
        if (m_isIdentity) {
            out = *this;
            return;
        }
        Matrix3 inverse;
        if (m_isRSMatrix) {
            // (R S)^-1 = S^-1 R^T, exact for a rotation R.
            const bool singular =
                m_scale[0] == Real(0) || m_scale[1] == Real(0) || m_scale[2] == Real(0);
            const Matrix3 rt = m_matrix.Transpose();
            for (int row = 0; row < 3 && !singular; ++row) {
                for (int col = 0; col < 3; ++col) {
                    inverse(row, col) = rt(row, col) / m_scale[row];
                }
            }
        } else {
            inverse = m_matrix.Inverse();
        }
        ekGenericTransformation result;
        result.SetMatrix(inverse);
        result.SetTranslate(-(inverse * m_translate));
        out = result;
    }

    // Equal kinds and equal numbers, exactly; the scale is compared only
    // where it takes part.
    bool operator==(const ekGenericTransformation& t) const
    {
        if (m_isIdentity != t.m_isIdentity || m_isRSMatrix != t.m_isRSMatrix
            || IsUniformScale() != t.IsUniformScale()) {
            return false;
        }
        if (m_isIdentity) {
            return true;
        }
        return m_matrix == t.m_matrix && m_translate == t.m_translate
            && (!m_isRSMatrix || m_scale == t.m_scale);
    }
    bool operator!=(const ekGenericTransformation& t) const { return !(*this == t); }

private:
    Matrix3 m_matrix = Matrix3(Real(1), Real(0), Real(0), Real(0), Real(1), Real(0), Real(0), Real(0), Real(1));
    Vector3 m_translate = Vector3(Real(0), Real(0), Real(0));
    Vector3 m_scale = Vector3(Real(1), Real(1), Real(1));
    bool m_isIdentity = true;
    bool m_isRSMatrix = true;
    bool m_isUniformScale = true;
};

} // namespace ek
