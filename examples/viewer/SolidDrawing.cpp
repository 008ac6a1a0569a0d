#include "SolidDrawing.h"

#include <ekSceneGraph/ekBound.h>
#include <ekSceneGraph/ekCamera.h>

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
// Face edges are the fill darkened by this factor.
constexpr float kEdgeShade = 0.55f;
const Wm4::ColorRGBA kOutlineColour(1.0f, 140 / 255.0f, 26 / 255.0f, 1.0f);
const Wm4::ColorRGBA kActiveOutlineColour(1.0f, 226 / 255.0f, 120 / 255.0f, 1.0f);
// Width of the selection's outline, pixels.
constexpr float kOutlineWidth = 3.0f;

Wm4::ColorRGBA shade(const Wm4::ColorRGBA& colour, float light)
{
    return Wm4::ColorRGBA(std::min(colour.R() * light, 1.0f), std::min(colour.G() * light, 1.0f),
                          std::min(colour.B() * light, 1.0f), colour.A());
}

} // namespace

void SolidDrawing::draw(SolidCanvas& canvas, const std::vector<SceneObject>& objects,
                        const std::vector<std::size_t>& selection, const ekCamera& camera,
                        double width, double height)
{
    m_order.clear();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const Vec3 offset = objects[i].node->getWorldBound().getCenter() - camera.getLocation();
        m_order.push_back({offset.Dot(camera.getDVector()), i});
    }
    std::sort(m_order.begin(), m_order.end(),
              [](const Ordered& a, const Ordered& b) { return a.depth > b.depth; });
    for (const Ordered& entry : m_order) {
        project(objects[entry.index], camera, width, height);
        drawFaces(canvas, objects[entry.index], camera);
        // Outlined with its faces, so that nearer objects cover it too.
        if (std::find(selection.begin(), selection.end(), entry.index) != selection.end()) {
            drawOutline(canvas, objects[entry.index], entry.index == selection.back(), width,
                        height);
        }
    }
}

void SolidDrawing::project(const SceneObject& object, const ekCamera& camera, double width,
                           double height)
{
    const ekGenericTransformation<float>& world = object.node->getWorldTransform();
    const Mesh& mesh = object.mesh;
    m_world.clear();
    m_clip.clear();
    m_view.clear();
    for (const Vec3& vertex : mesh.vertices) {
        m_world.push_back(world.ApplyForward(vertex, true));
        m_clip.push_back(toClip(camera.getViewProjectionMatrix(), m_world.back()));
        // Behind the near plane a view point means nothing; faces that use
        // one are skipped below.
        m_view.push_back(m_clip.back().z >= 0.0f ? toView(m_clip.back(), width, height)
                                                 : ViewPoint());
    }
    m_front.clear();
    for (const Mesh::Face& face : mesh.faces) {
        const Vec3 toEye = camera.getLocation() - m_world[mesh.corners[face.first]];
        m_front.push_back(faceNormal(mesh, face).Dot(toEye) > 0.0f ? 1 : 0);
    }
}

void SolidDrawing::drawFaces(SolidCanvas& canvas, const SceneObject& object, const ekCamera& camera)
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
            m_polygon.push_back(m_view[vertex]);
        }
        if (m_front[f] == 0 || m_polygon.size() != face.count) {
            continue;
        }
        Vec3 normal = faceNormal(mesh, face);
        normal.Normalize();
        const float lit = kAmbient + kDiffuse * std::max(normal.Dot(light), 0.0f);
        canvas.fillFace(m_polygon, shade(object.colour, lit), shade(object.colour, kEdgeShade));
    }
}

void SolidDrawing::drawOutline(SolidCanvas& canvas, const SceneObject& object, bool active,
                               double width, double height)
{
    // The silhouette: edges between a face turned towards the eye and one
    // turned away.
    for (const Mesh::Edge& edge : object.mesh.edges) {
        if (m_front[edge.faceA] == m_front[edge.faceB]) {
            continue;
        }
        ClipPoint a = m_clip[edge.a];
        ClipPoint b = m_clip[edge.b];
        if (clipSegment(a, b)) {
            canvas.strokeOutline(toView(a, width, height), toView(b, width, height),
                                 active ? kActiveOutlineColour : kOutlineColour, kOutlineWidth);
        }
    }
}

Vec3 SolidDrawing::faceNormal(const Mesh& mesh, const Mesh::Face& face) const
{
    const Vec3& a = m_world[mesh.corners[face.first]];
    const Vec3& b = m_world[mesh.corners[face.first + 1]];
    const Vec3& c = m_world[mesh.corners[face.first + 2]];
    return (b - a).Cross(c - a);
}

} // namespace ek::viewer
