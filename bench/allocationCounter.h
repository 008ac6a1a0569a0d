#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace ek_bench {

// Heap allocations made through operator new since the program started.
// The executable replaces the global operator new to count them.
std::uint64_t allocationCount();
// Bytes requested by those allocations.
std::uint64_t allocatedBytes();
// Bytes requested by the allocations not yet freed.
std::uint64_t liveBytes();

// Counts the allocations of a benchmark's timed loop and reports them per
// iteration as the counters "allocs_per_iter" and "bytes_per_iter".
class AllocationScope {
public:
    AllocationScope() : m_count(allocationCount()), m_bytes(allocatedBytes()) {}

    void report(benchmark::State& state) const
    {
        // Read both before the counter map grows: its nodes are allocations too.
        const auto count = static_cast<double>(allocationCount() - m_count);
        const auto bytes = static_cast<double>(allocatedBytes() - m_bytes);
        state.counters["allocs_per_iter"] = benchmark::Counter(count, benchmark::Counter::kAvgIterations);
        state.counters["bytes_per_iter"] = benchmark::Counter(bytes, benchmark::Counter::kAvgIterations);
    }

private:
    std::uint64_t m_count;
    std::uint64_t m_bytes;
};

} // namespace ek_bench
