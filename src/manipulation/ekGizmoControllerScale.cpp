#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include "ekPicking.h"
#include "node/ekTransformUtils.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <cmath>

namespace ek {

namespace {

// Displacement along the handle, in handle lengths (positive outwards), to
// a factor: unbounded outwards, towards zero inwards, 1 at no displacement.
float scaleFactor(float handleLengths)
{
    return handleLengths >= 0.0f ? 1.0f + handleLengths : 1.0f / (1.0f - handleLengths);
}

// Multiplies the scale of t by factors (per world axis); a uniform scale
// stays uniform when every factor is alike.
void applyScaleFactors(ekGenericTransformation<float>& t, const Wm4::Vector3<float>& factors,
                       bool uniform)
{
    if (!t.IsRSMatrix()) {
        t.SetMatrix(t.GetMatrix().TimesDiagonal(factors));
    } else if (uniform && t.IsUniformScale()) {
        t.SetUniformScale(t.GetUniformScale() * factors[0]);
    } else {
        const Wm4::Vector3<float>& scale = t.GetScale();
        t.SetScale({factors[0] * scale[0], factors[1] * scale[1], factors[2] * scale[2]});
    }
}

} // namespace

ekGizmoControllerScale::ekGizmoControllerScale() = default;
ekGizmoControllerScale::ekGizmoControllerScale(const ekGizmoControllerScale& other) = default;
ekGizmoControllerScale& ekGizmoControllerScale::operator=(const ekGizmoControllerScale& other) =
    default;
ekGizmoControllerScale::~ekGizmoControllerScale() = default;

bool ekGizmoControllerScale::updateScaleHover(ekGizmoNode* node, const ekCamera* camera,
                                              const Wm4::Vector2<float>& pos, float tolerance,
                                              int width, int height)
{
    // The scale handles lie on the arrows' axes and are picked by the
    // TRANSLATE mask; the SCALE mask only decides what is drawn.
    return updateTranslateHover(node, camera, pos, tolerance, width, height);
}

void ekGizmoControllerScale::setMouseScalePressed(ekGizmoNode* node, const ekCamera* camera,
                                                  const Wm4::Vector2<float>& pos)
{
    setMousePressed(node, camera, pos);
    if (node != nullptr && m_selectedAxis != kNoAxis) {
        node->setActiveState(static_cast<unsigned int>(m_selectedAxis), true);
    }
}

void ekGizmoControllerScale::setMouseScalePos(ekGizmoNode* node, const ekCamera* camera,
                                              const Wm4::Vector2<float>& pos)
{
    if (m_selectedAxis == kNoAxis || node == nullptr || !isInsideViewport(pos)) {
        return;
    }
    const bool uniform = node->shouldUseUniformScale();
    Wm4::Vector3<float> point;
    float along = 0.0f;
    if (!getProjectedPoint(camera, pos, node->shouldRestrictPositionBetweenNearFar(), point,
                           along)) {
        return;
    }
    const Wm4::Vector3<float> handle =
        getCurrentWorldPointPosition(node) - m_dragFrame.GetTranslate();
    const float handleLengths = handle.Dot(point - m_startPoint) / handle.SquaredLength();
    // A handle of zero length (a gizmo of scale 0) measures nothing.
    if (!std::isfinite(handleLengths)) {
        return;
    }
    const float factor = scaleFactor(handleLengths);
    ekGenericTransformation<float> scale = m_dragFrame;
    if (factor != 1.0f) {
        applyScaleFactors(scale,
                          uniform ? Wm4::Vector3<float>(factor, factor, factor)
                                  : getResultingScale(factor),
                          uniform);
    }
    // A pure scale along the world axes; each object keeps its position.
    scale.SetRotate(Wm4::Matrix3<float>::IDENTITY);
    scale.SetTranslate(Wm4::Vector3<float>::ZERO);
    if (!isFinite(scale)) {
        return;
    }
    node->setWorldTransform(scale, false, true);
}

void ekGizmoControllerScale::setMouseScaleReleased(ekGizmoNode* node, const ekCamera* camera,
                                                   const Wm4::Vector2<float>& pos)
{
    if (node != nullptr && m_selectedAxis != kNoAxis) {
        node->setActiveState(static_cast<unsigned int>(m_selectedAxis), false);
    }
    setMouseScalePos(node, camera, pos);
    m_selectedAxis = kNoAxis;
}

} // namespace ek
