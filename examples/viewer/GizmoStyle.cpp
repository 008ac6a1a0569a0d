#include "GizmoStyle.h"

#include <algorithm>

namespace ek::viewer {
namespace {

// The library's widths times this, and no thinner than the minimum, pixels.
constexpr float kWidthFactor = 1.6f;
constexpr float kMinWidth = 3.0f;
// Least saturation and value of a gizmo colour (0..1): the library's axis
// colours are muted, which reads poorly over lit faces.
constexpr float kMinSaturation = 0.7f;
constexpr float kMinValue = 1.0f;

} // namespace

GizmoStroke gizmoStroke(const Wm4::ColorRGBA& colour, float width)
{
    QColor c = QColor::fromRgbF(colour.R(), colour.G(), colour.B(), colour.A());
    float hue = 0.0f;
    float saturation = 0.0f;
    float value = 0.0f;
    float alpha = 0.0f;
    c.getHsvF(&hue, &saturation, &value, &alpha);
    // A grey (hue -1) stays grey, only brighter.
    if (hue >= 0.0f) {
        saturation = std::max(saturation, kMinSaturation);
    }
    c.setHsvF(hue, saturation, std::max(value, kMinValue), alpha);
    return {c, std::max(width * kWidthFactor, kMinWidth)};
}

} // namespace ek::viewer
