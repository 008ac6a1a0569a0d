#pragma once

#include <Wm4/Wm4Vector3.h>

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// The host's own navigation: a perspective camera on a sphere around a
// target, turned by dragging and moved in and out by the wheel.
class OrbitCamera {
public:
    // Turns the camera by a drag of (dx, dy) window pixels (x right, y down).
    // The elevation stops short of the poles, where the up vector would be
    // undefined.
    void orbit(int dx, int dy);
    // Moves towards the target by notches of the wheel (positive: closer),
    // within a fixed range of distances.
    void zoom(float notches);
    // Writes the frame and a frustum for a width x height view (pixels,
    // both positive) into camera.
    void apply(ekCamera& camera, int width, int height) const;

private:
    // Angles in radians: azimuth about +Y from +Z, elevation above the
    // ground plane; distance in world units.
    Wm4::Vector3<float> m_target{0.0f, 0.5f, 0.0f};
    float m_azimuth = 0.61f;   // about 35 degrees
    float m_elevation = 0.44f; // about 25 degrees
    float m_distance = 14.0f;
};

} // namespace ek::viewer
