#include "ek3DManipulatorFunctor.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekMeshUtils.h>

namespace ek {

// The controller collects its gizmo nodes with this walk; its code lives
// in the library.
template class ekMeshUtils::GetNodeFunctor<ekGizmoNode>;

ek3DManipulatorFunctor::ek3DManipulatorFunctor(std::vector<ekPointer<ekGeometry>>& batch)
    : m_renderBatch(&batch)
{
}

void ek3DManipulatorFunctor::visit(ekSpatial* spatial)
{
    if (spatial != nullptr && spatial->IsDerived(ekGizmoNode::TYPE)) {
        static_cast<ekGizmoNode*>(spatial)->getChildrenEkGeometries(*m_renderBatch);
    }
}

void analyse3DManipulators(ek2DPrimitivesPass* pass, ekSpatial* root)
{
    std::vector<ekPointer<ekGeometry>>& batch = pass->editGeometryRenderBatch();
    batch.clear();
    ek3DManipulatorFunctor functor(batch);
    ekSceneGraphVisitor(functor).apply(root);
}

} // namespace ek
