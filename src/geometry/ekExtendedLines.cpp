#include "ekExtendedLines.h"

#include "ekHandleShapes.h"
#include "ekUnitAxes.h"

#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Math.h>

#include <cmath>

namespace ek {
namespace {

// Stroke widths, in logical pixels.
constexpr float kSquareWidth = 1.8f;
constexpr float kRingWidth = 1.5f;
// Segments of the view ring.
constexpr unsigned int kRingSegments = 64;
// The screen handle and the view ring stay out of the axis colours.
const Wm4::ColorRGBA kScreenColor(0.85f, 0.85f, 0.85f, 1.0f);
const Wm4::ColorRGBA kRingColor(0.7f, 0.7f, 0.7f, 1.0f);

// A square outline through four corners, as a strip back to the first.
ekLine* squareThrough(const Wm4::Vector3<float>& a, const Wm4::Vector3<float>& b,
                      const Wm4::Vector3<float>& c, const Wm4::Vector3<float>& d)
{
    auto* square = new ekLine(4, 5, true);
    square->setDrawMethod(ekLine::DM_STRIP);
    setShape(*square, {a, b, c, d}, {0, 1, 2, 3, 0});
    return square;
}

// The shapes every gizmo with extended handles shares, made once.
struct ExtendedShapes {
    ekAxisLines planes;
    ekPointer<ekLine> screen;
    ekPointer<ekLine> viewRing;
};

const ExtendedShapes& extendedShapes()
{
    static const ExtendedShapes kShapes = [] {
        ExtendedShapes shapes;
        constexpr float i = kPlaneSquareInner;
        constexpr float o = kPlaneSquareOuter;
        for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
            const Wm4::Vector3<float>& a = unitAxis((axis + 1) % kAxisCount);
            const Wm4::Vector3<float>& b = unitAxis((axis + 2) % kAxisCount);
            shapes.planes[axis] =
                sealShape(squareThrough(a * i + b * i, a * o + b * i, a * o + b * o, a * i + b * o));
        }
        constexpr float h = kScreenHandleHalfSide;
        shapes.screen = sealShape(squareThrough({-h, -h, 0.0f}, {h, -h, 0.0f}, {h, h, 0.0f}, {-h, h, 0.0f}));
        auto* ring = new ekLine(kRingSegments + 1);
        for (unsigned int k = 0; k <= kRingSegments; ++k) {
            const float angle = 2.0f * Wm4::Math<float>::WM4_PI * static_cast<float>(k % kRingSegments)
                / static_cast<float>(kRingSegments);
            ring->setVertexPosition(static_cast<int>(k), {kViewRingRadius * std::cos(angle),
                                                          kViewRingRadius * std::sin(angle), 0.0f});
            ring->setIndex(static_cast<int>(k), k);
        }
        shapes.viewRing = sealShape(ring);
        return shapes;
    }();
    return kShapes;
}

} // namespace

ekExtendedLines::ekExtendedLines(ekNode& lineParent, const ekGizmoStyle& style) : m_style(style)
{
    const ExtendedShapes& shapes = extendedShapes();
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        m_planes[axis] = lineOfShape(*shapes.planes[axis]);
    }
    m_screen = lineOfShape(*shapes.screen);
    m_viewRing = lineOfShape(*shapes.viewRing);
    for (ekPointer<ekLine>& plane : m_planes) {
        lineParent.attachChild(plane.get());
    }
    lineParent.attachChild(m_screen.get());
    lineParent.attachChild(m_viewRing.get());
    applyStyle();
}

ekExtendedLines::~ekExtendedLines() = default;

void ekExtendedLines::show(bool enabled, bool translate, bool rotate, unsigned char translateMask,
                           unsigned char fadedPlanes)
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        // A square lies between the two other axes: both must be enabled.
        const bool spanned = hasAxis(translateMask, (axis + 1) % kAxisCount)
            && hasAxis(translateMask, (axis + 2) % kAxisCount);
        showLine(*m_planes[axis], enabled && translate && spanned && !hasAxis(fadedPlanes, axis));
    }
    showLine(*m_screen, enabled && translate);
    showLine(*m_viewRing, enabled && rotate);
}

void ekExtendedLines::paint(ekGizmoHandle handle, const Wm4::ColorRGBA& highlight)
{
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        paintLine(*m_planes[axis], Wm4::ColorRGBA(m_style.axisColors[axis]));
    }
    paintLine(*m_screen, kScreenColor);
    paintLine(*m_viewRing, kRingColor);
    const int value = static_cast<int>(handle);
    if (value >= static_cast<int>(ekGizmoHandle::PLANE_X) && value <= static_cast<int>(ekGizmoHandle::VIEW_RING)) {
        Wm4::ColorRGBA opaque = highlight;
        opaque.A() = 1.0f;
        paintLine(lineOf(handle), opaque);
    }
}

void ekExtendedLines::applyStyle()
{
    for (ekPointer<ekLine>& plane : m_planes) {
        setLineWidth(*plane, handleStrokeWidth(m_style, kSquareWidth));
    }
    setLineWidth(*m_screen, handleStrokeWidth(m_style, kSquareWidth));
    setLineWidth(*m_viewRing, handleStrokeWidth(m_style, kRingWidth));
    paint(ekGizmoHandle::NONE, m_style.highlightColor);
}

void ekExtendedLines::face(const Wm4::Matrix3<float>& facing)
{
    for (ekLine* line : {m_screen.get(), m_viewRing.get()}) {
        if (line->getLocalTransform().GetRotate() != facing) {
            line->editLocalTransform(true).SetRotate(facing);
        }
    }
}

ekLine& ekExtendedLines::lineOf(ekGizmoHandle handle) const
{
    switch (handle) {
    case ekGizmoHandle::SCREEN:
        return *m_screen;
    case ekGizmoHandle::VIEW_RING:
        return *m_viewRing;
    default:
        return *m_planes[static_cast<unsigned int>(axisOf(handle))];
    }
}

} // namespace ek
