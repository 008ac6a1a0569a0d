#include "FrameSketch.h"

#include <ekSceneGraph/ekCamera.h>

namespace ek::web {

void FrameSketch::build(const std::vector<ekDrawSegment>& drawList,
                        const std::vector<viewer::SceneObject>& objects,
                        const std::vector<std::size_t>& selection, const ekCamera& camera,
                        int width, int height)
{
    m_width = width;
    m_height = height;
    m_commands.clear();
    addLines(drawList, camera, false);
    m_solids.draw(*this, objects, selection, camera, width, height);
    addLines(drawList, camera, true);
}

void FrameSketch::addLines(const std::vector<ekDrawSegment>& drawList, const ekCamera& camera,
                           bool overlay)
{
    const std::array<float, 16>& viewProjection = camera.getViewProjectionMatrix();
    for (const ekDrawSegment& segment : drawList) {
        if (segment.overlay != overlay) {
            continue;
        }
        viewer::ClipPoint a = viewer::toClip(viewProjection, segment.start);
        viewer::ClipPoint b = viewer::toClip(viewProjection, segment.end);
        if (viewer::clipSegment(a, b)) {
            addLine(viewer::toView(a, m_width, m_height), viewer::toView(b, m_width, m_height),
                    segment.color, segment.width);
        }
    }
}

void FrameSketch::addLine(const viewer::ViewPoint& a, const viewer::ViewPoint& b,
                          const Wm4::ColorRGBA& colour, float width)
{
    m_commands.insert(m_commands.end(),
                      {kLine, colour.R(), colour.G(), colour.B(), colour.A(), width, float(a.x),
                       float(a.y), float(b.x), float(b.y)});
}

void FrameSketch::fillFace(const std::vector<viewer::ViewPoint>& corners,
                           const Wm4::ColorRGBA& fill, const Wm4::ColorRGBA& edge)
{
    m_commands.insert(m_commands.end(),
                      {kPolygon, float(corners.size()), fill.R(), fill.G(), fill.B(), fill.A(),
                       edge.R(), edge.G(), edge.B(), edge.A(), viewer::kFaceEdgeWidth});
    for (const viewer::ViewPoint& corner : corners) {
        m_commands.push_back(float(corner.x));
        m_commands.push_back(float(corner.y));
    }
}

void FrameSketch::strokeOutline(const viewer::ViewPoint& a, const viewer::ViewPoint& b,
                                const Wm4::ColorRGBA& colour, float width)
{
    addLine(a, b, colour, width);
}

} // namespace ek::web
