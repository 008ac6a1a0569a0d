#pragma once

#include "Wm4Math.h"

namespace Wm4 {

// A 3D vector or point; x is index 0, y 1, z 2.
template <class Real>
class Vector3 {
public:
    constexpr Vector3() = default; // zero
    constexpr Vector3(Real x, Real y, Real z) : m_tuple{x, y, z} {}

    Real X() const { return m_tuple[0]; }
    Real Y() const { return m_tuple[1]; }
    Real Z() const { return m_tuple[2]; }
    Real& X() { return m_tuple[0]; }
    Real& Y() { return m_tuple[1]; }
    Real& Z() { return m_tuple[2]; }
    Real operator[](int i) const { return m_tuple[i]; }
    Real& operator[](int i) { return m_tuple[i]; }

    // Exact, component by component.
    bool operator==(const Vector3& v) const
    {
        return X() == v.X() && Y() == v.Y() && Z() == v.Z();
    }
    bool operator!=(const Vector3& v) const { return !(*this == v); }

    Vector3 operator+(const Vector3& v) const { return {X() + v.X(), Y() + v.Y(), Z() + v.Z()}; }
    Vector3 operator-(const Vector3& v) const { return {X() - v.X(), Y() - v.Y(), Z() - v.Z()}; }
    Vector3 operator*(Real s) const { return {X() * s, Y() * s, Z() * s}; }
    Vector3 operator/(Real s) const { return {X() / s, Y() / s, Z() / s}; }
    Vector3 operator-() const { return {-X(), -Y(), -Z()}; }
    Vector3& operator+=(const Vector3& v) { return *this = *this + v; }
    Vector3& operator-=(const Vector3& v) { return *this = *this - v; }
    Vector3& operator*=(Real s) { return *this = *this * s; }
    Vector3& operator/=(Real s) { return *this = *this / s; }

    Real Dot(const Vector3& v) const { return X() * v.X() + Y() * v.Y() + Z() * v.Z(); }
    Vector3 Cross(const Vector3& v) const
    {
        return {Y() * v.Z() - Z() * v.Y(), Z() * v.X() - X() * v.Z(), X() * v.Y() - Y() * v.X()};
    }
    Real SquaredLength() const { return Dot(*this); }
    Real Length() const { return Math<Real>::Sqrt(SquaredLength()); }

    // Makes the vector unit length and returns its former length. A vector
    // shorter than ZERO_TOLERANCE becomes zero and 0 is returned.
    Real Normalize()
    {
        const Real length = Length();
        if (length > Math<Real>::ZERO_TOLERANCE) {
            *this /= length;
            return length;
        }
        *this = Vector3();
        return Real(0);
    }

    static const Vector3 ZERO;
    static const Vector3 ONE;
    static const Vector3 UNIT_X;
    static const Vector3 UNIT_Y;
    static const Vector3 UNIT_Z;

private:
    Real m_tuple[3] = {Real(0), Real(0), Real(0)};
};

template <class Real>
Vector3<Real> operator*(Real s, const Vector3<Real>& v) { return v * s; }

template <class Real> const Vector3<Real> Vector3<Real>::ZERO(Real(0), Real(0), Real(0));
template <class Real> const Vector3<Real> Vector3<Real>::ONE(Real(1), Real(1), Real(1));
template <class Real> const Vector3<Real> Vector3<Real>::UNIT_X(Real(1), Real(0), Real(0));
template <class Real> const Vector3<Real> Vector3<Real>::UNIT_Y(Real(0), Real(1), Real(0));
template <class Real> const Vector3<Real> Vector3<Real>::UNIT_Z(Real(0), Real(0), Real(1));

using Vector3f = Vector3<float>;

} // namespace Wm4
