#include "ekGizmoNodeRotate.h"

#include "ekAxisColors.h"
#include "ekGroupLines.h"
#include "ekUnitAxes.h"

#include <Wm4/Wm4Math.h>

#include <cmath>

namespace ek {

namespace {

// Vertices per circle; the last one is placed but never drawn, as the
// circle closes from the one before it.
constexpr unsigned int kCircleVertices = 64;
// Angle between neighbouring circle vertices, in radians (5.625 degrees).
constexpr double kCircleStep = 2.0 * Wm4::Math<double>::WM4_PI * 0.015625;
// Stroke widths, in pixels: the circles, the positive half of the axis
// being rotated about, and the axes spanning the plane of rotation.
constexpr float kCircleWidth = 2.0f;
constexpr float kRotationAxisWidth = 2.6f;
constexpr float kPlaneAxisWidth = 2.0f;

} // namespace

ekGizmoNodeRotate::~ekGizmoNodeRotate() = default;

void ekGizmoNodeRotate::build(ekGizmoNode* owner)
{
    setOwner(owner);

    makeAxisLines(m_circles, kCircleVertices);
    for (ekPointer<ekLine>& circle : m_circles) {
        circle->setDrawMethod(ekLine::DM_CURVE);
    }
    for (unsigned int k = 0; k < kCircleVertices; ++k) {
        const double theta = k * kCircleStep;
        const float c = static_cast<float>(std::cos(theta));
        const float s = static_cast<float>(std::sin(theta));
        m_circles[0]->setVertexPosition(k, {0.0f, c, s});
        m_circles[1]->setVertexPosition(k, {s, 0.0f, c});
        m_circles[2]->setVertexPosition(k, {c, s, 0.0f});
        for (ekPointer<ekLine>& circle : m_circles) {
            circle->setIndex(k, k);
        }
    }
    for (ekPointer<ekLine>& circle : m_circles) {
        circle->setIndex(kCircleVertices - 1, 0);
        circle->setWidth(kCircleWidth);
    }
    for (ekPointer<ekLine>& circle : m_circles) {
        attachToOwner(*this, *circle);
    }

    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_axisLines[axis] = new ekLine(2u);
        m_axisLines[axis + kAxisCount] = new ekLine(2u);
        setRay(*m_axisLines[axis], unitAxis(axis));
        setRay(*m_axisLines[axis + kAxisCount], -unitAxis(axis));
    }
    for (ekPointer<ekLine>& line : m_axisLines) {
        attachToOwner(*this, *line);
    }

    setHighlightColor(kBuildHighlightColor);
    applyDefaultColors(true);
    // Taken once: later highlight colours do not reach these lines.
    for (ekPointer<ekLine>& line : m_axisLines) {
        line->setColor(rgbOf(getHighlightColor()));
    }
}

void ekGizmoNodeRotate::applyDefaultColors(bool notifyOwner)
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        if (notifyOwner) {
            markOwnerForRedraw(*this);
        }
        m_circles[axis]->setColor(axisColor(axis));
    }
    hideAxisLines();
}

void ekGizmoNodeRotate::highlight(unsigned int axis)
{
    const Wm4::ColorRGBA previous = m_circles[axis]->getColor();
    applyDefaultColors(false);
    paintHighlight(*this, previous, {m_circles[axis].get()});
}

void ekGizmoNodeRotate::setVisible(bool visible)
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        showLine(*m_circles[axis], visible && isAxisEnabled(getEnabledAxis(), axis));
    }
    hideAxisLines();
}

void ekGizmoNodeRotate::setActiveState(unsigned int axis, bool active)
{
    if (!isAxisEnabled(getEnabledAxis(), axis)) {
        return;
    }
    if (!active) {
        hideAxisLines();
        return;
    }
    showLine(*m_axisLines[axis], true);
    m_axisLines[axis]->setWidth(kRotationAxisWidth);
    // The negative half of the rotation axis stays hidden: the full lines
    // of the other two axes span the circle's plane.
    const unsigned int a = (axis + 1) % kAxisCount;
    const unsigned int b = (axis + 2) % kAxisCount;
    for (unsigned int index : {a, b, a + kAxisCount, b + kAxisCount}) {
        showLine(*m_axisLines[index], true);
        m_axisLines[index]->setWidth(kPlaneAxisWidth);
    }
}

void ekGizmoNodeRotate::hideAxisLines()
{
    for (ekPointer<ekLine>& line : m_axisLines) {
        showLine(*line, false);
    }
}

} // namespace ek
