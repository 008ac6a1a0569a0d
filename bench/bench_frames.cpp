// Frames of a view with many gizmos: hover, moving camera, idle; and the
// arithmetic floors of the hover tests, measured on the same scenes.
#include "benchFloors.h"
#include "benchHandles.h"
#include "benchScene.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <benchmark/benchmark.h>

namespace {

using ek::ekGizmoNode;
using namespace ek_bench;

// Arguments: gizmo count, mode.
void setUp(benchmark::internal::Benchmark* b, std::initializer_list<std::pair<int, ekGizmoNode::GizmoMode>> runs)
{
    for (const auto& run : runs) {
        b->Args({run.first, static_cast<long>(run.second)});
    }
    b->ArgNames({"gizmos", "mode"});
}

ekGizmoNode::GizmoMode modeOf(const benchmark::State& state)
{
    return static_cast<ekGizmoNode::GizmoMode>(state.range(1));
}

// A move that alternately enters and leaves a handle of the last gizmo,
// replayed by a frame: every gizmo is tested, one is highlighted and
// restored.
void BM_Hover(benchmark::State& state)
{
    GizmoGrid grid(static_cast<int>(state.range(0)), modeOf(state));
    const Pixel on = grid.pixelOf(grid.last(), handlePoint(modeOf(state)));
    const Pixel away = awayFrom(grid.pixelOf(grid.last(), Wm4::Vector3<float>::ZERO));
    if (!checkPress(state, grid, on, true) || !checkPress(state, grid, away, false)) {
        return;
    }
    bool onHandle = false;
    const auto hover = [&] {
        onHandle = !onHandle;
        grid.move(onHandle ? on : away);
        grid.frame();
    };
    runWarm(state, hover);
    reportPer(state, "per_gizmo", grid.count());
}
BENCHMARK(BM_Hover)->Apply([](benchmark::internal::Benchmark* b) {
    setUp(b, {{1, ekGizmoNode::ROTATE}, {1000, ekGizmoNode::ROTATE}, {1000, ekGizmoNode::SCALE},
              {1000, ekGizmoNode::TRANSLATE}});
});

// The camera steps between two close positions at every frame: every
// gizmo is laid out anew. The cursor rests on a handle of the last gizmo
// (mouse 0: no input, as a parked mouse sends none) or is moved there at
// every frame (mouse 1: every gizmo is also tested).
void BM_MovingCamera(benchmark::State& state)
{
    GizmoGrid grid(static_cast<int>(state.range(0)), modeOf(state));
    const bool moving = state.range(2) != 0;
    if (state.range(3) != 0) {
        grid.enableEverything();
    }
    Pixel on[2];
    for (int pose : {1, 0}) {
        grid.setPose(pose);
        grid.frame();
        on[pose] = grid.pixelOf(grid.last(), handlePoint(modeOf(state)));
        if (!checkPress(state, grid, on[pose], true)) {
            return;
        }
    }
    int pose = 0;
    const auto step = [&] {
        pose = 1 - pose;
        grid.setPose(pose);
        if (moving) {
            grid.move(on[pose]);
        }
        grid.frame();
    };
    runWarm(state, step);
    reportPer(state, "per_gizmo", grid.count());
}
// everything 1: every opt-in feature enabled (GizmoGrid::enableEverything).
BENCHMARK(BM_MovingCamera)->ArgNames({"gizmos", "mode", "mouse", "everything"})
    ->Args({1000, ekGizmoNode::TRANSLATE, 0, 0})->Args({1000, ekGizmoNode::TRANSLATE, 0, 1})
    ->Args({1000, ekGizmoNode::ROTATE, 0, 0})->Args({1000, ekGizmoNode::ROTATE, 0, 1})
    ->Args({1000, ekGizmoNode::SCALE, 0, 0})->Args({1000, ekGizmoNode::SCALE, 0, 1})
    ->Args({1000, ekGizmoNode::ROTATE, 1, 0})->Args({1000, ekGizmoNode::ROTATE, 1, 1});

// A frame with no input and a fixed camera; N = 1 is the frame's fixed cost.
void BM_IdleFrame(benchmark::State& state)
{
    GizmoGrid grid(static_cast<int>(state.range(0)), modeOf(state));
    runWarm(state, [&grid] { benchmark::DoNotOptimize(grid.engine().frame().data()); });
    reportPer(state, "per_gizmo", grid.count());
}
BENCHMARK(BM_IdleFrame)->Apply([](benchmark::internal::Benchmark* b) {
    setUp(b, {{1, ekGizmoNode::TRANSLATE}, {1000, ekGizmoNode::TRANSLATE}, {1000, ekGizmoNode::ROTATE}});
});

// The floor of a hover or moving-camera frame: each gizmo's handle points
// projected with one composed matrix, and every segment measured.
void BM_HoverFloor(benchmark::State& state)
{
    const ekGizmoNode::GizmoMode mode = modeOf(state);
    GizmoGrid grid(static_cast<int>(state.range(0)), mode);
    const Pixel on = grid.pixelOf(grid.last(), handlePoint(mode));
    const Wm4::Vector2<float> cursor(static_cast<float>(on.x) + 0.5f,
                                     static_cast<float>(GizmoGrid::kHeight - on.y) - 0.5f);
    const CircleSamples samples = makeCircleSamples();
    for (auto _ : state) {
        float nearest = 1e30f;
        for (int i = 0; i < grid.count(); ++i) {
            const ScreenMap map = composeScreenMap(grid.camera(), grid.gizmo(i).getWorldTransform(),
                                                   GizmoGrid::kWidth, GizmoGrid::kHeight);
            const float d = mode == ekGizmoNode::ROTATE ? rotateHoverFloor(map, samples, cursor)
                                                        : arrowHoverFloor(map, cursor);
            nearest = d < nearest ? d : nearest;
        }
        benchmark::DoNotOptimize(nearest);
    }
    reportPer(state, "per_gizmo", grid.count());
}
BENCHMARK(BM_HoverFloor)->Apply([](benchmark::internal::Benchmark* b) {
    setUp(b, {{1, ekGizmoNode::ROTATE}, {1000, ekGizmoNode::ROTATE}, {1000, ekGizmoNode::TRANSLATE}});
});

// The floor of a moving-camera frame without input: each gizmo placed at
// its object with its size on screen, and its shown lines redrawn.
void BM_MovingCameraFloor(benchmark::State& state)
{
    GizmoGrid grid(static_cast<int>(state.range(0)), modeOf(state));
    const ShownLines lines = shownLinesOf(grid.last());
    std::vector<Wm4::Vector3<float>> drawn(lines.vertices.size() * static_cast<std::size_t>(grid.count()));
    const float pixelSize = grid.last().getExpectedPixelSize();
    int pose = 0;
    for (auto _ : state) {
        pose = 1 - pose;
        grid.setPose(pose);
        const ek::ekCamera& camera = grid.camera();
        const float perDepth = (camera.getUMax() - camera.getUMin()) / static_cast<float>(GizmoGrid::kHeight)
            * pixelSize / camera.getDMin();
        Wm4::Vector3<float>* out = drawn.data();
        for (int i = 0; i < grid.count(); ++i) {
            const Wm4::Vector3<float>& centre =
                grid.gizmo(i).getReferenceObjects().front()->getWorldTransform().GetTranslate();
            const float scale = perDepth * (centre - camera.getLocation()).Dot(camera.getDVector());
            redrawFloor(lines, centre, scale, out);
            out += lines.vertices.size();
        }
        benchmark::DoNotOptimize(drawn.data());
        benchmark::ClobberMemory();
    }
    reportPer(state, "per_gizmo", grid.count());
}
BENCHMARK(BM_MovingCameraFloor)->Apply([](benchmark::internal::Benchmark* b) {
    setUp(b, {{1000, ekGizmoNode::TRANSLATE}, {1000, ekGizmoNode::ROTATE}, {1000, ekGizmoNode::SCALE}});
});

} // namespace
