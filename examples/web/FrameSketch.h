#pragma once

#include "ConvexFaces.h"
#include "SceneObjects.h"

#include <ekSceneGraph/ekDrawCache.h>

#include <Wm4/Wm4Vector3.h>

#include <unordered_map>
#include <vector>

namespace ek {
class ekCamera;
}

namespace ek::web {

// What the page paints of one frame on a 2D canvas, in canvas CSS pixels
// (origin top-left, y down, a pixel's centre half a pixel in), as one flat
// list of numbers the page reads straight from the module's memory:
//   kPolygon, n, r, g, b, a, x0, y0, ... x(n-1), y(n-1)   a filled face
//   kLine, r, g, b, a, width, x0, y0, x1, y1              a stroked segment
// Colours are 0..1, widths pixels. In painting order: the plain lines of
// the scene (the ground grid), the objects back to front, each as its lit
// front faces and the outline edges that bound them, then the overlay (the
// gizmo) on top of everything.
class FrameSketch {
public:
    static constexpr float kPolygon = 1.0f;
    static constexpr float kLine = 2.0f;

    // Rebuilds the list from a frame's draw list, drawn by camera into a
    // width x height view (pixels, both positive). The objects' lines are
    // drawn as solids: the convex hull of each line's vertices, in its
    // object's colour.
    void build(const std::vector<ekDrawSegment>& drawList, const std::vector<SceneObjectView>& objects,
               const ekCamera& camera, int width, int height);
    const std::vector<float>& commands() const { return m_commands; }

private:
    struct Solid {
        const SceneObjectView* object;
        float depth; // of its centre along the view direction
    };

    void addLine(const Wm4::Vector3<float>& start, const Wm4::Vector3<float>& end,
                 const Wm4::ColorRGBA& colour, float width);
    void addSolid(const SceneObjectView& object);
    const std::vector<ConvexFace>& facesOf(const ekLine& line);

    const ekCamera* m_camera = nullptr;
    int m_width = 1;
    int m_height = 1;
    std::vector<float> m_commands;
    std::vector<Solid> m_solids;
    std::vector<Wm4::Vector3<float>> m_corners; // world corners of the solid being drawn
    // Hulls in the lines' own space: a line's vertices do not change in
    // this scene, its transform does.
    std::unordered_map<const ekLine*, std::vector<ConvexFace>> m_faces;
};

} // namespace ek::web
