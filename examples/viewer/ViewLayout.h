#pragma once

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <array>
#include <string>
#include <vector>

namespace ek {
class ekCamera;
}

namespace ek::viewer {

// A world point seen in the window: the pixel (origin top-left, y down)
// whose centre it projects to, as floats. Not visible behind the eye.
struct ScreenPoint {
    float x = 0.0f;
    float y = 0.0f;
    bool visible = false;
};

ScreenPoint toWindowPixel(const ekCamera& camera, const Wm4::Vector3<float>& world, int width,
                          int height);

struct ObjectMark {
    std::string name;
    ScreenPoint centre; // of its world bound
    bool selected = false;
};

// Where things are on screen after a frame, for scripts that aim at the
// handles, and the camera that put them there.
struct ViewLayout {
    int width = 0;
    int height = 0;
    const char* mode = "none";
    const char* orientation = "local";
    bool gizmoShown = false;
    // The gizmo: its centre, the tips of its axes, and on each rotate
    // circle the point halfway between the other two axes.
    ScreenPoint centre;
    std::array<ScreenPoint, 3> tips;
    std::array<ScreenPoint, 3> rings;
    // With extended handles (reported only then): the centre of each plane
    // square (index: the plane's normal axis; not visible when hidden or
    // faded), the screen handle's centre and the view ring's point straight
    // right of the centre.
    bool extended = false;
    std::array<ScreenPoint, 3> planes;
    ScreenPoint screen;
    ScreenPoint viewRing;
    // Which axes are faded edge-on; reported with extended handles or
    // fading on.
    bool fading = false;
    std::array<bool, 3> faded{};
    Wm4::Vector3<float> pivot;     // world centre of the gizmo
    Wm4::Matrix3<float> axes;      // world directions of its axes, as columns
    float axisLength = 0.0f;       // world length of one axis
    // Camera: location and unit right, up and view directions (world), the
    // frustum extents at the near plane and the near distance.
    Wm4::Vector3<float> eye;
    Wm4::Vector3<float> right;
    Wm4::Vector3<float> up;
    Wm4::Vector3<float> direction;
    std::array<float, 5> frustum{}; // rMin, rMax, uMin, uMax, dMin
    std::vector<std::string> selection;
    std::vector<ObjectMark> objects;
};

} // namespace ek::viewer
