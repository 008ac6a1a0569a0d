#include "ViewLayout.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Vector2.h>

namespace ek::viewer {

ScreenPoint toWindowPixel(const ekCamera& camera, const Wm4::Vector3<float>& world, int width,
                          int height)
{
    // The camera maps to 0..1 with y up; pixel x covers x..x+1, so its
    // centre is half a pixel in.
    Wm4::Vector2<float> normalised;
    ScreenPoint out;
    if (camera.project(world, normalised)) {
        out.x = normalised.X() * float(width) - 0.5f;
        out.y = (1.0f - normalised.Y()) * float(height) - 0.5f;
        out.visible = true;
    }
    return out;
}

} // namespace ek::viewer
