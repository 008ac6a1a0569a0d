#include "ekGizmoGroup.h"

#include "ekGroupLines.h"

namespace ek {

void ekGizmoGroup::build(ekGizmoNode* owner, ekNode& lineParent, const ekGizmoStyle& style)
{
    setOwner(owner);
    m_lineParent = &lineParent;
    m_style = &style;
    buildLines();
}

void ekGizmoGroup::applyDefaultColors(bool notifyOwner)
{
    if (notifyOwner) {
        markOwnerForRedraw(*this);
    }
    paintDefaultColors();
}

void ekGizmoGroup::setVisible(bool visible)
{
    m_visible = visible;
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        showAxis(axis, showsAxis(axis));
    }
    setOtherLinesVisible(visible);
}

void ekGizmoGroup::setFaded(unsigned char faded)
{
    const unsigned char changed = faded ^ m_faded;
    if (changed == 0) {
        return;
    }
    m_faded = faded;
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        if (hasAxis(changed, axis)) {
            showAxis(axis, showsAxis(axis));
        }
    }
}

void ekGizmoGroup::setActiveState(unsigned int /*axis*/, bool /*active*/) {}

void ekGizmoGroup::applyStyle()
{
    applyWidths();
    setHighlightColor(m_style->highlightColor);
    applyDefaultColors(true);
}

float ekGizmoGroup::handleWidth(float ownWidth) const
{
    return handleStrokeWidth(*m_style, ownWidth);
}

float ekGizmoGroup::feedbackWidth(float ownWidth) const
{
    return feedbackStrokeWidth(*m_style, ownWidth);
}

bool ekGizmoGroup::showsAxis(unsigned int axis) const
{
    return m_visible && hasAxis(getEnabledAxis(), axis) && !hasAxis(m_faded, axis);
}

} // namespace ek
