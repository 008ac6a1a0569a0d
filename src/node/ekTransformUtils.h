#pragma once

#include "node/ekMatrixUtils.h"

#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekNode.h>

namespace ek {

// Whether every number that takes part in t is finite.
inline bool isFinite(const ekGenericTransformation<float>& t)
{
    return isFinite(t.GetRotate()) && isFinite(t.GetTranslate())
        && (!t.IsRSMatrix() || isFinite(t.GetScale()));
}

// Turns the world transform t into a local transform of spatial: the
// inverse of the parent's current world transform is applied after t.
// Unchanged when spatial has no parent.
inline void toParentFrame(const ekSpatial& spatial, ekGenericTransformation<float>& t)
{
    if (const ekNode* parent = spatial.getParent()) {
        ekGenericTransformation<float> parentInverse;
        parent->getWorldTransform().Inverse(parentInverse);
        t.Product(parentInverse, t);
    }
}

} // namespace ek
