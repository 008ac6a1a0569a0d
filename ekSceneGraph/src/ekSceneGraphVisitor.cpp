#include "ekSceneGraph/ekSceneGraphVisitor.h"

#include "ekSceneGraph/ekNode.h"

#include <cstddef>
#include <vector>

namespace ek {

bool ekSceneGraphVisitor::Functor::accept(ekSpatial*)
{
    return true;
}

void ekSceneGraphVisitor::apply(ekSpatial* root)
{
    if (root == nullptr || !m_functor.accept(root)) {
        return;
    }
    m_functor.visit(root);
    if (root->m_kind == ekSpatial::KIND_NODE) {
        // By index: a functor may attach or detach children as it goes.
        const std::vector<ekPointer<ekSpatial>>& children = static_cast<const ekNode*>(root)->m_children;
        for (std::size_t i = 0; i < children.size(); ++i) {
            apply(children[i]);
        }
    }
}

} // namespace ek
