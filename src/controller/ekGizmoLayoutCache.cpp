#include "ekGizmoLayoutCache.h"

#include <ek3DManipulation/ekGizmoNode.h>

namespace ek {

bool ekGizmoLayoutCache::View::operator==(const View& other) const
{
    return camera == other.camera && orientations == other.orientations
        && orientationReference == other.orientationReference && dragging == other.dragging;
}

void ekGizmoLayoutCache::beginPass(const View& view, std::size_t gizmoCount)
{
    const std::uint64_t changeCount = ekSpatial::getChangeCount();
    if (changeCount != m_changeCount || !(view == m_view) || m_entries.size() != gizmoCount) {
        m_entries.assign(gizmoCount, Entry{});
    }
    m_view = view;
    m_changeCount = changeCount;
}

bool ekGizmoLayoutCache::isDue(std::size_t i, const ekGizmoNode& gizmo)
{
    const std::vector<ekSpatial*>& objects = gizmo.getReferenceObjects();
    const Entry now{&gizmo, objects.empty() ? nullptr : objects.front(), objects.size(),
                    gizmo.getExpectedPixelSize()};
    Entry& entry = m_entries[i];
    // A pixel size that is not a number never equals itself: due again.
    const bool same = entry.gizmo == now.gizmo && entry.object == now.object
        && entry.objectCount == now.objectCount && now.objectCount <= 1
        && entry.pixelSize == now.pixelSize;
    entry = now;
    return !same;
}

void ekGizmoLayoutCache::forget(std::size_t i)
{
    m_entries[i] = Entry{};
}

} // namespace ek
