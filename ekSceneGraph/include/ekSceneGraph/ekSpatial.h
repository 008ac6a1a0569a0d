#pragma once

#include "ekBound.h"
#include "ekGenericTransformation.h"
#include "ekObject.h"

#include <cstdint>
#include <memory>

namespace ek {

class ekNode;

// Bits of the first dirty-flag word (getDirtyFlags(0)).
enum ekDirtyFlag : unsigned int {
    // The local transform changed: world data is to be recomputed.
    DIRTY_TRANSFORM = 0x0001,
    // The world bound is to be recomputed (a descendant changed).
    DIRTY_BOUND = 0x0002,
    // The appearance changed: the object is to be drawn again.
    DIRTY_RENDER = 0x0004,
    // A child was attached or detached somewhere in this subtree. Set on
    // the parent and every ancestor; ekEngine::frame clears it at the end
    // of each frame, so a walk that reacts to it sees each change once.
    DIRTY_STRUCTURE = 0x0040,
    // The whole subtree is to be recomputed (setDirtyDown(true)).
    DIRTY_SUBTREE = 0x2000,
};

// A scene-graph object with a local transform (relative to its parent),
// a world transform and a world bounding sphere.
//
// The second dirty-flag word collects what the renderer has not yet drawn:
// setDirty with redraw copies its flags there, and ekEngine::frame clears
// the word after drawing. The first word belongs to the world-data update,
// which clears its transform and bound bits.
//
// World bounds are brought up to date when read: an update only notes
// which bounds it made stale, so that nothing is merged that nobody reads.
// A leaf in culling mode CULL_ALWAYS likewise derives its world transform
// when read rather than at each update. Either reads the values an eager
// update would have left, unless a world transform was written without
// marking in between (the bound then follows the written transform).
//
// Every change a frame has to see (dirty bits, a drawn line's data, a
// culling mode) links the spatial into its parent's list of pending
// children, and the parent into its own, so that updates and frames visit
// what changed instead of the whole scene.
class ekSpatial : public ekObject {
public:
    enum CullingMode : std::uint8_t {
        CULL_DYNAMIC = 0, // drawn
        CULL_ALWAYS = 1,  // never drawn by the ordinary pass
    };

    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    ~ekSpatial() override = default;

    ekNode* getParent() const { return m_parent; }

#ifndef EK_ENGINE_CORE_INTERFACE_ONLY
    // An extension of this engine.
    // A count, shared by every spatial of the process, that moves when a
    // spatial is made, its local or world transform is edited, its bound or
    // place in a tree is marked changed, or an update changes its world
    // transform (colours, visibility and redraw requests do not move it).
    // Equal readings mean no world transform or bound changed in between,
    // so what a reader derived from them still holds. Only the first change
    // after a reading costs a write.
    static std::uint64_t getChangeCount();
#endif

    // The identity until first edited.
    const ekGenericTransformation<float>& getLocalTransform() const;
    const ekGenericTransformation<float>& getWorldTransform() const
    {
        if ((m_state & STATE_WORLD_STALE) != 0) {
            refreshWorldTransform();
        }
        return m_world;
    }
    // The local transform, to be changed in place. markDirty sets
    // DIRTY_TRANSFORM here and DIRTY_BOUND on the ancestors, so that the
    // next UpdateGS_Flags (ekEngine::frame runs one) brings the world data
    // up to date; without it the caller updates by itself.
    ekGenericTransformation<float>& editLocalTransform(bool markDirty);
    // The world transform, to be written directly: meant for a caller that
    // also writes the matching local transform (see forceIgnore).
    ekGenericTransformation<float>& editWorldTransform(bool markDirty);

    const ekBound& getWorldBound() const
    {
        if ((m_state & STATE_BOUND_STALE) != 0) {
            refreshWorldBound();
        }
        return m_worldBound;
    }

    // Objects that the host marks as not to be moved by tools.
    bool isExcluded() const { return m_excluded; }
    void setExcluded(bool excluded) { m_excluded = excluded; }

    CullingMode getCullingMode() const { return m_cullingMode; }
    void setCullingMode(CullingMode mode);

