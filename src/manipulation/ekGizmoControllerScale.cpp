#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include "ekMatrixUtils.h"
#include "ekPicking.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <algorithm>
#include <cmath>

namespace ek {

namespace {

// Displacement along the handle, in handle lengths (positive outwards), to
// a factor: unbounded outwards, towards zero inwards, 1 at no displacement.
float scaleFactor(float handleLengths)
{
    return handleLengths >= 0.0f ? 1.0f + handleLengths : 1.0f / (1.0f - handleLengths);
}

// How many lengths of handle the displacement covers along it: measured in
// units of the handle's largest component, so that a gizmo of 1e-30 or 1e30
// world units squares nothing to zero or infinity.
float handleLengthsAlong(Wm4::Vector3<float> handle, Wm4::Vector3<float> displacement)
{
    if (!std::isnormal(handle.SquaredLength())) {
        const float unit = largestComponent(handle);
        handle /= unit;
        displacement /= unit;
    }
    return handle.Dot(displacement) / handle.SquaredLength();
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
    beginDrag(node, camera, pos);
}

void ekGizmoControllerScale::setMouseScalePos(ekGizmoNode* node, const ekCamera* camera,
                                              const Wm4::Vector2<float>& pos)
{
    if (!acceptsMove(node, pos)) {
        return;
    }
    const bool uniform = node->shouldUseUniformScale();
    Wm4::Vector3<float> point;
    float along = 0.0f;
    if (!getProjectedPoint(camera, pos, node->shouldRestrictPositionBetweenNearFar(), point,
                           along)) {
        return;
    }
    const float handleLengths = handleLengthsAlong(
        getCurrentWorldPointPosition(node) - m_dragFrame.GetTranslate(), point - m_startPoint);
    // A handle of zero length (a gizmo of scale 0) measures nothing.
    if (!std::isfinite(handleLengths)) {
        return;
    }
    float factor = scaleFactor(handleLengths);
    if (m_snapIncrement > 0.0f) {
        factor = std::max(m_snapIncrement,
                          std::round(factor / m_snapIncrement) * m_snapIncrement);
    }
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
    // Far enough inwards the factor itself underflows; such a scale could
    // never be dragged back.
    if (!isFinite(scale) || !keepsNormalScale(scale)) {
        return;
    }
    node->setWorldTransform(scale, false, true);
    m_deltaTransform = scale;
}

void ekGizmoControllerScale::setMouseScaleReleased(ekGizmoNode* node, const ekCamera* camera,
                                                   const Wm4::Vector2<float>& pos)
{
    if (!isDragging()) {
        return;
    }
    setMouseScalePos(node, camera, pos);
    finishDrag();
}

void ekGizmoControllerScale::onDragStarted()
{
    if (m_selectedAxis != kNoAxis) {
        m_gizmoNode->setActiveState(static_cast<unsigned int>(m_selectedAxis), true);
    }
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onScaleManipulatorStart();
    }
}

void ekGizmoControllerScale::onDragEnded()
{
    if (m_selectedAxis != kNoAxis) {
        m_gizmoNode->setActiveState(static_cast<unsigned int>(m_selectedAxis), false);
    }
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onScaleManipulatorEnd(m_deltaTransform);
    }
}

} // namespace ek
