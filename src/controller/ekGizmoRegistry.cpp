#include "ekGizmoRegistry.h"

#include "ekAxisDrags.h"
#include "ekExtendedDrags.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekMeshUtils.h>
#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekSceneGraphVisitor.h>

#include <algorithm>
#include <functional>

namespace ek {
namespace {

// Replaces gizmos by the gizmo nodes below root, in walk order. Excluded
// subtrees are skipped; gizmos are collected although they are never drawn
// themselves (their lines are).
void collectGizmos(ekNode& root, std::vector<ekGizmoNode*>& gizmos)
{
    gizmos.clear();
    ekMeshUtils::GetNodeFunctor<ekGizmoNode> collect(gizmos, false, true);
    ekSceneGraphVisitor(collect).apply(&root);
}

} // namespace

ekGizmoRegistry::ekGizmoRegistry(ekGizmoControllerTranslate& translate,
                                 ekGizmoControllerRotate& rotate, ekGizmoControllerScale& scale,
                                 const std::vector<ek3DManipulatorMotionListener*>& listeners)
    : m_listeners(listeners)
    , m_translate(makeTranslateDrag(translate))
    , m_rotate(makeRotateDrag(rotate))
    , m_scale(makeScaleDrag(scale))
    , m_plane(makePlaneDrag(listeners))
    , m_freeRotate(makeFreeRotateDrag(listeners))
    , m_centerScale(makeCenterScaleDrag(listeners))
    , m_drags{m_translate.get(), m_rotate.get(),     m_scale.get(),
              m_plane.get(),     m_freeRotate.get(), m_centerScale.get()}
{
}

ekGizmoRegistry::~ekGizmoRegistry() = default;

void ekGizmoRegistry::copyFrom(const ekGizmoRegistry& other)
{
    m_manipulators = other.m_manipulators;
    m_lastWalk = other.m_lastWalk;
    m_touchedGizmos = other.m_touchedGizmos;
    m_activeGizmo = other.m_activeGizmo;
    m_hoveredGizmo = other.m_hoveredGizmo;
    m_hoveredHandle = other.m_hoveredHandle;
    m_watchedRoot = other.m_watchedRoot;
    m_seenGeneration = other.m_seenGeneration;
    ++m_listVersion;
}

bool ekGizmoRegistry::isListed(const ekGizmoNode* gizmo) const
{
    return gizmo != nullptr
        && std::find(m_manipulators.begin(), m_manipulators.end(), gizmo) != m_manipulators.end();
}

void ekGizmoRegistry::forgetRoot()
{
    m_watchedRoot = nullptr;
    m_manipulators.clear();
    m_lastWalk.clear();
    ++m_listVersion;
    callOut([] {});
}

void ekGizmoRegistry::refresh(ekNode* root, bool honourBit)
{
    if (root != nullptr && rebuildIfChanged(*root, honourBit)) {
        callOut([] {});
    }
}

bool ekGizmoRegistry::rebuildIfChanged(ekNode& root, bool honourBit)
{
    bool changed = &root != m_watchedRoot
        || (honourBit && (root.getDirtyFlags(0) & DIRTY_STRUCTURE) != 0);
#if EK3D_ENGINE_EXTENSIONS
    changed = changed || root.getStructureGeneration() != m_seenGeneration;
    m_seenGeneration = root.getStructureGeneration();
#else
    // Without a structure count, the bit may have been cleared by another
    // view's frame: the walk itself tells whether the gizmos changed. A
    // list the host edited stands until they do.
    collectGizmos(root, m_walk);
    changed = changed || m_walk != m_lastWalk;
    m_lastWalk.swap(m_walk);
#endif
    m_watchedRoot = &root;
    if (changed) {
        ++m_listVersion;
#if EK3D_ENGINE_EXTENSIONS
        collectGizmos(root, m_manipulators);
#else
        m_manipulators = m_lastWalk;
#endif
    }
    return changed;
}

void ekGizmoRegistry::clear()
{
    finishDrag();
    m_watchedRoot = nullptr;
    m_manipulators.clear();
    m_lastWalk.clear();
    ++m_listVersion;
    m_activeGizmo = nullptr;
    m_hoveredGizmo = nullptr;
    m_draggedGizmo = nullptr;
}

template <class Call>
void ekGizmoRegistry::callOut(Call&& call)
{
    ++m_calloutDepth;
    call();
    --m_calloutDepth;
    if (m_calloutDepth == 0) {
        revalidate();
    }
}

void ekGizmoRegistry::revalidate()
{
    ++m_calloutDepth;
    // Ending a drag tells listeners, who may change the scene again: go on
    // until a pass tells no one. The pointers held are checked only when
    // the list changed since they last were, so that a drag's moves do not
    // search the list.
    for (bool told = true; told;) {
        if (m_watchedRoot != nullptr) {
            rebuildIfChanged(*m_watchedRoot, false);
        }
        told = false;
        if (m_listVersion != m_checkedVersion) {
            m_checkedVersion = m_listVersion;
            told = forgetUnlisted();
        }
        ekDrag* drag = underWay();
        if (m_cancelRequested) {
            m_cancelRequested = false;
            if (drag != nullptr) {
                drag->cancel();
                told = true;
            }
        }
    }
    --m_calloutDepth;
    // Let go last: the gizmo may die here, and it is no longer listed.
    ekDrag* drag = underWay();
    m_draggedGizmo = drag != nullptr ? drag->gizmo() : nullptr;
}

bool ekGizmoRegistry::forgetUnlisted()
{
    // A gizmo that left may have been deleted since: nothing may refer to
    // it any more, and a drag under way on it ends here.
    if (!isListed(m_activeGizmo)) {
        m_activeGizmo = nullptr;
    }
    if (!isListed(m_hoveredGizmo)) {
        m_hoveredGizmo = nullptr;
    }
    bool told = false;
    for (ekDrag* drag : m_drags) {
        const ekGizmoNode* pressed = drag->gizmo();
        if (pressed != nullptr && !isListed(pressed)) {
            told = told || drag->isDragging();
            drag->forget(*pressed);
        }
    }
    auto& touched = m_touchedGizmos;
    touched.erase(std::remove_if(touched.begin(), touched.end(),
                                 [this](const ekGizmoNode* g) { return !isListed(g); }),
                  touched.end());
    return told;
}

ekGizmoRegistry::DragList ekGizmoRegistry::dragsFor(const ekGizmoNode* gizmo) const
{
    if (gizmo == nullptr) {
        return {};
    }
    // Extended handles are tried first where they lie on top (the screen
    // handle and the squares, the centre), after the circles they surround
    // (the view ring and the trackball).
    const bool extended = gizmo->hasExtendedHandles();
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        return extended ? DragList{{m_plane.get(), m_translate.get()}, 2}
                        : DragList{{m_translate.get()}, 1};
    case ekGizmoNode::ROTATE:
        return extended ? DragList{{m_rotate.get(), m_freeRotate.get()}, 2}
                        : DragList{{m_rotate.get()}, 1};
    case ekGizmoNode::SCALE:
        return extended ? DragList{{m_centerScale.get(), m_scale.get()}, 2}
                        : DragList{{m_scale.get()}, 1};
    default:
        return {};
    }
}

