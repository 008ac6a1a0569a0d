#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include "ekListenerList.h"
#include "ekPicking.h"
#include "ekRotations.h"
#include "ekUnitAxes.h"
#include "ekMatrixUtils.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>

#include <cmath>
#include <cstddef>

namespace ek {

namespace {

constexpr unsigned int kNoCircle = static_cast<unsigned int>(kNoAxis);
constexpr float kPi = Wm4::Math<float>::WM4_PI;
// Half-width in pixels of the square around the projected pivot in which
// the cursor gives no usable direction: presses and moves there are ignored.
constexpr float kDeadZonePixels = 1.6f;
// Rotation steps per half turn: rotations and snapped angles are whole
// multiples of 5 degrees.
constexpr float kStepsPerHalfTurn = 36.0f;
constexpr float kRotationStep = kPi / kStepsPerHalfTurn;

// Sample (cos, sin) of the unit circle about axis, in the gizmo's frame.
Wm4::Vector3<float> circlePoint(int axis, const Wm4::Vector2<float>& sample)
{
    switch (axis) {
    case 0:
        return {0.0f, sample.X(), sample.Y()};
    case 1:
        return {sample.X(), 0.0f, sample.Y()};
    default:
        return {sample.X(), sample.Y(), 0.0f};
    }
}

// Whether the cursor is too close to the projected pivot to give a
// direction in the rotation plane.
bool isNearPivot(const ekCamera& camera, const Wm4::Vector3<float>& pivot,
                 const Wm4::Vector2<float>& pos, int width, int height)
{
    const Wm4::Vector2<float> pivotPixel = projectToScreen(
        camera.getViewProjectionMatrix(), ekGenericTransformation<float>(), pivot, width, height);
    const Wm4::Vector2<float> cursor = cursorPixel(pos, width, height);
    return std::fabs(pivotPixel.X() - cursor.X()) < kDeadZonePixels
        && std::fabs(pivotPixel.Y() - cursor.Y()) < kDeadZonePixels;
}

// angle rounded to the nearest step, halfway cases upwards.
float snapAngle(float angle)
{
    return std::floor(angle * kStepsPerHalfTurn / kPi + 0.5f) * kPi / kStepsPerHalfTurn;
}

// A direction with its azimuth and elevation snapped to whole steps.
Wm4::Vector3<float> snapDirection(const Wm4::Vector3<float>& d)
{
    const float horizontal = std::sqrt(d.X() * d.X() + d.Y() * d.Y());
    float elevation = d.Z() < 0.0f ? -Wm4::Math<float>::HALF_PI : Wm4::Math<float>::HALF_PI;
    if (horizontal != 0.0f) {
        elevation = std::atan(d.Z() / horizontal);
    }
    const float cosElevation = std::cos(elevation);
    float azimuth = 0.0f;
    if (cosElevation != 0.0f) {
        azimuth = std::atan2(d.Y() / cosElevation, d.X() / cosElevation);
    }
    elevation = snapAngle(elevation);
    azimuth = snapAngle(azimuth);
    return {std::cos(azimuth) * std::cos(elevation), std::sin(azimuth) * std::cos(elevation),
            std::sin(elevation)};
}

} // namespace

ekGizmoControllerRotate::ekGizmoControllerRotate()
    : m_dragNode(nullptr), m_selectedAxis(kNoCircle), m_step(kRotationStep)
{
    initRotate();
}

// A copy starts idle: a drag under way belongs to the object that started
// it, or its end would be heard twice.
ekGizmoControllerRotate::ekGizmoControllerRotate(const ekGizmoControllerRotate& other)
    : m_dragFrame(other.m_dragFrame),
      m_deltaTransform(other.m_deltaTransform),
      m_circleSamples(other.m_circleSamples),
      m_startPoint(other.m_startPoint),
      m_listeners(other.m_listeners),
      m_dragNode(nullptr),
      m_selectedAxis(other.m_selectedAxis),
      m_step(other.m_step)
{
}

ekGizmoControllerRotate& ekGizmoControllerRotate::operator=(const ekGizmoControllerRotate& other)
{
    if (this != &other) {
        finishDrag();
        m_dragFrame = other.m_dragFrame;
        m_deltaTransform = other.m_deltaTransform;
        m_circleSamples = other.m_circleSamples;
        m_startPoint = other.m_startPoint;
        m_listeners = other.m_listeners;
        m_selectedAxis = other.m_selectedAxis;
        m_step = other.m_step;
    }
    return *this;
}
ekGizmoControllerRotate::~ekGizmoControllerRotate() = default;

void ekGizmoControllerRotate::initRotate()
{
    const std::size_t segments = m_circleSamples.size() - 1;
    for (std::size_t k = 0; k < segments; ++k) {
        const float angle = static_cast<float>(2 * k) * kPi / static_cast<float>(segments);
        m_circleSamples[k] = Wm4::Vector2<float>(std::cos(angle), std::sin(angle));
    }
    m_circleSamples[segments] = m_circleSamples[0];
}

bool ekGizmoControllerRotate::install3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    return appendUnique(m_listeners, listener);
}

