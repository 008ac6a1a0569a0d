#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"
#include "ekTransformUtils.h"

#include <ekSceneGraph/ekCamera.h>

namespace ek {

void ekGizmoNode::setExtendedHandles(bool enabled)
{
    m_extendedHandles = enabled;
    // Built on first use only: a node that never enables them keeps its
    // children as they are.
    if (enabled && m_geometry->extended == nullptr) {
        m_geometry->extended = std::make_unique<ekExtendedLines>(*this, m_geometry->style);
    }
    showExtendedLines();
}

void ekGizmoNode::highlightHandle(ekGizmoHandle handle)
{
    const int axis = static_cast<int>(handle);
    if (axis >= 0 && axis < 3) {
        highlight(static_cast<unsigned int>(axis));
        return;
    }
    ekGizmoGroup* group = groupOf(*m_geometry, m_mode);
    if (group != nullptr) {
        group->applyDefaultColors(true);
    }
    if (m_geometry->extended != nullptr && group != nullptr) {
        m_geometry->extended->paint(handle, group->getHighlightColor());
    }
}

void ekGizmoNode::showExtendedLines()
{
    if (m_geometry->extended != nullptr) {
        m_geometry->extended->show(m_extendedHandles, m_mode == TRANSLATE, m_mode == ROTATE,
                                   getEnabledAxis(TRANSLATE), m_fadedPlanes);
    }
}

void ekGizmoNode::paintExtendedDefaults()
{
    if (m_geometry->extended != nullptr) {
        m_geometry->extended->paint(ekGizmoHandle::NONE, m_geometry->style.highlightColor);
    }
}

void ekGizmoNode::faceExtendedLines(const ekCamera& camera, const Wm4::Matrix3<float>& orientation)
{
    if (m_geometry->extended != nullptr) {
        const Wm4::Matrix3<float> facing(camera.getRVector(), camera.getUVector(), -camera.getDVector(), true);
        const Wm4::Matrix3<float> local = orientation.TransposeTimes(facing);
        if (isFinite(local)) {
            m_geometry->extended->face(local);
        }
    }
}

} // namespace ek
