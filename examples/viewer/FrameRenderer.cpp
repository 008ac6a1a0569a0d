#include "FrameRenderer.h"

#include "ClipSpace.h"

#include <ekSceneGraph/ekCamera.h>

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QSizeF>

namespace ek::viewer {
namespace {

// Distinct pens kept at most; past this the cache starts again (a frame
// uses a few dozen).
constexpr std::size_t kMaxCachedPens = 96;
// The halo under each gizmo stroke: dark, this much wider in pixels, so
// that the gizmo's own colours (the library's high-contrast style) stand
// out on any face or on the sky.
const QColor kGizmoHaloColour(8, 9, 12, 200);
constexpr float kGizmoHaloExtra = 3.0f;

} // namespace

void FrameRenderer::draw(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                         const ekCamera& camera, const std::vector<SceneObject>& objects,
                         const std::vector<std::size_t>& selection, const QSizeF& size)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawPass(painter, segments, camera, size, Stroke::Plain);
    m_solids.draw(painter, objects, selection, camera, size);
    drawPass(painter, segments, camera, size, Stroke::Halo);
    drawPass(painter, segments, camera, size, Stroke::Gizmo);
}

void FrameRenderer::drawPass(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                             const ekCamera& camera, const QSizeF& size, Stroke stroke)
{
    const bool overlay = stroke != Stroke::Plain;
    const std::array<float, 16>& viewProjection = camera.getViewProjectionMatrix();
    // The pen in use, by what it draws: the cache may start again mid-pass.
    Wm4::ColorRGBA currentColour;
    float currentWidth = -1.0f;
    for (const ekDrawSegment& segment : segments) {
        if (segment.overlay != overlay) {
            continue;
        }
        ClipPoint a = toClip(viewProjection, segment.start);
        ClipPoint b = toClip(viewProjection, segment.end);
        if (!clipSegment(a, b)) {
            continue;
        }
        if (segment.color != currentColour || segment.width != currentWidth) {
            painter.setPen(penFor(segment.color, segment.width, stroke));
            currentColour = segment.color;
            currentWidth = segment.width;
        }
        painter.drawLine(QLineF(toScreen(a, size), toScreen(b, size)));
    }
}

const QPen& FrameRenderer::penFor(const Wm4::ColorRGBA& colour, float width, Stroke stroke)
{
    for (const CachedPen& cached : m_pens) {
        if (cached.colour == colour && cached.width == width && cached.stroke == stroke) {
            return cached.pen;
        }
    }
    if (m_pens.size() == kMaxCachedPens) {
        m_pens.clear();
    }
    const bool halo = stroke == Stroke::Halo;
    const QColor penColour = halo ? kGizmoHaloColour
                                  : QColor::fromRgbF(colour.R(), colour.G(), colour.B(), colour.A());
    const float penWidth = halo ? width + kGizmoHaloExtra : width;
    m_pens.push_back(
        {colour, width, stroke, QPen(penColour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)});
    return m_pens.back().pen;
}

} // namespace ek::viewer
