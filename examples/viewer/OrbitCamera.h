#pragma once

#include <Wm4/Wm4Vector3.h>

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// The host's own navigation: a perspective camera looking at a target from
// a sphere around it. It turns about any pivot (the selection's centre),
// pans across the view, zooms towards a pixel and frames a sphere.
//
// Pixels are window pixels (origin top-left, y down); the view is
// width x height pixels, both positive.
class OrbitCamera {
public:
    // Turns the camera about pivot (world) by a drag of (dx, dy) pixels, so
    // that pivot keeps its place on screen. The elevation stops short of
    // the poles, where the up vector would be undefined.
    void orbit(const Wm4::Vector3<float>& pivot, int dx, int dy);
    // Slides the camera across the view so that what lies at the target's
    // depth follows a drag of (dx, dy) pixels.
    void pan(int dx, int dy, int height);
    // Moves towards the point under pixel (x, y) at the target's depth by
    // notches of the wheel (positive: closer), within a fixed range of
    // distances; that point stays under the pixel.
    void zoom(float notches, float x, float y, int width, int height);
    // Looks at centre (world) from the current direction, from the distance
    // at which a sphere of radius (world units) spans about half the view.
    void frame(const Wm4::Vector3<float>& centre, float radius, int width, int height);
    // Writes the frame and a frustum for the view into camera.
    void apply(ekCamera& camera, int width, int height) const;

    const Wm4::Vector3<float>& target() const { return m_target; }

private:
    // Unit vector from the target towards the eye.
    Wm4::Vector3<float> backward() const;
    Wm4::Vector3<float> eye() const { return m_target + backward() * m_distance; }

    // Angles in radians: azimuth about +Y from +Z, elevation above the
    // ground plane; distance in world units.
    Wm4::Vector3<float> m_target{0.0f, 0.5f, 0.0f};
    float m_azimuth = 0.61f;   // about 35 degrees
    float m_elevation = 0.44f; // about 25 degrees
    float m_distance = 14.0f;
};

} // namespace ek::viewer
