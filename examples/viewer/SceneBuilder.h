#pragma once

#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4ColorRGBA.h>

#include <vector>

namespace ek {
class ekLine;
}

namespace ek::viewer {

// One object a user can select and manipulate: a named node whose only
// child is its wireframe.
struct SceneObject {
    ekNode* node;         // named; owned by the scene
    ekLine* wireframe;    // child of node, owned by it
    Wm4::ColorRGBA colour; // its colour when not selected
};

// The viewer's world: a ground grid and a few wireframe objects under one
// root. The objects' world data is up to date when it is returned.
struct Scene {
    ekPointer<ekNode> root;
    std::vector<SceneObject> objects;
};

Scene buildScene();

} // namespace ek::viewer
