#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoGeometry.h"
#include "ekMatrixUtils.h"
#include "ekTransformUtils.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4IntrLine3Plane3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace ek {

namespace {

// World length that pixels pixels cover on the near plane (for an
// orthographic camera, at every depth).
float nearPlaneLength(const ekCamera& camera, float pixels, int viewportHeight)
{
    return (camera.getUMax() - camera.getUMin()) / static_cast<float>(viewportHeight) * pixels;
}

// The largest world length of one gizmo axis that is laid out: far beyond
// any real view, and small enough that ancestors scaled by up to 1e8 in all
// do not overflow the gizmo's world transform.
constexpr float kMaxGizmoScale = 1e30f;

// Whether local, as the local transform of spatial, keeps it and its world
// transform finite. A huge but finite gizmo scale can overflow through the
// parent's inverse (a parent scaled by 0.5 doubles it) or back through the
// parent itself; the last placement is kept instead.
bool staysFinite(const ekSpatial& spatial, const ekGenericTransformation<float>& local)
{
    if (!isFinite(local) || !isFinite(local.GetMatrix())) {
        return false;
    }
    const ekGenericTransformation<float> world = worldUnderParent(spatial, local);
    return isFinite(world) && isFinite(world.GetMatrix());
}

} // namespace

float ekGizmoNode::ComputeGizmoScale(const ekCamera* camera, const Wm4::Vector3<float>& position,
                                     float pixelSize, int viewportHeight)
{
    const float scale = nearPlaneLength(*camera, pixelSize, viewportHeight);
    if (!camera->isPerspective()) {
        return scale;
    }
    const float depth = (position - camera->getLocation()).Dot(camera->getDVector());
    return scale * depth / camera->getDMin();
}

float ekGizmoNode::getBestScale(const ekCamera* camera, float pixelSize, int viewportHeight) const
{
    const Wm4::Vector3<float>& eye = camera->getLocation();
    const Wm4::Vector3<float>& view = camera->getDVector();
    Wm4::Vector3<float> toCentre = getWorldBound().getCenter() - eye;
    const float distance = safeNormalize(toCentre);

    const Wm4::Line3<float> ray(eye, toCentre);
    const Wm4::Plane3<float> nearPlane(view, view.Dot(eye + view * camera->getDMin()));
    Wm4::IntrLine3Plane3<float> intersection(ray, nearPlane);
    // A ray parallel to the near plane leaves t at 0: the scale is then not
    // finite, which callers already have to expect.
    intersection.Find();
    const float t = intersection.GetLineT();
    return nearPlaneLength(*camera, pixelSize, viewportHeight) * distance / t;
}

void ekGizmoNode::calculateFrameFromObjectWorldTranform(const ekGenericTransformation<float>& frame,
                                                        const ekCamera* camera, float pixelSize,
                                                        int viewportHeight)
{
    const Wm4::Vector3<float>& position = frame.GetTranslate();
    const float scale = ComputeGizmoScale(camera, position, pixelSize, viewportHeight);
    // A degenerate view (height or near distance 0) would poison the node
    // and everything drawn below it, and so would a gizmo so large that any
    // scale of its parent overflows it; keep the last good placement instead.
    if (!(std::fabs(scale) <= kMaxGizmoScale)) {
        return;
    }

    ekGenericTransformation<float> t;
    bool uniformScale = true;
    if (!frame.IsIdentity()) {
        if (position != Wm4::Vector3<float>::ZERO) {
            t.SetTranslate(position);
        }
        if (frame.IsRSMatrix()) {
            t.SetRotate(frame.GetRotate());
        } else {
            Wm4::Matrix3<float> axes;
            if (isRotationOnceNormalized(frame.GetMatrix(), axes)) {
                if (axes != Wm4::Matrix3<float>::IDENTITY) {
                    t.SetRotate(axes);
                }
            } else {
                // Not a rotation: keep the normalised axes as they are,
                // each scaled to the screen size.
                t.SetMatrix(axes * scale);
                uniformScale = false;
            }
        }
    }
    if (uniformScale && scale != 1.0f) {
        t.SetUniformScale(scale);
    }
    toParentFrame(*this, t);

    // Rewriting an equal transform would mark the node dirty every frame.
    if (getLocalTransform() != t && staysFinite(*this, t)) {
        editLocalTransform(true) = t;
    }
    updateFading(*camera, viewportHeight);
}

