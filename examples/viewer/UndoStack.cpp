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
