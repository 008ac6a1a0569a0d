#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>

namespace ek_test {

// Rotation by angle (radians, right-handed) about the unit axis, built from
// the unit quaternion (cos a/2, sin a/2 axis): another route than the
// axis-angle formula the library uses.
inline Wm4::Matrix3<float> rotationAbout(const Wm4::Vector3<float>& axis, float angle)
{
    const float w = std::cos(0.5f * angle);
    const float s = std::sin(0.5f * angle);
    const float x = axis.X() * s;
    const float y = axis.Y() * s;
    const float z = axis.Z() * s;
    return {1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - z * w), 2.0f * (x * z + y * w),
            2.0f * (x * y + z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - x * w),
            2.0f * (x * z - y * w), 2.0f * (y * z + x * w), 1.0f - 2.0f * (x * x + y * y)};
}

} // namespace ek_test
