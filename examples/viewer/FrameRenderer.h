#pragma once

#include <ekSceneGraph/ekEngine.h>

#include <Wm4/Wm4ColorRGBA.h>

#include <QPen>

#include <vector>

class QPainter;
class QSizeF;

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// Draws an engine frame with QPainter: every world segment projected
// through the camera, clipped to the space between the near and far
// planes, antialiased, with its colour and width in pixels; overlay
// segments (the gizmo) last, over the rest.
class FrameRenderer {
public:
    void draw(QPainter& painter, const std::vector<ekDrawSegment>& segments, const ekCamera& camera,
              const QSizeF& size);

private:
    void drawPass(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                  const ekCamera& camera, const QSizeF& size, bool overlay);
    // A pen per colour and width, kept across frames so that steady frames
    // make none.
    const QPen& penFor(const Wm4::ColorRGBA& colour, float width);

    struct CachedPen {
        Wm4::ColorRGBA colour;
        float width;
        QPen pen;
    };
    std::vector<CachedPen> m_pens;
};

} // namespace ek::viewer
