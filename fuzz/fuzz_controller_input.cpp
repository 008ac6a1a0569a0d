// Feeds two views of one scene arbitrary sequences of mouse input, drag
// cancels, option, camera, reference-list, parent and structure changes,
// with listeners that change the scene, re-parent objects or cancel drags
// from inside their notifications. After
// every operation every object's and gizmo's transforms must be finite,
// each listener must have heard every start before its end and a drag must
// have an axis, unless it is a translate or scale drag whose press met no
// drag plane; after a frame that replayed a release, no drag may be under
// way. The sanitizers watch the rest.

#include "fuzzScene.h"

#include "ekBridgeDecision.h"
#include "fuzzCheck.h"

#include <ek3DManipulation/ekGizmoController.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using ek::ekGizmoController;
using ek::ekGizmoNode;
using ek_fuzz::FuzzScene;
using ek_fuzz::FuzzView;

// Operations decoded from one input; longer inputs are cut here so that a
// run stays fast.
constexpr int kMaxOperations = 200;
// How far around a gizmo's centre a near-by cursor position may fall,
// pixels: enough to reach every handle and to miss them all.
constexpr int kNearRange = 128;
// How far from a handle a position on it may fall, pixels.
constexpr int kHandleJitter = 8;
// Window positions computed from a projection are kept within this many
// pixels, so that they convert to int.
constexpr float kPixelLimit = 1e6f;

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
    bool flag() { return (byte() & 1) != 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

template <class T, std::size_t N>
const T& pick(ByteReader& in, const T (&table)[N])
{
    return table[in.byte() % N];
}

int toPixel(float value)
{
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::fmax(-kPixelLimit, std::fmin(kPixelLimit, value)));
}

// A point of a gizmo's handles in its own frame: along one axis (arrows,
// scale shafts) or on the circle about it (rotate circles).
Wm4::Vector3<float> readHandlePoint(ByteReader& in)
{
    const std::uint8_t shape = in.byte();
    const int axis = shape % 3;
    const float amount = static_cast<float>(in.byte());
    Wm4::Vector3<float> local = Wm4::Vector3<float>::ZERO;
    if ((shape & 4) == 0) {
        local[axis] = amount / 200.0f;
    } else {
        const float angle = amount * Wm4::Math<float>::TWO_PI / 256.0f;
        local[(axis + 1) % 3] = std::cos(angle);
        local[(axis + 2) % 3] = std::sin(angle);
    }
    return local;
}

// The window pixel of a gizmo's local point as the view sees it; the view's
// centre when there is no gizmo or the point is behind the eye.
void pixelOf(const FuzzView& view, const ekGizmoNode* gizmo, const Wm4::Vector3<float>& local, int& x, int& y)
{
    const auto width = static_cast<float>(view.width());
    const auto height = static_cast<float>(view.height());
    Wm4::Vector2<float> position(0.5f, 0.5f);
    if (gizmo != nullptr) {
        view.camera->project(gizmo->getWorldTransform().ApplyForward(local), position);
    }
    x = toPixel(position.X() * width);
    y = toPixel((1.0f - position.Y()) * height);
}

// Mostly on or near a gizmo's handles, so that presses grab them; sometimes
// any int at all, extremes included.
void readPosition(ByteReader& in, const FuzzScene& scene, const FuzzView& view, int& x, int& y)
{
    switch (in.byte() % 6) {
    case 0:
        x = in.int32();
        y = in.int32();
        break;
    case 1:
        x = in.flag() ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
        y = in.flag() ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        break;
    case 2:
        pixelOf(view, scene.gizmo(in.byte()), Wm4::Vector3<float>::ZERO, x, y);
        x += static_cast<int>(in.byte()) - kNearRange;
        y += static_cast<int>(in.byte()) - kNearRange;
        break;
    default: {
        const ekGizmoNode* gizmo = scene.gizmo(in.byte());
        pixelOf(view, gizmo, readHandlePoint(in), x, y);
        x += static_cast<int>(in.byte() % (2 * kHandleJitter + 1)) - kHandleJitter;
        y += static_cast<int>(in.byte() % (2 * kHandleJitter + 1)) - kHandleJitter;
        break;
    }
    }
}

