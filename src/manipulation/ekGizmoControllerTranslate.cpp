#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include "ekListenerList.h"
#include "ekPicking.h"
#include "ekUnitAxes.h"
#include "ekMatrixUtils.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Line3.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ek {

namespace {

const Wm4::Vector3<float>& axisVector(int axis)
{
    return unitAxis(static_cast<unsigned int>(axis));
}

// The arrows of one gizmo on screen: each is the segment from the projected
// origin to the projected tip of its axis (one unit of the gizmo's frame).
class ArrowProbe {
public:
    ArrowProbe(const ekGizmoNode& node, const ekCamera& camera, const Wm4::Vector2<float>& pos,
               int width, int height)
        : m_project(camera.getViewProjectionMatrix(), node.getWorldTransform(), width, height),
          m_cursor(cursorPixel(pos, width, height))
    {
        m_segment[0] = m_project(Wm4::Vector3<float>::ZERO);
    }

    // Pixels from the cursor to the arrow of axis.
    float distance(int axis)
    {
        m_segment[1] = m_project(axisVector(axis));
        return distanceToSegment(m_segment, m_cursor);
    }

private:
    ekScreenProjector m_project;
    Wm4::Vector2<float> m_cursor;
    ekScreenSegment m_segment;
};

// Whether a press along ray on the handle of axis can start a drag: one of
// the two planes that hold the axis lies in front of the eye. A handle seen
// behind the camera, or a gizmo too degenerate to give directions, can be
// under the cursor and still give nothing to drag on.
bool canDragAlong(const ekGizmoNode& node, const Wm4::Line3<float>& ray, int axis)
{
    const Wm4::Matrix3<float>& linear = node.getWorldTransform().GetMatrix();
    if (directionOf(linear * axisVector(axis)) == Wm4::Vector3<float>::ZERO) {
        return false;
    }
    const Wm4::Vector3<float> pivot = node.getCenterReferences();
    for (int plane = 0; plane < 2; ++plane) {
        const Wm4::Vector3<float> normal = directionOf(linear * axisVector((axis + 1 + plane) % 3));
        const auto hit = intersectPlane(ray, normal, pivot);
        if (hit && hit->t >= 0.0f) {
            return true;
        }
    }
    return false;
}

// Keeps the dragged point on the axis line between the camera's near and
// far planes; an axis parallel to them is left alone.
void clampBetweenNearFar(const ekCamera& camera, const Wm4::Vector3<float>& start,
                         const Wm4::Vector3<float>& axis, Wm4::Vector3<float>& point, float& along)
{
    const Wm4::Vector3<float>& eye = camera.getLocation();
    const Wm4::Vector3<float>& view = camera.getDVector();
    const Wm4::Line3<float> axisLine(start, axis);
    const auto nearHit = intersectPlane(axisLine, view, eye + view * camera.getDMin());
    const auto farHit = intersectPlane(axisLine, view, eye + view * camera.getDMax());
    if (!nearHit || !farHit) {
        return;
    }
    const float lo = std::min(nearHit->t, farHit->t);
    const float hi = std::max(nearHit->t, farHit->t);
    if (along < lo) {
        along = lo;
        point = start + axis * lo;
    }
    if (along > hi) {
        along = hi;
        point = start + axis * hi;
    }
}

} // namespace

ekGizmoControllerTranslate::ekGizmoControllerTranslate()
    : m_gizmoNode(nullptr),
      m_startPoint(Wm4::Vector3<float>::ZERO),
      m_selectedAxis(kNoAxis),
      m_useSecondPlane(0),
      m_dragging(0)
{
}

