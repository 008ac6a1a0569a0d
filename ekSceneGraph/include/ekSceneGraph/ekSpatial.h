#pragma once

#include "ekBound.h"
#include "ekGenericTransformation.h"
#include "ekObject.h"

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
class ekSpatial : public ekObject {
public:
    enum CullingMode {
        CULL_DYNAMIC = 0, // drawn
        CULL_ALWAYS = 1,  // never drawn by the ordinary pass
    };

    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    ~ekSpatial() override = default;

    ekNode* getParent() const { return m_parent; }

    const ekGenericTransformation<float>& getLocalTransform() const { return m_local; }
    const ekGenericTransformation<float>& getWorldTransform() const { return m_world; }
    // The local transform, to be changed in place. markDirty sets
    // DIRTY_TRANSFORM here and DIRTY_BOUND on the ancestors, so that the
    // next UpdateGS_Flags (ekEngine::frame runs one) brings the world data
    // up to date; without it the caller updates by itself.
    ekGenericTransformation<float>& editLocalTransform(bool markDirty);
    // The world transform, to be written directly: meant for a caller that
    // also writes the matching local transform (see forceIgnore).
    ekGenericTransformation<float>& editWorldTransform(bool markDirty);

    const ekBound& getWorldBound() const { return m_worldBound; }

    // Objects that the host marks as not to be moved by tools.
    bool isExcluded() const { return m_excluded; }
    void setExcluded(bool excluded) { m_excluded = excluded; }

    CullingMode getCullingMode() const { return m_cullingMode; }
    void setCullingMode(CullingMode mode) { m_cullingMode = mode; }

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
    ekSpatial() = default;

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

private:
    friend class ekNode;
    void updateAncestorBounds();

    ekNode* m_parent = nullptr;
    ekGenericTransformation<float> m_local;
    ekGenericTransformation<float> m_world;
    ekBound m_worldBound;
    unsigned int m_dirty[2] = {0, 0};
    CullingMode m_cullingMode = CULL_DYNAMIC;
    bool m_excluded = false;
    bool m_keepWorld = false;
    bool m_keepBound = false;
    bool m_keepChildren = false;
};

} // namespace ek
