#pragma once

#include <ekSceneGraph/ekGeometry.h>
#include <ekSceneGraph/ekSceneGraphVisitor.h>

#include <vector>

namespace ek {

class ek2DPrimitivesPass;

// A scene walk that offers a 2D primitives pass's geometry batch to every
// gizmo node it reaches.
struct ek3DManipulatorFunctor : public ekSceneGraphVisitor::Functor {
    // batch is not owned and must outlive the functor.
    explicit ek3DManipulatorFunctor(std::vector<ekPointer<ekGeometry>>& batch);

    // Hands the batch to a gizmo node's getChildrenEkGeometries; passes
    // over every other spatial, and null.
    void visit(ekSpatial* spatial) override;

    // The batch of the pass being analysed; not owned.
    std::vector<ekPointer<ekGeometry>>* m_renderBatch;
};

// The library's analysis for the 2D primitives pass: empties the pass's
// geometry batch (releasing what it held), then offers it to every gizmo
// node below root. The gizmo lines are drawn as children of their node, so
// the batch stays empty.
void analyse3DManipulators(ek2DPrimitivesPass* pass, ekSpatial* root);

} // namespace ek
