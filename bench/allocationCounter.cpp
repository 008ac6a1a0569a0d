#include "allocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> g_count{0};
std::atomic<std::uint64_t> g_bytes{0};

void* countedAllocation(std::size_t size)
{
    g_count.fetch_add(1, std::memory_order_relaxed);
    g_bytes.fetch_add(size, std::memory_order_relaxed);
    // malloc(0) may return null; operator new must not.
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

namespace ek_bench {

std::uint64_t allocationCount()
{
    return g_count.load(std::memory_order_relaxed);
}

std::uint64_t allocatedBytes()
{
    return g_bytes.load(std::memory_order_relaxed);
}

} // namespace ek_bench

void* operator new(std::size_t size)
{
    if (void* p = countedAllocation(size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
