#include "Wm4/Wm4ColorRGB.h"
#include "Wm4/Wm4ColorRGBA.h"

namespace Wm4 {

const ColorRGB ColorRGB::BLACK(0.0f, 0.0f, 0.0f);
const ColorRGB ColorRGB::WHITE(1.0f, 1.0f, 1.0f);
const ColorRGBA ColorRGBA::BLACK(0.0f, 0.0f, 0.0f, 1.0f);
const ColorRGBA ColorRGBA::WHITE(1.0f, 1.0f, 1.0f, 1.0f);

} // namespace Wm4
