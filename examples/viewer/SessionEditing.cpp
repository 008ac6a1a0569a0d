// How the session takes values typed in the inspector (or a script's edit
// command): through the gizmo node's parameter calls, into the history.
#include "EditorSession.h"

#include "JsonReport.h"

#include <utility>

namespace ek::viewer {

bool EditorSession::editsWorld() const
{
    return m_controller.getOrientationReference() != ekGizmoController::LOCAL;
}

std::size_t EditorSession::findObject(const std::string& name) const
{
    std::size_t index = 0;
    while (index < m_scene.objects.size() && m_scene.objects[index].node->getName() != name) {
        ++index;
    }
    return index;
}

TransformParameters EditorSession::parameters(std::size_t index)
{
    return m_parameters.read(*m_scene.objects[index].node, editsWorld());
}

bool EditorSession::edit(std::size_t index, TransformPart part, const Wm4::Vector3<float>& value)
{
    if (isBusy()) {
        return false;
    }
    ekNode& node = *m_scene.objects[index].node;
    Manipulation entry;
    entry.kind = ManipulationKind::Edit;
    entry.objects.push_back({&node, node.getLocalTransform(), {}, node.getWorldTransform(), {}});
    if (!m_parameters.write(node, part, value, editsWorld())) {
        return false;
    }
    ObjectChange& change = entry.objects.front();
    change.localAfter = node.getLocalTransform();
    change.worldAfter = node.getWorldTransform();
    if (entry.changedAnything()) {
        m_report.edit(entry);
        m_history.push(std::move(entry));
        m_layoutDue = true;
    }
    return true;
}

} // namespace ek::viewer
