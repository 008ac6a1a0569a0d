#pragma once

#include <Wm4/Wm4Vector3.h>

#include <vector>

namespace ek::viewer {

// A closed convex solid in its object's local frame, as the viewer draws
// it: flat faces, each a convex polygon whose corners run anticlockwise
// seen from outside, and the edges between them, for outlines.
struct Mesh {
    struct Face {
        unsigned int first; // index of its first corner in corners
        unsigned int count; // corners, at least 3
    };
    // An edge and the two faces that share it.
    struct Edge {
        unsigned int a, b;
        unsigned int faceA, faceB;
    };

    std::vector<Wm4::Vector3<float>> vertices;
    std::vector<unsigned int> corners; // vertex indices, face after face
    std::vector<Face> faces;
    std::vector<Edge> edges;
};

// A box of half extents half, centred on the origin.
Mesh makeBoxMesh(const Wm4::Vector3<float>& half);
// A pyramid on a square base of half side `half` on y = 0, apex at height.
Mesh makePyramidMesh(float half, float height);

} // namespace ek::viewer