// The view's own size most of the time; otherwise empty, negative or any.
void readViewSize(ByteReader& in, const FuzzView& view, int& width, int& height)
{
    switch (in.byte() % 8) {
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
    case 3:
        width = 1;
        height = 8192;
        break;
    default:
        width = view.width();
        height = view.height();
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

// Eyes far away, edge-on to the gizmos' plane, inside an object, straight
// above (which lookAt refuses) and very far.
const Wm4::Vector3<float> kEyes[] = {
    {2.0f, 3.0f, 12.0f}, {-300.0f, 500.0f, 900.0f}, {20.0f, 0.0f, 0.0f},
    {1.5f, -0.5f, 0.5f}, {0.0f, 10.0f, 0.0f},       {0.0f, 0.0f, 1e6f},
};
const float kFieldsOfView[] = {1.0f, 50.0f, 120.0f, 179.0f};
// Frustum extents at the near plane: the half-height of an orthographic
// view.
const float kExtents[] = {1e-30f, 1e-6f, 0.4f, 1e6f, 1e30f};
const float kNears[] = {1e-30f, 1e-3f, 0.5f, 50.0f};
const float kFars[] = {1e30f, 200.0f, 1e4f, 60.0f};

void readCamera(ByteReader& in, FuzzView& view)
{
    ek::ekCamera& camera = *view.camera;
    const float aspect = view.width() > 0 && view.height() > 0
        ? static_cast<float>(view.width()) / static_cast<float>(view.height())
        : 1.0f;
    switch (in.byte() % 4) {
    case 0:
        camera.lookAt(pick(in, kEyes), Wm4::Vector3<float>::ZERO, Wm4::Vector3<float>::UNIT_Y);
        return;
    case 1:
        camera.setPerspective(in.flag());
        return;
    default:
        break;
    }
    const float fieldOfView = pick(in, kFieldsOfView);
    const float extent = pick(in, kExtents);
    const float near = pick(in, kNears);
    const float far = std::fmax(pick(in, kFars), 4.0f * near);
    if (in.flag()) {
        camera.setFrustum(fieldOfView, aspect, near, far);
    } else {
        camera.setFrustum(-extent * aspect, extent * aspect, -extent, extent, near, far);
    }
}

const Wm4::Vector3<float> kPositions[] = {
    {0.0f, 0.0f, 0.0f}, {3.0f, 2.0f, 0.0f}, {-1e3f, 0.0f, 5.0f}, {0.0f, 0.0f, 1e6f}};
const Wm4::Vector3<float> kScales[] = {
    {1.0f, 1.0f, 1.0f}, {2.0f, 0.5f, 1.0f}, {1e-3f, 1e-3f, 1e-3f}, {1e3f, 1e3f, 1e3f}};
const Wm4::Matrix3<float> kRotations[] = {
    Wm4::Matrix3<float>::IDENTITY,
    Wm4::Matrix3<float>(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f),
    Wm4::Matrix3<float>(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f),
};
const float kPixelSizes[] = {60.0f, 8.0f, 600.0f};

// What the host does to its own objects: moves, turns and scales them, or
// excludes them from the tools.
void editObject(ByteReader& in, FuzzScene& scene)
{
    ek::ekNode& object = *scene.object(in.byte() % FuzzScene::kObjects);
    switch (in.byte() % 4) {
    case 0:
        object.editLocalTransform(true).SetTranslate(pick(in, kPositions));
        break;
    case 1:
        object.editLocalTransform(true).SetRotate(pick(in, kRotations));
        break;
    case 2:
        object.editLocalTransform(true).SetScale(pick(in, kScales));
        break;
    default:
        object.setExcluded(!object.isExcluded());
        break;
    }
}

// Changes a reference list in place, which tells the gizmo nothing.
void editReferences(ByteReader& in, FuzzScene& scene, ekGizmoNode& gizmo)
{
    std::vector<ek::ekSpatial*>& objects = gizmo.editReferenceObjects();
    const std::uint8_t how = in.byte();
    ek::ekSpatial* const object = scene.object(in.byte() % (FuzzScene::kObjects + 1));
    switch (how % 4) {
    case 0:
        objects.push_back(object);
        break;
    case 1:
        if (!objects.empty()) {
            objects.pop_back();
        }
        break;
    case 2:
        objects.clear();
        break;
    default:
        if (!objects.empty()) {
            objects.front() = object;
        }
        break;
    }
}

// One window event through the Qt bridge's decisions, as the bridge would
// carry them out: lost releases, focus loss and lost grabs included.
void bridgeEvent(ByteReader& in, FuzzScene& scene, FuzzView& view)
{
    static constexpr ek::ekBridgeEventKind kKinds[] = {
        ek::ekBridgeEventKind::LEFT_PRESS, ek::ekBridgeEventKind::LEFT_RELEASE,
        ek::ekBridgeEventKind::MOVE, ek::ekBridgeEventKind::MOVE,
        ek::ekBridgeEventKind::INPUT_LOST, ek::ekBridgeEventKind::OTHER};
    ek::ekBridgeInput input;
    input.kind = pick(in, kKinds);
    input.leftHeld = in.flag();
    input.canPick = true;
    input.pressForwarded = view.bridgePressForwarded;
    int x = 0;
    int y = 0;
    readPosition(in, scene, view, x, y);
    const ek::ekBridgeDecision decision = ek::decideBridgeAction(input);
    view.bridgePressForwarded = decision.pressForwarded;
    ekGizmoController& controller = view.controller;
    switch (decision.action) {
    case ek::ekBridgeAction::PRESS:
        controller.setMousePressed(view.camera.get(), x, y, view.width(), view.height());
        view.queued = ek_fuzz::QueuedButton::PRESS;
        break;
    case ek::ekBridgeAction::RELEASE:
        controller.setMouseReleased(x, y);
        view.queued = ek_fuzz::QueuedButton::RELEASE;
        break;
    case ek::ekBridgeAction::MOVE:
        controller.setMousePos(x, y);
        break;
    case ek::ekBridgeAction::CANCEL:
        controller.clearControllerEvents();
        controller.cancelDrag();
        view.queued = ek_fuzz::QueuedButton::NONE;
        // Cancelled and nothing queued: no drag may be left.
        if (controller.isDragging()) {
            ek_fuzz::fail("input lost, yet a drag is under way");
        }
        break;
    case ek::ekBridgeAction::PASS:
        break;
    }
}

// Snapping steps, including zero, negative and not-a-number ones, and the
// host's key that inverts snapping for the next press.
void snap(ByteReader& in, ekGizmoController& controller)
{
    static constexpr float kSteps[] = {0.0f, 0.25f, 1.0f, 15.0f, -1.0f, 1e-30f, 1e30f,
                                       std::numeric_limits<float>::quiet_NaN()};
    const float step = pick(in, kSteps);
    switch (in.byte() % 5) {
    case 0:
        controller.setTranslateSnap(step);
        break;
    case 1:
        controller.setRotateSnap(step);
        break;
    case 2:
        controller.setScaleSnap(step);
        break;
    case 3:
        controller.resetSnapping();
        break;
    default:
        controller.setSnapInverted(in.flag());
        break;
    }
}

void press(ByteReader& in, FuzzScene& scene, FuzzView& view)
{
    int x = 0;
    int y = 0;
    readPosition(in, scene, view, x, y);
    int width = 0;
    int height = 0;
    readViewSize(in, view, width, height);
    const ek::ekCamera* camera = in.byte() % 8 == 0 ? nullptr : view.camera.get();
    view.controller.setMousePressed(camera, x, y, width, height);
    view.queued = ek_fuzz::QueuedButton::PRESS;
}

// The operations that act on one gizmo; an empty slot ignores them.
void runGizmoOperation(ByteReader& in, FuzzScene& scene, int operation)
{
    const int slot = in.byte() % FuzzScene::kGizmoSlots;
    ekGizmoNode* gizmo = scene.gizmo(slot);
    const std::uint8_t argument = in.byte();
    if (gizmo == nullptr) {
        return;
    }
    switch (operation) {
    case 0: // 4 and above behave as NONE
        gizmo->setMode(static_cast<ekGizmoNode::GizmoMode>(argument % 5));
        break;
    case 1:
        gizmo->setUseUniformScale((argument & 1) != 0);
        gizmo->setSnapRotationToAxis((argument & 2) != 0);
        gizmo->restrictPositionBetweenNearFar((argument & 4) != 0);
        gizmo->setExpectedPixelSize(kPixelSizes[(argument >> 3) % 3]);
        break;
    case 2:
        // Shows the group of the mask's mode; the mode follows only when asked.
        gizmo->setEnabledAxis(static_cast<ekGizmoNode::GizmoMode>(argument % 3), in.byte());
        if ((argument & 4) != 0) {
            gizmo->setMode(gizmo->getMode());
        }
        break;
    case 3:
        scene.setReferences(slot, argument);
        break;
    case 4:
        editReferences(in, scene, *gizmo);
        break;
    case 5:
        scene.detachGizmo(slot);
        break;
    case 6:
        scene.deleteGizmo(slot);
        break;
    case 7:
        gizmo->setExtendedHandles((argument & 1) != 0);
        break;
    default:
        scene.attachGizmo(slot, argument);
        break;
    }
}

constexpr int kViewOperations = 22;
constexpr int kGizmoOperations = 9;

void runOperation(ByteReader& in, FuzzScene& scene)
{
    // The top bit chooses the view.
    const std::uint8_t code = in.byte();
    const int index = code >> 7;
    FuzzView& view = scene.view(index);
    ekGizmoController& controller = view.controller;
    const int operation = (code & 0x7f) % (kViewOperations + kGizmoOperations);
    int x = 0;
    int y = 0;
    switch (operation) {
    case 0:
        press(in, scene, view);
        break;
    case 1:
    case 2:
    case 3: // moves dominate real input
        readPosition(in, scene, view, x, y);
        controller.setMousePos(x, y);
        break;
    case 4:
        readPosition(in, scene, view, x, y);
        controller.setMouseReleased(x, y);
        view.queued = ek_fuzz::QueuedButton::RELEASE;
        break;
    case 5:
    case 6:
        scene.frame(index);
        break;
    case 7:
        controller.setEnabled(in.flag());
        break;
    case 8:
        controller.clearControllerEvents();
        view.queued = ek_fuzz::QueuedButton::NONE;
        break;
    case 9:
        controller.cancelDrag();
        break;
    case 10: // 4 is outside the enumeration
        controller.setOrientationReference(static_cast<ekGizmoController::OrientationReference>(in.byte() % 5));
        break;
    case 11:
        controller.setCustomOrientationMatrix(readOrientation(in));
        break;
    case 12: {
        int width = 0;
        int height = 0;
        readViewSize(in, view, width, height);
        view.engine.setViewportSize(width, height);
        break;
    }
    case 13:
        readCamera(in, view);
        break;
    case 14: { // the last choice is null: the engine's scene
        const int root = in.byte() % (FuzzScene::kPlaces + 1);
        controller.setRootNode(root == FuzzScene::kPlaces ? nullptr : &scene.place(root));
        break;
    }
    case 15:
        view.toggleListener(in.byte());
        break;
    case 16: {
        ek_fuzz::CheckingListener& listener = view.listeners[in.byte() % FuzzView::kListeners];
        const std::uint8_t triggers = in.byte();
        const auto meddling =
            static_cast<ek_fuzz::Meddling>(in.byte() % static_cast<int>(ek_fuzz::Meddling::COUNT));
        listener.setMeddling(triggers, meddling, in.byte());
        break;
    }
    case 17:
        scene.addGizmo(in.byte());
        break;
    case 18:
        editObject(in, scene);
        break;
    case 19: // mid-drag too: the drag stops writing that object
        scene.reparentObject(in.byte() % FuzzScene::kObjects, in.byte());
        break;
    case 20:
        bridgeEvent(in, scene, view);
        break;
    case 21:
        snap(in, controller);
        break;
    default:
        runGizmoOperation(in, scene, operation - kViewOperations);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzScene scene;
    ByteReader in(data, size);
    for (int i = 0; i < kMaxOperations && !in.empty(); ++i) {
        runOperation(in, scene);
        scene.check();
    }
    for (int i = 0; i < FuzzScene::kViews; ++i) {
        scene.frame(i);
        scene.check();
    }
    return 0;
}