    // word 0 or 1; any other word reads 0.
    unsigned int getDirtyFlags(int word) const { return word == 0 || word == 1 ? m_dirty[word] : 0; }
    void clearDirtyFlags(int word, unsigned int mask);
    // ORs flags into the first word. redraw also sets DIRTY_RENDER and
    // copies the flags into the second word; propagateUp sets DIRTY_BOUND on
    // every ancestor.
    void setDirty(unsigned int flags, bool redraw, bool propagateUp);

    // Suspends parts of the next updates until called again with false:
    // keepWorld keeps the world transform as written instead of deriving it
    // from the parent and the local transform; keepBound keeps the world
    // bound; keepChildren leaves the children alone.
    void forceIgnore(bool keepWorld, bool keepBound, bool keepChildren);

    // Recomputes the world data of this subtree (all of it), then the
    // bounds of the ancestors.
    void UpdateGS();
    // The same, limited to what the dirty flags ask for: the subtrees whose
    // flags are set, and the bounds above them.
    void UpdateGS_Flags();

protected:
    // What a spatial is, for the engine's walks (set by constructors).
    enum Kind : std::uint8_t {
        KIND_SPATIAL = 0,
        KIND_NODE = 1,
        KIND_LINE = 2,
    };

    explicit ekSpatial(Kind kind = KIND_SPATIAL);

    // Recompute the world transform of this object from its parent (unless
    // kept by forceIgnore), then what lies below.
    virtual void UpdateWorldData();
    virtual void UpdateWorldData_Flags();
    virtual void UpdateWorldBound() = 0;
    // Marks this object (and, for a node, its subtree) as to be recomputed;
    // returns the new first word.
    virtual unsigned int setDirtyDown(bool subtree);

    // ORs bits into both words, for subclasses that add flags of their own.
    void addDirtyFlags(unsigned int bits);
    void setWorldBound(const ekBound& bound) { m_worldBound = bound; }
    bool keepsWorldBound() const { return m_keepBound; }
    bool keepsChildren() const { return m_keepChildren; }
    void updateWorldTransform();
    // Tells the frame that what this line draws changed.
    void markDrawChanged();

private:
    friend class ekNode;
    friend class ekDrawCache;
    friend class ekSceneGraphVisitor;

    // Engine bookkeeping, apart from the dirty words.
    enum State : std::uint8_t {
        STATE_PENDING = 0x01,       // in the parent's pending list
        STATE_WORLD_STALE = 0x02,   // world transform derived when read
        STATE_BOUND_STALE = 0x04,   // world bound recomputed when read
        STATE_DRAW_CHANGED = 0x08,  // the segments a line draws changed
        STATE_CULL_CHANGED = 0x10,  // the culling mode changed
    };

    void orDirty(unsigned int word0, unsigned int word1);
    // Links this spatial, and each ancestor not yet linked, into its
    // parent's pending list.
    void markPending()
    {
        if ((m_state & STATE_PENDING) == 0) {
            linkPendingPath();
        }
    }
    // markPending for a spatial not yet linked.
    void linkPendingPath();
    // Stores only a change, here and in the other bookkeeping of a world
    // update: an update walks every child, and a cache line left clean need
    // not be written back when it leaves the cache.
    void markBoundStale()
    {
        if ((m_state & STATE_BOUND_STALE) == 0) {
            m_state |= STATE_BOUND_STALE;
        }
    }
    void updateAncestorBounds();
    void refreshWorldTransform() const;
    void refreshWorldBound() const;

    // What a world-data update reads of every child comes first, next to
    // the vtable pointer: one cache line for a child it only looks at.
    mutable std::uint8_t m_state = 0;
    Kind m_kind;
    CullingMode m_cullingMode = CULL_DYNAMIC;
    bool m_keepWorld = false;
    bool m_keepBound = false;
    bool m_keepChildren = false;
    bool m_excluded = false;
    unsigned int m_dirty[2] = {0, 0};
    ekNode* m_parent = nullptr;
    // Most lines never leave their parent's frame: the local transform
    // takes memory only once edited.
    std::unique_ptr<ekGenericTransformation<float>> m_local;
    mutable ekGenericTransformation<float> m_world;
    mutable ekBound m_worldBound;
};

} // namespace ek
