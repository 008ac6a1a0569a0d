#include "ekGizmoNodeScale.h"

#include "ekHandleShapes.h"
#include "ekUnitAxes.h"

#include <Wm4/Wm4Matrix3.h>

namespace ek {

namespace {

// Stroke widths, in pixels.
constexpr float kShaftWidth = 2.0f;
constexpr float kEndSquareWidth = 1.8f;
constexpr float kUniformHandleWidth = 2.0f;
// The plane markers are never given a width of their own: the engine's
// default (ekLine: 1 unless set) is theirs, scaled like every stroke.
constexpr float kMarkerWidth = 1.0f;
// Half the side of the square at each axis end, in axis lengths.
constexpr float kEndSquareHalfSide = 0.1f;
// Half the side of the plane marker shown while an axis is dragged.
constexpr float kMarkerHalfSide = 0.5f;
// The shapes every scale group draws, made once.
struct ScaleShapes {
    ekPointer<ekLine> endSquare;
    ekAxisLines planeMarkers;
    ekPointer<ekLine> uniformHandle;
};

const ScaleShapes& scaleShapes()
{
    static const ScaleShapes kShapes = [] {
        ScaleShapes shapes;
        // The square lies in its local XY plane; a segment list would draw
        // two sides, so the slots trace the outline.
        auto* square = new ekLine(4, 5, true);
        square->setDrawMethod(ekLine::DM_STRIP);
        constexpr float h = kEndSquareHalfSide;
        setShape(*square, {{-h, h, 0.0f}, {h, h, 0.0f}, {h, -h, 0.0f}, {-h, -h, 0.0f}}, {0, 1, 2, 3, 0});
        shapes.endSquare = sealShape(square);

        constexpr float m = kMarkerHalfSide;
        for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
            const Wm4::Vector3<float>& e = unitAxis(axis);
            const Wm4::Vector3<float> a = unitAxis((axis + 1) % kAxisCount) * m;
            const Wm4::Vector3<float> b = unitAxis((axis + 2) % kAxisCount) * m;
            auto* marker = new ekLine(8, 12, false);
            // Outline, then the cross through the centre.
            setShape(*marker, {e - a - b, e - a + b, e + a + b, e + a - b, e - a, e + a, e - b, e + b},
                     {0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 6, 7});
            shapes.planeMarkers[axis] = sealShape(marker);
        }

        // Two triangles joining the positive axes near the centre.
        auto* uniform = new ekLine(6, 12, true);
        const Wm4::Vector3<float>& x = unitAxis(0);
        const Wm4::Vector3<float>& y = unitAxis(1);
        const Wm4::Vector3<float>& z = unitAxis(2);
        setShape(*uniform,
                 {x * kUniformTriangleInner, y * kUniformTriangleInner, z * kUniformTriangleInner,
                  x * kUniformTriangleOuter, y * kUniformTriangleOuter, z * kUniformTriangleOuter},
                 {0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3});
        shapes.uniformHandle = sealShape(uniform);
        return shapes;
    }();
    return kShapes;
}

} // namespace

ekGizmoNodeScale::~ekGizmoNodeScale() = default;

void ekGizmoNodeScale::buildLines()
{
    makeShafts(m_shafts);

    const ScaleShapes& shapes = scaleShapes();
    // Each square's local frame stands it perpendicular to its axis at the
    // axis end.
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_endSquares[axis] = lineOfShape(*shapes.endSquare);
        ekLine& square = *m_endSquares[axis];
        const Wm4::Vector3<float>& a = unitAxis((axis + 1) % kAxisCount);
        const Wm4::Vector3<float>& b = unitAxis((axis + 2) % kAxisCount);
        square.editLocalTransform(true).SetRotate(Wm4::Matrix3<float>(a, b, unitAxis(axis), true));
        square.editLocalTransform(true).SetTranslate(unitAxis(axis));
    }
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        attachToOwner(*this, *m_shafts[axis]);
        attachToOwner(*this, *m_endSquares[axis]);
    }

    setHighlightColor(kBuildHighlightColor);

    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_planeMarkers[axis] = lineOfShape(*shapes.planeMarkers[axis]);
        m_planeMarkers[axis]->setColor(rgbOf(getHighlightColor()));
    }
    for (ekPointer<ekLine>& marker : m_planeMarkers) {
        attachToOwner(*this, *marker);
    }

    m_uniformHandle = lineOfShape(*shapes.uniformHandle);
    attachToOwner(*this, *m_uniformHandle);
    applyWidths();

    applyDefaultColors(true);
}

void ekGizmoNodeScale::applyWidths()
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        setLineWidth(*m_shafts[axis], handleWidth(kShaftWidth));
        setLineWidth(*m_endSquares[axis], handleWidth(kEndSquareWidth));
        setLineWidth(*m_planeMarkers[axis], feedbackWidth(kMarkerWidth));
    }
    setLineWidth(*m_uniformHandle, handleWidth(kUniformHandleWidth));
}

void ekGizmoNodeScale::paintDefaultColors()
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        const Wm4::ColorRGBA colour = axisColor(axis);
        paintLine(*m_shafts[axis], colour);
        paintLine(*m_endSquares[axis], colour);
    }
    paintLine(*m_uniformHandle, Wm4::ColorRGBA(Wm4::ColorRGB::WHITE));
}

void ekGizmoNodeScale::highlight(unsigned int axis)
{
    const Wm4::ColorRGBA previous = m_shafts[axis]->getColor();
    applyDefaultColors(false);
    paintHighlight(*this, previous, {m_shafts[axis].get(), m_endSquares[axis].get()});
}

void ekGizmoNodeScale::showAxis(unsigned int axis, bool shown)
{
    showLine(*m_shafts[axis], shown);
    showLine(*m_endSquares[axis], shown);
}

void ekGizmoNodeScale::setOtherLinesVisible(bool visible)
{
    for (ekPointer<ekLine>& marker : m_planeMarkers) {
        showLine(*marker, false);
    }
    // The uniform-scale handle belongs to no axis: any enabled one shows it,
    // faded or not.
    bool anyEnabled = false;
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        anyEnabled = anyEnabled || hasAxis(getEnabledAxis(), axis);
    }
    showLine(*m_uniformHandle, visible && anyEnabled);
}

void ekGizmoNodeScale::setActiveState(unsigned int axis, bool active)
{
    if (!hasAxis(getEnabledAxis(), axis)) {
        return;
    }
    showLine(*m_planeMarkers[(axis + 1) % kAxisCount], false);
    showLine(*m_planeMarkers[(axis + 2) % kAxisCount], false);
    showLine(*m_planeMarkers[axis], active);
}

} // namespace ek
