#pragma once

#include "Wm4ColorRGB.h"

namespace Wm4 {

// An RGBA colour, each channel in 0..1; alpha 1 is opaque.
class ColorRGBA {
public:
    constexpr ColorRGBA() = default; // transparent black
    constexpr ColorRGBA(float red, float green, float blue, float alpha) : m_tuple{red, green, blue, alpha} {}
    // Opaque colour of the same red, green and blue.
    explicit ColorRGBA(const ColorRGB& rgb) : m_tuple{rgb.R(), rgb.G(), rgb.B(), 1.0f} {}

    float R() const { return m_tuple[0]; }
    float G() const { return m_tuple[1]; }
    float B() const { return m_tuple[2]; }
    float A() const { return m_tuple[3]; }
    float& R() { return m_tuple[0]; }
    float& G() { return m_tuple[1]; }
    float& B() { return m_tuple[2]; }
    float& A() { return m_tuple[3]; }
    float operator[](int i) const { return m_tuple[i]; }
    float& operator[](int i) { return m_tuple[i]; }

    // Exact comparisons: != is true when any channel differs.
    bool operator==(const ColorRGBA& c) const
    {
        return R() == c.R() && G() == c.G() && B() == c.B() && A() == c.A();
    }
    bool operator!=(const ColorRGBA& c) const { return !(*this == c); }

    static const ColorRGBA BLACK;
    static const ColorRGBA WHITE;

private:
    float m_tuple[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

} // namespace Wm4
