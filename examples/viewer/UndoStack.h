#pragma once

#include <ek3DManipulation/ekGizmoHandle.h>

#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekObject.h>
#include <ekSceneGraph/ekSpatial.h>

#include <cstddef>
#include <deque>
#include <vector>

namespace ek::viewer {

// A drag of one of the gizmo's modes, or a value typed in the inspector.
enum class ManipulationKind { Translate, Rotate, Scale, Edit };

// "translate", "rotate", "scale" or "edit".
const char* kindName(ManipulationKind kind);
// How scripts and reports name a dragged handle: tip0..2 (arrows and scale
// handles), ring0..2 (rotate circles), plane0..2, screen, viewring,
// trackball, center; null for NONE.
const char* handleName(ManipulationKind kind, ekGizmoHandle handle);

// What one finished manipulation did to one object.
struct ObjectChange {
    ekPointer<ekSpatial> object;
    ekGenericTransformation<float> localBefore;
    ekGenericTransformation<float> localAfter;
    ekGenericTransformation<float> worldBefore;
    ekGenericTransformation<float> worldAfter;
};

// One whole manipulation, press to release, or one edit.
struct Manipulation {
    ManipulationKind kind = ManipulationKind::Translate;
    // Gizmo axis 0..2 (a plane square's normal), as the controller's active
    // axis; -1 for the screen handle, view ring, trackball and centre, when
    // the press found none, or for an edit.
    int axis = -1;
    ekGizmoHandle handle = ekGizmoHandle::NONE; // the handle pressed; NONE for an edit
    // World transform the drag applied on top of the transforms at the
    // press (for a scale: the linear change of the first object); the
    // identity for an edit.
    ekGenericTransformation<float> delta;
    std::vector<ObjectChange> objects;

    // Whether any object's local transform differs from before.
    bool changedAnything() const;
};

// Whole manipulations, undone and redone by writing the local transforms
// back; each object's world data is brought up to date at once, so a
// gizmo laid out right after sees it.
class UndoStack {
public:
    // Entries kept; the oldest is dropped beyond.
    static constexpr std::size_t kMaxEntries = 100;

    // Drops what could be redone, then appends.
    void push(Manipulation manipulation);
    // The entry undone or redone, null when there is none.
    const Manipulation* undo();
    const Manipulation* redo();

private:
    std::deque<Manipulation> m_entries;
    std::size_t m_applied = 0; // entries [0, m_applied) are in effect
};

} // namespace ek::viewer
