#include "DragScene.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The drag lands the object's image on the cursor to within the rounding
// of window pixels.
constexpr int kPixelSlack = 1;
// The object's Y and Z stay 0 up to float error on a move of a few units.
constexpr float kOffAxisSlack = 1e-4f;

} // namespace

DragScene::DragScene()
    : m_scene(new ek::ekNode), m_object(new ek::ekNode), m_gizmo(new ek::ekGizmoNode),
      m_camera(new ek::ekCamera)
{
    m_scene->attachChild(m_object);
    m_scene->attachChild(m_gizmo);
    m_gizmo->setReferenceObject(m_object);
    m_gizmo->setMode(ek::ekGizmoNode::TRANSLATE);

    m_camera->lookAt({0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    m_camera->setFrustum(45.0f, float(kWidth) / float(kHeight), 0.5f, 100.0f);
    m_engine.setScene(m_scene);
    m_engine.setCameraNode(new ek::ekCameraNode(m_camera));
    m_engine.setViewportSize(kWidth, kHeight);
    m_engine.addController(&m_controller);
    m_engine.frame();
}

DragScene::~DragScene()
{
    m_engine.removeController(&m_controller);
}

bool DragScene::windowPixel(const Wm4::Vector3<float>& world, int& x, int& y) const
{
    Wm4::Vector2<float> normalised;
    if (!m_camera->project(world, normalised)) {
        return false;
    }
    x = static_cast<int>(std::lround(normalised.X() * kWidth - 0.5f));
    y = static_cast<int>(std::lround((1.0f - normalised.Y()) * kHeight - 0.5f));
    return true;
}

bool DragScene::xArrowPixel(int& x, int& y) const
{
    return windowPixel(m_gizmo->getWorldTransform().ApplyForward({0.9f, 0.0f, 0.0f}), x, y);
}

bool DragScene::reportMovedBy(int dx) const
{
    const Wm4::Vector3<float>& at = m_object->getWorldTransform().GetTranslate();
    std::printf("object moved to (%.4f, %.4f, %.4f)\n", at.X(), at.Y(), at.Z());
    int startX = 0;
    int startY = 0;
    int x = 0;
    int y = 0;
    if (!windowPixel(Wm4::Vector3<float>::ZERO, startX, startY) || !windowPixel(at, x, y)) {
        std::fprintf(stderr, "the object is out of view\n");
        return false;
    }
    if (std::abs(x - startX - dx) > kPixelSlack || y != startY
        || std::fabs(at.Y()) > kOffAxisSlack || std::fabs(at.Z()) > kOffAxisSlack) {
        std::fprintf(stderr, "expected the object %d pixels to the right on the X axis; it moved %d, %d pixels\n",
                     dx, x - startX, y - startY);
        return false;
    }
    return true;
}