bool ekGizmoControllerRotate::uninstall3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    return removeFirst(m_listeners, listener);
}

bool ekGizmoControllerRotate::updateRotateHover(ekGizmoNode* node, const ekCamera* camera,
                                                const Wm4::Vector2<float>& pos, float tolerance,
                                                int width, int height)
{
    if (node == nullptr) {
        return false;
    }
    const int best = pickHandle(node, camera, pos, tolerance, width, height);
    selectHandle(node, best);
    return best != kNoAxis;
}

void ekGizmoControllerRotate::selectHandle(ekGizmoNode* node, int axis)
{
    if (node == nullptr) {
        return;
    }
    // The circle of a drag under way is the one pressed, whatever lies
    // under the cursor now.
    if (!isDragging()) {
        m_selectedAxis = static_cast<unsigned int>(axis);
    }
    if (axis == kNoAxis) {
        node->applyDefaultColors();
    } else {
        node->highlight(static_cast<unsigned int>(axis));
    }
}

void ekGizmoControllerRotate::setSnapIncrement(float degrees)
{
    // Half a turn over the steps in it: 5 degrees gives the default step
    // bit for bit.
    m_step = degrees > 0.0f ? kPi / (180.0f / degrees) : 0.0f;
}

float ekGizmoControllerRotate::getSnapIncrement() const
{
    return m_step > 0.0f ? 180.0f / (kPi / m_step) : 0.0f;
}

bool ekGizmoControllerRotate::isOver(const ekGizmoNode* node, const ekCamera* camera,
                                     const Wm4::Vector2<float>& pos, float tolerance, int width,
                                     int height) const
{
    return pickHandle(node, camera, pos, tolerance, width, height) != kNoAxis;
}

int ekGizmoControllerRotate::pickHandle(const ekGizmoNode* node, const ekCamera* camera,
                                        const Wm4::Vector2<float>& pos, float tolerance,
                                        int width, int height) const
{
    if (node == nullptr) {
        return kNoAxis;
    }
    const Wm4::Vector2<float> cursor = cursorPixel(pos, width, height);
    return pickNearestAxis(pickableAxes(*node, ekGizmoNode::ROTATE), tolerance, [&](int axis) {
        return getNearestDistCirclePoint(node, axis, camera, cursor, width, height);
    });
}

float ekGizmoControllerRotate::getNearestDistCirclePoint(const ekGizmoNode* node, int axis,
                                                         const ekCamera* camera,
                                                         const Wm4::Vector2<float>& cursor,
                                                         int width, int height) const
{
    const ekScreenProjector project(camera->getViewProjectionMatrix(), node->getWorldTransform(),
                                    width, height);
    ekNearestSegment nearest(cursor);
    Wm4::Vector2<float> previous = project(circlePoint(axis, m_circleSamples[0]));
    // The last sample repeats the first: the loop ends with the closing chord.
    for (std::size_t k = 1; k < m_circleSamples.size(); ++k) {
        const Wm4::Vector2<float> next = project(circlePoint(axis, m_circleSamples[k]));
        nearest.add(previous, next);
        previous = next;
    }
    return nearest.distance();
}

Wm4::Vector3<float> ekGizmoControllerRotate::getWorldNormal(const Wm4::Vector3<float>& localAxis,
                                                            ekGizmoNode* node)
{
    if (node == nullptr) {
        return Wm4::Vector3<float>::ZERO;
    }
    const ekGenericTransformation<float>& world = node->getWorldTransform();
    Wm4::Vector3<float> normal =
        (m_dragFrame.IsRSMatrix() ? world.GetRotate() : world.GetMatrix()) * localAxis;
    safeNormalize(normal);
    return normal;
}

