#include "ek3DManipulatorFunctor.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekMeshUtils.h>

namespace ek {

// The controller collects its gizmo nodes with this walk; its code lives
// in the library.
template class ekMeshUtils::GetNodeFunctor<ekGizmoNode>;

void analyse3DManipulators(ek2DPrimitivesPass* pass, ekSpatial* /*root*/)
{
    pass->editGeometryRenderBatch().clear();
}

} // namespace ek