// A copy starts idle: a drag under way belongs to the object that started
// it, or its end would be heard twice.
ekGizmoControllerTranslate::ekGizmoControllerTranslate(const ekGizmoControllerTranslate& other)
    : m_dragFrame(other.m_dragFrame),
      m_deltaTransform(other.m_deltaTransform),
      m_gizmoNode(other.m_gizmoNode),
      m_startPoint(other.m_startPoint),
      m_listeners(other.m_listeners),
      m_snapIncrement(other.m_snapIncrement),
      m_selectedAxis(other.m_selectedAxis),
      m_useSecondPlane(other.m_useSecondPlane),
      m_dragging(0)
{
}

ekGizmoControllerTranslate&
ekGizmoControllerTranslate::operator=(const ekGizmoControllerTranslate& other)
{
    if (this != &other) {
        finishDrag();
        m_dragFrame = other.m_dragFrame;
        m_deltaTransform = other.m_deltaTransform;
        m_gizmoNode = other.m_gizmoNode;
        m_startPoint = other.m_startPoint;
        m_listeners = other.m_listeners;
        m_snapIncrement = other.m_snapIncrement;
        m_selectedAxis = other.m_selectedAxis;
        m_useSecondPlane = other.m_useSecondPlane;
    }
    return *this;
}

ekGizmoControllerTranslate::~ekGizmoControllerTranslate() = default;

bool ekGizmoControllerTranslate::install3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    return appendUnique(m_listeners, listener);
}

bool ekGizmoControllerTranslate::uninstall3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    return removeFirst(m_listeners, listener);
}

bool ekGizmoControllerTranslate::updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                                                      const Wm4::Vector2<float>& pos,
                                                      float tolerance, int width, int height)
{
    if (node == nullptr) {
        return false;
    }
    return updateTranslateHover(node, camera, pos, node->getEnabledAxis(ekGizmoNode::TRANSLATE),
                                tolerance, width, height);
}

bool ekGizmoControllerTranslate::updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                                                      const Wm4::Vector2<float>& pos,
                                                      unsigned char axisMask, float tolerance,
                                                      int width, int height)
{
    if (node == nullptr) {
        return false;
    }
    ArrowProbe arrows(*node, *camera, pos, width, height);
    // A faded arrow is not offered, whatever mask the caller passes.
    const unsigned char pickable = static_cast<unsigned char>(axisMask & ~node->getFadedAxes());
    const int best = pickNearestAxis(pickable, tolerance,
                                     [&arrows](int axis) { return arrows.distance(axis); });
    selectHandle(node, best);
    return best != kNoAxis;
}

void ekGizmoControllerTranslate::selectHandle(ekGizmoNode* node, int axis)
{
    if (node == nullptr) {
        return;
    }
    if (axis == kNoAxis) {
        node->applyDefaultColors();
    } else {
        node->highlight(static_cast<unsigned int>(axis));
    }
    // The axis of a drag under way is the one pressed, whatever lies under
    // the cursor now.
    if (m_dragging == 0) {
        m_selectedAxis = axis;
    }
}

bool ekGizmoControllerTranslate::isOver(const ekGizmoNode* node, const ekCamera* camera,
                                        const Wm4::Vector2<float>& pos, float tolerance,
                                        int width, int height) const
{
    return pickHandle(node, camera, pos, tolerance, width, height) != kNoAxis;
}

int ekGizmoControllerTranslate::pickHandle(const ekGizmoNode* node, const ekCamera* camera,
                                           const Wm4::Vector2<float>& pos, float tolerance,
                                           int width, int height) const
{
    if (node == nullptr) {
        return kNoAxis;
    }
    ArrowProbe arrows(*node, *camera, pos, width, height);
    const Wm4::Line3<float> ray = pickRay(camera, pos);
    // The press answer promises a drag: a handle that cannot give one is not
    // reported, so that the host's own navigation keeps the event.
    return pickNearestAxis(pickableAxes(*node, ekGizmoNode::TRANSLATE), tolerance, [&](int axis) {
        const float distance = arrows.distance(axis);
        return distance <= tolerance && canDragAlong(*node, ray, axis)
            ? distance
            : std::numeric_limits<float>::infinity();
    });
}

