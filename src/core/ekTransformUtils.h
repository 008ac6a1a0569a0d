#pragma once

#include "ekMatrixUtils.h"

#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekNode.h>

#include <cmath>

namespace ek {

// Whether every number that takes part in t is finite.
inline bool isFinite(const ekGenericTransformation<float>& t)
{
    return isFinite(t.GetRotate()) && isFinite(t.GetTranslate())
        && (!t.IsRSMatrix() || isFinite(t.GetScale()));
}

// Whether every scale factor of t is a normal float: not zero, subnormal,
// infinite or NaN. For a general matrix, each column's largest entry
// stands for that axis's factor.
inline bool keepsNormalScale(const ekGenericTransformation<float>& t)
{
    if (t.IsRSMatrix()) {
        const Wm4::Vector3<float>& scale = t.GetScale();
        return std::isnormal(scale[0]) && std::isnormal(scale[1]) && std::isnormal(scale[2]);
    }
    const Wm4::Matrix3<float>& m = t.GetMatrix();
    for (int column = 0; column < 3; ++column) {
        if (!std::isnormal(largestComponent(m.GetColumn(column)))) {
            return false;
        }
    }
    return true;
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

// The world transform that local gives spatial under its parent's current
// world transform, as the engine's next update will compute it.
inline ekGenericTransformation<float> worldUnderParent(const ekSpatial& spatial,
                                                       const ekGenericTransformation<float>& local)
{
    ekGenericTransformation<float> world = local;
    if (const ekNode* parent = spatial.getParent()) {
        world.Product(parent->getWorldTransform(), local);
    }
    return world;
}

} // namespace ek
