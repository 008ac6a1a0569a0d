#pragma once

#include "Wm4Vector3.h"

namespace Wm4 {

// The points P with Normal . P = Constant.
template <class Real>
class Plane3 {
public:
    Plane3() = default;
    Plane3(const Vector3<Real>& normal, Real constant) : Normal(normal), Constant(constant) {}
    // The plane of that normal through point.
    Plane3(const Vector3<Real>& normal, const Vector3<Real>& point)
        : Normal(normal), Constant(normal.Dot(point))
    {
    }

    // Normal . P - Constant: signed distance for a unit normal.
    Real DistanceTo(const Vector3<Real>& p) const { return Normal.Dot(p) - Constant; }

    Vector3<Real> Normal;
    Real Constant = Real(0);
};

} // namespace Wm4
