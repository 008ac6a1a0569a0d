#include "ekLayoutCache.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>

namespace ek {
namespace {

#if !EK3D_ENGINE_EXTENSIONS
const ekGenericTransformation<float>& parentWorldOf(const ekSpatial& spatial)
{
    static const ekGenericTransformation<float> kIdentity;
    const ekNode* parent = spatial.getParent();
    return parent != nullptr ? parent->getWorldTransform() : kIdentity;
}
#endif

} // namespace

ekLayoutKey::ekLayoutKey(const ekCamera& camera, int height,
                         ekGizmoController::OrientationReference orientationReference,
                         const Wm4::Matrix3<float>& customOrientation, bool isDragging,
                         const Wm4::Matrix3<float>& current)
    : eye(camera.getLocation())
    , direction(camera.getDVector())
    , up(camera.getUVector())
    , right(camera.getRVector())
    , nearDistance(camera.getDMin())
    , frustumBottom(camera.getUMin())
    , frustumTop(camera.getUMax())
    , perspective(camera.isPerspective())
    , viewportHeight(height)
    , reference(orientationReference)
    , custom(customOrientation)
    , frozen(isDragging ? current : Wm4::Matrix3<float>::IDENTITY)
    , dragging(isDragging)
{
}

bool ekLayoutKey::operator==(const ekLayoutKey& other) const
{
    return eye == other.eye && direction == other.direction && up == other.up
        && right == other.right && nearDistance == other.nearDistance
        && frustumBottom == other.frustumBottom && frustumTop == other.frustumTop
        && perspective == other.perspective && viewportHeight == other.viewportHeight
        && reference == other.reference && custom == other.custom && frozen == other.frozen
        && dragging == other.dragging;
}

void ekLayoutCache::beginPass(const ekLayoutKey& key, std::size_t gizmoCount)
{
#if EK3D_ENGINE_EXTENSIONS
    const std::uint64_t changeCount = ekSpatial::getChangeCount();
#else
    const std::uint64_t changeCount = 0;
#endif
    if (changeCount != m_changeCount || !(key == m_key) || m_entries.size() != gizmoCount) {
        m_entries.assign(gizmoCount, Entry{});
    }
    m_key = key;
    m_changeCount = changeCount;
}

bool ekLayoutCache::isDue(std::size_t i, const ekGizmoNode& gizmo)
{
    const std::vector<ekSpatial*>& objects = gizmo.getReferenceObjects();
    const ekSpatial* object = objects.empty() ? nullptr : objects.front();
    const Entry& entry = m_entries[i];
    // A pixel size that is not a number never equals itself: due again.
    bool same = entry.gizmo == &gizmo && entry.object == object
        && entry.objectCount == objects.size() && objects.size() <= 1
        && entry.pixelSize == gizmo.getExpectedPixelSize()
        && entry.revision == gizmo.getLayoutRevision();
#if !EK3D_ENGINE_EXTENSIONS
    same = same && gizmo.getLocalTransform() == entry.placement
        && parentWorldOf(gizmo) == entry.parentWorld;
    if (same && object != nullptr) {
        same = object->getWorldTransform() == entry.objectWorld
            && object->getWorldBound().getCenter() == entry.boundCentre
            && object->getWorldBound().getRadius() == entry.boundRadius;
    }
#endif
    return !same;
}

void ekLayoutCache::laidOut(std::size_t i, const ekGizmoNode& gizmo)
{
    const std::vector<ekSpatial*>& objects = gizmo.getReferenceObjects();
    Entry& entry = m_entries[i];
    entry.gizmo = &gizmo;
    entry.object = objects.empty() ? nullptr : objects.front();
    entry.objectCount = objects.size();
    entry.pixelSize = gizmo.getExpectedPixelSize();
    entry.revision = gizmo.getLayoutRevision();
#if !EK3D_ENGINE_EXTENSIONS
    entry.placement = gizmo.getLocalTransform();
    entry.parentWorld = parentWorldOf(gizmo);
    if (entry.object != nullptr) {
        entry.objectWorld = entry.object->getWorldTransform();
        entry.boundCentre = entry.object->getWorldBound().getCenter();
        entry.boundRadius = entry.object->getWorldBound().getRadius();
    }
#endif
}

void ekLayoutCache::forget(std::size_t i)
{
    m_entries[i] = Entry{};
}

} // namespace ek
