#include "ManipulationTracker.h"

#include "JsonReport.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekSpatial.h>

#include <utility>

namespace ek::viewer {

ManipulationTracker::ManipulationTracker(ekGizmoNode& gizmo, const ekGizmoController& controller,
                                         UndoStack& history, JsonReport& report)
    : m_gizmo(gizmo), m_controller(controller), m_history(history), m_report(report)
{
}

void ManipulationTracker::onManipulatorMotion(ekGizmoNode* /*gizmo*/)
{
    // Start and end arrive during the replay; nothing to add per frame.
}

void ManipulationTracker::onTranslateManipulatorStart()
{
    begin(ManipulationKind::Translate);
}

void ManipulationTracker::onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta)
{
    end(ManipulationKind::Translate, delta);
}

void ManipulationTracker::onRotateManipulatorStart()
{
    begin(ManipulationKind::Rotate);
}

void ManipulationTracker::onRotateManipulatorEnd(const ekGenericTransformation<float>& delta)
{
    end(ManipulationKind::Rotate, delta);
}

void ManipulationTracker::onScaleManipulatorStart()
{
    begin(ManipulationKind::Scale);
}

void ManipulationTracker::onScaleManipulatorEnd(const ekGenericTransformation<float>& delta)
{
    end(ManipulationKind::Scale, delta);
}

void ManipulationTracker::onManipulatorDragged(const ekGenericTransformation<float>& delta)
{
    m_running = delta;
    m_moved = m_open;
}

bool ManipulationTracker::cancel(ekGizmoController& controller)
{
    m_cancelling = true;
    const bool cancelled = controller.cancelDrag();
    m_cancelling = false;
    return cancelled;
}

bool ManipulationTracker::takeFinished()
{
    return std::exchange(m_finished, false);
}

void ManipulationTracker::begin(ManipulationKind kind)
{
    m_current = Manipulation();
    m_current.kind = kind;
    m_current.axis = m_controller.getActiveAxis();
    m_current.handle = m_controller.getActiveHandle();
    for (ekSpatial* object : m_gizmo.getReferenceObjects()) {
        if (object != nullptr) {
            m_current.objects.push_back({object, object->getLocalTransform(), {},
                                         object->getWorldTransform(), {}});
        }
    }
    m_open = true;
    m_moved = false;
}

void ManipulationTracker::end(ManipulationKind kind, const ekGenericTransformation<float>& delta)
{
    if (!m_open || m_current.kind != kind) {
        return;
    }
    m_current.delta = delta;
    for (ObjectChange& change : m_current.objects) {
        change.localAfter = change.object->getLocalTransform();
        change.worldAfter = change.object->getWorldTransform();
    }
    if (m_cancelling) {
        m_report.cancellation(m_current);
    } else {
        m_report.manipulation(m_current);
        if (m_current.changedAnything()) {
            m_history.push(std::move(m_current));
        }
    }
    m_current = Manipulation();
    m_open = false;
    m_finished = true;
}

} // namespace ek::viewer
