#pragma once

#include "fuzzListener.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector3.h>

#include <array>
#include <cstdint>
#include <memory>

namespace ek_fuzz {

// The last press or release queued on a controller since its last replay.
enum class QueuedButton { NONE, PRESS, RELEASE };

// One view of the shared scene: its own engine, camera, viewport size and
// controller, two listeners that may be installed on that controller and
// one that always is.
struct FuzzView {
    static constexpr int kListeners = 2;

    FuzzView(FuzzScene& scene, int index, ek::ekNode& root, const Wm4::Vector3<float>& eye, int width,
             int height);
    FuzzView(const FuzzView&) = delete;
    FuzzView& operator=(const FuzzView&) = delete;

    // Installs a listener that is not, or uninstalls one that is. One is
    // installed only while no drag is under way, so that it hears every
    // start before its end.
    void toggleListener(int listener);
    int width() const;
    int height() const;

    ek::ekPointer<ek::ekCamera> camera;
    ek::ekGizmoController controller;
    std::array<CheckingListener, kListeners> listeners;
    // Installed for good and never meddling, so that the checks always know
    // which kind of drag is open.
    CheckingListener witness;
    std::array<bool, kListeners> installed{};
    QueuedButton queued = QueuedButton::NONE;
    // What the Qt bridge would keep for this view: a left press forwarded
    // without its release.
    bool bridgePressForwarded = false;
    // Declared last so that it goes first, while what it refers to exists.
    ek::ekEngine engine;
};

// A scene shared by two views. Reference objects: one under a turned and
// scaled parent, one under the root, one in a group, one outside the
// scene. Gizmos live in a fixed number of slots that keep them counted;
// they hang under the root, the group, the turned parent, one of the
// objects or a node outside the scene. Everything here is built anew for
// each input, so that no input leaks into the next.
class FuzzScene {
public:
    static constexpr int kViews = 2;
    static constexpr int kObjects = 4;
    static constexpr int kGizmoSlots = 6;
    static constexpr int kPlaces = 5;

    FuzzScene();
    ~FuzzScene();
    FuzzScene(const FuzzScene&) = delete;
    FuzzScene& operator=(const FuzzScene&) = delete;

    FuzzView& view(int index) { return *m_views[static_cast<std::size_t>(index % kViews)]; }
    // Null for an empty slot.
    ek::ekGizmoNode* gizmo(int slot) const;
    // Null for index kObjects: a null entry of a reference list.
    ek::ekNode* object(int index) const;
    ek::ekNode& place(int index) const;

    // choice picks the mode, the place and the reference objects; nothing
    // happens when every slot is taken.
    void addGizmo(std::uint8_t choice);
    void detachGizmo(int slot);
    void deleteGizmo(int slot);
    void attachGizmo(int slot, int place);
    void setReferences(int slot, std::uint8_t choice);
    // Moves an object under the node of place, keeping its world transform;
    // nothing when that node is the object or lies below it.
    void reparentObject(int object, int place);
    void meddle(Meddling meddling, std::uint8_t argument, ek::ekGizmoNode* told);

    // Runs a frame of one view's engine and checks that a release it
    // replayed ended the drag; check() is the caller's.
    void frame(int view);
    // Aborts on a transform that is not finite or on drags heard unpaired.
    void check();

private:
    struct LibraryRun {
        LibraryRun();
        ~LibraryRun();
        LibraryRun(const LibraryRun&) = delete;
        LibraryRun& operator=(const LibraryRun&) = delete;
    };

    // First, so that the library stays up until everything else is gone.
    LibraryRun m_library;
    ek::ekPointer<ek::ekNode> m_root;
    ek::ekPointer<ek::ekNode> m_turned;
    ek::ekPointer<ek::ekNode> m_group;
    ek::ekPointer<ek::ekNode> m_outside;
    std::array<ek::ekPointer<ek::ekNode>, kObjects> m_objects;
    std::array<ek::ekPointer<ek::ekGizmoNode>, kGizmoSlots> m_gizmos;
    std::array<std::unique_ptr<FuzzView>, kViews> m_views;
};

} // namespace ek_fuzz
