#pragma once

#include "ClipSpace.h"
#include "SceneBuilder.h"

#include <Wm4/Wm4Vector3.h>

#include <QPointF>

#include <cstddef>
#include <vector>

class QPainter;
class QSizeF;

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// Draws the scene's objects as lit solids with QPainter: the faces that
// look towards the eye, filled with the object's colour under a light from
// over the viewer's shoulder; objects from the farthest to the nearest, so
// that nearer ones cover farther ones (each mesh is convex, so its front
// faces never overlap; no edit or drag mirrors one, which would turn its
// faces inside out). Each selected object is outlined as it is drawn,
// the active object brighter.
class SolidRenderer {
public:
    // selection: indices into objects, the active object last.
    void draw(QPainter& painter, const std::vector<SceneObject>& objects,
              const std::vector<std::size_t>& selection, const ekCamera& camera,
              const QSizeF& size);

private:
    // Fills the scratch arrays for object: its vertices in world, clip and
    // screen space, and which of its faces look towards the eye.
    void project(const SceneObject& object, const ekCamera& camera, const QSizeF& size);
    void drawFaces(QPainter& painter, const SceneObject& object, const ekCamera& camera);
    void drawOutline(QPainter& painter, const SceneObject& object, bool active, const QSizeF& size);
    Wm4::Vector3<float> faceNormal(const Mesh& mesh, const Mesh::Face& face) const;

    struct Ordered {
        float depth; // along the view, world units
        std::size_t index;
    };
    // Scratch kept across frames so that steady frames allocate nothing.
    std::vector<Ordered> m_order;
    std::vector<Wm4::Vector3<float>> m_world;
    std::vector<ClipPoint> m_clip;
    std::vector<QPointF> m_screen;
    std::vector<unsigned char> m_front; // per face: looks towards the eye
    std::vector<QPointF> m_polygon;
};

} // namespace ek::viewer
