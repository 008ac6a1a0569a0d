#pragma once

#include "ekSpatial.h"

#include <cstdint>
#include <vector>

namespace ek {

// A spatial with children. The node holds a counted reference to each
// child; its world bound is merged from the children.
class ekNode : public ekSpatial {
public:
    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // boundFromChildren false keeps the node's world bound at radius 0 on
    // its world translation, whatever lies below (a group of helpers that
    // should not grow the scene's bounds).
    explicit ekNode(bool boundFromChildren = true);
    ~ekNode() override;

    // Appends child and returns its index; -1 for null or for a spatial
    // that already has a parent (detach it first). Sets DIRTY_STRUCTURE
    // here and on every ancestor.
    virtual int attachChild(ekSpatial* child);
    // Removes child, returns its former index or -1 when it is not a child.
    // The child is released: it is deleted when nothing else counts it.
    virtual int detachChild(ekSpatial* child);

    int getChildCount() const { return static_cast<int>(m_children.size()); }

#ifndef EK_ENGINE_CORE_INTERFACE_ONLY
    // An extension of this engine. Counts the attaches and detaches made in
    // this subtree since the node was made. Unlike DIRTY_STRUCTURE, which
    // the engine clears at the end of each frame, it never goes back: a
    // reader that remembers the value sees every change, whichever engine,
    // frame or callback made it.
    std::uint64_t getStructureGeneration() const { return m_structureGeneration; }
#endif
    // Null for an index out of range.
    ekSpatial* getChild(int i) const;

protected:
    void UpdateWorldData() override;
    void UpdateWorldData_Flags() override;
    void UpdateWorldBound() override;
    unsigned int setDirtyDown(bool subtree) override;

private:
    friend class ekSpatial;
    friend class ekDrawCache;
    friend class ekSceneGraphVisitor;

    void markStructureChanged();
    // Never allocates: attachChild makes room for every child in advance,
    // so that marking a change cannot fail.
    void linkPending(ekSpatial& child) { m_pending.push_back(&child); }
    void unlinkPending(ekSpatial& child);

    std::vector<ekPointer<ekSpatial>> m_children;
    std::uint64_t m_structureGeneration = 0;
    // The children that changed since a frame last looked (see ekSpatial),
    // in the order they were linked: frames then visit changes in the order
    // they were made, which is mostly the order of the draw list. An array
    // rather than a chain through the children, so that a walk over many of
    // them loads them side by side instead of one after the other.
    std::vector<ekSpatial*> m_pending;
    // The last frame that took this subtree's changes (see ekEngine).
    std::uint32_t m_frameStamp = 0;
    bool m_boundFromChildren;
};

} // namespace ek
