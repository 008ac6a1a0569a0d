#pragma once

#include "SolidDrawing.h"

#include <ekSceneGraph/ekDrawCache.h>

#include <cstddef>
#include <vector>

namespace ek::web {

// What the page paints of one frame on a 2D canvas, in canvas CSS pixels
// (origin top-left, y down, pixel (i, j) covering i..i+1 and j..j+1), as
// one flat list of numbers the page reads straight from the module's
// memory:
//   kPolygon, n, fill r, g, b, a, edge r, g, b, a, edge width, x0, y0, ... x(n-1), y(n-1)
//   kLine, r, g, b, a, width, x0, y0, x1, y1     a segment with round caps
// Colours are 0..1, widths pixels. In painting order, as the desktop
// viewer paints: the engine's plain lines (the ground grid), the objects
// as lit solids back to front with the selection outlined, then the
// engine's overlay (the gizmo) on top of everything, over dark halos.
class FrameSketch final : private viewer::SolidCanvas {
public:
    static constexpr float kPolygon = 1.0f;
    static constexpr float kLine = 2.0f;

    // Rebuilds the list from a frame's draw list and the session's objects
    // and selection (indices into objects, the active one last), drawn by
    // camera into a width x height view (pixels, both positive).
    void build(const std::vector<ekDrawSegment>& drawList,
               const std::vector<viewer::SceneObject>& objects,
               const std::vector<std::size_t>& selection, const ekCamera& camera, int width,
               int height);
    const std::vector<float>& commands() const { return m_commands; }

private:
    // What a pass draws of each segment: the segment as the engine gives
    // it (Plain for the world, Gizmo for the overlay), or the halo under it.
    enum class Stroke { Plain, Gizmo, Halo };

    void addLines(const std::vector<ekDrawSegment>& drawList, const ekCamera& camera,
                  Stroke stroke);
    void addLine(const viewer::ViewPoint& a, const viewer::ViewPoint& b,
                 const Wm4::ColorRGBA& colour, float width);
    void fillFace(const std::vector<viewer::ViewPoint>& corners, const Wm4::ColorRGBA& fill,
                  const Wm4::ColorRGBA& edge) override;
    void strokeOutline(const viewer::ViewPoint& a, const viewer::ViewPoint& b,
                       const Wm4::ColorRGBA& colour, float width) override;

    int m_width = 1;
    int m_height = 1;
    std::vector<float> m_commands;
    viewer::SolidDrawing m_solids;
};

} // namespace ek::web
