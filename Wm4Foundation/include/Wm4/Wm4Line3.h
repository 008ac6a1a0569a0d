#pragma once

#include "Wm4Vector3.h"

namespace Wm4 {

// The points Origin + t * Direction for every real t. Direction is used as
// given: it need not be unit length.
template <class Real>
class Line3 {
public:
    Line3() = default;
    Line3(const Vector3<Real>& origin, const Vector3<Real>& direction)
        : Origin(origin), Direction(direction)
    {
    }

    Vector3<Real> Origin;
    Vector3<Real> Direction;
};

} // namespace Wm4
