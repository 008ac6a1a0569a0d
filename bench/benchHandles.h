#pragma once

#include "allocationCounter.h"
#include "benchScene.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <benchmark/benchmark.h>

#include <Wm4/Wm4Vector3.h>

#include <cmath>

namespace ek_bench {

// Points of a gizmo's own frame that lie on a handle of each mode: the X
// arrow (translate and scale) and the Z circle (rotate).
inline Wm4::Vector3<float> handlePoint(ek::ekGizmoNode::GizmoMode mode)
{
    if (mode == ek::ekGizmoNode::ROTATE) {
        const float diagonal = std::sqrt(0.5f);
        return {diagonal, diagonal, 0.0f};
    }
    return {0.7f, 0.0f, 0.0f};
}

// A pixel well away from the handles of the gizmo whose centre is at centre
// (and, in a grid, from its neighbours').
inline Pixel awayFrom(const Pixel& centre)
{
    return {centre.x + 150, centre.y + 120};
}

// Stops the benchmark unless a press at p answers `expected` (on a handle
// or not): the numbers would then measure another path.
inline bool checkPress(benchmark::State& state, BenchView& view, const Pixel& p, bool expected)
{
    const bool hit = view.press(p);
    view.controller().clearControllerEvents();
    if (hit != expected) {
        state.SkipWithError(expected ? "the cursor misses the handle" : "the cursor hits a handle");
    }
    return hit == expected;
}

// Runs step warmUps times, then once per iteration of the timed loop,
// whose allocations it reports (see AllocationScope).
template <class Step>
void runWarm(benchmark::State& state, Step&& step, int warmUps = 2)
{
    for (int i = 0; i < warmUps; ++i) {
        step();
    }
    AllocationScope allocations;
    for (auto _ : state) {
        step();
    }
    allocations.report(state);
}

// Reports the iteration time divided by count as the counter `name`.
inline void reportPer(benchmark::State& state, const char* name, int count)
{
    state.counters[name] = benchmark::Counter(static_cast<double>(count),
                                              benchmark::Counter::kIsIterationInvariantRate
                                                  | benchmark::Counter::kInvert);
}

} // namespace ek_bench
