#include "ekExtendedDrag.h"

#include "ekPicking.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

namespace ek {

ekExtendedDrag::ekExtendedDrag(Kind kind,
                               const std::vector<ek3DManipulatorMotionListener*>& listeners)
    : m_listeners(listeners), m_kind(kind)
{
}

ekGizmoHandle ekExtendedDrag::hover(ekGizmoNode& gizmo, const ekDragInput& input, float tolerance)
{
    const ekGizmoHandle found = pick(gizmo, input, tolerance);
    if (found != ekGizmoHandle::NONE) {
        gizmo.highlightHandle(found);
    }
    return found;
}

void ekExtendedDrag::begin(ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& input,
                           const ekSnapSteps& steps)
{
    // Every start has its end: a drag still under way ends first.
    finish();
    m_gizmo = &gizmo;
    m_handle = handle;
    m_steps = steps;
    gizmo.storeOriginalTransform();
    if (!start(gizmo, handle, input)) {
        return;
    }
    m_delta.MakeIdentity();
    m_dragging = true;
    tellStart();
}

void ekExtendedDrag::update(const ekDragInput& input)
{
    // Once the reference list changed the stored transforms belong to other
    // objects: the drag writes nothing more.
    if (!m_dragging || !isInsideViewport(input.position) || !m_gizmo->holdsStoredObjects()) {
        return;
    }
    ekGenericTransformation<float> delta;
    if (!deltaAt(input, delta) || !isFinite(delta)) {
        return;
    }
    // A scale keeps each object where it stands; a rotation and a
    // translation carry its position along.
    m_gizmo->setWorldTransform(delta, m_kind == Kind::ROTATE, m_kind == Kind::SCALE);
    m_delta = delta;
}

void ekExtendedDrag::end(const ekDragInput& input)
{
    if (m_dragging) {
        update(input);
        finish();
    }
}

void ekExtendedDrag::finish()
{
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    tellEnd();
    m_handle = ekGizmoHandle::NONE;
}

void ekExtendedDrag::cancel()
{
    if (!m_dragging) {
        return;
    }
    m_gizmo->restoreOriginalTransform();
    m_delta.MakeIdentity();
    finish();
}

void ekExtendedDrag::forget(const ekGizmoNode& gizmo)
{
    if (&gizmo == m_gizmo) {
        finish();
        m_gizmo = nullptr;
    }
}

void ekExtendedDrag::tellStart() const
{
    // Indexed: listeners may not uninstall from inside, but a copy of the
    // list would allocate at every press.
    for (std::size_t i = 0; i < m_listeners.size(); ++i) {
        switch (m_kind) {
        case Kind::TRANSLATE:
            m_listeners[i]->onTranslateManipulatorStart();
            break;
        case Kind::ROTATE:
            m_listeners[i]->onRotateManipulatorStart();
            break;
        case Kind::SCALE:
            m_listeners[i]->onScaleManipulatorStart();
            break;
        }
    }
}

void ekExtendedDrag::tellEnd() const
{
    for (std::size_t i = 0; i < m_listeners.size(); ++i) {
        switch (m_kind) {
        case Kind::TRANSLATE:
            m_listeners[i]->onTranslateManipulatorEnd(m_delta);
            break;
        case Kind::ROTATE:
            m_listeners[i]->onRotateManipulatorEnd(m_delta);
            break;
        case Kind::SCALE:
            m_listeners[i]->onScaleManipulatorEnd(m_delta);
            break;
        }
    }
}

} // namespace ek
