// What a gizmo costs to hold, and the gizmo-list rebuild over big scenes.
#include "allocationCounter.h"
#include "benchHandles.h"
#include "benchScene.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekEngineInterface.h>
#include <ekSceneGraph/ekNode.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using ek::ekGizmoNode;
using namespace ek_bench;

// Gizmos made to measure the heap one holds.
constexpr int kMeasuredGizmos = 64;
// Groups the spatials of the rebuild scene are spread over.
constexpr int kGroups = 100;
// Gizmos among them.
constexpr int kRebuildGizmos = 4;

// Making one gizmo node; the counters give the heap a gizmo holds once
// made ("gizmo_live_bytes") and all it requested on the way
// ("gizmo_alloc_bytes").
void BM_GizmoMemory(benchmark::State& state)
{
    ek::initialize3DManipulationLibrary();
    const std::uint64_t live = liveBytes();
    const std::uint64_t requested = allocatedBytes();
    {
        std::vector<ek::ekPointer<ekGizmoNode>> gizmos;
        gizmos.reserve(kMeasuredGizmos);
        const std::uint64_t liveAfterReserve = liveBytes();
        const std::uint64_t requestedAfterReserve = allocatedBytes();
        for (int i = 0; i < kMeasuredGizmos; ++i) {
            gizmos.emplace_back(new ekGizmoNode());
        }
        state.counters["gizmo_live_bytes"] =
            static_cast<double>(liveBytes() - liveAfterReserve) / kMeasuredGizmos;
        state.counters["gizmo_alloc_bytes"] =
            static_cast<double>(allocatedBytes() - requestedAfterReserve) / kMeasuredGizmos;
    }
    benchmark::DoNotOptimize(live + requested);
    for (auto _ : state) {
        ek::ekPointer<ekGizmoNode> gizmo(new ekGizmoNode());
        benchmark::DoNotOptimize(gizmo.get());
    }
    ek::terminate3DManipulationLibrary();
}
BENCHMARK(BM_GizmoMemory);

// The controller's gizmo-list rebuild after a structure change, in a scene
// of N spatials (kGroups groups of leaves, a few gizmos among them).
void BM_GizmoListRebuild(benchmark::State& state)
{
    const auto spatials = static_cast<int>(state.range(0));
    BenchView view;
    std::vector<ek::ekNode*> groups;
    for (int g = 0; g < kGroups; ++g) {
        groups.push_back(new ek::ekNode());
        view.root().attachChild(groups.back());
    }
    for (int i = 0; i < spatials - kGroups; ++i) {
        groups[static_cast<std::size_t>(i % kGroups)]->attachChild(new ek::ekNode());
    }
    for (int i = 0; i < kRebuildGizmos; ++i) {
        groups[static_cast<std::size_t>(i * kGroups / kRebuildGizmos)]->attachChild(new ekGizmoNode());
    }
    view.look(Wm4::Vector3<float>(0.0f, 0.0f, 30.0f), Wm4::Vector3<float>::ZERO);
    view.frame();
    ek::ekPointer<ek::ekNode> extra(new ek::ekNode());
    ek::ekGenericRenderingContext context(&view.engine());
    const auto rebuild = [&] {
        view.root().attachChild(extra);
        view.root().detachChild(extra);
        view.controller().updateController(&context);
    };
    runWarm(state, rebuild, 1);
    reportPer(state, "per_spatial", spatials);
    state.SetComplexityN(spatials);
}
// Past some 50,000 spatials the scene no longer fits the caches: the cost per
// spatial steps up once, then stays.
BENCHMARK(BM_GizmoListRebuild)->ArgName("spatials")->Arg(10000)->Arg(30000)->Arg(100000)->Arg(300000)
    ->Complexity(benchmark::oN);

} // namespace
