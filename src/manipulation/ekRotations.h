#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>

namespace ek {

// The rotation by angle (radians, right-handed) about the unit axis n.
inline Wm4::Matrix3<float> rotationAbout(const Wm4::Vector3<float>& n, float angle)
{
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    const float t = 1.0f - c;
    const float x = n.X();
    const float y = n.Y();
    const float z = n.Z();
    return {x * x * t + c,     x * y * t - z * s, x * z * t + y * s,
            x * y * t + z * s, y * y * t + c,     y * z * t - x * s,
            x * z * t - y * s, y * z * t + x * s, z * z * t + c};
}

// angle rounded to a multiple of step (radians); step 0 or less leaves it.
inline float roundToStep(float angle, float step)
{
    return step > 0.0f ? std::round(angle / step) * step : angle;
}

} // namespace ek
