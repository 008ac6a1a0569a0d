#pragma once

#include <Wm4/Wm4ColorRGBA.h>

#include <QColor>

namespace ek::viewer {

// How the viewer draws the gizmo's lines over the shaded scene: thicker
// than the library draws them and in saturated, bright colours, each over
// a dark halo so that it stands out on any face or on the sky. The
// viewer's own choice until the library offers style settings; the
// renderer asks only this.
struct GizmoStroke {
    QColor colour;
    float width; // pixels
};

GizmoStroke gizmoStroke(const Wm4::ColorRGBA& colour, float width);

// The halo under a stroke: dark, this much wider in pixels.
const QColor kGizmoHaloColour(8, 9, 12, 200);
constexpr float kGizmoHaloExtra = 3.0f;

} // namespace ek::viewer
