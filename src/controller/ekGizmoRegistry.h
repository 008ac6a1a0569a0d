#pragma once

#include "ekDrag.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekObject.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;
class ekGizmoControllerRotate;
class ekGizmoControllerScale;
class ekGizmoControllerTranslate;
class ekNode;

// What a press answer found: the gizmo (counted, so that the pointer stays
// good until the press is replayed), its mode then and the handle.
struct ekPressHit {
    ekPointer<ekGizmoNode> gizmo;
    std::uint32_t mode = 0;
    int handle = -1;
};

// The only holder of gizmo pointers in a controller, and the only way to
// its drags. Whatever may reach a listener (a drag step, a motion
// notification) runs through callOut, which afterwards brings the gizmo
// list up to date with the scene and drops every pointer to a gizmo that
// left it, ends a drag whose gizmo left, and carries out a cancel asked for
// from inside a notification, before control returns to the controller.
class ekGizmoRegistry {
public:
    ekGizmoRegistry(ekGizmoControllerTranslate& translate, ekGizmoControllerRotate& rotate,
                    ekGizmoControllerScale& scale);
    ~ekGizmoRegistry();
    ekGizmoRegistry(const ekGizmoRegistry&) = delete;
    ekGizmoRegistry& operator=(const ekGizmoRegistry&) = delete;

    // Takes over other's list, root, held and touched gizmos (a controller
    // copy); the drags stay this registry's own.
    void copyFrom(const ekGizmoRegistry& other);

    // --- The gizmo list.
    // The gizmos of the view in scene-walk order, or as the host last edited
    // them; at every moment all of them are listed gizmos of the watched
    // root or entries the host put there.
    std::vector<ekGizmoNode*>& manipulators() { return m_manipulators; }
    const std::vector<ekGizmoNode*>& manipulators() const { return m_manipulators; }
    bool isListed(const ekGizmoNode* gizmo) const;
    // The root the list was last built from; null before the first build.
    ekNode* watchedRoot() const { return m_watchedRoot; }
    // A new root is coming: nothing of the old one is listed or held any
    // more, and the next refresh builds the list afresh.
    void forgetRoot();
    // Rebuilds the list from root when it is not the watched root or its
    // structure changed since the last rebuild (or, with honourBit, it shows
    // DIRTY_STRUCTURE), then revalidates.
    void refresh(ekNode* root, bool honourBit);
    // The scene is going (the engine's clearController): the drag under way
    // ends while its gizmo is still counted; then nothing is listed.
    void clear();

    // --- Hover, press answers and the drag under way.
    // Hovers every listed gizmo in order until one reports a handle; that
    // gizmo, or null.
    ekGizmoNode* hover(const ekDragInput& input, float tolerance);
    // The first listed gizmo with a handle that a press can drag; reads only.
    ekPressHit pick(const ekDragInput& input, float tolerance) const;
    // Presses on hit when its gizmo is still listed in the same mode; the
    // gizmo pressed (now activeGizmo), or null.
    ekGizmoNode* press(const ekPressHit& hit, const ekDragInput& input);
    // A move or the release of the drag under way, when activeGizmo holds
    // its gizmo.
    void move(const ekDragInput& input);
    void release(const ekDragInput& input);
    // Ends the drag under way (with the delta so far, or restored).
    void finishDrag();
    bool cancelDrag();
    bool isDragging() const { return underWay() != nullptr; }
    int getActiveAxis() const;

    // The gizmo of the current press or drag; after a release, the gizmo
    // under the cursor; null or listed at every moment.
    ekGizmoNode* activeGizmo() const { return m_activeGizmo; }
    void setActiveGizmo(ekGizmoNode* gizmo) { m_activeGizmo = isListed(gizmo) ? gizmo : nullptr; }

    // Tells every listener about every gizmo touched since the last call, in
    // ascending address order, then forgets them.
    void notifyTouched(const std::vector<ek3DManipulatorMotionListener*>& listeners);

private:
    ekDrag* dragFor(const ekGizmoNode* gizmo) const;
    ekDrag* underWay() const;
    void touch(ekGizmoNode* gizmo);
    // The choke point: runs call, then revalidates once the outermost call
    // returns.
    template <class Call>
    void callOut(Call&& call);
    void revalidate();
    // Rebuilds the list when the structure changed; true when it did.
    bool rebuildIfChanged(ekNode& root, bool honourBit);
    void forgetUnlisted();

    std::unique_ptr<ekDrag> m_translate;
    std::unique_ptr<ekDrag> m_rotate;
    std::unique_ptr<ekDrag> m_scale;
    std::vector<ekGizmoNode*> m_manipulators;  // not owned
    // Without the engine's structure count: the last walk's gizmos, and
    // room for the next walk's.
    std::vector<ekGizmoNode*> m_lastWalk;
    std::vector<ekGizmoNode*> m_walk;
    std::vector<ekGizmoNode*> m_touchedGizmos; // sorted by address, no duplicates; all listed
    ekGizmoNode* m_activeGizmo = nullptr;      // null or listed
    // The root the list was last built from (not owned) and its structure
    // generation then.
    ekNode* m_watchedRoot = nullptr;
    std::uint64_t m_seenGeneration = 0;
    // The gizmo of the drag under way, counted so that the drag's pointer
    // stays good even when the host drops the gizmo; null without a drag.
    ekPointer<ekGizmoNode> m_draggedGizmo;
    // Nesting of callOut, and a cancel asked for inside it.
    int m_calloutDepth = 0;
    bool m_cancelRequested = false;
};

} // namespace ek
