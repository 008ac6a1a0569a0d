#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

namespace ek {

// Makes v unit length in place and returns its former length. A vector
// whose length is 0, or whose length or inverse length is not a finite
// number, becomes (0, 0, 0) and 0 is returned. There is no tolerance: any
// vector of non-zero finite length is normalised, however short.
float safeNormalize(Wm4::Vector3<float>& v);

// The largest absolute component of v: the unit that brings v to a size
// whose squares neither underflow nor overflow.
float largestComponent(const Wm4::Vector3<float>& v);

// The unit vector along v, also where the squares of v's components
// underflow or overflow (a gizmo scaled to 1e-30 or 1e30 world units): v
// is first brought to a largest component of 1. Zero for a zero or
// non-finite v. Exactly safeNormalize's result wherever that one works.
Wm4::Vector3<float> directionOf(Wm4::Vector3<float> v);

// m with each column made unit length by the safeNormalize rule.
Wm4::Matrix3<float> normalizeColumns(const Wm4::Matrix3<float>& m);

// The right-handed orthonormal frame closest in spirit to m's columns:
// column 0 along m's column 0, column 1 in the plane of m's columns 0 and
// 1, column 2 their cross product. The identity when those two columns
// are degenerate (zero or parallel).
Wm4::Matrix3<float> orthonormalFrame(const Wm4::Matrix3<float>& m);

// The determinant, expanded along the first row.
float determinant(const Wm4::Matrix3<float>& m);

// The adjugate over the determinant; the zero matrix when the determinant
// is exactly 0 (no tolerance: a small but regular matrix still inverts).
Wm4::Matrix3<float> cofactorInverse(const Wm4::Matrix3<float>& m);

// Whether m is a proper rotation once its columns are normalised.
// normalized always receives m with normalised columns, the rotation part
// of m when the test passes. Reflections, shears that distort angles and
// degenerate columns fail.
bool isRotationOnceNormalized(const Wm4::Matrix3<float>& m, Wm4::Matrix3<float>& normalized);

// The rotation Rx(x) * Ry(y) * Rz(z), angles in radians, acting on column
// vectors.
Wm4::Matrix3<float> eulerToMatrix(float x, float y, float z);

// The angles (radians) of a rotation built by eulerToMatrix. At gimbal lock
// (y = +-pi/2) z is 0 and x carries the whole turn about the locked axis.
void matrixToEuler(const Wm4::Matrix3<float>& r, float& x, float& y, float& z);

bool isFinite(const Wm4::Vector3<float>& v);
bool isFinite(const Wm4::Matrix3<float>& m);

} // namespace ek
