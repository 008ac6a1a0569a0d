#pragma once

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>

#include <array>

namespace ek {

/// How a gizmo's handles look: colours and stroke widths. A
/// default-constructed style is the gizmo's own look, which a node keeps
/// until the host gives it another (ekGizmoNode::setStyle).
struct ekGizmoStyle {
    /// The colour of each axis's handles (index 0 X, 1 Y, 2 Z), drawn opaque.
    /// The uniform-scale handle and the drag feedback lines stay white.
    std::array<Wm4::ColorRGB, 3> axisColors{{
        {0.6f, 0.212f, 0.368f},
        {0.302f, 0.451f, 0.294f},
        {0.306f, 0.262f, 0.749f},
    }};
    /// The colour of the handles under the cursor in every mode, drawn with
    /// alpha 1.
    Wm4::ColorRGBA highlightColor{1.0f, 1.0f, 1.0f, 1.0f};
    /// Width of every handle stroke (shafts, arrowheads, circles, end
    /// squares, uniform-scale handle), in logical pixels. 0, or any value
    /// that is not a positive finite number, keeps each stroke's own width
    /// (shafts 2.5 and 2.0, heads and squares 1.8, circles 2.0). The drag
    /// feedback lines keep their own widths.
    float lineWidth = 0.0f;
    /// Device pixels per logical pixel (2 on a typical HiDPI screen): every
    /// stroke, drag feedback included, is drawn this many times wider, as
    /// the engine's line widths are in device pixels. A value that is not a
    /// positive finite number counts as 1.
    float devicePixelRatio = 1.0f;

    /// Bright, saturated axis colours, a yellow highlight and 3.5-pixel
    /// strokes: handles that stand out on dark and busy scenes.
    static ekGizmoStyle highContrast()
    {
        ekGizmoStyle style;
        style.axisColors = {{{1.0f, 0.4f, 0.4f}, {0.35f, 1.0f, 0.35f}, {0.35f, 0.6f, 1.0f}}};
        style.highlightColor = Wm4::ColorRGBA(1.0f, 1.0f, 0.0f, 1.0f);
        style.lineWidth = 3.5f;
        return style;
    }
};

} // namespace ek
