#pragma once

namespace ek {

class ek2DPrimitivesPass;
class ekSpatial;

// The library's analysis for the 2D primitives pass: empties the pass's
// geometry batch (releasing what it held). The gizmo lines are drawn as
// children of their node, so no gizmo would add anything to it: there is
// nothing to walk the scene for.
void analyse3DManipulators(ek2DPrimitivesPass* pass, ekSpatial* root);

} // namespace ek
