#include "OrbitCamera.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Math.h>

#include <algorithm>
#include <cmath>

namespace ek::viewer {
namespace {

// Turn of the camera per pixel dragged, radians.
constexpr float kRadiansPerPixel = 0.005f;
// Highest elevation, radians (about 85 degrees): short of straight down.
constexpr float kMaxElevation = 1.48f;
// Each wheel notch multiplies the distance by this factor (or divides it).
constexpr float kZoomPerNotch = 0.88f;
constexpr float kMinDistance = 2.0f;
constexpr float kMaxDistance = 150.0f;
// Vertical field of view, degrees; near and far distances, world units.
constexpr float kFieldOfViewY = 45.0f;
constexpr float kNear = 0.5f;
constexpr float kFar = 500.0f;

} // namespace

void OrbitCamera::orbit(int dx, int dy)
{
    m_azimuth -= float(dx) * kRadiansPerPixel;
    m_elevation = std::clamp(m_elevation + float(dy) * kRadiansPerPixel, -kMaxElevation, kMaxElevation);
}

void OrbitCamera::zoom(float notches)
{
    m_distance = std::clamp(m_distance * std::pow(kZoomPerNotch, notches), kMinDistance, kMaxDistance);
}

void OrbitCamera::apply(ekCamera& camera, int width, int height) const
{
    const float ground = std::cos(m_elevation);
    const Wm4::Vector3<float> offset(ground * std::sin(m_azimuth), std::sin(m_elevation),
                                     ground * std::cos(m_azimuth));
    camera.lookAt(m_target + offset * m_distance, m_target, Wm4::Vector3<float>::UNIT_Y);
    camera.setFrustum(kFieldOfViewY, float(width) / float(height), kNear, kFar);
}

} // namespace ek::viewer
