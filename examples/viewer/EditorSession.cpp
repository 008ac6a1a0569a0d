#include "EditorSession.h"

#include "JsonReport.h"

#include <ekSceneGraph/ekCameraNode.h>

#include <Wm4/Wm4Matrix3.h>

#include <cmath>

namespace ek::viewer {
namespace {

// On-screen length of a gizmo axis, pixels.
constexpr float kGizmoPixelSize = 80.0f;

// The custom orientation: 45 degrees about the world Y axis.
Wm4::Matrix3<float> customOrientation()
{
    const float h = std::sqrt(0.5f);
    return {h, 0.0f, h, 0.0f, 1.0f, 0.0f, -h, 0.0f, h};
}

} // namespace

EditorSession::EditorSession(JsonReport& report)
    : m_report(report),
      m_scene(buildScene()),
      m_camera(new ekCamera),
      m_gizmo(new ekGizmoNode),
      m_tracker(*m_gizmo, m_controller, m_history, report),
      m_parameters(*m_scene.root)
{
    m_gizmo->setName("gizmo");
    m_gizmo->setExpectedPixelSize(kGizmoPixelSize);
    // Bright, wide strokes that read on the shaded scene.
    m_gizmo->setStyle(ekGizmoStyle::highContrast());
    m_scene.root->attachChild(m_gizmo);
    m_engine.setScene(m_scene.root);
    m_engine.setCameraNode(new ekCameraNode(m_camera));
    m_engine.addController(&m_controller);
    m_controller.install3DManipulatorMotionListener(&m_tracker);
    m_controller.setCustomOrientationMatrix(customOrientation());
    resize(m_width, m_height);
    m_selection.push_back(0);
    applySelection();
}

EditorSession::~EditorSession()
{
    m_controller.uninstall3DManipulatorMotionListener(&m_tracker);
    m_engine.removeController(&m_controller);
}

void EditorSession::resize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_engine.setViewportSize(width, height);
    updateCamera();
    m_layoutDue = true;
}

void EditorSession::frame()
{
    m_engine.frame();
    if (m_tracker.takeFinished()) {
        m_layoutDue = true;
    }
    if (m_layoutDue) {
        m_layoutDue = false;
        measureLayout(m_layout);
        m_report.layout(m_layout);
    }
}

bool EditorSession::cancelDrag()
{
    return m_tracker.cancel(m_controller);
}

void EditorSession::setMode(ekGizmoNode::GizmoMode mode)
{
    if (isBusy()) {
        return;
    }
    m_mode = mode;
    applySelection();
}

void EditorSession::cycleOrientation()
{
    if (isBusy()) {
        return;
    }
    const auto next = (m_controller.getOrientationReference() + 1u) % 4u;
    m_controller.setOrientationReference(static_cast<ekGizmoController::OrientationReference>(next));
    m_layoutDue = true;
}

void EditorSession::toggleUniformScale()
{
    m_gizmo->setUseUniformScale(!m_gizmo->shouldUseUniformScale());
}

void EditorSession::toggleRotationSnap()
{
    m_gizmo->setSnapRotationToAxis(!m_gizmo->shouldSnapRotationToAxis());
}

void EditorSession::toggleNearFarRestriction()
{
    m_gizmo->restrictPositionBetweenNearFar(!m_gizmo->shouldRestrictPositionBetweenNearFar());
}

void EditorSession::undo()
{
    if (isBusy()) {
        return;
    }
    if (const Manipulation* entry = m_history.undo()) {
        m_report.history(true, *entry);
        m_layoutDue = true;
    }
}

void EditorSession::redo()
{
    if (isBusy()) {
        return;
    }
    if (const Manipulation* entry = m_history.redo()) {
        m_report.history(false, *entry);
        m_layoutDue = true;
    }
}

void EditorSession::applySelection()
{
    std::vector<ekSpatial*> references;
    for (std::size_t index : m_selection) {
        references.push_back(m_scene.objects[index].node);
    }
    m_gizmo->setReferenceObjects(references);
    // A gizmo without objects would stand at the origin: hide it.
    m_gizmo->setMode(references.empty() ? ekGizmoNode::NONE : m_mode);
    m_layoutDue = true;
}

void EditorSession::updateCamera()
{
    m_orbit.apply(*m_camera, m_width, m_height);
}

} // namespace ek::viewer
