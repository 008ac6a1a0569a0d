#include "SolidRenderer.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QSizeF>

namespace ek::viewer {
namespace {

QColor toQColor(const Wm4::ColorRGBA& colour)
{
    return QColor::fromRgbF(colour.R(), colour.G(), colour.B(), colour.A());
}

// The drawing's faces and outlines as QPainter's polygons and lines.
class PainterCanvas final : public SolidCanvas {
public:
    PainterCanvas(QPainter& painter, std::vector<QPointF>& polygon)
        : m_painter(painter), m_polygon(polygon)
    {
    }

    void fillFace(const std::vector<ViewPoint>& corners, const Wm4::ColorRGBA& fill,
                  const Wm4::ColorRGBA& edge) override
    {
        m_polygon.clear();
        for (const ViewPoint& corner : corners) {
            m_polygon.emplace_back(corner.x, corner.y);
        }
        m_painter.setPen(QPen(toQColor(edge), kFaceEdgeWidth));
        m_painter.setBrush(toQColor(fill));
        m_painter.drawPolygon(m_polygon.data(), static_cast<int>(m_polygon.size()));
    }

    void strokeOutline(const ViewPoint& a, const ViewPoint& b, const Wm4::ColorRGBA& colour,
                       float width) override
    {
        m_painter.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
    }

private:
    QPainter& m_painter;
    std::vector<QPointF>& m_polygon;
};

} // namespace

void SolidRenderer::draw(QPainter& painter, const std::vector<SceneObject>& objects,
                         const std::vector<std::size_t>& selection, const ekCamera& camera,
                         const QSizeF& size)
{
    PainterCanvas canvas(painter, m_polygon);
    m_drawing.draw(canvas, objects, selection, camera, size.width(), size.height());
}

} // namespace ek::viewer
