#pragma once

#include <Wm4/Wm4ColorRGB.h>

namespace ek {

// The colour of each axis's handles (0 X, 1 Y, 2 Z), shared by the three
// groups. The table is filled once, on first use, safely across threads.
const Wm4::ColorRGB& axisColor(unsigned int axis);

} // namespace ek
