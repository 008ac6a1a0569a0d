#include "ekSceneGraph/ekCamera.h"

#include <Wm4/Wm4Math.h>

#include <cmath>

namespace ek {

ekCamera::ekCamera()
    : m_location(0.0f, 0.0f, 0.0f),
      m_direction(0.0f, 0.0f, -1.0f),
      m_up(0.0f, 1.0f, 0.0f),
      m_right(1.0f, 0.0f, 0.0f),
      m_rMin(-1.0f), m_rMax(1.0f), m_uMin(-1.0f), m_uMax(1.0f), m_dMin(1.0f), m_dMax(1000.0f)
{
    updateViewProjection();
}

void ekCamera::setFrame(const Wm4::Vector3<float>& location, const Wm4::Vector3<float>& direction,
                        const Wm4::Vector3<float>& up, const Wm4::Vector3<float>& right)
{
    m_location = location;
    m_direction = direction;
    m_up = up;
    m_right = right;
    updateViewProjection();
}

bool ekCamera::lookAt(const Wm4::Vector3<float>& eye, const Wm4::Vector3<float>& target,
                      const Wm4::Vector3<float>& worldUp)
{
    Wm4::Vector3<float> direction = target - eye;
    if (direction.Normalize() == 0.0f) {
        return false;
    }
    Wm4::Vector3<float> right = direction.Cross(worldUp);
    if (right.Normalize() == 0.0f) {
        return false;
    }
    setFrame(eye, direction, right.Cross(direction), right);
    return true;
}

void ekCamera::setFrustum(float rMin, float rMax, float uMin, float uMax, float dMin, float dMax)
{
    m_rMin = rMin;
    m_rMax = rMax;
    m_uMin = uMin;
    m_uMax = uMax;
    m_dMin = dMin;
    m_dMax = dMax;
    updateViewProjection();
}

void ekCamera::setFrustum(float fovYDegrees, float aspect, float dMin, float dMax)
{
    const float halfHeight = dMin * std::tan(0.5f * fovYDegrees * Wm4::Math<float>::DEG_TO_RAD);
    const float halfWidth = aspect * halfHeight;
    setFrustum(-halfWidth, halfWidth, -halfHeight, halfHeight, dMin, dMax);
}

void ekCamera::setPerspective(bool perspective)
{
    m_perspective = perspective;
    updateViewProjection();
}

void ekCamera::updateViewProjection()
{
    // View: world point to camera coordinates (r, u, d), row-vector form.
    float view[16] = {};
    const Wm4::Vector3<float>* axes[3] = {&m_right, &m_up, &m_direction};
    for (int col = 0; col < 3; ++col) {
        for (int row = 0; row < 3; ++row) {
            view[4 * row + col] = (*axes[col])[row];
        }
        view[12 + col] = -m_location.Dot(*axes[col]);
    }
    view[15] = 1.0f;

    const float rw = m_rMax - m_rMin;
    const float uw = m_uMax - m_uMin;
    const float depth = m_dMax - m_dMin;
    float projection[16] = {};
    if (m_perspective) {
        projection[0] = 2.0f * m_dMin / rw;
        projection[5] = 2.0f * m_dMin / uw;
        projection[8] = -(m_rMax + m_rMin) / rw;
        projection[9] = -(m_uMax + m_uMin) / uw;
        projection[10] = m_dMax / depth;
        projection[11] = 1.0f;
        projection[14] = -m_dMin * m_dMax / depth;
    } else {
        projection[0] = 2.0f / rw;
        projection[5] = 2.0f / uw;
        projection[10] = 1.0f / depth;
        projection[12] = -(m_rMax + m_rMin) / rw;
        projection[13] = -(m_uMax + m_uMin) / uw;
        projection[14] = -m_dMin / depth;
        projection[15] = 1.0f;
    }

    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += view[4 * row + k] * projection[4 * k + col];
            }
            m_viewProjection[static_cast<std::size_t>(4 * row + col)] = sum;
        }
    }
}

bool ekCamera::getPickRay(float x, float y, Wm4::Vector3<float>& origin,
                          Wm4::Vector3<float>& direction) const
{
    const float r = m_rMin + x * (m_rMax - m_rMin);
    const float u = m_uMin + y * (m_uMax - m_uMin);
    if (m_perspective) {
        origin = m_location;
        direction = m_direction * m_dMin + m_right * r + m_up * u;
        direction.Normalize();
    } else {
        origin = m_location + m_right * r + m_up * u;
        direction = m_direction;
    }
    return x >= 0.0f && x <= 1.0f && y >= 0.0f && y <= 1.0f;
}

bool ekCamera::project(const Wm4::Vector3<float>& world, Wm4::Vector2<float>& out) const
{
    const std::array<float, 16>& m = m_viewProjection;
    const float x = world.X() * m[0] + world.Y() * m[4] + world.Z() * m[8] + m[12];
    const float y = world.X() * m[1] + world.Y() * m[5] + world.Z() * m[9] + m[13];
    const float w = world.X() * m[3] + world.Y() * m[7] + world.Z() * m[11] + m[15];
    if (!(w > 0.0f)) {
        return false;
    }
    out = Wm4::Vector2<float>((x / w + 1.0f) * 0.5f, (y / w + 1.0f) * 0.5f);
    return true;
}

} // namespace ek
