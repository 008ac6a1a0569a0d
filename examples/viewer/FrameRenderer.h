#pragma once

#include "SolidRenderer.h" // with the scene's objects, QPainter, QSizeF and ekCamera

#include <ekSceneGraph/ekDrawCache.h>

#include <Wm4/Wm4ColorRGBA.h>

#include <QPen>

namespace ek::viewer {

// Draws an engine frame with QPainter: the engine's world segments (the
// ground grid) projected through the camera and clipped to the space
// between the near and far planes; over them the objects as lit solids
// with the selection outlined; last the overlay segments (the gizmo),
// thick and bright over dark halos. Antialiased throughout.
class FrameRenderer {
public:
    // selection: indices into objects, the active object last.
    void draw(QPainter& painter, const std::vector<ekDrawSegment>& segments, const ekCamera& camera,
              const std::vector<SceneObject>& objects, const std::vector<std::size_t>& selection,
              const QSizeF& size);

private:
    // What a pass draws of each segment: the segment as the engine gives
    // it (Plain for the world, Gizmo for the overlay), or the halo under it.
    enum class Stroke { Plain, Gizmo, Halo };

    void drawPass(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                  const ekCamera& camera, const QSizeF& size, Stroke stroke);
    // A pen per colour, width and stroke, kept across frames so that steady
    // frames make none.
    const QPen& penFor(const Wm4::ColorRGBA& colour, float width, Stroke stroke);

    struct CachedPen {
        Wm4::ColorRGBA colour;
        float width;
        Stroke stroke;
        QPen pen;
    };
    std::vector<CachedPen> m_pens;
    SolidRenderer m_solids;
};

} // namespace ek::viewer
