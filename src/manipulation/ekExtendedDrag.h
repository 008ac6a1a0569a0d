#pragma once

#include "ekDrag.h"

#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;

// What the extended handles' drags share: the press stores the gizmo's
// reference objects, every move writes them from what was stored through
// one delta computed from the press (never accumulated), and the listeners
// hear the start and end of the drag's kind. Subclasses say which handles
// they pick, how a press starts and what delta a cursor gives.
class ekExtendedDrag : public ekDrag {
public:
    // The notifications a drag of this kind tells.
    enum class Kind { TRANSLATE, ROTATE, SCALE };

    // listeners is the controller's list, which outlives the drag.
    ekExtendedDrag(Kind kind, const std::vector<ek3DManipulatorMotionListener*>& listeners);

    ekGizmoHandle hover(ekGizmoNode& gizmo, const ekDragInput& input, float tolerance) override;
    void begin(ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& input,
               const ekSnapSteps& steps) override;
    void update(const ekDragInput& input) override;
    void end(const ekDragInput& input) override;
    void finish() override;
    void cancel() override;
    void forget(const ekGizmoNode& gizmo) override;

    bool isDragging() const override { return m_dragging; }
    ekGizmoNode* gizmo() const override { return m_gizmo; }
    ekGizmoHandle handle() const override { return m_dragging ? m_handle : ekGizmoHandle::NONE; }
    const ekGenericTransformation<float>& delta() const override { return m_delta; }

protected:
    // Prepares a drag of handle on gizmo (its objects stored already);
    // false when the press gives nothing to drag on.
    virtual bool start(const ekGizmoNode& gizmo, ekGizmoHandle handle,
                       const ekDragInput& input) = 0;
    // The delta of the cursor from the press, in world space; false when
    // the cursor gives none.
    virtual bool deltaAt(const ekDragInput& input, ekGenericTransformation<float>& delta) const = 0;

    const ekSnapSteps& steps() const { return m_steps; }

private:
    void tellStart() const;
    void tellEnd() const;

    const std::vector<ek3DManipulatorMotionListener*>& m_listeners;
    ekGenericTransformation<float> m_delta;
    ekSnapSteps m_steps;
    ekGizmoNode* m_gizmo = nullptr; // not owned
    Kind m_kind;
    ekGizmoHandle m_handle = ekGizmoHandle::NONE;
    bool m_dragging = false;
};

} // namespace ek
