#pragma once

#include "ekGizmoNodeRotate.h"
#include "ekGizmoNodeScale.h"
#include "ekGizmoNodeTranslate.h"

namespace ek {

// The three handle groups of one gizmo node, owned by it.
struct ekGizmoGeometry {
    ekGizmoNodeTranslate translate;
    ekGizmoNodeRotate rotate;
    ekGizmoNodeScale scale;
};

} // namespace ek
