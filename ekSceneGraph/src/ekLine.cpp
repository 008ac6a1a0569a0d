#include "ekSceneGraph/ekLine.h"

namespace ek {

ekLine::ekLine(unsigned int n)
    : ekGeometry(KIND_LINE, static_cast<int>(n), static_cast<int>(n)), m_drawMethod(DM_STRIP), m_staticData(false)
{
}

ekLine::ekLine(int vertexCount, int indexCount, bool staticData)
    : ekGeometry(KIND_LINE, vertexCount, indexCount), m_drawMethod(DM_SEGMENTS), m_staticData(staticData)
{
}

ekLine::ekLine(ShapeOf shape)
    : ekGeometry(KIND_LINE, shape.line), m_drawMethod(shape.line.m_drawMethod), m_staticData(shape.line.m_staticData)
{
}

void ekLine::setDrawMethod(DrawMethod method)
{
    if (method != m_drawMethod) {
        m_drawMethod = method;
        markDrawChanged();
    }
}

void ekLine::setWidth(float width)
{
    if (!(width == m_width)) {
        m_width = width;
        markDrawChanged();
    }
}

void ekLine::setColor(const Wm4::ColorRGBA& color)
{
    if (color != m_color) {
        m_color = color;
        markDrawChanged();
    }
}

void ekLine::appendSegments(std::vector<Segment>& out) const
{
    forEachSegment([&out](unsigned int start, unsigned int end) { out.push_back({start, end}); });
}

} // namespace ek
