#pragma once

#include "Wm4Math.h"

namespace Wm4 {

// A 2D vector or point; x is index 0, y index 1.
template <class Real>
class Vector2 {
public:
    constexpr Vector2() = default; // zero
    constexpr Vector2(Real x, Real y) : m_tuple{x, y} {}

    Real X() const { return m_tuple[0]; }
    Real Y() const { return m_tuple[1]; }
    Real& X() { return m_tuple[0]; }
    Real& Y() { return m_tuple[1]; }
    Real operator[](int i) const { return m_tuple[i]; }
    Real& operator[](int i) { return m_tuple[i]; }

    bool operator==(const Vector2& other) const
    {
        return m_tuple[0] == other.m_tuple[0] && m_tuple[1] == other.m_tuple[1];
    }
    bool operator!=(const Vector2& other) const { return !(*this == other); }

    Vector2 operator+(const Vector2& v) const { return {X() + v.X(), Y() + v.Y()}; }
    Vector2 operator-(const Vector2& v) const { return {X() - v.X(), Y() - v.Y()}; }
    Vector2 operator*(Real s) const { return {X() * s, Y() * s}; }
    Vector2 operator/(Real s) const { return {X() / s, Y() / s}; }
    Vector2 operator-() const { return {-X(), -Y()}; }
    Vector2& operator+=(const Vector2& v) { return *this = *this + v; }
    Vector2& operator-=(const Vector2& v) { return *this = *this - v; }
    Vector2& operator*=(Real s) { return *this = *this * s; }

    Real Dot(const Vector2& v) const { return X() * v.X() + Y() * v.Y(); }
    Real SquaredLength() const { return Dot(*this); }
    Real Length() const { return Math<Real>::Sqrt(SquaredLength()); }

    static const Vector2 ZERO;
    static const Vector2 UNIT_X;
    static const Vector2 UNIT_Y;
    static const Vector2 ONE;

private:
    Real m_tuple[2] = {Real(0), Real(0)};
};

template <class Real>
Vector2<Real> operator*(Real s, const Vector2<Real>& v) { return v * s; }

template <class Real> const Vector2<Real> Vector2<Real>::ZERO(Real(0), Real(0));
template <class Real> const Vector2<Real> Vector2<Real>::UNIT_X(Real(1), Real(0));
template <class Real> const Vector2<Real> Vector2<Real>::UNIT_Y(Real(0), Real(1));
template <class Real> const Vector2<Real> Vector2<Real>::ONE(Real(1), Real(1));

using Vector2f = Vector2<float>;

} // namespace Wm4