void ekGizmoControllerTranslate::setMousePressed(ekGizmoNode* node, const ekCamera* camera,
                                                 const Wm4::Vector2<float>& pos)
{
    beginDrag(node, camera, pos);
}

bool ekGizmoControllerTranslate::beginDrag(ekGizmoNode* node, const ekCamera* camera,
                                           const Wm4::Vector2<float>& pos)
{
    if (node == nullptr) {
        return false;
    }
    // Every start has its end: a drag still under way ends here, and its
    // handle is no longer selected.
    finishDrag();
    m_gizmoNode = node;
    if (m_selectedAxis == kNoAxis) {
        return false;
    }
    const Wm4::Line3<float> ray = pickRay(camera, pos);
    node->storeOriginalTransform();
    m_dragFrame.SetRotate(node->getOrientationReferences());
    m_dragFrame.SetTranslate(node->getCenterReferences());

    // Of the two planes that hold the axis, drag on the one seen most
    // face-on: its hits move least under small cursor jitter.
    const Wm4::Vector3<float>& pivot = m_dragFrame.GetTranslate();
    const Wm4::Vector3<float> axis = getWorldOrientation(axisVector(m_selectedAxis));
    bool planeMet = false;
    float bestFacing = 0.0f;
    for (int plane = 0; plane < 2; ++plane) {
        const int normalAxis = (m_selectedAxis + 1 + plane) % 3;
        const Wm4::Vector3<float> normal = getWorldOrientation(axisVector(normalAxis));
        const auto hit = intersectPlane(ray, normal, pivot);
        if (!hit || hit->t < 0.0f) {
            continue;
        }
        const float facing = std::fabs(normal.Dot(ray.Direction));
        if (planeMet && !(facing > bestFacing)) {
            continue;
        }
        planeMet = true;
        bestFacing = facing;
        m_useSecondPlane = static_cast<unsigned int>(plane);
        m_startPoint = pivot + axis * (hit->point - pivot).Dot(axis);
    }
    if (!planeMet) {
        m_selectedAxis = kNoAxis;
    }
    m_deltaTransform.MakeIdentity();
    // Started even without a plane: the release then ends it with the
    // identity, so that the start is not left alone.
    m_dragging = 1;
    onDragStarted();
    return true;
}

bool ekGizmoControllerTranslate::acceptsMove(ekGizmoNode* node,
                                             const Wm4::Vector2<float>& pos) const
{
    // Once the reference list changed, the drag moves nothing more: its
    // stored transforms belong to other objects.
    return m_dragging != 0 && m_selectedAxis != kNoAxis && node != nullptr
        && node == m_gizmoNode && isInsideViewport(pos) && node->holdsStoredObjects();
}

void ekGizmoControllerTranslate::setMousePos(ekGizmoNode* node, const ekCamera* camera,
                                             const Wm4::Vector2<float>& pos)
{
    if (!acceptsMove(node, pos)) {
        return;
    }
    Wm4::Vector3<float> point;
    float along = 0.0f;
    if (!getProjectedPoint(camera, pos, node->shouldRestrictPositionBetweenNearFar(), point,
                           along)
        || along == 0.0f) {
        return;
    }
    Wm4::Vector3<float> displacement = point - m_startPoint;
    if (m_snapIncrement > 0.0f) {
        // along is the displacement's signed length along the arrow: the
        // nearest multiple of the increment (the press point included).
        displacement = getWorldOrientation(axisVector(m_selectedAxis))
            * (std::round(along / m_snapIncrement) * m_snapIncrement);
    }
    ekGenericTransformation<float> delta;
    delta.SetTranslate(displacement);
    if (!isFinite(delta)) {
        return;
    }
    // Always from the transforms stored at the press: moves never add up.
    node->setWorldTransform(delta, false, false);
    m_deltaTransform = delta;
}