Wm4::Vector3<float> ekGizmoNode::getCenterReferences() const
{
    if (m_referenceObjects.empty()) {
        return Wm4::Vector3<float>::ZERO;
    }
    Wm4::Vector3<float> sum = Wm4::Vector3<float>::ZERO;
    for (const ekSpatial* object : m_referenceObjects) {
        if (object == nullptr) {
            continue;
        }
        // An object without geometry has a bound of radius 0: its
        // position stands in for it.
        const ekBound& bound = object->getWorldBound();
        sum += bound.getRadius() != 0.0f ? bound.getCenter()
                                         : object->getWorldTransform().GetTranslate();
    }
    return sum / static_cast<float>(m_referenceObjects.size());
}

Wm4::Matrix3<float> ekGizmoNode::getOrientationReferences() const
{
    if (m_referenceObjects.size() == 1 && m_referenceObjects.front() != nullptr) {
        const ekGenericTransformation<float>& world = m_referenceObjects.front()->getWorldTransform();
        // A general matrix (an object scaled along axes other than its
        // own) holds scale and shear too: laying the gizmo out with it
        // would stretch and skew the handles. Its axes are used instead.
        return world.IsRSMatrix() ? world.GetRotate() : orthonormalFrame(world.GetMatrix());
    }
    return Wm4::Matrix3<float>::IDENTITY;
}

void ekGizmoNode::updateCameraFacing(const ekCamera* camera)
{
    // The world transform of the node as placed now: the engine brings
    // getWorldTransform() up to date only later, and heads turned for the
    // last placement would lag a frame behind a moving gizmo.
    const ekGenericTransformation<float> nodeWorld = worldUnderParent(*this, getLocalTransform());
    const Wm4::Vector3<float>& centre = nodeWorld.GetTranslate();
    // Each head is compared with the rotation it should have, not with the
    // inputs of the last call: the host may have turned it since.
    const ekGizmoNodeTranslate& arrows = m_geometry->translate;
    std::array<Wm4::Vector3<float>, kAxisCount> tips;
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        ekGenericTransformation<float> headWorld;
        headWorld.Product(nodeWorld, arrows.getHeads()[axis]->getLocalTransform());
        tips[axis] = headWorld.GetTranslate();
    }

    // The node's world orientation; normalising its rows takes out a
    // uniform scale.
    Wm4::Matrix3<float> orientation = nodeWorld.GetRotate();
    for (int row = 0; row < 3; ++row) {
        const Wm4::Vector3<float> r = orientation.GetRow(row) / orientation.GetRow(row).Length();
        for (int col = 0; col < 3; ++col) {
            orientation(row, col) = r[col];
        }
    }

    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        ekLine& head = *arrows.getHeads()[axis];
        const Wm4::Vector3<float>& tip = tips[axis];
        Wm4::Vector3<float> along = tip - centre;
        along /= along.Length();
        const Wm4::Vector3<float> fromEye = tip - camera->getLocation();
        Wm4::Vector3<float> side = along.Cross(fromEye);
        side /= side.Length();
        const Wm4::Vector3<float> normal = along.Cross(side);
        const Wm4::Matrix3<float> facing(along, side, normal, true);
        const Wm4::Matrix3<float> local = orientation.TransposeTimes(facing);

        // The camera on an arrowhead or a gizmo of scale 0 leaves no
        // direction to face: keep the last one.
        if (!isFinite(local)) {
            continue;
        }
        const Wm4::Matrix3<float>& current = head.getLocalTransform().GetRotate();
        if (std::memcmp(current.Entries(), local.Entries(), 9 * sizeof(float)) != 0) {
            head.editLocalTransform(true).SetRotate(local);
        }
    }
    faceExtendedLines(*camera, orientation);
}