void ekGizmoControllerRotate::setMousePressed(ekGizmoNode* node, const ekCamera* camera,
                                              const Wm4::Vector2<float>& pos, int width,
                                              int height)
{
    // Every start has its end: a drag still under way ends here, and its
    // circle is no longer selected.
    finishDrag();
    if (m_selectedAxis == kNoCircle || node == nullptr) {
        return;
    }
    node->storeOriginalTransform();
    m_dragFrame.SetRotate(node->getOrientationReferences());
    m_dragFrame.SetTranslate(node->getCenterReferences());
    const Wm4::Vector3<float>& pivot = m_dragFrame.GetTranslate();
    if (isNearPivot(*camera, pivot, pos, width, height)) {
        m_selectedAxis = kNoCircle;
        return;
    }
    const Wm4::Vector3<float> normal = getWorldNormal(unitAxis(m_selectedAxis), node);
    const auto hit = intersectPlane(pickRay(camera, pos), normal, pivot);
    if (!hit) {
        m_selectedAxis = kNoCircle;
        return;
    }
    m_startPoint = hit->point;
    node->setActiveState(m_selectedAxis, true);
    m_deltaTransform.MakeIdentity();
    m_dragNode = node;
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onRotateManipulatorStart();
    }
}

void ekGizmoControllerRotate::setMousePos(ekGizmoNode* node, const ekCamera* camera,
                                          const Wm4::Vector2<float>& pos, int width, int height)
{
    if (m_selectedAxis == kNoCircle || node == nullptr || node != m_dragNode
        || !isInsideViewport(pos) || !node->holdsStoredObjects()) {
        return;
    }
    const Wm4::Vector3<float>& pivot = m_dragFrame.GetTranslate();
    if (isNearPivot(*camera, pivot, pos, width, height)) {
        return;
    }
    // The normal follows the gizmo as it is laid out during the drag.
    const Wm4::Vector3<float> normal = getWorldNormal(unitAxis(m_selectedAxis), node);
    const auto hit = intersectPlane(pickRay(camera, pos), normal, pivot);
    if (!hit) {
        return;
    }
    Wm4::Vector3<float> current = hit->point - pivot;
    safeNormalize(current);
    Wm4::Vector3<float> start = m_startPoint - pivot;
    safeNormalize(start);
    const float angle = std::atan2(current.Dot(normal.Cross(start)), start.Dot(current));
    const Wm4::Matrix3<float> rotation = rotationAbout(normal, roundToStep(angle, m_step));

    ekGenericTransformation<float> delta;
    delta.SetRotate(rotation);
    delta.SetTranslate(pivot - rotation * pivot);
    if (!isFinite(delta)) {
        return;
    }
    // Always from the transforms stored at the press: moves never add up.
    node->setWorldTransform(delta, true, false);
    m_deltaTransform = delta;
}

void ekGizmoControllerRotate::setMouseReleased(ekGizmoNode* node, const ekCamera* camera,
                                               const Wm4::Vector2<float>& pos, int width,
                                               int height)
{
    // A release with no drag under way (the second release of a double
    // click, say) turns nothing and tells nothing.
    if (!isDragging()) {
        return;
    }
    setMousePos(node, camera, pos, width, height);
    if (node == m_dragNode) {
        onEndPos(node);
    }
    finishDrag();
}

void ekGizmoControllerRotate::finishDrag()
{
    if (!isDragging()) {
        return;
    }
    ekGizmoNode* const node = m_dragNode;
    m_dragNode = nullptr;
    node->setActiveState(m_selectedAxis, false);
    for (ek3DManipulatorMotionListener* listener : m_listeners) {
        listener->onRotateManipulatorEnd(m_deltaTransform);
    }
    m_selectedAxis = kNoCircle;
}

void ekGizmoControllerRotate::cancelDrag()
{
    if (!isDragging()) {
        return;
    }
    m_dragNode->restoreOriginalTransform();
    m_deltaTransform.MakeIdentity();
    finishDrag();
}

void ekGizmoControllerRotate::forgetGizmo(const ekGizmoNode* node)
{
    if (node != nullptr && node == m_dragNode) {
        finishDrag();
    }
}

void ekGizmoControllerRotate::onEndPos(ekGizmoNode* node)
{
    if (m_selectedAxis == kNoCircle || node == nullptr || !node->shouldSnapRotationToAxis()) {
        return;
    }
    ekGenericTransformation<float>& local = node->editLocalTransform(true);
    if (local.IsRSMatrix()) {
        const Wm4::Matrix3<float>& rotation = local.GetRotate();
        const Wm4::Vector3<float> x = snapDirection(rotation.GetColumn(0));
        const Wm4::Vector3<float> y = snapDirection(rotation.GetColumn(1));
        const Wm4::Matrix3<float> snapped(x, y, x.Cross(y), true);
        if (isFinite(snapped)) {
            local.SetRotate(snapped);
        }
    }
    node->UpdateGS_Flags();
}

} // namespace ek
