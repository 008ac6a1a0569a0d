#include "ekGizmoRegistry.h"

#include "ekAxisDrags.h"

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
                                 ekGizmoControllerRotate& rotate, ekGizmoControllerScale& scale)
    : m_translate(makeTranslateDrag(translate))
    , m_rotate(makeRotateDrag(rotate))
    , m_scale(makeScaleDrag(scale))
{
}

ekGizmoRegistry::~ekGizmoRegistry() = default;

void ekGizmoRegistry::copyFrom(const ekGizmoRegistry& other)
{
    m_manipulators = other.m_manipulators;
    m_lastWalk = other.m_lastWalk;
    m_touchedGizmos = other.m_touchedGizmos;
    m_activeGizmo = other.m_activeGizmo;
    m_watchedRoot = other.m_watchedRoot;
    m_seenGeneration = other.m_seenGeneration;
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
    m_activeGizmo = nullptr;
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
    // until it holds still.
    for (bool again = true; again;) {
        again = m_watchedRoot != nullptr && rebuildIfChanged(*m_watchedRoot, false);
        forgetUnlisted();
        if (m_cancelRequested) {
            m_cancelRequested = false;
            if (ekDrag* drag = underWay()) {
                drag->cancel();
                again = true;
            }
        }
    }
    --m_calloutDepth;
    // Let go last: the gizmo may die here, and it is no longer listed.
    ekDrag* drag = underWay();
    m_draggedGizmo = drag != nullptr ? drag->gizmo() : nullptr;
}

void ekGizmoRegistry::forgetUnlisted()
{
    // A gizmo that left may have been deleted since: nothing may refer to
    // it any more, and a drag under way on it ends here.
    if (!isListed(m_activeGizmo)) {
        m_activeGizmo = nullptr;
    }
    for (ekDrag* drag : {m_translate.get(), m_rotate.get(), m_scale.get()}) {
        const ekGizmoNode* pressed = drag->gizmo();
        if (pressed != nullptr && !isListed(pressed)) {
            drag->forget(*pressed);
        }
    }
    auto& touched = m_touchedGizmos;
    touched.erase(std::remove_if(touched.begin(), touched.end(),
                                 [this](const ekGizmoNode* g) { return !isListed(g); }),
                  touched.end());
}

ekDrag* ekGizmoRegistry::dragFor(const ekGizmoNode* gizmo) const
{
    if (gizmo == nullptr) {
        return nullptr;
    }
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        return m_translate.get();
    case ekGizmoNode::ROTATE:
        return m_rotate.get();
    case ekGizmoNode::SCALE:
        return m_scale.get();
    default:
        return nullptr;
    }
}

ekDrag* ekGizmoRegistry::underWay() const
{
    for (ekDrag* drag : {m_translate.get(), m_rotate.get(), m_scale.get()}) {
        if (drag->isDragging()) {
            return drag;
        }
    }
    return nullptr;
}

ekGizmoNode* ekGizmoRegistry::hover(const ekDragInput& input, float tolerance)
{
    for (ekGizmoNode* gizmo : m_manipulators) {
        ekDrag* drag = dragFor(gizmo);
        if (drag != nullptr && drag->hover(*gizmo, input, tolerance)) {
            return gizmo;
        }
    }
    return nullptr;
}

ekPressHit ekGizmoRegistry::pick(const ekDragInput& input, float tolerance) const
{
    for (ekGizmoNode* gizmo : m_manipulators) {
        const ekDrag* drag = dragFor(gizmo);
        const int handle = drag != nullptr ? drag->pick(*gizmo, input, tolerance) : -1;
        if (handle != -1) {
            return {gizmo, gizmo->getMode(), handle};
        }
    }
    return {};
}

ekGizmoNode* ekGizmoRegistry::press(const ekPressHit& hit, const ekDragInput& input)
{
    ekGizmoNode* gizmo = hit.gizmo.get();
    ekDrag* drag = isListed(gizmo) && gizmo->getMode() == hit.mode ? dragFor(gizmo) : nullptr;
    if (drag == nullptr) {
        m_activeGizmo = nullptr;
        return nullptr;
    }
    m_activeGizmo = gizmo;
    // Counted from before its start is told: a listener may drop it.
    m_draggedGizmo = gizmo;
    callOut([&] { drag->begin(*gizmo, hit.handle, input); });
    touch(gizmo);
    return m_activeGizmo;
}

void ekGizmoRegistry::move(const ekDragInput& input)
{
    // Only a drag under way touches its gizmo: after a cancel, or a press
    // that started none, the rest of the gesture changes nothing.
    ekDrag* drag = underWay();
    if (drag != nullptr && m_activeGizmo != nullptr) {
        callOut([&] { drag->update(input); });
        touch(m_activeGizmo);
    }
}

void ekGizmoRegistry::release(const ekDragInput& input)
{
    ekDrag* drag = underWay();
    if (drag != nullptr && m_activeGizmo != nullptr) {
        ekGizmoNode* gizmo = m_activeGizmo;
        callOut([&] { drag->end(input); });
        touch(gizmo);
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
    const ekDrag* drag = underWay();
    return drag != nullptr ? drag->handle() : -1;
}

void ekGizmoRegistry::touch(ekGizmoNode* gizmo)
{
    if (!isListed(gizmo)) {
        return;
    }
    const auto at = std::lower_bound(m_touchedGizmos.begin(), m_touchedGizmos.end(), gizmo,
                                     std::less<>());
    if (at == m_touchedGizmos.end() || *at != gizmo) {
        m_touchedGizmos.insert(at, gizmo);
    }
}

void ekGizmoRegistry::notifyTouched(const std::vector<ek3DManipulatorMotionListener*>& listeners)
{
    // Each gizmo is taken off the list before it is told about; one that a
    // listener removes is not told about again.
    while (!m_touchedGizmos.empty()) {
        ekGizmoNode* const gizmo = m_touchedGizmos.front();
        m_touchedGizmos.erase(m_touchedGizmos.begin());
        for (std::size_t i = 0; i < listeners.size() && isListed(gizmo); ++i) {
            callOut([&] { listeners[i]->onManipulatorMotion(gizmo); });
        }
    }
}

} // namespace ek
