#include "FrameSketch.h"

#include <ekSceneGraph/ekCamera.h>

namespace ek::web {
namespace {

// The halo under each gizmo stroke, as the desktop viewer draws it: dark,
// this much wider in pixels, so that the gizmo stands out on any face.
const Wm4::ColorRGBA kHaloColour(8 / 255.0f, 9 / 255.0f, 12 / 255.0f, 200 / 255.0f);
constexpr float kHaloExtra = 3.0f;

} // namespace

void FrameSketch::build(const std::vector<ekDrawSegment>& drawList,
                        const std::vector<viewer::SceneObject>& objects,
                        const std::vector<std::size_t>& selection, const ekCamera& camera,
                        int width, int height)
{
    m_width = width;
    m_height = height;
    m_commands.clear();
    addLines(drawList, camera, Stroke::Plain);
    m_solids.draw(*this, objects, selection, camera, width, height);
    addLines(drawList, camera, Stroke::Halo);
    addLines(drawList, camera, Stroke::Gizmo);
}

void FrameSketch::addLines(const std::vector<ekDrawSegment>& drawList, const ekCamera& camera,
                           Stroke stroke)
{
    const bool overlay = stroke != Stroke::Plain;
    const bool halo = stroke == Stroke::Halo;
    const std::array<float, 16>& viewProjection = camera.getViewProjectionMatrix();
    for (const ekDrawSegment& segment : drawList) {
        if (segment.overlay != overlay) {
            continue;
        }
        viewer::ClipPoint a = viewer::toClip(viewProjection, segment.start);
        viewer::ClipPoint b = viewer::toClip(viewProjection, segment.end);
        if (viewer::clipSegment(a, b)) {
            addLine(viewer::toView(a, m_width, m_height), viewer::toView(b, m_width, m_height),
                    halo ? kHaloColour : segment.color,
                    halo ? segment.width + kHaloExtra : segment.width);
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
