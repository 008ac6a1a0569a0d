#pragma once

#include "ClipPoint.h"
#include "SceneBuilder.h"

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <vector>

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// Width of a face's edge stroke, pixels.
constexpr float kFaceEdgeWidth = 1.0f;

// What a SolidDrawing paints on, in the order it calls: the desktop
// viewer's QPainter, the browser demo's canvas. Places are view pixels.
class SolidCanvas {
public:
    // A convex polygon filled with fill, its border stroked with edge
    // kFaceEdgeWidth wide. corners is valid during the call only.
    virtual void fillFace(const std::vector<ViewPoint>& corners, const Wm4::ColorRGBA& fill,
                          const Wm4::ColorRGBA& edge) = 0;
    // A segment of a selected object's outline, width pixels wide with
    // round caps and joins.
    virtual void strokeOutline(const ViewPoint& a, const ViewPoint& b, const Wm4::ColorRGBA& colour,
                               float width) = 0;

protected:
    ~SolidCanvas() = default;
};

// The scene's objects as lit solids: the faces that look towards the eye,
// filled with the object's colour under a light from over the viewer's
// shoulder; objects from the farthest to the nearest, so that nearer ones
// cover farther ones (each mesh is convex, so its front faces never
// overlap; no edit or drag mirrors one, which would turn its faces inside
// out). Each selected object is outlined as it is drawn, the active object
// brighter.
class SolidDrawing {
public:
    // selection: indices into objects, the active object last. The view is
    // width x height pixels.
    void draw(SolidCanvas& canvas, const std::vector<SceneObject>& objects,
              const std::vector<std::size_t>& selection, const ekCamera& camera, double width,
              double height);

private:
    // Fills the scratch arrays for object: its vertices in world, clip and
    // view space, and which of its faces look towards the eye.
    void project(const SceneObject& object, const ekCamera& camera, double width, double height);
    void drawFaces(SolidCanvas& canvas, const SceneObject& object, const ekCamera& camera);
    void drawOutline(SolidCanvas& canvas, const SceneObject& object, bool active, double width,
                     double height);
    Wm4::Vector3<float> faceNormal(const Mesh& mesh, const Mesh::Face& face) const;

    struct Ordered {
        float depth; // along the view, world units
        std::size_t index;
    };
    // Scratch kept across frames so that steady frames allocate nothing.
    std::vector<Ordered> m_order;
    std::vector<Wm4::Vector3<float>> m_world;
    std::vector<ClipPoint> m_clip;
    std::vector<ViewPoint> m_view;
    std::vector<unsigned char> m_front; // per face: looks towards the eye
    std::vector<ViewPoint> m_polygon;
};

} // namespace ek::viewer
