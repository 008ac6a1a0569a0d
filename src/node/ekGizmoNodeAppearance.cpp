#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"

namespace ek {

void ekGizmoNode::setStyle(const ekGizmoStyle& style)
{
    m_geometry->style = style;
    for (ekGizmoGroup* group : allGroups(*m_geometry)) {
        group->applyStyle();
    }
}

const ekGizmoStyle& ekGizmoNode::getStyle() const
{
    return m_geometry->style;
}

} // namespace ek
