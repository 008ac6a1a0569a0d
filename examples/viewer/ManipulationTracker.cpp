#include "ManipulationTracker.h"

#include "JsonReport.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekSpatial.h>

#include <Wm4/Wm4Matrix3.h>

#include <utility>

namespace ek::viewer {

ManipulationTracker::ManipulationTracker(ekGizmoNode& gizmo, UndoStack& history, JsonReport& report)
    : m_gizmo(gizmo), m_history(history), m_report(report)
{
}

void ManipulationTracker::onManipulatorMotion(ekGizmoNode* /*gizmo*/)
{
    // Start and end arrive during the replay; nothing to add per frame.
}

void ManipulationTracker::onTranslateManipulatorStart()
{
    // The scale drag starts through the translate press.
    begin(m_gizmo.getMode() == ekGizmoNode::SCALE ? ManipulationKind::Scale
                                                  : ManipulationKind::Translate);
}

void ManipulationTracker::onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta)
{
    if (m_open && m_current.kind == ManipulationKind::Translate) {
        finish(delta);
    }
}

void ManipulationTracker::onRotateManipulatorStart()
{
    begin(ManipulationKind::Rotate);
}

void ManipulationTracker::onRotateManipulatorEnd(const ekGenericTransformation<float>& delta)
{
    if (m_open && m_current.kind == ManipulationKind::Rotate) {
        finish(delta);
    }
}

void ManipulationTracker::finishScale()
{
    if (!m_open || m_current.kind != ManipulationKind::Scale) {
        return;
    }
    // The scale keeps each object's position, so the first object's linear
    // part before and after says all of it.
    ekGenericTransformation<float> delta;
    if (!m_current.objects.empty()) {
        const ObjectChange& first = m_current.objects.front();
        const Wm4::Matrix3<float> before = first.worldBefore.GetMatrix();
        const Wm4::Matrix3<float> after = first.object->getWorldTransform().GetMatrix();
        delta.SetMatrix(after * before.Inverse());
    }
    finish(delta);
}

bool ManipulationTracker::takeFinished()
{
    return std::exchange(m_finished, false);
}

void ManipulationTracker::begin(ManipulationKind kind)
{
    finishScale();
    m_current = Manipulation();
    m_current.kind = kind;
    m_current.axis = m_pressAxis;
    for (ekSpatial* object : m_gizmo.getReferenceObjects()) {
        if (object != nullptr) {
            m_current.objects.push_back({object, object->getLocalTransform(), {},
                                         object->getWorldTransform(), {}});
        }
    }
    m_open = true;
}

void ManipulationTracker::finish(const ekGenericTransformation<float>& delta)
{
    m_current.delta = delta;
    for (ObjectChange& change : m_current.objects) {
        change.localAfter = change.object->getLocalTransform();
        change.worldAfter = change.object->getWorldTransform();
    }
    m_report.manipulation(m_current);
    if (m_current.changedAnything()) {
        m_history.push(std::move(m_current));
    }
    m_current = Manipulation();
    m_open = false;
    m_finished = true;
}

} // namespace ek::viewer