ekDrag* ekGizmoRegistry::underWay() const
{
    for (ekDrag* drag : m_drags) {
        if (drag->isDragging()) {
            return drag;
        }
    }
    return nullptr;
}

ekGizmoNode* ekGizmoRegistry::hover(const ekDragInput& input, float tolerance)
{
    for (ekGizmoNode* gizmo : m_manipulators) {
        for (ekDrag* drag : dragsFor(gizmo)) {
            const ekGizmoHandle found = drag->hover(*gizmo, input, tolerance);
            if (found != ekGizmoHandle::NONE) {
                m_hoveredGizmo = gizmo;
                m_hoveredHandle = found;
                return gizmo;
            }
        }
    }
    m_hoveredGizmo = nullptr;
    return nullptr;
}

ekPressHit ekGizmoRegistry::pick(const ekDragInput& input, float tolerance) const
{
    for (ekGizmoNode* gizmo : m_manipulators) {
        for (ekDrag* drag : dragsFor(gizmo)) {
            const ekGizmoHandle handle = drag->pick(*gizmo, input, tolerance);
            if (handle != ekGizmoHandle::NONE) {
                return {gizmo, gizmo->getMode(), handle, drag};
            }
        }
    }
    return {};
}

ekGizmoNode* ekGizmoRegistry::press(const ekPressHit& hit, const ekDragInput& input,
                                    const ekSnapSteps& steps)
{
    ekGizmoNode* gizmo = hit.gizmo.get();
    if (!isListed(gizmo) || gizmo->getMode() != hit.mode || hit.drag == nullptr) {
        m_activeGizmo = nullptr;
        return nullptr;
    }
    m_activeGizmo = gizmo;
    // Counted from before its start is told: a listener may drop it.
    m_draggedGizmo = gizmo;
    const std::uint64_t version = m_listVersion;
    callOut([&] { hit.drag->begin(*gizmo, hit.handle, input, steps); });
    touch(gizmo, version);
    return m_activeGizmo;
}

