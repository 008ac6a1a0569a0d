// A host without Qt: one object, a translate gizmo on it, a drag of the X
// arrow fed through the controller's mouse API, one engine frame per step.
// Prints what each frame drew and where the object ended up.

#include <ek3DManipulation/ek3DManipulation.h>

#include <ekSceneGraph/ekSceneGraph.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A unit wireframe square in the object's XY plane.
ek::ekLine* makeSquare()
{
    auto* line = new ek::ekLine(4, 5, true);
    line->setDrawMethod(ek::ekLine::DM_STRIP);
    const Wm4::Vector3<float> corners[4] = {
        {-0.5f, -0.5f, 0.0f}, {0.5f, -0.5f, 0.0f}, {0.5f, 0.5f, 0.0f}, {-0.5f, 0.5f, 0.0f}};
    for (int i = 0; i < 4; ++i) {
        line->setVertexPosition(i, corners[i]);
        line->setIndex(i, static_cast<unsigned int>(i));
    }
    line->setIndex(4, 0);
    return line;
}

// Window pixel (origin top-left) of a world point.
bool windowPixel(const ek::ekCamera& camera, const Wm4::Vector3<float>& world, int& x, int& y)
{
    Wm4::Vector2<float> normalised;
    if (!camera.project(world, normalised)) {
        return false;
    }
    x = static_cast<int>(std::lround(normalised.X() * kWidth - 0.5f));
    y = static_cast<int>(std::lround(kHeight - normalised.Y() * kHeight - 0.5f));
    return true;
}

void report(const char* step, const ek::ekEngine& engine, const ek::ekSpatial& object)
{
    int overlay = 0;
    for (const ek::ekDrawSegment& segment : engine.getDrawList()) {
        overlay += segment.overlay ? 1 : 0;
    }
    const Wm4::Vector3<float>& t = object.getWorldTransform().GetTranslate();
    std::printf("%-8s drew %3zu segments (%2d gizmo overlay); object at (%.3f, %.3f, %.3f)\n", step,
                engine.getDrawList().size(), overlay, t.X(), t.Y(), t.Z());
}

} // namespace

int main()
{
    ek::initialize3DManipulationLibrary();
    {
        ek::ekPointer<ek::ekNode> scene = new ek::ekNode();
        auto* object = new ek::ekNode();
        object->setName("square");
        object->attachChild(makeSquare());
        scene->attachChild(object);

        auto* gizmo = new ek::ekGizmoNode();
        scene->attachChild(gizmo);
        gizmo->setReferenceObject(object);
        gizmo->setMode(ek::ekGizmoNode::TRANSLATE);

        auto* camera = new ek::ekCamera();
        camera->lookAt({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        camera->setFrustum(45.0f, float(kWidth) / float(kHeight), 0.5f, 100.0f);

        ek::ekEngine engine;
        engine.setScene(scene);
        engine.setCameraNode(new ek::ekCameraNode(camera));
        engine.setViewportSize(kWidth, kHeight);

        ek::ekGizmoController controller;
        engine.addController(&controller);
        engine.frame();
        report("layout", engine, *object);

        // Grab the X arrow near its tip and drag it 100 pixels to the right.
        const ek::ekGenericTransformation<float>& frame = gizmo->getWorldTransform();
        int x = 0;
        int y = 0;
        if (!windowPixel(*camera, frame.ApplyForward({0.9f, 0.0f, 0.0f}, true), x, y)) {
            std::fprintf(stderr, "the gizmo is behind the camera\n");
            return 1;
        }
        const bool onHandle = controller.setMousePressed(camera, x, y, kWidth, kHeight);
        std::printf("press at (%d, %d): %s\n", x, y, onHandle ? "on the X arrow" : "missed");
        engine.frame();
        report("press", engine, *object);
        for (int step = 1; step <= 4; ++step) {
            controller.setMousePos(x + 25 * step, y);
            engine.frame();
            report("move", engine, *object);
        }
        controller.setMouseReleased(x + 100, y);
        engine.frame();
        report("release", engine, *object);
        engine.removeController(&controller);
    }
    ek::terminate3DManipulationLibrary();
    return 0;
}
