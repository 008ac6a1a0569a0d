#pragma once

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>

#include <array>
#include <cstdint>

namespace ek {
class ekGizmoNode;
}

namespace ek_fuzz {

class FuzzScene;

// What a listener does to the scene when a notification it reacts to
// arrives.
enum class Meddling : std::uint8_t {
    NOTHING,
    DETACH_GIZMO,   // takes a gizmo out of the scene and keeps it
    DELETE_GIZMO,   // takes a gizmo out of the scene and lets it go
    ADD_GIZMO,      // builds a new gizmo into the scene
    ATTACH_GIZMO,   // puts a kept gizmo back somewhere
    SET_REFERENCES, // replaces a gizmo's reference list
    DELETE_TOLD,    // lets go of the gizmo a motion is about
    CANCEL_DRAG,    // cancels the drag of a view's controller
    REPARENT,       // moves an object under another parent, where it stands
    COUNT,
};

// The notifications, as bits of a listener's trigger mask.
enum Notification : std::uint8_t {
    MOTION = 1u << 0,
    TRANSLATE_START = 1u << 1,
    TRANSLATE_END = 1u << 2,
    ROTATE_START = 1u << 3,
    ROTATE_END = 1u << 4,
    SCALE_START = 1u << 5,
    SCALE_END = 1u << 6,
};

// A listener of one view's controller that checks that every start has its
// end, per drag kind, and that may change the scene from inside any of its
// notifications.
class CheckingListener : public ek::ek3DManipulatorMotionListener {
public:
    CheckingListener(FuzzScene& scene, int view, int index);

    // Forgets the drags heard so far: for a listener installed while no drag
    // is under way, which then hears every start before its end.
    void forgetDrags() { m_open.fill(0); }
    void setMeddling(std::uint8_t triggers, Meddling meddling, std::uint8_t argument);
    // Aborts unless exactly one drag is open while the controller drags and
    // none otherwise.
    void checkOpenDrags(bool dragging) const;
    // Whether the drag heard open is a rotation, which always has an axis.
    bool rotating() const { return m_open[ROTATE] != 0; }

    void onManipulatorMotion(ek::ekGizmoNode* gizmo) override;
    void onTranslateManipulatorStart() override;
    void onTranslateManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override;
    void onRotateManipulatorStart() override;
    void onRotateManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override;
    void onScaleManipulatorStart() override;
    void onScaleManipulatorEnd(const ek::ekGenericTransformation<float>& delta) override;

private:
    enum Kind { TRANSLATE, ROTATE, SCALE, KINDS };

    void start(Kind kind, Notification notification);
    void end(Kind kind, const ek::ekGenericTransformation<float>& delta, Notification notification);
    void meddle(Notification notification, ek::ekGizmoNode* told);

    FuzzScene& m_scene;
    int m_view;
    int m_index;
    std::array<int, KINDS> m_open{};
    std::uint8_t m_triggers = 0;
    Meddling m_meddling = Meddling::NOTHING;
    std::uint8_t m_argument = 0;
};

} // namespace ek_fuzz
