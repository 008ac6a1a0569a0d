// Feeds the controller arbitrary sequences of input calls, options and
// frames; after every frame the reference objects must have finite world
// transforms, and the sanitizers watch everything else.

#include "fuzzScene.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using ek::ekGizmoController;
using ek::ekGizmoNode;

// Operations decoded from one input; longer inputs are cut here so that a
// run stays fast.
constexpr int kMaxOperations = 200;
// How far around the gizmo's centre a near-by cursor position may fall,
// pixels: enough to reach every handle and to miss them all.
constexpr int kNearRange = 128;

// Reads the input front to back; past its end every read gives zero.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_position >= m_size; }
    std::uint8_t byte() { return empty() ? 0 : m_data[m_position++]; }
    std::int32_t int32()
    {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits = (bits << 8) | byte();
        }
        std::int32_t value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// Mostly near the gizmo, so that presses land on handles; sometimes any
// int at all, extremes included.
void readPosition(ByteReader& in, const ek_fuzz::FuzzScene& scene, int& x, int& y)
{
    switch (in.byte() % 4) {
    case 0:
        x = in.int32();
        y = in.int32();
        break;
    case 1:
        x = (in.byte() & 1) != 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
        y = (in.byte() & 1) != 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        break;
    default:
        x = scene.centreX() + static_cast<int>(in.byte()) - kNearRange;
        y = scene.centreY() + static_cast<int>(in.byte()) - kNearRange;
        break;
    }
}

// The view itself most of the time; otherwise empty, negative or huge.
void readViewSize(ByteReader& in, int& width, int& height)
{
    switch (in.byte() % 6) {
    case 0:
        width = 0;
        height = 0;
        break;
    case 1:
        width = -static_cast<int>(in.byte());
        height = -1;
        break;
    case 2:
        width = in.int32();
        height = in.int32();
        break;
    default:
        width = ek_fuzz::FuzzScene::kWidth;
        height = ek_fuzz::FuzzScene::kHeight;
        break;
    }
}

Wm4::Matrix3<float> readOrientation(ByteReader& in)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    switch (in.byte() % 6) {
    case 0:
        return Wm4::Matrix3<float>::IDENTITY;
    case 1: // a quarter turn about Z
        return Wm4::Matrix3<float>(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    case 2: // scaled and sheared
        return Wm4::Matrix3<float>(2.0f, 0.5f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.25f);
    case 3:
        return Wm4::Matrix3<float>::ZERO;
    case 4:
        return Wm4::Matrix3<float>(nan, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, inf);
    default: // a reflection
        return Wm4::Matrix3<float>(-1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    }
}

// Cameras that see the scene from far away, orthographically, edge-on or
// from right at one of the objects.
void readCamera(ByteReader& in, ek::ekCamera& camera)
{
    switch (in.byte() % 4) {
    case 0:
        camera.lookAt(Wm4::Vector3<float>(-300.0f, 500.0f, 900.0f), Wm4::Vector3<float>::ZERO,
                      Wm4::Vector3<float>::UNIT_Y);
        break;
    case 1:
        camera.setPerspective(false);
        break;
    case 2: // on the gizmo's centre plane, looking along X
        camera.lookAt(Wm4::Vector3<float>(20.0f, 0.0f, 0.0f), Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::UNIT_Y);
        break;
    default: // right at the second object
        camera.lookAt(Wm4::Vector3<float>(1.5f, -0.5f, 0.5f), Wm4::Vector3<float>(1.5f, -0.5f, -5.0f),
                      Wm4::Vector3<float>::UNIT_Y);
        break;
    }
}

void runOperation(ByteReader& in, ek_fuzz::FuzzScene& scene)
{
    ekGizmoController& controller = scene.controller();
    ekGizmoNode& gizmo = scene.gizmo();
    int x = 0;
    int y = 0;
    switch (in.byte() % 14) {
    case 0: {
        readPosition(in, scene, x, y);
        int width = 0;
        int height = 0;
        readViewSize(in, width, height);
        controller.setMousePressed(&scene.camera(), x, y, width, height);
        break;
    }
    case 1:
    case 2:
    case 3: // moves dominate real input
        readPosition(in, scene, x, y);
        controller.setMousePos(x, y);
        break;
    case 4:
        readPosition(in, scene, x, y);
        controller.setMouseReleased(x, y);
        break;
    case 5:
        controller.setEnabled((in.byte() & 1) != 0);
        break;
    case 6:
        controller.clearControllerEvents();
        break;
    case 7: // 4 and above behave as NONE
        gizmo.setMode(static_cast<ekGizmoNode::GizmoMode>(in.byte() % 5));
        break;
    case 8: // 4 is outside the enumeration
        controller.setOrientationReference(static_cast<ekGizmoController::OrientationReference>(in.byte() % 5));
        break;
    case 9:
        controller.setCustomOrientationMatrix(readOrientation(in));
        break;
    case 10: {
        int width = 0;
        int height = 0;
        readViewSize(in, width, height);
        scene.engine().setViewportSize(width, height);
        break;
    }
    case 11: {
        const std::uint8_t options = in.byte();
        gizmo.setUseUniformScale((options & 1) != 0);
        gizmo.setSnapRotationToAxis((options & 2) != 0);
        gizmo.restrictPositionBetweenNearFar((options & 4) != 0);
        gizmo.setEnabledAxis(static_cast<ekGizmoNode::GizmoMode>((options >> 3) % 3), in.byte());
        gizmo.setMode(gizmo.getMode());
        break;
    }
    case 12:
        readCamera(in, scene.camera());
        break;
    default:
        scene.frameAndCheck();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ek_fuzz::FuzzScene scene;
    scene.reset();
    ByteReader in(data, size);
    for (int i = 0; i < kMaxOperations && !in.empty(); ++i) {
        runOperation(in, scene);
    }
    scene.frameAndCheck();
    return 0;
}
