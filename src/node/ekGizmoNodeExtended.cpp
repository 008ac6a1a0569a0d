#include <ek3DManipulation/ekGizmoNode.h>

namespace ek {

void ekGizmoNode::setExtendedHandles(bool enabled)
{
    m_extendedHandles = enabled;
}

void ekGizmoNode::highlightHandle(ekGizmoHandle handle)
{
    const int axis = static_cast<int>(handle);
    if (axis >= 0 && axis < 3) {
        highlight(static_cast<unsigned int>(axis));
    } else {
        applyDefaultColors();
    }
}

} // namespace ek