void ekGizmoNode::storeOriginalTransform()
{
    const std::size_t count = m_referenceObjects.size();
    m_storedObjects = m_referenceObjects;
    m_originalTransforms.assign(count, ekGenericTransformation<float>());
    m_originalLocalTransforms.assign(count, ekGenericTransformation<float>());
    m_parentInverseTransforms.assign(count, ekGenericTransformation<float>());
    m_storedParents.assign(count, nullptr);
    m_reparented.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const ekSpatial* object = m_referenceObjects[i];
        if (object == nullptr) {
            continue;
        }
        m_originalTransforms[i] = object->getWorldTransform();
        m_originalLocalTransforms[i] = object->getLocalTransform();
        m_storedParents[i] = object->getParent();
        if (const ekNode* parent = object->getParent()) {
            parent->getWorldTransform().Inverse(m_parentInverseTransforms[i]);
        }
    }
}

bool ekGizmoNode::holdsStoredObjects()
{
    // The stored transforms belong to the objects listed at the press: once
    // the list changes they would land on other objects, so they are dropped.
    if (m_storedObjects != m_referenceObjects) {
        dropStoredTransforms();
    }
    return !m_storedObjects.empty();
}

void ekGizmoNode::dropStoredTransforms()
{
    m_storedObjects.clear();
    m_originalTransforms.clear();
    m_originalLocalTransforms.clear();
    m_parentInverseTransforms.clear();
    m_storedParents.clear();
    m_reparented.clear();
}

bool ekGizmoNode::keepsStoredParent(std::size_t i)
{
    // Under another parent the stored parent inverse and local transform
    // would misplace the object, so it is let go for the rest of the drag,
    // as a whole list is when it changes: even a return to its former parent
    // does not bind it again, the host has placed it since.
    if (!m_reparented[i] && m_storedObjects[i]->getParent() != m_storedParents[i]) {
        m_reparented[i] = true;
    }
    return !m_reparented[i];
}

void ekGizmoNode::setWorldTransform(const ekGenericTransformation<float>& delta, bool /*unused*/,
                                    bool keepTranslation)
{
    if (!holdsStoredObjects()) {
        return;
    }
    for (std::size_t i = 0; i < m_storedObjects.size(); ++i) {
        ekSpatial* object = m_storedObjects[i];
        if (object == nullptr || object->isExcluded() || !keepsStoredParent(i)) {
            continue;
        }
        const ekGenericTransformation<float>& original = m_originalTransforms[i];
        ekGenericTransformation<float> world;
        world.Product(delta, original);
        if (keepTranslation) {
            world.SetTranslate(original.GetTranslate());
        }
        ekGenericTransformation<float> local;
        local.Product(m_parentInverseTransforms[i], world);
        // A host object must never receive NaN or infinity, nor a scale that
        // underflowed to zero or a subnormal: either would be lost for good.
        // It keeps its transform for this step instead.
        if (!isFinite(world) || !isFinite(local)
            || (keepsNormalScale(original) && !keepsNormalScale(world))) {
            continue;
        }
        writeTransforms(*object, world, local);
    }
}

void ekGizmoNode::restoreOriginalTransform()
{
    if (!holdsStoredObjects()) {
        return;
    }
    for (std::size_t i = 0; i < m_storedObjects.size(); ++i) {
        ekSpatial* object = m_storedObjects[i];
        if (object != nullptr && !object->isExcluded() && keepsStoredParent(i)) {
            writeTransforms(*object, m_originalTransforms[i], m_originalLocalTransforms[i]);
        }
    }
}

void ekGizmoNode::writeTransforms(ekSpatial& object, const ekGenericTransformation<float>& world,
                                  const ekGenericTransformation<float>& local)
{
    object.editWorldTransform(false) = world;
    object.editLocalTransform(false) = local;
    object.setDirty(DIRTY_TRANSFORM, true, false);
    // Keep the world transform as written while the subtree below and the
    // ancestors' bounds are brought up to date.
    object.forceIgnore(true, false, false);
    object.UpdateGS_Flags();
    object.forceIgnore(false, false, false);
}

} // namespace ek
