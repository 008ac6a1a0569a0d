#include "ekSceneGraph/ekNode.h"

#include <algorithm>

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
        child->m_pendingPrev = nullptr;
        child->m_pendingNext = nullptr;
    }
}

int ekNode::attachChild(ekSpatial* child)
{
    if (child == nullptr || child->m_parent != nullptr) {
        return -1;
    }
    child->m_parent = this;
    m_children.push_back(child);
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

void ekNode::linkPending(ekSpatial& child)
{
    // At the tail: frames then visit changes in the order they were made,
    // which is mostly the order of the draw list.
    child.m_pendingPrev = m_pendingTail;
    child.m_pendingNext = nullptr;
    if (m_pendingTail != nullptr) {
        m_pendingTail->m_pendingNext = &child;
    } else {
        m_pendingHead = &child;
    }
    m_pendingTail = &child;
}

void ekNode::unlinkPending(ekSpatial& child)
{
    if (child.m_pendingPrev != nullptr) {
        child.m_pendingPrev->m_pendingNext = child.m_pendingNext;
    } else {
        m_pendingHead = child.m_pendingNext;
    }
    if (child.m_pendingNext != nullptr) {
        child.m_pendingNext->m_pendingPrev = child.m_pendingPrev;
    } else {
        m_pendingTail = child.m_pendingPrev;
    }
    child.m_pendingPrev = nullptr;
    child.m_pendingNext = nullptr;
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
    for (ekPointer<ekSpatial>& child : m_children) {
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
    // Every child with dirty bits is in the pending list.
    for (ekSpatial* child = m_pendingHead; child != nullptr; child = child->m_pendingNext) {
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
