// The session's opt-in gizmo features: extended handles, snapping, edge-on
// fading, and what they add to the layout and the drag readout.
#include "EditorSession.h"

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

// The centre of a plane square, in axis lengths along each of the plane's
// two axes: the library's squares span 0.3 to 0.55.
constexpr float kPlaneSquareCentre = 0.425f;
// The view ring's radius, in axis lengths.
constexpr float kViewRingRadius = 1.25f;

// Values this close to zero print as 0, not as a rounded "-0.00".
constexpr float kPrintedZero = 0.0005f;

double printable(float value)
{
    return std::fabs(value) < kPrintedZero ? 0.0 : double(value);
}

} // namespace

void EditorSession::setExtendedHandles(bool on)
{
    if (isBusy()) {
        return;
    }
    m_gizmo->setExtendedHandles(on);
    m_layoutDue = true;
}

bool EditorSession::extendedHandles() const
{
    return m_gizmo->hasExtendedHandles();
}

void EditorSession::setFading(bool on)
{
    if (isBusy()) {
        return;
    }
    m_gizmo->setFadeThreshold(on ? kFadeThreshold : 0.0f);
    m_layoutDue = true;
}

void EditorSession::setSnapStep(SnapStep kind, float step)
{
    m_snapSteps[std::size_t(kind)] = step;
    switch (kind) {
    case SnapStep::Translate:
        m_controller.setTranslateSnap(step);
        break;
    case SnapStep::Rotate:
        m_controller.setRotateSnap(step);
        break;
    case SnapStep::Scale:
        m_controller.setScaleSnap(step);
        break;
    }
}

void EditorSession::resetSnapping()
{
    m_controller.resetSnapping();
}

void EditorSession::toggleSnapping()
{
    if (m_controller.isSnapping()) {
        m_controller.resetSnapping();
        return;
    }
    for (SnapStep kind : {SnapStep::Translate, SnapStep::Rotate, SnapStep::Scale}) {
        setSnapStep(kind, m_snapSteps[std::size_t(kind)]);
    }
}

void EditorSession::measureExtendedHandles(ViewLayout& out) const
{
    out.extended = m_gizmo->hasExtendedHandles();
    out.fading = fading();
    const unsigned fadedAxes = m_gizmo->getFadedAxes();
    for (unsigned i = 0; i < 3; ++i) {
        out.faded[i] = (fadedAxes & (1u << i)) != 0;
    }
    out.planes = {};
    out.screen = {};
    out.viewRing = {};
    if (!out.gizmoShown || !out.extended) {
        return;
    }
    const ekGenericTransformation<float>& frame = m_gizmo->getWorldTransform();
    const bool translating = m_gizmo->getMode() == ekGizmoNode::TRANSLATE;
    const unsigned fadedPlanes = m_gizmo->getFadedPlanes();
    for (int i = 0; i < 3; ++i) {
        Vec3 local(kPlaneSquareCentre, kPlaneSquareCentre, kPlaneSquareCentre);
        local[i] = 0.0f;
        if (translating && (fadedPlanes & (1u << i)) == 0) {
            out.planes[i] = toWindowPixel(*m_camera, frame.ApplyForward(local, true), m_width,
                                          m_height);
        }
    }
    out.screen = out.centre;
    out.viewRing = out.centre;
    out.viewRing.x += kViewRingRadius * m_gizmo->getExpectedPixelSize();
}

void EditorSession::dragReadout(std::string& out) const
{
    out.clear();
    const ekGenericTransformation<float>* delta = m_tracker.runningDelta();
    if (delta == nullptr) {
        return;
    }
    char buffer[96];
    const Mat3 m = delta->GetMatrix();
    switch (m_tracker.openKind()) {
    case ManipulationKind::Rotate: {
        // The angle from the trace, the axis from the skew part.
        const float cosine = std::clamp((m(0, 0) + m(1, 1) + m(2, 2) - 1.0f) / 2.0f, -1.0f, 1.0f);
        Vec3 axis(m(2, 1) - m(1, 2), m(0, 2) - m(2, 0), m(1, 0) - m(0, 1));
        axis.Normalize();
        std::snprintf(buffer, sizeof buffer, "turn %.1f\xc2\xb0 about (%.2f, %.2f, %.2f)",
                      double(std::acos(cosine) * Wm4::Math<float>::RAD_TO_DEG),
                      printable(axis.X()), printable(axis.Y()), printable(axis.Z()));
        break;
    }
    case ManipulationKind::Scale:
        std::snprintf(buffer, sizeof buffer, "scale \xc3\x97(%.3f, %.3f, %.3f)",
                      double(m.GetColumn(0).Length()), double(m.GetColumn(1).Length()),
                      double(m.GetColumn(2).Length()));
        break;
    default: {
        const Vec3& t = delta->GetTranslate();
        std::snprintf(buffer, sizeof buffer, "move (%.3f, %.3f, %.3f)", printable(t.X()),
                      printable(t.Y()), printable(t.Z()));
        break;
    }
    }
    out = buffer;
}

} // namespace ek::viewer
