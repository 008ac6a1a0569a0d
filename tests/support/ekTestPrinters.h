#pragma once

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>

#include <ostream>

// Printers for GoogleTest (found by argument-dependent lookup), so that a
// failed comparison shows the values.
namespace Wm4 {

inline void PrintTo(const ColorRGBA& c, std::ostream* out)
{
    *out << "(" << c.R() << ", " << c.G() << ", " << c.B() << ", " << c.A() << ")";
}

inline void PrintTo(const ColorRGB& c, std::ostream* out)
{
    *out << "(" << c.R() << ", " << c.G() << ", " << c.B() << ")";
}

} // namespace Wm4
