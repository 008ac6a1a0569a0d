#include "FrameSketch.h"

#include "ViewLayout.h"

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>

#include <algorithm>

namespace ek::web {
namespace {

using Vec3 = Wm4::Vector3<float>;

// The layout names a pixel by its index; the canvas puts that pixel's
// centre half a pixel further.
constexpr float kCanvasPixelCentre = 0.5f;

// Light on the faces: a fixed key light from above, right and in front, and a
// little from the eye so that no face turned to the viewer is black.
const Vec3 kKeyLight = Vec3(0.60f, 0.75f, 0.30f) / Vec3(0.60f, 0.75f, 0.30f).Length();
constexpr float kAmbient = 0.30f;
constexpr float kKeyShare = 0.50f;
constexpr float kEyeShare = 0.25f;

// Newell's normal of a planar polygon, unit length.
Vec3 polygonNormal(const std::vector<Vec3>& corners, const std::vector<int>& face)
{
    Vec3 normal = Vec3::ZERO;
    for (std::size_t i = 0; i < face.size(); ++i) {
        const Vec3& a = corners[static_cast<std::size_t>(face[i])];
        const Vec3& b = corners[static_cast<std::size_t>(face[(i + 1) % face.size()])];
        normal += (a - b).Cross(a + b);
    }
    normal.Normalize();
    return normal;
}

bool containsBoth(const std::vector<int>& face, unsigned int a, unsigned int b)
{
    const auto has = [&face](unsigned int i) {
        return std::find(face.begin(), face.end(), static_cast<int>(i)) != face.end();
    };
    return has(a) && has(b);
}

} // namespace

void FrameSketch::build(const std::vector<ekDrawSegment>& drawList,
                        const std::vector<SceneObjectView>& objects, const ekCamera& camera,
                        int width, int height)
{
    m_camera = &camera;
    m_width = width;
    m_height = height;
    m_commands.clear();
    m_solids.clear();

    const auto solidOf = [&objects](const ekLine* line) {
        return std::find_if(objects.begin(), objects.end(),
                            [line](const SceneObjectView& o) { return o.line == line; });
    };
    for (const ekDrawSegment& segment : drawList) {
        if (segment.overlay) {
            continue;
        }
        const auto object = solidOf(segment.line);
        if (object == objects.end()) {
            addLine(segment.start, segment.end, segment.color, segment.width);
        } else if (std::none_of(m_solids.begin(), m_solids.end(),
                                [&object](const Solid& s) { return s.object == &*object; })) {
            const Vec3 centre = object->node->getWorldBound().getCenter();
            m_solids.push_back({&*object, (centre - camera.getLocation()).Dot(camera.getDVector())});
        }
    }
    std::sort(m_solids.begin(), m_solids.end(),
              [](const Solid& a, const Solid& b) { return a.depth > b.depth; });
    for (const Solid& solid : m_solids) {
        addSolid(*solid.object);
    }
    for (const ekDrawSegment& segment : drawList) {
        if (segment.overlay) {
            addLine(segment.start, segment.end, segment.color, segment.width);
        }
    }
}

void FrameSketch::addLine(const Vec3& start, const Vec3& end, const Wm4::ColorRGBA& colour,
                          float width)
{
    // Only what lies beyond the near plane projects; the far plane is left
    // to the scene's extent.
    const Vec3& eye = m_camera->getLocation();
    const Vec3& direction = m_camera->getDVector();
    const float near = m_camera->getDMin();
    const float da = (start - eye).Dot(direction) - near;
    const float db = (end - eye).Dot(direction) - near;
    if (da < 0.0f && db < 0.0f) {
        return;
    }
    const Vec3 a = da < 0.0f ? start + (end - start) * (da / (da - db)) : start;
    const Vec3 b = db < 0.0f ? end + (start - end) * (db / (db - da)) : end;
    const viewer::ScreenPoint pa = viewer::toWindowPixel(*m_camera, a, m_width, m_height);
    const viewer::ScreenPoint pb = viewer::toWindowPixel(*m_camera, b, m_width, m_height);
    if (!pa.visible || !pb.visible) {
        return;
    }
    m_commands.insert(m_commands.end(),
                      {kLine, colour.R(), colour.G(), colour.B(), colour.A(), width,
                       pa.x + kCanvasPixelCentre, pa.y + kCanvasPixelCentre,
                       pb.x + kCanvasPixelCentre, pb.y + kCanvasPixelCentre});
}

void FrameSketch::addSolid(const SceneObjectView& object)
{
    const ekLine& line = *object.line;
    const ekGenericTransformation<float>& world = line.getWorldTransform();
    m_corners.clear();
    Vec3 centre = Vec3::ZERO;
    for (int i = 0; i < line.getVertexCount(); ++i) {
        m_corners.push_back(world.ApplyForward(line.getVertexPosition(i)));
        centre += m_corners.back();
    }
    centre /= float(std::max(line.getVertexCount(), 1));

    const Vec3& eye = m_camera->getLocation();
    const float near = m_camera->getDMin();
    std::vector<const std::vector<int>*> front;
    for (const ConvexFace& face : facesOf(line)) {
        // Recomputed in world space: a scale may shear or mirror the hull.
        Vec3 normal = polygonNormal(m_corners, face.corners);
        const Vec3& first = m_corners[static_cast<std::size_t>(face.corners.front())];
        if ((first - centre).Dot(normal) < 0.0f) {
            normal = -normal;
        }
        const Vec3 toEye = eye - first;
        const bool beyondNear = std::all_of(face.corners.begin(), face.corners.end(), [&](int i) {
            return (m_corners[static_cast<std::size_t>(i)] - eye).Dot(m_camera->getDVector()) >= near;
        });
        if (toEye.Dot(normal) <= 0.0f || !beyondNear) {
            continue;
        }
        front.push_back(&face.corners);
        const float light = kAmbient + kKeyShare * std::max(0.0f, normal.Dot(kKeyLight))
                            + kEyeShare * std::max(0.0f, normal.Dot(toEye) / toEye.Length());
        m_commands.insert(m_commands.end(),
                          {kPolygon, float(face.corners.size()), object.colour.R() * light,
                           object.colour.G() * light, object.colour.B() * light, 1.0f});
        for (int i : face.corners) {
            const viewer::ScreenPoint p = viewer::toWindowPixel(
                *m_camera, m_corners[static_cast<std::size_t>(i)], m_width, m_height);
            m_commands.push_back(p.x + kCanvasPixelCentre);
            m_commands.push_back(p.y + kCanvasPixelCentre);
        }
    }
    // The outline where it bounds a visible face; the rest is hidden.
    line.forEachSegment([&](unsigned int a, unsigned int b) {
        const bool shown = std::any_of(front.begin(), front.end(),
                                       [&](const std::vector<int>* f) { return containsBoth(*f, a, b); });
        if (shown) {
            addLine(m_corners[a], m_corners[b], line.getColor(), line.getWidth());
        }
    });
}

const std::vector<ConvexFace>& FrameSketch::facesOf(const ekLine& line)
{
    auto found = m_faces.find(&line);
    if (found == m_faces.end()) {
        std::vector<Vec3> points;
        for (int i = 0; i < line.getVertexCount(); ++i) {
            points.push_back(line.getVertexPosition(i));
        }
        found = m_faces.emplace(&line, convexFaces(points)).first;
    }
    return found->second;
}

} // namespace ek::web
