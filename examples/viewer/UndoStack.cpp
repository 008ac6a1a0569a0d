#include "UndoStack.h"

#include <utility>

namespace ek::viewer {
namespace {

void writeLocal(ekSpatial& object, const ekGenericTransformation<float>& local)
{
    object.editLocalTransform(true) = local;
    object.UpdateGS();
}

} // namespace

const char* kindName(ManipulationKind kind)
{
    switch (kind) {
    case ManipulationKind::Translate:
        return "translate";
    case ManipulationKind::Rotate:
        return "rotate";
    case ManipulationKind::Scale:
        return "scale";
    case ManipulationKind::Edit:
        return "edit";
    }
    return "translate";
}

const char* handleName(ManipulationKind kind, ekGizmoHandle handle)
{
    static const char* const tips[] = {"tip0", "tip1", "tip2"};
    static const char* const rings[] = {"ring0", "ring1", "ring2"};
    static const char* const planes[] = {"plane0", "plane1", "plane2"};
    const int axis = axisOf(handle);
    switch (handle) {
    case ekGizmoHandle::AXIS_X:
    case ekGizmoHandle::AXIS_Y:
    case ekGizmoHandle::AXIS_Z:
        return kind == ManipulationKind::Rotate ? rings[axis] : tips[axis];
    case ekGizmoHandle::PLANE_X:
    case ekGizmoHandle::PLANE_Y:
    case ekGizmoHandle::PLANE_Z:
        return planes[axis];
    case ekGizmoHandle::SCREEN:
        return "screen";
    case ekGizmoHandle::VIEW_RING:
        return "viewring";
    case ekGizmoHandle::TRACKBALL:
        return "trackball";
    case ekGizmoHandle::CENTER:
        return "center";
    case ekGizmoHandle::NONE:
        break;
    }
    return nullptr;
}

bool Manipulation::changedAnything() const
{
    for (const ObjectChange& change : objects) {
        if (change.localAfter != change.localBefore) {
            return true;
        }
    }
    return false;
}

void UndoStack::push(Manipulation manipulation)
{
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(m_applied), m_entries.end());
    if (m_entries.size() == kMaxEntries) {
        m_entries.pop_front();
    }
    m_entries.push_back(std::move(manipulation));
    m_applied = m_entries.size();
}

const Manipulation* UndoStack::undo()
{
    if (m_applied == 0) {
        return nullptr;
    }
    const Manipulation& entry = m_entries[--m_applied];
    for (const ObjectChange& change : entry.objects) {
        writeLocal(*change.object, change.localBefore);
    }
    return &entry;
}

const Manipulation* UndoStack::redo()
{
    if (m_applied == m_entries.size()) {
        return nullptr;
    }
    const Manipulation& entry = m_entries[m_applied++];
    for (const ObjectChange& change : entry.objects) {
        writeLocal(*change.object, change.localAfter);
    }
    return &entry;
}

} // namespace ek::viewer
