#include "ekSceneGraph/ekSpatial.h"

#include "ekSceneGraph/ekNode.h"

namespace ek {

ekGenericTransformation<float>& ekSpatial::editLocalTransform(bool markDirty)
{
    if (markDirty) {
        setDirty(DIRTY_TRANSFORM, false, true);
    }
    return m_local;
}

ekGenericTransformation<float>& ekSpatial::editWorldTransform(bool markDirty)
{
    if (markDirty) {
        setDirty(DIRTY_BOUND, false, true);
    }
    return m_world;
}

void ekSpatial::clearDirtyFlags(int word, unsigned int mask)
{
    if (word == 0 || word == 1) {
        m_dirty[word] &= ~mask;
    }
}

void ekSpatial::setDirty(unsigned int flags, bool redraw, bool propagateUp)
{
    m_dirty[0] |= flags;
    if (redraw) {
        m_dirty[0] |= DIRTY_RENDER;
        m_dirty[1] |= flags | DIRTY_RENDER;
    }
    if (propagateUp) {
        for (ekSpatial* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
            ancestor->m_dirty[0] |= DIRTY_BOUND;
        }
    }
}

void ekSpatial::addDirtyFlags(unsigned int bits)
{
    m_dirty[0] |= bits;
    m_dirty[1] |= bits;
}

unsigned int ekSpatial::setDirtyDown(bool subtree)
{
    m_dirty[0] |= DIRTY_TRANSFORM | (subtree ? DIRTY_SUBTREE : 0u);
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
    if (m_parent != nullptr) {
        m_world.Product(m_parent->getWorldTransform(), m_local);
    } else {
        m_world = m_local;
    }
}

void ekSpatial::UpdateWorldData()
{
    updateWorldTransform();
    m_dirty[0] &= ~(DIRTY_TRANSFORM | DIRTY_SUBTREE | DIRTY_BOUND);
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
            ancestor->UpdateWorldBound();
        }
        ancestor->m_dirty[0] &= ~DIRTY_BOUND;
    }
}

void ekSpatial::UpdateGS()
{
    UpdateWorldData();
    if (!m_keepBound) {
        UpdateWorldBound();
    }
    updateAncestorBounds();
}

void ekSpatial::UpdateGS_Flags()
{
    UpdateWorldData_Flags();
    if (!m_keepBound) {
        UpdateWorldBound();
    }
    updateAncestorBounds();
}

} // namespace ek