void ekGizmoControllerTranslate::setMouseReleased(ekGizmoNode* node, const ekCamera* camera,
                                                  const Wm4::Vector2<float>& pos)
{
    // A release with no drag under way (the second release of a double
    // click, say) moves nothing and tells nothing.
    if (m_dragging == 0) {
        return;
    }
    setMousePos(node, camera, pos);
    finishDrag();
}

void ekGizmoControllerTranslate::finishDrag()
{
    if (m_dragging == 0) {
        return;
    }
    m_dragging = 0;
    onDragEnded();
    m_selectedAxis = kNoAxis;
}

void ekGizmoControllerTranslate::cancelDrag()
{
    if (m_dragging == 0) {
        return;
    }
    m_gizmoNode->restoreOriginalTransform();
    m_deltaTransform.MakeIdentity();
    finishDrag();
}

void ekGizmoControllerTranslate::forgetGizmo(const ekGizmoNode* node)
{
    if (node == nullptr || node != m_gizmoNode) {
        return;
    }
    finishDrag();
    m_gizmoNode = nullptr;
}

void ekGizmoControllerTranslate::onDragStarted()
{
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onTranslateManipulatorStart();
    }
}

void ekGizmoControllerTranslate::onDragEnded()
{
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onTranslateManipulatorEnd(m_deltaTransform);
    }
}

Wm4::Vector3<float>
ekGizmoControllerTranslate::getWorldOrientation(const Wm4::Vector3<float>& localAxis) const
{
    if (m_gizmoNode == nullptr) {
        return Wm4::Vector3<float>::ZERO;
    }
    return directionOf(m_gizmoNode->getWorldTransform().GetMatrix() * localAxis);
}

bool ekGizmoControllerTranslate::getProjectedPoint(const ekCamera* camera,
                                                   const Wm4::Vector2<float>& pos,
                                                   bool restrictBetweenNearFar,
                                                   Wm4::Vector3<float>& point, float& along) const
{
    // Without a pressed node there is no axis or plane to drag on.
    if (m_gizmoNode == nullptr || m_selectedAxis == kNoAxis) {
        return false;
    }
    const Wm4::Line3<float> ray = pickRay(camera, pos);
    const Wm4::Vector3<float> axis = getWorldOrientation(axisVector(m_selectedAxis));
    const Wm4::Vector3<float>& pivot = m_dragFrame.GetTranslate();
    const int normalAxis = (m_selectedAxis + (m_useSecondPlane != 0 ? 2 : 1)) % 3;
    const auto hit = intersectPlane(ray, getWorldOrientation(axisVector(normalAxis)), pivot);
    // A hit behind the eye is the mirror image of where the cursor points:
    // past the axis's vanishing point the objects would jump behind the
    // camera, opposite to the drag.
    if (!hit || hit->t < 0.0f) {
        return false;
    }
    Wm4::Vector3<float> onAxis = pivot + axis * (hit->point - pivot).Dot(axis);
    float distance = (onAxis - m_startPoint).Dot(axis);
    if (restrictBetweenNearFar) {
        clampBetweenNearFar(*camera, m_startPoint, axis, onAxis, distance);
    }
    point = onAxis;
    along = distance;
    return true;
}

Wm4::Vector3<float>
ekGizmoControllerTranslate::getCurrentWorldPointPosition(const ekGizmoNode* node) const
{
    if (node == nullptr || m_selectedAxis == kNoAxis) {
        return Wm4::Vector3<float>::ZERO;
    }
    return node->getWorldTransform().ApplyForward(axisVector(m_selectedAxis), true);
}

Wm4::Vector3<float> ekGizmoControllerTranslate::getResultingScale(float factor) const
{
    if (m_selectedAxis == kNoAxis) {
        return Wm4::Vector3<float>::ZERO;
    }
    Wm4::Vector3<float> scale = Wm4::Vector3<float>::ONE;
    scale[m_selectedAxis] *= factor;
    return scale;
}

} // namespace ek
