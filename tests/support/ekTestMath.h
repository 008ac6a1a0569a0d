#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>

namespace ek_test {

// Rotation by angle (radians, right-handed) about the unit axis, by
// Rodrigues' formula: an independent route to the rotations under test.
inline Wm4::Matrix3<float> rotationAbout(const Wm4::Vector3<float>& axis, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    const float x = axis.X();
    const float y = axis.Y();
    const float z = axis.Z();
    return {t * x * x + c,     t * x * y - s * z, t * x * z + s * y,
            t * x * y + s * z, t * y * y + c,     t * y * z - s * x,
            t * x * z - s * y, t * y * z + s * x, t * z * z + c};
}

} // namespace ek_test
