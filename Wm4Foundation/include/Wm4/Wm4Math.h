#pragma once

#include <cmath>
#include <limits>

namespace Wm4 {

// Scalar constants and helpers of the foundation library.
template <class Real>
class Math {
public:
    static constexpr Real WM4_PI = Real(3.14159265358979323846);
    static constexpr Real TWO_PI = Real(2) * WM4_PI;
    static constexpr Real HALF_PI = Real(0.5) * WM4_PI;
    static constexpr Real DEG_TO_RAD = WM4_PI / Real(180);
    static constexpr Real RAD_TO_DEG = Real(180) / WM4_PI;
    static constexpr Real MAX_REAL = std::numeric_limits<Real>::max();
    // Below this magnitude a length or a dot product counts as zero.
    static constexpr Real ZERO_TOLERANCE = Real(1e-06);

    static Real Sqrt(Real value) { return std::sqrt(value); }
    static Real FAbs(Real value) { return std::fabs(value); }
};

} // namespace Wm4
