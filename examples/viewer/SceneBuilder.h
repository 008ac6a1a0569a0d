#pragma once

#include "Mesh.h"

#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4ColorRGBA.h>

#include <vector>

namespace ek {
class ekLine;
}

namespace ek::viewer {

// One object a user can select and manipulate: a named node, child of the
// scene's root, whose only child is its shape for the engine (the mesh's
// edges, never drawn by it: it gives the node its bound). The viewer draws
// the mesh's faces itself.
struct SceneObject {
    ekNode* node;          // named; owned by the scene
    ekLine* shape;         // child of node, owned by it
    Mesh mesh;             // in node's local frame
    Wm4::ColorRGBA colour; // of its faces
};

// The viewer's world: a ground grid and a few solid objects under one root.
// The objects' world data is up to date when it is returned.
struct Scene {
    ekPointer<ekNode> root;
    std::vector<SceneObject> objects;
};

Scene buildScene();

} // namespace ek::viewer
