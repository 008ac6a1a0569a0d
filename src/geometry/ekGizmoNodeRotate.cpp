#include "ekGizmoNodeRotate.h"

#include "ekUnitAxes.h"

#include <Wm4/Wm4Math.h>

#include <array>
#include <cmath>
#include <cstddef>

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

// The shapes every rotate group draws, made once.
struct RotateShapes {
    // In the plane normal to each axis.
    ekAxisLines circles;
    // +X, +Y, +Z, -X, -Y, -Z.
    std::array<ekPointer<ekLine>, 2 * kAxisCount> halfAxes;
};

const RotateShapes& rotateShapes()
{
    static const RotateShapes kShapes = [] {
        RotateShapes shapes;
        ekLine* circles[kAxisCount];
        for (ekLine*& circle : circles) {
            circle = new ekLine(kCircleVertices);
            circle->setDrawMethod(ekLine::DM_CURVE);
        }
        for (unsigned int k = 0; k < kCircleVertices; ++k) {
            const double theta = k * kCircleStep;
            const float c = static_cast<float>(std::cos(theta));
            const float s = static_cast<float>(std::sin(theta));
            circles[0]->setVertexPosition(k, {0.0f, c, s});
            circles[1]->setVertexPosition(k, {s, 0.0f, c});
            circles[2]->setVertexPosition(k, {c, s, 0.0f});
            for (ekLine* circle : circles) {
                circle->setIndex(k, k);
            }
        }
        for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
            circles[axis]->setIndex(kCircleVertices - 1, 0);
            shapes.circles[axis] = sealShape(circles[axis]);
            auto* positive = new ekLine(2u);
            auto* negative = new ekLine(2u);
            setRay(*positive, unitAxis(axis));
            setRay(*negative, -unitAxis(axis));
            shapes.halfAxes[axis] = sealShape(positive);
            shapes.halfAxes[axis + kAxisCount] = sealShape(negative);
        }
        return shapes;
    }();
    return kShapes;
}

} // namespace

ekGizmoNodeRotate::~ekGizmoNodeRotate() = default;

void ekGizmoNodeRotate::buildLines()
{
    const RotateShapes& shapes = rotateShapes();
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_circles[axis] = lineOfShape(*shapes.circles[axis]);
    }
    applyWidths();
    for (ekPointer<ekLine>& circle : m_circles) {
        attachToOwner(*this, *circle);
    }

    for (std::size_t line = 0; line < shapes.halfAxes.size(); ++line) {
        m_axisLines[line] = lineOfShape(*shapes.halfAxes[line]);
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

void ekGizmoNodeRotate::applyWidths()
{
    // The half-axis lines take theirs as a drag shows them.
    for (ekPointer<ekLine>& circle : m_circles) {
        setLineWidth(*circle, handleWidth(kCircleWidth));
    }
}

void ekGizmoNodeRotate::paintDefaultColors()
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        paintLine(*m_circles[axis], axisColor(axis));
    }
    hideAxisLines();
}

void ekGizmoNodeRotate::highlight(unsigned int axis)
{
    const Wm4::ColorRGBA previous = m_circles[axis]->getColor();
    applyDefaultColors(false);
    paintHighlight(*this, previous, {m_circles[axis].get()});
}

void ekGizmoNodeRotate::showAxis(unsigned int axis, bool shown)
{
    showLine(*m_circles[axis], shown);
}

void ekGizmoNodeRotate::setOtherLinesVisible(bool /*visible*/)
{
    hideAxisLines();
}

void ekGizmoNodeRotate::setActiveState(unsigned int axis, bool active)
{
    if (!hasAxis(getEnabledAxis(), axis)) {
        return;
    }
    if (!active) {
        hideAxisLines();
        return;
    }
    showLine(*m_axisLines[axis], true);
    m_axisLines[axis]->setWidth(feedbackWidth(kRotationAxisWidth));
    // The negative half of the rotation axis stays hidden: the full lines
    // of the other two axes span the circle's plane.
    const unsigned int a = (axis + 1) % kAxisCount;
    const unsigned int b = (axis + 2) % kAxisCount;
    for (unsigned int index : {a, b, a + kAxisCount, b + kAxisCount}) {
        showLine(*m_axisLines[index], true);
        m_axisLines[index]->setWidth(feedbackWidth(kPlaneAxisWidth));
    }
}

void ekGizmoNodeRotate::hideAxisLines()
{
    for (ekPointer<ekLine>& line : m_axisLines) {
        showLine(*line, false);
    }
}

} // namespace ek
