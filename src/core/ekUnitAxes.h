#pragma once

#include <Wm4/Wm4Vector3.h>

namespace ek {

// The unit vectors of the axes X, Y, Z, indexed 0, 1, 2.
inline const Wm4::Vector3<float>& unitAxis(unsigned int axis)
{
    static constexpr Wm4::Vector3<float> kAxes[3] = {
        {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    return kAxes[axis];
}

} // namespace ek
