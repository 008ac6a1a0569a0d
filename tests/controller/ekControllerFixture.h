#pragma once

#include "ekTestMath.h"
#include "ekTestScene.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>
#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoController.h>

#include <Wm4/Wm4Math.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace ek::test {

// World lengths and matrix entries computed through a few float transforms.
constexpr float kWorldTolerance = 1e-4f;
// Screen positions, in pixels, of points moved by whole-pixel drags.
constexpr float kPixelTolerance = 1e-2f;

// One notification as a listener heard it.
struct Heard {
    char kind; // 'M' motion, 't'/'T' translate, 'r'/'R' rotate, 's'/'S' scale start/end
    int listener;
    ekGizmoNode* gizmo;                   // motion only
    ekGenericTransformation<float> delta; // ends only
    Wm4::Vector3<float> gizmoAt;          // motion only: the gizmo's local translation then
};

// Appends what it hears to a sink that several listeners may share, then runs
// then (if set) with it: tests meddle with the scene from inside a callback.
class EventLog : public ek3DManipulatorMotionListener {
public:
    explicit EventLog(std::vector<Heard>& sink, int id = 0) : m_sink(sink), m_id(id) {}

    void onManipulatorMotion(ekGizmoNode* gizmo) override
    {
        record({'M', m_id, gizmo, {}, gizmo->getLocalTransform().GetTranslate()});
    }
    void onTranslateManipulatorStart() override { add('t', {}); }
    void onTranslateManipulatorEnd(const ekGenericTransformation<float>& delta) override { add('T', delta); }
    void onRotateManipulatorStart() override { add('r', {}); }
    void onRotateManipulatorEnd(const ekGenericTransformation<float>& delta) override { add('R', delta); }
    void onScaleManipulatorStart() override { add('s', {}); }
    void onScaleManipulatorEnd(const ekGenericTransformation<float>& delta) override { add('S', delta); }

    std::function<void(const Heard&)> then;

private:
    void add(char kind, const ekGenericTransformation<float>& delta) { record({kind, m_id, nullptr, delta, {}}); }
    void record(const Heard& h)
    {
        m_sink.push_back(h);
        if (then) { then(h); }
    }

    std::vector<Heard>& m_sink;
    int m_id;
};

// The kinds heard, in order, e.g. "tTM".
inline std::string kindsOf(const std::vector<Heard>& heard)
{
    std::string kinds;
    for (const Heard& h : heard) { kinds += h.kind; }
    return kinds;
}

inline Pixel shifted(Pixel p, int dx) { return {p.x + dx, p.y}; }

// Rotation by degrees about a unit axis, right-handed.
inline Wm4::Matrix3<float> rotation(const Wm4::Vector3<float>& axis, float degrees)
{
    return ek_test::rotationAbout(axis, degrees * Wm4::Math<float>::DEG_TO_RAD);
}

inline void expectMatrixNear(const Wm4::Matrix3<float>& actual, const Wm4::Matrix3<float>& expected)
{
    for (int i = 0; i < 9; ++i) { EXPECT_NEAR(actual.Entries()[i], expected.Entries()[i], kWorldTolerance) << i; }
}

// A started library, a scene with a camera, and a controller registered with
// the engine, whose listener logs into heard.
class ControllerTest : public ::testing::Test {
protected:
    static constexpr int kWidth = ekTestScene::kWidth;
    static constexpr int kHeight = ekTestScene::kHeight;

    void SetUp() override
    {
        initialize3DManipulationLibrary();
        scene.engine().addController(&controller);
        controller.install3DManipulatorMotionListener(&log);
    }
    void TearDown() override
    {
        controller.uninstall3DManipulatorMotionListener(&log);
        scene.engine().removeController(&controller);
        terminate3DManipulationLibrary();
    }

    // An object at the origin with a gizmo (translate unless mode says) laid out on it; grip is a pixel on its X
    // axis, 60 pixels long.
    void setUpArrow(ekGizmoNode::GizmoMode mode = ekGizmoNode::TRANSLATE)
    {
        object = scene.addObject({0.0f, 0.0f, 0.0f});
        gizmo = scene.addGizmo(mode, {object});
        frame();
        grip = axisPixel(*gizmo, 0, 0.8f);
        startX = scene.screenOf(positionOf(*object)).X();
    }
    // How far the object has moved on screen, along x, since setUpArrow.
    float objectShift() const { return scene.screenOf(positionOf(*object)).X() - startX; }

    void frame() { scene.engine().frame(); }
    bool frameAfter(bool answer)
    {
        frame();
        return answer;
    }
    bool press(Pixel p) { return controller.setMousePressed(&scene.camera(), p.x, p.y, kWidth, kHeight); }
    bool move(Pixel p) { return controller.setMousePos(p.x, p.y); }
    bool release(Pixel p) { return controller.setMouseReleased(p.x, p.y); }
    // A press at from and a move to to, released there unless andRelease is false; answers as the press did.
    bool drag(Pixel from, Pixel to, bool andRelease = true)
    {
        const bool onHandle = press(from);
        move(to);
        if (andRelease) { release(to); }
        return onHandle;
    }
    // The same, each followed by the frame that replays it.
    bool moved(Pixel p) { return frameAfter(move(p)); }
    bool released(Pixel p) { return frameAfter(release(p)); }
    bool dragged(Pixel from, Pixel to, bool andRelease = true) { return frameAfter(drag(from, to, andRelease)); }
    // Presses from, moves dx pixels right and runs a frame: a drag left under way; returns
    // where the object then stands, with heard cleared.
    Wm4::Vector3<float> holdDrag(Pixel from, int dx)
    {
        dragged(from, shifted(from, dx), false);
        heard.clear();
        return positionOf(*object);
    }
    // The pixel on the Z circle of a rotate gizmo g, at degrees in its own frame.
    Pixel circlePixel(const ekGizmoNode& g, float degrees) const
    {
        const float r = degrees * Wm4::Math<float>::DEG_TO_RAD;
        return scene.pixelOf(gizmoPoint(g, {std::cos(r), std::sin(r), 0.0f}));
    }
    // The pixel fraction of the way from gizmo's centre to its axis tip.
    Pixel axisPixel(const ekGizmoNode& g, int axis, float fraction) const
    {
        Wm4::Vector3<float> local;
        local[axis] = fraction;
        return scene.pixelOf(gizmoPoint(g, local));
    }
    static Wm4::Vector3<float> positionOf(const ekSpatial& s) { return s.getWorldTransform().GetTranslate(); }

    ekTestScene scene;
    ekGizmoController controller;
    std::vector<Heard> heard;
    EventLog log{heard};
    ekNode* object = nullptr;
    ekGizmoNode* gizmo = nullptr;
    Pixel grip{0, 0};
    float startX = 0.0f;
};

} // namespace ek::test
