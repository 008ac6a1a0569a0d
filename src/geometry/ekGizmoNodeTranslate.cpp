#include "ekGizmoNodeTranslate.h"

#include "ekUnitAxes.h"

#include <cmath>

namespace ek {

namespace {

// Stroke widths, in pixels.
constexpr float kShaftWidth = 2.5f;
constexpr float kHeadWidth = 1.8f;
// How far each arrowhead stroke runs back along its axis, in axis lengths.
constexpr float kHeadLength = 0.2f;
// Angle between the axis and each stroke of the arrowhead, in radians (pi / 8).
constexpr float kHeadHalfAngle = 0.3926991f;

// The V of every arrowhead, its tip at the origin, opening back along -X.
const ekLine& headShape()
{
    static const ekPointer<ekLine> kShape = [] {
        auto* head = new ekLine(3u);
        const float spread = std::tan(kHeadHalfAngle) * kHeadLength;
        setShape(*head, {{-kHeadLength, spread, 0.0f}, Wm4::Vector3<float>::ZERO, {-kHeadLength, -spread, 0.0f}},
                 {0, 1, 2});
        return sealShape(head);
    }();
    return *kShape;
}

} // namespace

ekGizmoNodeTranslate::~ekGizmoNodeTranslate() = default;

void ekGizmoNodeTranslate::buildLines()
{
    makeShafts(m_shafts);

    // The tip is the head's origin, so the node only has to move it to the
    // axis end and turn it about the axis to face the camera.
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_heads[axis] = lineOfShape(headShape());
        m_heads[axis]->editLocalTransform(true).SetTranslate(unitAxis(axis));
    }
    applyWidths();

    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        attachToOwner(*this, *m_shafts[axis]);
        attachToOwner(*this, *m_heads[axis]);
    }
    setHighlightColor(kBuildHighlightColor);
    applyDefaultColors(true);
}

void ekGizmoNodeTranslate::applyWidths()
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        setLineWidth(*m_shafts[axis], handleWidth(kShaftWidth));
        setLineWidth(*m_heads[axis], handleWidth(kHeadWidth));
    }
}

void ekGizmoNodeTranslate::paintDefaultColors()
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        const Wm4::ColorRGBA colour = axisColor(axis);
        paintLine(*m_shafts[axis], colour);
        paintLine(*m_heads[axis], colour);
    }
}

void ekGizmoNodeTranslate::highlight(unsigned int axis)
{
    const Wm4::ColorRGBA previous = m_shafts[axis]->getColor();
    applyDefaultColors(false);
    paintHighlight(*this, previous, {m_shafts[axis].get(), m_heads[axis].get()});
}

void ekGizmoNodeTranslate::showAxis(unsigned int axis, bool shown)
{
    showLine(*m_shafts[axis], shown);
    showLine(*m_heads[axis], shown);
}

void ekGizmoNodeTranslate::setOtherLinesVisible(bool /*visible*/)
{
    // The arrows are all there is.
}

} // namespace ek