void ekGizmoRegistry::move(const ekDragInput& input)
{
    // Only a drag under way touches its gizmo: after a cancel, or a press
    // that started none, the rest of the gesture changes nothing.
    ekDrag* drag = underWay();
    if (drag == nullptr || m_activeGizmo == nullptr) {
        return;
    }
    ekGizmoNode* gizmo = m_activeGizmo;
    const std::uint64_t version = m_listVersion;
    callOut([&] {
        drag->update(input);
        for (std::size_t i = 0; i < m_listeners.size() && drag->isDragging(); ++i) {
            m_listeners[i]->onManipulatorDragged(drag->delta());
        }
    });
    touch(gizmo, version);
}

void ekGizmoRegistry::release(const ekDragInput& input)
{
    ekDrag* drag = underWay();
    if (drag != nullptr && m_activeGizmo != nullptr) {
        ekGizmoNode* gizmo = m_activeGizmo;
        const std::uint64_t version = m_listVersion;
        callOut([&] { drag->end(input); });
        touch(gizmo, version);
    }
}

void ekGizmoRegistry::finishDrag()
{
    if (ekDrag* drag = underWay()) {
        callOut([drag] { drag->finish(); });
    }
}

bool ekGizmoRegistry::cancelDrag()
{
    if (underWay() == nullptr) {
        return false;
    }
    // Inside a notification the listeners are still being told: the cancel
    // waits until the last of them has been, so that everyone hears the
    // start before the end.
    if (m_calloutDepth > 0) {
        m_cancelRequested = true;
        return true;
    }
    callOut([this] { underWay()->cancel(); });
    return true;
}

int ekGizmoRegistry::getActiveAxis() const
{
    return axisOf(getActiveHandle());
}

ekGizmoHandle ekGizmoRegistry::getActiveHandle() const
{
    const ekDrag* drag = underWay();
    return drag != nullptr ? drag->handle() : ekGizmoHandle::NONE;
}

void ekGizmoRegistry::touch(ekGizmoNode* gizmo, std::uint64_t listedAt)
{
    if (listedAt != m_listVersion && !isListed(gizmo)) {
        return;
    }
    const auto at = std::lower_bound(m_touchedGizmos.begin(), m_touchedGizmos.end(), gizmo,
                                     std::less<>());
    if (at == m_touchedGizmos.end() || *at != gizmo) {
        m_touchedGizmos.insert(at, gizmo);
    }
}

void ekGizmoRegistry::notifyTouched()
{
    // Each gizmo is taken off the list before it is told about; one that a
    // listener removes is not told about again.
    while (!m_touchedGizmos.empty()) {
        ekGizmoNode* const gizmo = m_touchedGizmos.front();
        m_touchedGizmos.erase(m_touchedGizmos.begin());
        for (std::size_t i = 0; i < m_listeners.size(); ++i) {
            const std::uint64_t version = m_listVersion;
            callOut([&] { m_listeners[i]->onManipulatorMotion(gizmo); });
            if (version != m_listVersion && !isListed(gizmo)) {
                break;
            }
        }
    }
}

} // namespace ek
