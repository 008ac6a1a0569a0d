// What the session shows of itself: the layout of the gizmo on screen and
// the status text.
#include "EditorSession.h"

#include <ekSceneGraph/ekBound.h>
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

const char* modeName(ekGizmoNode::GizmoMode mode)
{
    switch (mode) {
    case ekGizmoNode::TRANSLATE:
        return "translate";
    case ekGizmoNode::ROTATE:
        return "rotate";
    case ekGizmoNode::SCALE:
        return "scale";
    default:
        return "none";
    }
}

const char* orientationName(ekGizmoController::OrientationReference reference)
{
    switch (reference) {
    case ekGizmoController::WORLD:
        return "world";
    case ekGizmoController::CUSTOM:
        return "custom";
    case ekGizmoController::CAMERA:
        return "camera";
    default:
        return "local";
    }
}

// Translation, Euler angles in degrees (R = Rx * Ry * Rz, the gizmo's own
// convention) and per-axis scale of a world transform. A general matrix is
// read as its normalised columns times their lengths.
struct Readout {
    Vec3 translation;
    Vec3 degrees;
    Vec3 scale;
};

// Values this close to zero print as 0, not as a rounded "-0.0".
constexpr double kPrintedZero = 0.005;

double printable(float value)
{
    return std::fabs(value) < kPrintedZero ? 0.0 : double(value);
}

Readout readTransform(const ekGenericTransformation<float>& t)
{
    Readout out;
    out.translation = t.GetTranslate();
    Mat3 rotation = t.GetRotate();
    if (t.IsRSMatrix()) {
        out.scale = t.GetScale();
    } else {
        rotation = t.GetMatrix();
        for (int col = 0; col < 3; ++col) {
            Vec3 axis = rotation.GetColumn(col);
            out.scale[col] = axis.Normalize();
            rotation.SetColumn(col, axis);
        }
    }
    const float sinY = std::clamp(rotation(0, 2), -1.0f, 1.0f);
    const float toDegrees = Wm4::Math<float>::RAD_TO_DEG;
    out.degrees = Vec3(std::atan2(-rotation(1, 2), rotation(2, 2)) * toDegrees,
                       std::asin(sinY) * toDegrees,
                       std::atan2(-rotation(0, 1), rotation(0, 0)) * toDegrees);
    return out;
}

} // namespace

void EditorSession::measureLayout(ViewLayout& out) const
{
    out.width = m_width;
    out.height = m_height;
    out.mode = modeName(m_mode);
    out.orientation = orientationName(m_controller.getOrientationReference());
    out.gizmoShown = m_gizmo->getMode() != ekGizmoNode::NONE;

    const ekGenericTransformation<float>& frame = m_gizmo->getWorldTransform();
    const float h = std::sqrt(0.5f);
    const Vec3 ringPoints[3] = {Vec3(0, h, h), Vec3(h, 0, h), Vec3(h, h, 0)};
    out.pivot = frame.GetTranslate();
    out.centre = toWindowPixel(*m_camera, out.pivot, m_width, m_height);
    for (int i = 0; i < 3; ++i) {
        const Vec3 tip = frame.ApplyForward(Mat3::IDENTITY.GetColumn(i), true);
        out.tips[i] = toWindowPixel(*m_camera, tip, m_width, m_height);
        out.rings[i] = toWindowPixel(*m_camera, frame.ApplyForward(ringPoints[i], true), m_width,
                                     m_height);
    }
    out.axes = m_controller.getCurrentOrientation();
    out.axisLength = (frame.ApplyForward(Vec3::UNIT_X, true) - out.pivot).Length();
    measureExtendedHandles(out);

    out.eye = m_camera->getLocation();
    out.right = m_camera->getRVector();
    out.up = m_camera->getUVector();
    out.direction = m_camera->getDVector();
    out.frustum = {m_camera->getRMin(), m_camera->getRMax(), m_camera->getUMin(),
                   m_camera->getUMax(), m_camera->getDMin()};

    out.selection.clear();
    for (std::size_t index : m_selection) {
        out.selection.push_back(m_scene.objects[index].node->getName());
    }
    out.objects.resize(m_scene.objects.size());
    for (std::size_t i = 0; i < m_scene.objects.size(); ++i) {
        const ekNode& node = *m_scene.objects[i].node;
        out.objects[i].name = node.getName();
        out.objects[i].centre =
            toWindowPixel(*m_camera, node.getWorldBound().getCenter(), m_width, m_height);
        out.objects[i].selected =
            std::find(m_selection.begin(), m_selection.end(), i) != m_selection.end();
    }
}

void EditorSession::statusLine(std::string& out) const
{
    if (m_selection.empty()) {
        out = "nothing selected: click an object, shift-click to add";
        return;
    }
    char buffer[256];
    if (m_selection.size() > 1) {
        const Vec3 centre = m_gizmo->getCenterReferences();
        std::snprintf(buffer, sizeof buffer, "%zu objects, %s active   centre (%.2f, %.2f, %.2f)",
                      m_selection.size(), m_scene.objects[m_selection.back()].node->getName().c_str(),
                      printable(centre.X()), printable(centre.Y()), printable(centre.Z()));
        out = buffer;
        return;
    }
    const ekNode& node = *m_scene.objects[m_selection.front()].node;
    const Readout r = readTransform(node.getWorldTransform());
    std::snprintf(buffer, sizeof buffer,
                  "%s   T (%.2f, %.2f, %.2f)   R (%.1f\xc2\xb0, %.1f\xc2\xb0, %.1f\xc2\xb0)   "
                  "S (%.2f, %.2f, %.2f)",
                  node.getName().c_str(), printable(r.translation.X()),
                  printable(r.translation.Y()), printable(r.translation.Z()),
                  printable(r.degrees.X()), printable(r.degrees.Y()), printable(r.degrees.Z()),
                  printable(r.scale.X()), printable(r.scale.Y()), printable(r.scale.Z()));
    out = buffer;
}

void EditorSession::optionsLine(std::string& out) const
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer,
                  "%s   orientation %s   uniform scale %s   snap %s   near/far %s   handles %s   "
                  "steps %s   fade %s   F1 help",
                  modeName(m_mode), orientationName(m_controller.getOrientationReference()),
                  m_gizmo->shouldUseUniformScale() ? "on" : "off",
                  m_gizmo->shouldSnapRotationToAxis() ? "on" : "off",
                  m_gizmo->shouldRestrictPositionBetweenNearFar() ? "on" : "off",
                  m_gizmo->hasExtendedHandles() ? "extended" : "specified",
                  m_controller.isSnapping() ? "on" : "off", fading() ? "on" : "off");
    out = buffer;
}

} // namespace ek::viewer
