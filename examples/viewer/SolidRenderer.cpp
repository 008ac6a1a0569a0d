#include "SolidRenderer.h"

#include <ekSceneGraph/ekBound.h>
#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Matrix3.h>

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QSizeF>

#include <algorithm>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;

// Light reaching a face that looks away from the light, and the share that
// a face looking straight at it adds.
constexpr float kAmbient = 0.38f;
constexpr float kDiffuse = 0.62f;
// Where the light comes from, in the camera's right, up and backward
// axes: over the viewer's left shoulder.
const Vec3 kLightInView(-0.35f, 0.6f, 0.72f);
// Face edges are the fill darkened by this factor, one pixel wide.
constexpr float kEdgeShade = 0.55f;
const QColor kOutlineColour(255, 140, 26);
const QColor kActiveOutlineColour(255, 226, 120);
// Width of the selection's outline, pixels.
constexpr qreal kOutlineWidth = 3.0;

QColor shade(const Wm4::ColorRGBA& colour, float light)
{
    return QColor::fromRgbF(std::min(colour.R() * light, 1.0f), std::min(colour.G() * light, 1.0f),
                            std::min(colour.B() * light, 1.0f), colour.A());
}

} // namespace

void SolidRenderer::draw(QPainter& painter, const std::vector<SceneObject>& objects,
                         const std::vector<std::size_t>& selection, const ekCamera& camera,
                         const QSizeF& size)
{
    m_order.clear();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const Vec3 offset = objects[i].node->getWorldBound().getCenter() - camera.getLocation();
        m_order.push_back({offset.Dot(camera.getDVector()), i});
    }
    std::sort(m_order.begin(), m_order.end(),
              [](const Ordered& a, const Ordered& b) { return a.depth > b.depth; });
    for (const Ordered& entry : m_order) {
        project(objects[entry.index], camera, size);
        drawFaces(painter, objects[entry.index], camera);
        // Outlined with its faces, so that nearer objects cover it too.
        if (std::find(selection.begin(), selection.end(), entry.index) != selection.end()) {
            drawOutline(painter, objects[entry.index], entry.index == selection.back(), size);
        }
    }
}

void SolidRenderer::project(const SceneObject& object, const ekCamera& camera, const QSizeF& size)
{
    const ekGenericTransformation<float>& world = object.node->getWorldTransform();
    const Mesh& mesh = object.mesh;
    m_world.clear();
    m_clip.clear();
    m_screen.clear();
    for (const Vec3& vertex : mesh.vertices) {
        m_world.push_back(world.ApplyForward(vertex, true));
        m_clip.push_back(toClip(camera.getViewProjectionMatrix(), m_world.back()));
        // Behind the near plane a screen point means nothing; faces that
        // use one are skipped below.
        m_screen.push_back(m_clip.back().z >= 0.0f ? toScreen(m_clip.back(), size) : QPointF());
    }
    m_front.clear();
    for (const Mesh::Face& face : mesh.faces) {
        const Vec3 toEye = camera.getLocation() - m_world[mesh.corners[face.first]];
        m_front.push_back(faceNormal(mesh, face).Dot(toEye) > 0.0f ? 1 : 0);
    }
}

void SolidRenderer::drawFaces(QPainter& painter, const SceneObject& object, const ekCamera& camera)
{
    Vec3 light = camera.getRVector() * kLightInView.X() + camera.getUVector() * kLightInView.Y()
                 - camera.getDVector() * kLightInView.Z();
    light.Normalize();
    const Mesh& mesh = object.mesh;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const Mesh::Face& face = mesh.faces[f];
        m_polygon.clear();
        for (unsigned int c = 0; c < face.count; ++c) {
            const unsigned int vertex = mesh.corners[face.first + c];
            if (m_clip[vertex].z < 0.0f) {
                break;
            }
            m_polygon.push_back(m_screen[vertex]);
        }
        if (m_front[f] == 0 || m_polygon.size() != face.count) {
            continue;
        }
        Vec3 normal = faceNormal(mesh, face);
        normal.Normalize();
        const QColor fill = shade(object.colour, kAmbient + kDiffuse * std::max(normal.Dot(light), 0.0f));
        painter.setPen(QPen(shade(object.colour, kEdgeShade), 1.0));
        painter.setBrush(fill);
        painter.drawPolygon(m_polygon.data(), static_cast<int>(m_polygon.size()));
    }
}

void SolidRenderer::drawOutline(QPainter& painter, const SceneObject& object, bool active,
                                const QSizeF& size)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(active ? kActiveOutlineColour : kOutlineColour, kOutlineWidth,
                        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // The silhouette: edges between a face turned towards the eye and one
    // turned away.
    for (const Mesh::Edge& edge : object.mesh.edges) {
        if (m_front[edge.faceA] == m_front[edge.faceB]) {
            continue;
        }
        ClipPoint a = m_clip[edge.a];
        ClipPoint b = m_clip[edge.b];
        if (clipSegment(a, b)) {
            painter.drawLine(toScreen(a, size), toScreen(b, size));
        }
    }
}

Vec3 SolidRenderer::faceNormal(const Mesh& mesh, const Mesh::Face& face) const
{
    const Vec3& a = m_world[mesh.corners[face.first]];
    const Vec3& b = m_world[mesh.corners[face.first + 1]];
    const Vec3& c = m_world[mesh.corners[face.first + 2]];
    return (b - a).Cross(c - a);
}

} // namespace ek::viewer
