#include "ekSceneGraph/ekSceneGraphVisitor.h"

#include "ekSceneGraph/ekNode.h"

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
    if (root->IsDerived(ekNode::TYPE)) {
        const auto* node = static_cast<const ekNode*>(root);
        for (int i = 0; i < node->getChildCount(); ++i) {
            apply(node->getChild(i));
        }
    }
}

} // namespace ek
