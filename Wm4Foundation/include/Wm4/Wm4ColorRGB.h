#pragma once

namespace Wm4 {

// An RGB colour, each channel in 0..1.
class ColorRGB {
public:
    constexpr ColorRGB() = default; // black
    constexpr ColorRGB(float red, float green, float blue) : m_tuple{red, green, blue} {}

    float R() const { return m_tuple[0]; }
    float G() const { return m_tuple[1]; }
    float B() const { return m_tuple[2]; }
    float operator[](int i) const { return m_tuple[i]; }
    float& operator[](int i) { return m_tuple[i]; }

    bool operator==(const ColorRGB& c) const
    {
        return R() == c.R() && G() == c.G() && B() == c.B();
    }
    bool operator!=(const ColorRGB& c) const { return !(*this == c); }

    static const ColorRGB BLACK;
    static const ColorRGB WHITE;

private:
    float m_tuple[3] = {0.0f, 0.0f, 0.0f};
};

} // namespace Wm4
