#include "ekSceneGraph/ekNode.h"

#include "ekPrefetch.h"

#include <algorithm>
#include <cstddef>

namespace ek {

namespace {

constexpr unsigned int kNeedsUpdate = DIRTY_TRANSFORM | DIRTY_SUBTREE;
constexpr unsigned int kNeedsVisit = kNeedsUpdate | DIRTY_BOUND;

} // namespace

ekNode::ekNode(bool boundFromChildren) : ekSpatial(KIND_NODE), m_boundFromChildren(boundFromChildren) {}

ekNode::~ekNode()
{
    for (ekPointer<ekSpatial>& child : m_children) {
        child->m_parent = nullptr;
    }
}

int ekNode::attachChild(ekSpatial* child)
{
    if (child == nullptr || child->m_parent != nullptr) {
        return -1;
    }
    if (m_pending.capacity() <= m_children.size()) {
        m_pending.reserve(std::max<std::size_t>(2 * m_children.size(), 4));
    }
    m_children.push_back(child);
    child->m_parent = this;
    // What changed below the child while it had no parent still waits.
    if ((child->m_state & STATE_PENDING) != 0) {
        linkPending(*child);
        markPending();
    }
    child->setDirtyDown(true);
    markStructureChanged();
    return static_cast<int>(m_children.size()) - 1;
}

int ekNode::detachChild(ekSpatial* child)
{
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (child == nullptr || found == m_children.end()) {
        return -1;
    }
    const int index = static_cast<int>(found - m_children.begin());
    if ((child->m_state & STATE_PENDING) != 0) {
        unlinkPending(*child);
    }
    child->m_parent = nullptr;
    markStructureChanged();
    m_children.erase(found); // may delete child: nothing uses it after this
    return index;
}

ekSpatial* ekNode::getChild(int i) const
{
    return i >= 0 && i < getChildCount() ? m_children[static_cast<std::size_t>(i)].get() : nullptr;
}

void ekNode::markStructureChanged()
{
    for (ekNode* node = this; node != nullptr; node = node->getParent()) {
        node->setDirty(DIRTY_STRUCTURE | DIRTY_BOUND, false, false);
        ++node->m_structureGeneration;
    }
}

void ekNode::unlinkPending(ekSpatial& child)
{
    m_pending.erase(std::find(m_pending.begin(), m_pending.end(), &child));
}

unsigned int ekNode::setDirtyDown(bool subtree)
{
    for (ekPointer<ekSpatial>& child : m_children) {
        child->setDirtyDown(subtree);
    }
    return ekSpatial::setDirtyDown(subtree);
}

void ekNode::UpdateWorldData()
{
    ekSpatial::UpdateWorldData();
    if (keepsChildren()) {
        return;
    }
    const std::size_t count = m_children.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kPrefetchAhead < count) {
            prefetchObject(m_children[i + kPrefetchAhead].get(), 2);
        }
        ekSpatial* child = m_children[i].get();
        child->UpdateWorldData();
        if (!child->keepsWorldBound()) {
            child->markBoundStale();
        }
    }
}

void ekNode::UpdateWorldData_Flags()
{
    if ((getDirtyFlags(0) & kNeedsUpdate) != 0) {
        // This node moves, so everything below it does.
        UpdateWorldData();
        return;
    }
    clearDirtyFlags(0, DIRTY_BOUND);
    if (keepsChildren()) {
        return;
    }
    // Every child with dirty bits is in the pending list. By index: an
    // update below may link more children.
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (i + kPrefetchAhead < m_pending.size()) {
            prefetchObject(m_pending[i + kPrefetchAhead], 2);
        }
        ekSpatial* child = m_pending[i];
        if ((child->getDirtyFlags(0) & kNeedsVisit) != 0) {
            child->UpdateWorldData_Flags();
            if (!child->keepsWorldBound()) {
                child->markBoundStale();
            }
        }
    }
}

void ekNode::UpdateWorldBound()
{
    ekBound bound(getWorldTransform().GetTranslate(), 0.0f);
    if (m_boundFromChildren) {
        bool first = true;
        for (const ekPointer<ekSpatial>& child : m_children) {
            const ekBound& childBound = child->getWorldBound();
            if (childBound.getRadius() == 0.0f) {
                continue;
            }
            if (first) {
                bound = childBound;
                first = false;
            } else {
                bound.growToContain(childBound);
            }
        }
    }
    setWorldBound(bound);
}

} // namespace ek
