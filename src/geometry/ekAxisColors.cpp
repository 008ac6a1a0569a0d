#include "ekAxisColors.h"

namespace ek {

const Wm4::ColorRGB& axisColor(unsigned int axis)
{
    // Constant-initialised, so concurrent first calls need no guard.
    static constexpr Wm4::ColorRGB kAxisColors[3] = {
        {0.6f, 0.212f, 0.368f},
        {0.302f, 0.451f, 0.294f},
        {0.306f, 0.262f, 0.749f},
    };
    return kAxisColors[axis];
}

} // namespace ek
