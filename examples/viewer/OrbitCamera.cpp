#include "OrbitCamera.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>

#include <algorithm>
#include <cmath>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

// Turn of the camera per pixel dragged, radians.
constexpr float kRadiansPerPixel = 0.005f;
// Highest elevation, radians (about 85 degrees): short of straight down.
constexpr float kMaxElevation = 1.48f;
// Each wheel notch multiplies the distance by this factor (or divides it).
constexpr float kZoomPerNotch = 0.88f;
constexpr float kMinDistance = 0.5f;
constexpr float kMaxDistance = 150.0f;
// Vertical field of view, degrees; near and far distances, world units.
constexpr float kFieldOfViewY = 45.0f;
constexpr float kNear = 0.1f;
constexpr float kFar = 500.0f;
// Share of the view's smaller extent that a framed sphere's diameter spans.
constexpr float kFramedShare = 0.5f;
// Radius framed for a selection smaller than this, world units.
constexpr float kMinFramedRadius = 0.25f;

float tanHalfFieldOfView()
{
    return std::tan(0.5f * kFieldOfViewY * Wm4::Math<float>::DEG_TO_RAD);
}

// The camera's axes as columns: right, up, backward (towards the eye).
Mat3 cameraAxes(float azimuth, float elevation)
{
    const float ground = std::cos(elevation);
    const Vec3 back(ground * std::sin(azimuth), std::sin(elevation), ground * std::cos(azimuth));
    const Vec3 right(std::cos(azimuth), 0.0f, -std::sin(azimuth));
    return Mat3(right, back.Cross(right), back, true);
}

} // namespace

Vec3 OrbitCamera::backward() const
{
    return cameraAxes(m_azimuth, m_elevation).GetColumn(2);
}

void OrbitCamera::orbit(const Vec3& pivot, int dx, int dy)
{
    const Mat3 before = cameraAxes(m_azimuth, m_elevation);
    m_azimuth -= float(dx) * kRadiansPerPixel;
    m_elevation = std::clamp(m_elevation + float(dy) * kRadiansPerPixel, -kMaxElevation, kMaxElevation);
    // The turn that takes the old axes onto the new ones, applied to the
    // target about the pivot: the camera keeps its view of the pivot.
    const Mat3 turn = cameraAxes(m_azimuth, m_elevation).TimesTranspose(before);
    m_target = pivot + turn * (m_target - pivot);
}

void OrbitCamera::pan(int dx, int dy, int height)
{
    const Mat3 axes = cameraAxes(m_azimuth, m_elevation);
    const float worldPerPixel = 2.0f * m_distance * tanHalfFieldOfView() / float(height);
    m_target -= (axes.GetColumn(0) * float(dx) - axes.GetColumn(1) * float(dy)) * worldPerPixel;
}

void OrbitCamera::zoom(float notches, float x, float y, int width, int height)
{
    const Mat3 axes = cameraAxes(m_azimuth, m_elevation);
    const float t = tanHalfFieldOfView();
    const float aspect = float(width) / float(height);
    // The ray through the pixel's centre, one unit deep along the view.
    const float right = ((x + 0.5f) / float(width) * 2.0f - 1.0f) * t * aspect;
    const float up = (1.0f - (y + 0.5f) / float(height) * 2.0f) * t;
    const Vec3 ray = axes.GetColumn(0) * right + axes.GetColumn(1) * up - axes.GetColumn(2);
    const Vec3 from = eye();
    const Vec3 anchor = from + ray * m_distance;
    const float distance =
        std::clamp(m_distance * std::pow(kZoomPerNotch, notches), kMinDistance, kMaxDistance);
    // Scaling the eye and target about the anchor keeps the anchor's pixel.
    const Vec3 eyeAfter = anchor + (from - anchor) * (distance / m_distance);
    m_distance = distance;
    m_target = eyeAfter - axes.GetColumn(2) * distance;
}

void OrbitCamera::frame(const Vec3& centre, float radius, int width, int height)
{
    const float t = tanHalfFieldOfView() * std::min(1.0f, float(width) / float(height));
    const float angle = std::atan(kFramedShare * t);
    m_target = centre;
    m_distance = std::clamp(std::max(radius, kMinFramedRadius) / std::sin(angle), kMinDistance,
                            kMaxDistance);
}

void OrbitCamera::apply(ekCamera& camera, int width, int height) const
{
    camera.lookAt(eye(), m_target, Vec3::UNIT_Y);
    camera.setFrustum(kFieldOfViewY, float(width) / float(height), kNear, kFar);
}

} // namespace ek::viewer
