#include "FrameRenderer.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Vector3.h>

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QSizeF>

#include <array>

namespace ek::viewer {
namespace {

// Distinct pens kept at most; past this the cache starts again (a frame
// uses a dozen or so).
constexpr std::size_t kMaxCachedPens = 64;

// Homogeneous clip coordinates of a world point (the camera's matrix is in
// row-vector form). In view: 0 <= z <= w.
struct ClipPoint {
    float x, y, z, w;
};

ClipPoint toClip(const std::array<float, 16>& m, const Wm4::Vector3<float>& p)
{
    return {p.X() * m[0] + p.Y() * m[4] + p.Z() * m[8] + m[12],
            p.X() * m[1] + p.Y() * m[5] + p.Z() * m[9] + m[13],
            p.X() * m[2] + p.Y() * m[6] + p.Z() * m[10] + m[14],
            p.X() * m[3] + p.Y() * m[7] + p.Z() * m[11] + m[15]};
}

ClipPoint lerp(const ClipPoint& a, const ClipPoint& b, float t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t};
}

// Keeps the part of a-b on the positive side of one plane, given the
// signed distances of the ends; false when nothing is left.
bool clipTo(ClipPoint& a, ClipPoint& b, float da, float db)
{
    if (da < 0.0f && db < 0.0f) {
        return false;
    }
    if (da < 0.0f) {
        a = lerp(a, b, da / (da - db));
    } else if (db < 0.0f) {
        b = lerp(b, a, db / (db - da));
    }
    return true;
}

// Clips to the near plane (z >= 0, so w > 0 after it) and the far plane
// (z <= w).
bool clipSegment(ClipPoint& a, ClipPoint& b)
{
    return clipTo(a, b, a.z, b.z) && clipTo(a, b, a.w - a.z, b.w - b.z);
}

QPointF toScreen(const ClipPoint& c, const QSizeF& size)
{
    return {(c.x / c.w + 1.0f) * 0.5f * size.width(),
            (1.0f - (c.y / c.w + 1.0f) * 0.5f) * size.height()};
}

} // namespace

void FrameRenderer::draw(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                         const ekCamera& camera, const QSizeF& size)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawPass(painter, segments, camera, size, false);
    drawPass(painter, segments, camera, size, true);
}

void FrameRenderer::drawPass(QPainter& painter, const std::vector<ekDrawSegment>& segments,
                             const ekCamera& camera, const QSizeF& size, bool overlay)
{
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
            painter.setPen(penFor(segment.color, segment.width));
            currentColour = segment.color;
            currentWidth = segment.width;
        }
        painter.drawLine(QLineF(toScreen(a, size), toScreen(b, size)));
    }
}

const QPen& FrameRenderer::penFor(const Wm4::ColorRGBA& colour, float width)
{
    for (const CachedPen& cached : m_pens) {
        if (cached.colour == colour && cached.width == width) {
            return cached.pen;
        }
    }
    if (m_pens.size() == kMaxCachedPens) {
        m_pens.clear();
    }
    QPen pen(QColor::fromRgbF(colour.R(), colour.G(), colour.B(), colour.A()), width, Qt::SolidLine,
             Qt::RoundCap, Qt::RoundJoin);
    m_pens.push_back({colour, width, pen});
    return m_pens.back().pen;
}

} // namespace ek::viewer
