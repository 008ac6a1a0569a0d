// Drags of many objects under one gizmo, and their arithmetic floor.
#include "benchHandles.h"
#include "benchScene.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using ek::ekGizmoNode;
using namespace ek_bench;

// Queued moves between two frames in the queued-moves benchmark.
constexpr int kQueuedMoves = 64;

// The two cursor positions a drag alternates between, in the gizmo's own
// frame: further out along the X arrow, or further round the Z circle.
std::array<Wm4::Vector3<float>, 2> dragTargets(ekGizmoNode::GizmoMode mode)
{
    if (mode == ekGizmoNode::ROTATE) {
        const float a = 1.4f;
        const float b = 2.1f;
        return {{{std::cos(a), std::sin(a), 0.0f}, {std::cos(b), std::sin(b), 0.0f}}};
    }
    return {{{0.9f, 0.0f, 0.0f}, {1.1f, 0.0f, 0.0f}}};
}

// A scene of objects under one gizmo, pressed on a handle, with the two
// pixels its moves alternate between. False (benchmark skipped) when the
// press misses.
bool startDrag(benchmark::State& state, DragScene& scene, ekGizmoNode::GizmoMode mode,
               std::array<Pixel, 2>& targets)
{
    const Pixel press = scene.pixelOf(scene.gizmo(), handlePoint(mode));
    const std::array<Wm4::Vector3<float>, 2> points = dragTargets(mode);
    for (std::size_t i = 0; i < 2; ++i) {
        targets[i] = scene.pixelOf(scene.gizmo(), points[i]);
    }
    if (!scene.press(press)) {
        state.SkipWithError("the press misses the handle");
        return false;
    }
    scene.frame();
    return true;
}

// One move of a drag over N objects, replayed by a frame; reported per
// object moved.
void BM_Drag(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    const auto mode = static_cast<ekGizmoNode::GizmoMode>(state.range(1));
    DragScene scene(count, mode);
    std::array<Pixel, 2> targets;
    if (!startDrag(state, scene, mode, targets)) {
        return;
    }
    std::size_t next = 0;
    const auto step = [&] {
        next = 1 - next;
        scene.move(targets[next]);
        scene.frame();
    };
    runWarm(state, step);
    reportPer(state, "per_object", count);
}
BENCHMARK(BM_Drag)->ArgNames({"objects", "mode"})->ArgsProduct(
    {{100, 1000, 10000}, {ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE}});

// 64 moves queued between two frames of a translate drag of 100 objects.
void BM_QueuedMoves(benchmark::State& state)
{
    DragScene scene(100, ekGizmoNode::TRANSLATE);
    std::array<Pixel, 2> targets;
    if (!startDrag(state, scene, ekGizmoNode::TRANSLATE, targets)) {
        return;
    }
    const auto step = [&] {
        for (int i = 0; i < kQueuedMoves; ++i) {
            scene.move(targets[static_cast<std::size_t>(i % 2)]);
        }
        scene.frame();
    };
    runWarm(state, step, 1);
}
BENCHMARK(BM_QueuedMoves);

// An affine transformation as a 3x4 matrix, rows first.
using Affine = std::array<float, 12>;

// a after b.
void compose(const Affine& a, const Affine& b, Affine& out)
{
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = c == 3 ? a[static_cast<std::size_t>(4 * r + 3)] : 0.0f;
            for (int k = 0; k < 3; ++k) {
                sum += a[static_cast<std::size_t>(4 * r + k)] * b[static_cast<std::size_t>(4 * k + c)];
            }
            out[static_cast<std::size_t>(4 * r + c)] = sum;
        }
    }
}

// The floor of a drag move: each object's new world transform, the delta
// after its transform at the press.
void BM_DragFloor(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<Affine> originals(count, Affine{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});
    std::vector<Affine> moved(count);
    Affine delta{0.8f, -0.6f, 0, 1, 0.6f, 0.8f, 0, 2, 0, 0, 1, 3};
    for (auto _ : state) {
        delta[3] += 1.0f;
        for (std::size_t i = 0; i < count; ++i) {
            compose(delta, originals[i], moved[i]);
        }
        benchmark::DoNotOptimize(moved.data());
        benchmark::ClobberMemory();
    }
    reportPer(state, "per_object", static_cast<int>(count));
}
BENCHMARK(BM_DragFloor)->ArgName("objects")->Arg(100)->Arg(1000)->Arg(10000);

} // namespace
