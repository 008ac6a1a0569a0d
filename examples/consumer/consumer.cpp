// Drags the X arrow of a gizmo 100 pixels to the right through the
// controller's mouse API; exits 0 when the object followed the cursor.

#include "DragScene.h"

#include <cstdio>

namespace {

int run()
{
    DragScene scene;
    int x = 0;
    int y = 0;
    if (!scene.xArrowPixel(x, y)) {
        std::fprintf(stderr, "the gizmo is out of view\n");
        return 1;
    }
    ek::ekGizmoController& controller = scene.controller();
    if (!controller.setMousePressed(scene.camera(), x, y, DragScene::kWidth, DragScene::kHeight)) {
        std::fprintf(stderr, "the press at (%d, %d) missed the X arrow\n", x, y);
        return 1;
    }
    for (int step = 1; step <= 4; ++step) {
        controller.setMousePos(x + 25 * step, y);
        scene.engine().frame();
    }
    controller.setMouseReleased(x + 100, y);
    scene.engine().frame();
    return scene.reportMovedBy(100) ? 0 : 1;
}

} // namespace

int main()
{
    ek::initialize3DManipulationLibrary();
    const int status = run();
    ek::terminate3DManipulationLibrary();
    std::printf("ek3DManipulation %s: %s\n",
                ek3DManipulation::Version::GetDescStringMajorMinorReleaseRevision(false),
                status == 0 ? "drag ok" : "drag FAILED");
    return status;
}
