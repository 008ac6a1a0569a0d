#pragma once

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace ek::test {

using Vec2 = Wm4::Vector2<float>;
using Vec3 = Wm4::Vector3<float>;
using Mat3 = Wm4::Matrix3<float>;

// Positions of order 10 after a projection, a pick ray and a plane hit in
// single precision: the round-off stays two orders below this.
constexpr float kWorldTolerance = 1e-4f;
// Entries of rotation and scale matrices (of order 1).
constexpr float kMatrixTolerance = 1e-5f;
constexpr float kPickTolerance = 10.0f; // pixels, as the controller's
constexpr int kWidth = 800;
constexpr int kHeight = 600;

inline Mat3 rotationZ(float degrees)
{
    const float c = std::cos(degrees * Wm4::Math<float>::DEG_TO_RAD);
    const float s = std::sin(degrees * Wm4::Math<float>::DEG_TO_RAD);
    return {c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f};
}

inline void expectNear(const Vec3& actual, const Vec3& expected)
{
    for (int i = 0; i < 3; ++i) { EXPECT_NEAR(actual[i], expected[i], kWorldTolerance) << "component " << i; }
}
inline void expectNear(const Mat3& actual, const Mat3& expected)
{
    for (int i = 0; i < 9; ++i) { EXPECT_NEAR(actual.Entries()[i], expected.Entries()[i], kMatrixTolerance) << i; }
}

inline const Vec3& positionOf(const ekSpatial* o) { return o->getWorldTransform().GetTranslate(); }
inline Mat3 matrixOf(const ekSpatial* o) { return o->getWorldTransform().GetMatrix(); }
inline Vec2 pixels(float dx, float dy) { return {dx / kWidth, dy / kHeight}; }

// A scene root with reference objects and one gizmo, seen by a camera in an
// 800 x 600 view, laid out as the controller does it each frame.
class DragScene {
public:
    // Looking down Z from (0, 0, 10).
    explicit DragScene(bool perspective = true) : m_root(new ekNode), m_camera(new ekCamera), m_gizmo(new ekGizmoNode)
    {
        m_root->attachChild(m_gizmo);
        look({0.0f, 0.0f, 10.0f}, Vec3::ZERO, perspective);
    }

    // Perspective: 60-degree vertical field of view. Orthographic: 8 x 6 world units.
    void look(const Vec3& eye, const Vec3& target, bool perspective = true,
              float nearDistance = 1.0f, const Vec3& up = {0.0f, 1.0f, 0.0f})
    {
        ASSERT_TRUE(m_camera->lookAt(eye, target, up));
        m_camera->setPerspective(perspective);
        if (perspective) { m_camera->setFrustum(60.0f, 4.0f / 3.0f, nearDistance, 100.0f); }
        else { m_camera->setFrustum(-4.0f, 4.0f, -3.0f, 3.0f, nearDistance, 100.0f); }
    }

    ekNode* addObject(const Vec3& position, ekNode* parent = nullptr)
    {
        ekNode* object = new ekNode;
        object->editLocalTransform(true).SetTranslate(position);
        (parent != nullptr ? parent : m_root.get())->attachChild(object);
        return object;
    }

    // References objects in mode; the gizmo stands at their centre, turned to orientation.
    void use(ekGizmoNode::GizmoMode mode, const std::vector<ekSpatial*>& objects,
             const Mat3& orientation = Mat3::IDENTITY)
    {
        m_gizmo->setMode(mode);
        m_gizmo->setReferenceObjects(objects);
        m_root->UpdateGS();
        ekGenericTransformation<float> frame;
        frame.SetRotate(orientation);
        frame.SetTranslate(m_gizmo->getCenterReferences());
        m_gizmo->calculateFrameFromObjectWorldTranform(frame, m_camera, 60.0f, kHeight);
        m_gizmo->updateCameraFacing(m_camera);
        m_root->UpdateGS();
    }

    // Collapses the gizmo's frame (restore() undoes it).
    void collapse(const Mat3& matrix)
    {
        m_layout = m_gizmo->getLocalTransform();
        m_gizmo->editLocalTransform(true).SetMatrix(matrix);
        m_root->UpdateGS();
    }
    void restore()
    {
        m_gizmo->editLocalTransform(true) = m_layout;
        m_root->UpdateGS();
    }

    // Normalised cursor position of a world point, by the camera's own projection.
    Vec2 screenOf(const Vec3& world) const
    {
        Vec2 out;
        EXPECT_TRUE(m_camera->project(world, out));
        return out;
    }
    // Normalised cursor position of a point of the gizmo's own frame.
    Vec2 at(const Vec3& local) const { return screenOf(m_gizmo->getWorldTransform().ApplyForward(local, true)); }

    ekNode* root() const { return m_root; }
    ekCamera* camera() const { return m_camera; }
    ekGizmoNode* gizmo() const { return m_gizmo; }

private:
    ekPointer<ekNode> m_root;
    ekPointer<ekCamera> m_camera;
    ekPointer<ekGizmoNode> m_gizmo;
    ekGenericTransformation<float> m_layout;
};

// Writes every drag notification as "tag:event" into a log shared by listeners, or its own.
class Recorder : public ek3DManipulatorMotionListener {
public:
    Recorder(const char* tag, std::vector<std::string>& log) : m_tag(tag), m_log(log) {}
    explicit Recorder(const char* tag) : m_tag(tag), m_log(own) {} // own is built before m_log

    void onManipulatorMotion(ekGizmoNode*) override {}
    void onTranslateManipulatorStart() override { add("tStart"); }
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>& d) override { add("tEnd", &d); }
    void onRotateManipulatorStart() override { add("rStart"); }
    void onRotateManipulatorEnd(const ekGenericTransformation<float>& d) override { add("rEnd", &d); }
    void onScaleManipulatorStart() override { add("sStart"); }
    void onScaleManipulatorEnd(const ekGenericTransformation<float>& d) override { add("sEnd", &d); }

    ekGenericTransformation<float> lastDelta;
    std::vector<std::string> own;

private:
    void add(const char* event, const ekGenericTransformation<float>* delta = nullptr)
    {
        m_log.push_back(m_tag + ":" + event);
        if (delta != nullptr) { lastDelta = *delta; }
    }

    std::string m_tag;
    std::vector<std::string>& m_log;
};

} // namespace ek::test
