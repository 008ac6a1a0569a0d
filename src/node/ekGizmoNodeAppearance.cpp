#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"
#include "ekScreenExtents.h"
#include "ekTransformUtils.h"

namespace ek {

void ekGizmoNode::setStyle(const ekGizmoStyle& style)
{
    m_geometry->style = style;
    for (ekGizmoGroup* group : allGroups(*m_geometry)) {
        group->applyStyle();
    }
    if (m_geometry->extended != nullptr) {
        m_geometry->extended->applyStyle();
    }
}

const ekGizmoStyle& ekGizmoNode::getStyle() const
{
    return m_geometry->style;
}

void ekGizmoNode::setFadeThreshold(float pixels)
{
    m_fadeThreshold = pixels;
    ++m_layoutRevision;
    if (!(pixels > 0.0f)) {
        setFaded(0, 0);
    }
}

float ekGizmoNode::getFadeThreshold() const
{
    return m_fadeThreshold;
}

unsigned char ekGizmoNode::getFadedAxes() const
{
    return m_fadedAxes;
}

unsigned char ekGizmoNode::getFadedPlanes() const
{
    return m_fadedPlanes;
}

unsigned char ekGizmoNode::getFadedHandles(GizmoMode mode) const
{
    switch (mode) {
    case TRANSLATE:
    case SCALE:
        return m_fadedAxes;
    case ROTATE:
        return m_fadedPlanes;
    default:
        return 0;
    }
}

void ekGizmoNode::setFaded(unsigned char axes, unsigned char planes)
{
    m_fadedAxes = axes;
    m_fadedPlanes = planes;
    m_geometry->translate.setFaded(axes);
    m_geometry->scale.setFaded(axes);
    // A circle lies in the plane normal to its axis.
    m_geometry->rotate.setFaded(planes);
    showExtendedLines();
}

void ekGizmoNode::updateFading(const ekCamera& camera, int viewportHeight)
{
    if (!(m_fadeThreshold > 0.0f)) {
        return;
    }
    // As placed now: the engine brings the world transform up to date only
    // later.
    const ekScreenExtents extents =
        measureOnScreen(worldUnderParent(*this, getLocalTransform()), camera, viewportHeight);
    setFaded(fadedOf(extents.axes, m_fadeThreshold, m_fadedAxes),
             fadedOf(extents.planes, m_fadeThreshold, m_fadedPlanes));
}

} // namespace ek
