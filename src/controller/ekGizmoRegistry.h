#pragma once

#include "ekDrag.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekObject.h>

#include <array>
#include <cstddef>
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
// good until the press is replayed), its mode then, the handle and the
// drag of that handle (the registry's own).
struct ekPressHit {
    ekPointer<ekGizmoNode> gizmo;
    std::uint32_t mode = 0;
    ekGizmoHandle handle = ekGizmoHandle::NONE;
    ekDrag* drag = nullptr;
};

// The only holder of gizmo pointers in a controller, and the only way to
// its drags. Whatever may reach a listener (a drag step, a motion
// notification) runs through callOut, which afterwards brings the gizmo
// list up to date with the scene and drops every pointer to a gizmo that
// left it, ends a drag whose gizmo left, and carries out a cancel asked for
// from inside a notification, before control returns to the controller.
class ekGizmoRegistry {
public:
    // Drives the three axis drag objects, and the extended handles' drags
    // of its own; tells listeners (not owned, and outliving the registry).
    ekGizmoRegistry(ekGizmoControllerTranslate& translate, ekGizmoControllerRotate& rotate,
                    ekGizmoControllerScale& scale,
                    const std::vector<ek3DManipulatorMotionListener*>& listeners);
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
    const std::vector<ekGizmoNode*>& manipulators() const { return m_manipulators; }
    // The list, for the host to edit: counted as changed.
    std::vector<ekGizmoNode*>& editManipulators()
    {
        ++m_listVersion;
        return m_manipulators;
    }
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
    // Presses on hit with steps when its gizmo is still listed in the same
    // mode; the gizmo pressed (now activeGizmo), or null.
    ekGizmoNode* press(const ekPressHit& hit, const ekDragInput& input, const ekSnapSteps& steps);
    // A move or the release of the drag under way, when activeGizmo holds
    // its gizmo.
    void move(const ekDragInput& input);
    void release(const ekDragInput& input);
    // Ends the drag under way (with the delta so far, or restored).
    void finishDrag();
    bool cancelDrag();
    bool isDragging() const { return underWay() != nullptr; }
    int getActiveAxis() const;
    ekGizmoHandle getActiveHandle() const;
    // What the last hover found under the cursor: a listed gizmo and its
    // handle, or null and NONE.
    ekGizmoNode* hoveredGizmo() const { return m_hoveredGizmo; }
    ekGizmoHandle hoveredHandle() const { return m_hoveredGizmo != nullptr ? m_hoveredHandle : ekGizmoHandle::NONE; }

    // The gizmo of the current press or drag; after a release, the gizmo
    // under the cursor; null or listed at every moment.
    ekGizmoNode* activeGizmo() const { return m_activeGizmo; }
    void setActiveGizmo(ekGizmoNode* gizmo) { m_activeGizmo = isListed(gizmo) ? gizmo : nullptr; }

    // Tells every listener about every gizmo touched since the last call, in
    // ascending address order, then forgets them.
    void notifyTouched();

private:
    // The drags of gizmo's handles, in the order they are picked; empty for
    // a gizmo without handles.
    struct DragList {
        std::array<ekDrag*, 2> drags{};
        std::size_t count = 0;
        ekDrag* const* begin() const { return drags.data(); }
        ekDrag* const* end() const { return drags.data() + count; }
    };
    DragList dragsFor(const ekGizmoNode* gizmo) const;
    ekDrag* underWay() const;
    // Records gizmo as touched, unless the list changed since listedAt (a
    // version of it in which gizmo was listed) and no longer holds it.
    void touch(ekGizmoNode* gizmo, std::uint64_t listedAt);
    // The choke point: runs call, then revalidates once the outermost call
    // returns.
    template <class Call>
    void callOut(Call&& call);
    void revalidate();
    // Rebuilds the list when the structure changed; true when it did.
    bool rebuildIfChanged(ekNode& root, bool honourBit);
    // Drops every pointer to a gizmo no longer listed; true when that ended
    // a drag, whose listeners may have changed the scene again.
    bool forgetUnlisted();

    const std::vector<ek3DManipulatorMotionListener*>& m_listeners;
    std::unique_ptr<ekDrag> m_translate;
    std::unique_ptr<ekDrag> m_rotate;
    std::unique_ptr<ekDrag> m_scale;
    std::unique_ptr<ekDrag> m_plane;
    std::unique_ptr<ekDrag> m_freeRotate;
    std::unique_ptr<ekDrag> m_centerScale;
    // Every drag above, for what concerns them all.
    std::array<ekDrag*, 6> m_drags{};
    std::vector<ekGizmoNode*> m_manipulators;  // not owned
    // Without the engine's structure count: the last walk's gizmos, and
    // room for the next walk's.
    std::vector<ekGizmoNode*> m_lastWalk;
    std::vector<ekGizmoNode*> m_walk;
    std::vector<ekGizmoNode*> m_touchedGizmos; // sorted by address, no duplicates; all listed
    ekGizmoNode* m_activeGizmo = nullptr;      // null or listed
    ekGizmoNode* m_hoveredGizmo = nullptr;     // null or listed
    ekGizmoHandle m_hoveredHandle = ekGizmoHandle::NONE;
    // The root the list was last built from (not owned) and its structure
    // generation then.
    ekNode* m_watchedRoot = nullptr;
    std::uint64_t m_seenGeneration = 0;
    // The gizmo of the drag under way, counted so that the drag's pointer
    // stays good even when the host drops the gizmo; null without a drag.
    ekPointer<ekGizmoNode> m_draggedGizmo;
    // Nesting of callOut, and a cancel asked for inside it.
    int m_calloutDepth = 0;
    // Counts the changes of the list; the pointers held were last checked
    // against version m_checkedVersion.
    std::uint64_t m_listVersion = 0;
    std::uint64_t m_checkedVersion = 0;
    bool m_cancelRequested = false;
};

} // namespace ek
