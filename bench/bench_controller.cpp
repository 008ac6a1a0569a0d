#include "allocationCounter.h"
#include "benchScene.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <Wm4/Wm4Vector3.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

namespace {

using ek::ekGizmoNode;
using ek_bench::AllocationScope;
using ek_bench::BenchScene;
using ek_bench::Pixel;

// How far from a gizmo's centre the cursor rests when it is on no handle,
// in pixels: well outside the 60-pixel axes and circles.
constexpr int kAwayX = 150;
constexpr int kAwayY = 120;
// Moves between the press and the release of one drag.
constexpr int kDragMoves = 100;

Pixel awayFrom(const BenchScene& scene, int gizmo)
{
    const Pixel centre = scene.pixelOf(scene.gizmo(gizmo), Wm4::Vector3<float>::ZERO);
    return {centre.x + kAwayX, centre.y + kAwayY};
}

// Stops the benchmark when the scene does not put a handle under on: the
// numbers would then measure a miss.
bool checkOnHandle(benchmark::State& state, BenchScene& scene, const Pixel& on)
{
    const bool hit = scene.press(on);
    scene.controller().clearControllerEvents();
    if (!hit) {
        state.SkipWithError("the cursor misses the handle");
    }
    return hit;
}

// One engine frame with every gizmo laid out and no input.
void BM_FrameWithGizmos(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    const std::uint64_t bytesBefore = ek_bench::allocatedBytes();
    BenchScene scene(count, ekGizmoNode::TRANSLATE);
    const std::uint64_t sceneBytes = ek_bench::allocatedBytes() - bytesBefore;
    scene.frame();
    AllocationScope allocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.engine().frame().data());
    }
    allocations.report(state);
    state.counters["scene_bytes_per_gizmo"] = static_cast<double>(sceneBytes) / count;
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_FrameWithGizmos)->Arg(1)->Arg(16)->Arg(128);

// A move that alternately enters and leaves a handle, replayed by a frame.
void hoverBenchmark(benchmark::State& state, ekGizmoNode::GizmoMode mode, const Wm4::Vector3<float>& handle)
{
    BenchScene scene(1, mode);
    const Pixel on = scene.pixelOf(scene.gizmo(0), handle);
    const Pixel away = awayFrom(scene, 0);
    if (!checkOnHandle(state, scene, on)) {
        return;
    }
    bool onHandle = false;
    const auto hover = [&] {
        onHandle = !onHandle;
        scene.move(onHandle ? on : away);
        scene.frame();
    };
    hover();
    hover();
    AllocationScope allocations;
    for (auto _ : state) {
        hover();
    }
    allocations.report(state);
}

void BM_TranslateHover(benchmark::State& state)
{
    hoverBenchmark(state, ekGizmoNode::TRANSLATE, Wm4::Vector3<float>(0.7f, 0.0f, 0.0f));
}
BENCHMARK(BM_TranslateHover);

// 40 samples on each of 3 circles are measured per hover.
void BM_RotateHover(benchmark::State& state)
{
    const float diagonal = std::sqrt(0.5f);
    hoverBenchmark(state, ekGizmoNode::ROTATE, Wm4::Vector3<float>(diagonal, diagonal, 0.0f));
}
BENCHMARK(BM_RotateHover);

// Press on the X arrow, 100 moves out along it and back, release, frame.
// The drag ends where it began, so every iteration starts alike.
void BM_TranslateDrag(benchmark::State& state)
{
    BenchScene scene(1, ekGizmoNode::TRANSLATE);
    const Pixel press = scene.pixelOf(scene.gizmo(0), Wm4::Vector3<float>(0.7f, 0.0f, 0.0f));
    if (!checkOnHandle(state, scene, press)) {
        return;
    }
    const auto drag = [&] {
        scene.press(press);
        for (int i = 1; i <= kDragMoves; ++i) {
            const int offset = kDragMoves / 2 - std::abs(i - kDragMoves / 2);
            scene.move({press.x + offset, press.y});
        }
        scene.release(press);
        scene.frame();
    };
    drag();
    AllocationScope allocations;
    for (auto _ : state) {
        drag();
    }
    allocations.report(state);
    state.SetItemsProcessed(state.iterations() * (kDragMoves + 2));
}
BENCHMARK(BM_TranslateDrag);

} // namespace
