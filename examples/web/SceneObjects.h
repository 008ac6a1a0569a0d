#pragma once

#include <Wm4/Wm4ColorRGBA.h>

#include <vector>

namespace ek {
class ekLine;
class ekNode;
}

namespace ek::web {

// An object of the viewer's scene as the page sees it: its node, the line
// drawing it (its outline, in the selection colour while selected) and the
// colour it was built with, which its faces keep.
struct SceneObjectView {
    const ekNode* node; // owned by the scene
    const ekLine* line; // child of node
    Wm4::ColorRGBA colour;
};

// The objects of the scene under root that the viewer's scene builder
// makes, in its order. root must hold that scene, whose objects keep their
// names; the views stay valid while it does.
std::vector<SceneObjectView> findSceneObjects(const ekNode& root);

} // namespace ek::web
