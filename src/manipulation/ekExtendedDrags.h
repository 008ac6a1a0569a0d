#pragma once

#include "ekDrag.h"

#include <memory>
#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;

// The drags of the extended handles; each tells listeners (the
// controller's list, which outlives it) as the drag kind it belongs to.
// Plane squares and the screen handle: translate drags that keep the
// grabbed point under the cursor in their plane.
std::unique_ptr<ekDrag> makePlaneDrag(const std::vector<ek3DManipulatorMotionListener*>& listeners);
// The view ring (about the view direction) and the trackball: rotate drags.
std::unique_ptr<ekDrag> makeFreeRotateDrag(
    const std::vector<ek3DManipulatorMotionListener*>& listeners);
// The uniform-scale centre: a scale drag, the same factor on every axis.
std::unique_ptr<ekDrag> makeCenterScaleDrag(
    const std::vector<ek3DManipulatorMotionListener*>& listeners);

} // namespace ek
