#pragma once

#include "ekExtendedLines.h"
#include "ekGizmoNodeRotate.h"
#include "ekGizmoNodeScale.h"
#include "ekGizmoNodeTranslate.h"

#include <ek3DManipulation/ekGizmoStyle.h>

#include <memory>

namespace ek {

// The three handle groups of one gizmo node, owned by it, and the style
// they draw in, which the node sets.
struct ekGizmoGeometry {
    ekGizmoNodeTranslate translate;
    ekGizmoNodeRotate rotate;
    ekGizmoNodeScale scale;
    ekGizmoStyle style;
    // Made when the node first enables extended handles; null until then.
    std::unique_ptr<ekExtendedLines> extended;
};

} // namespace ek
