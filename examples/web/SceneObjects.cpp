#include "SceneObjects.h"

#include "SceneBuilder.h"

#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>

namespace ek::web {
namespace {

// The first child of node of type T, null when none.
template <class T>
const T* childOfType(const ekNode& node)
{
    for (int i = 0; i < node.getChildCount(); ++i) {
        const ekSpatial* child = node.getChild(i);
        if (child != nullptr && child->IsDerived(T::TYPE)) {
            return static_cast<const T*>(child);
        }
    }
    return nullptr;
}

const ekNode* childNamed(const ekNode& root, const std::string& name)
{
    for (int i = 0; i < root.getChildCount(); ++i) {
        const ekSpatial* child = root.getChild(i);
        if (child != nullptr && child->IsDerived(ekNode::TYPE) && child->getName() == name) {
            return static_cast<const ekNode*>(child);
        }
    }
    return nullptr;
}

} // namespace

std::vector<SceneObjectView> findSceneObjects(const ekNode& root)
{
    // The session selects by recolouring the outlines, so the colours come
    // from a scene built afresh, which nothing has selected.
    const viewer::Scene pristine = viewer::buildScene();
    std::vector<SceneObjectView> views;
    for (const viewer::SceneObject& object : pristine.objects) {
        const ekNode* node = childNamed(root, object.node->getName());
        const ekLine* line = node != nullptr ? childOfType<ekLine>(*node) : nullptr;
        if (line != nullptr) {
            views.push_back({node, line, object.colour});
        }
    }
    return views;
}

} // namespace ek::web
