#include "ekSceneGraph/ekSpatial.h"

#include "ekSceneGraph/ekNode.h"

#include <atomic>

namespace ek {

namespace {

// Bits the world-data update reads and clears.
constexpr unsigned int kWorldBits = DIRTY_TRANSFORM | DIRTY_BOUND | DIRTY_SUBTREE;
// Bits of the first word that a frame clears.
constexpr unsigned int kFrameBits = DIRTY_STRUCTURE | DIRTY_RENDER;

// The local transform of a spatial never edited.
constexpr ekGenericTransformation<float> kIdentity;

// The change count, and whether it was read since it last moved: changes
// nobody has looked at yet need not move it again.
std::atomic<std::uint64_t> g_changeCount{0};
std::atomic<bool> g_changeCountRead{false};

void noteChange()
{
    if (g_changeCountRead.load(std::memory_order_relaxed)) {
        g_changeCountRead.store(false, std::memory_order_relaxed);
        g_changeCount.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

ekSpatial::ekSpatial(Kind kind) : m_kind(kind)
{
    // A spatial made where a deleted one lived must not pass for it.
    noteChange();
}

std::uint64_t ekSpatial::getChangeCount()
{
    // Marked read first: a change between the two steps moves the count.
    g_changeCountRead.store(true, std::memory_order_relaxed);
    return g_changeCount.load(std::memory_order_relaxed);
}

const ekGenericTransformation<float>& ekSpatial::getLocalTransform() const
{
    return m_local != nullptr ? *m_local : kIdentity;
}

ekGenericTransformation<float>& ekSpatial::editLocalTransform(bool markDirty)
{
    noteChange();
    if (markDirty) {
        setDirty(DIRTY_TRANSFORM, false, true);
    }
    if (m_local == nullptr) {
        m_local = std::make_unique<ekGenericTransformation<float>>();
    }
    return *m_local;
}

ekGenericTransformation<float>& ekSpatial::editWorldTransform(bool markDirty)
{
    noteChange();
    // The caller may change only part of it: it has to be current first.
    getWorldTransform();
    markDrawChanged();
    if (markDirty) {
        setDirty(DIRTY_BOUND, false, true);
    }
    return m_world;
}

void ekSpatial::setCullingMode(CullingMode mode)
{
    if (mode == m_cullingMode) {
        return;
    }
    m_cullingMode = mode;
    m_state |= STATE_CULL_CHANGED;
    // A line shown again may have moved while it was hidden.
    markDrawChanged();
    markPending();
}

void ekSpatial::clearDirtyFlags(int word, unsigned int mask)
{
    if (word == 0 || word == 1) {
        m_dirty[word] &= ~mask;
    }
}

void ekSpatial::setDirty(unsigned int flags, bool redraw, bool propagateUp)
{
    orDirty(redraw ? flags | DIRTY_RENDER : flags, redraw ? flags | DIRTY_RENDER : 0u);
    if (propagateUp && m_parent != nullptr) {
        for (ekSpatial* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
            ancestor->m_dirty[0] |= DIRTY_BOUND;
        }
        m_parent->markPending();
    }
}

void ekSpatial::addDirtyFlags(unsigned int bits)
{
    orDirty(bits, bits);
}

void ekSpatial::orDirty(unsigned int word0, unsigned int word1)
{
    if ((word0 & (kWorldBits | DIRTY_STRUCTURE)) != 0) {
        noteChange();
    }
    m_dirty[0] |= word0;
    m_dirty[1] |= word1;
    if ((word0 & (kWorldBits | kFrameBits)) != 0 || word1 != 0) {
        markPending();
    }
}

void ekSpatial::linkPendingPath()
{
    // An ancestor already linked has its own ancestors linked too.
    for (ekSpatial* s = this; (s->m_state & STATE_PENDING) == 0; s = s->m_parent) {
        s->m_state |= STATE_PENDING;
        if (s->m_parent == nullptr) {
            return;
        }
        s->m_parent->linkPending(*s);
    }
}

void ekSpatial::markDrawChanged()
{
    if (m_kind == KIND_LINE) {
        m_state |= STATE_DRAW_CHANGED;
        markPending();
    }
}

unsigned int ekSpatial::setDirtyDown(bool subtree)
{
    orDirty(DIRTY_TRANSFORM | (subtree ? DIRTY_SUBTREE : 0u), 0u);
    return m_dirty[0];
}

void ekSpatial::forceIgnore(bool keepWorld, bool keepBound, bool keepChildren)
{
    m_keepWorld = keepWorld;
    m_keepBound = keepBound;
    m_keepChildren = keepChildren;
}

void ekSpatial::updateWorldTransform()
{
    if (m_keepWorld) {
        return;
    }
    // A leaf that is never drawn waits until someone reads it.
    if (m_kind != KIND_NODE && m_cullingMode == CULL_ALWAYS) {
        if ((m_state & STATE_WORLD_STALE) == 0) {
            m_state |= STATE_WORLD_STALE;
        }
        return;
    }
    m_state &= ~STATE_WORLD_STALE;
    // Counted as a change, and a line drawn again, only when the world
    // transform really changed. The new one is compared before it is
    // stored, which spares a copy of the old; where Product would copy one
    // of its factors, that factor is compared and stored as it is. It is
    // stored even when equal: equal transforms may still differ in their
    // bits (a zero's sign, the scale of a general one).
    const ekGenericTransformation<float>& local = getLocalTransform();
    const ekGenericTransformation<float>* parentWorld = m_parent != nullptr ? &m_parent->getWorldTransform() : nullptr;
    const ekGenericTransformation<float>* factor = nullptr;
    if (parentWorld == nullptr || parentWorld->IsIdentity()) {
        factor = &local;
    } else if (local.IsIdentity()) {
        factor = parentWorld;
    }
    bool changed;
    if (factor != nullptr) {
        changed = *factor != m_world;
        m_world = *factor;
    } else {
        ekGenericTransformation<float> world;
        world.Product(*parentWorld, local);
        changed = world != m_world;
        m_world = world;
    }
    if (changed) {
        noteChange();
        markDrawChanged();
    }
}

void ekSpatial::refreshWorldTransform() const
{
    m_state &= ~STATE_WORLD_STALE;
    if (m_parent != nullptr) {
        m_world.Product(m_parent->getWorldTransform(), getLocalTransform());
    } else {
        m_world = getLocalTransform();
    }
}

void ekSpatial::refreshWorldBound() const
{
    m_state &= ~STATE_BOUND_STALE;
    // Computing a bound changes nothing observable but the cached value.
    const_cast<ekSpatial*>(this)->UpdateWorldBound();
}

void ekSpatial::UpdateWorldData()
{
    updateWorldTransform();
    if ((m_dirty[0] & kWorldBits) != 0) {
        m_dirty[0] &= ~kWorldBits;
    }
}

void ekSpatial::UpdateWorldData_Flags()
{
    // A leaf has nothing below it: any dirt means the whole update.
    UpdateWorldData();
}

void ekSpatial::updateAncestorBounds()
{
    for (ekSpatial* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
        if (!ancestor->m_keepBound) {
            ancestor->markBoundStale();
        }
        ancestor->m_dirty[0] &= ~DIRTY_BOUND;
    }
}

void ekSpatial::UpdateGS()
{
    UpdateWorldData();
    if (!m_keepBound) {
        markBoundStale();
    }
    updateAncestorBounds();
}

void ekSpatial::UpdateGS_Flags()
{
    UpdateWorldData_Flags();
    if (!m_keepBound) {
        markBoundStale();
    }
    updateAncestorBounds();
}

} // namespace ek
