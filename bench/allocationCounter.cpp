#include "allocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::uint64_t> g_count{0};
std::atomic<std::uint64_t> g_bytes{0};
std::atomic<std::uint64_t> g_freed{0};

// Each block starts with its requested size, so that a free can be
// counted; the header keeps the block's default alignment.
constexpr std::size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

void* countedAllocation(std::size_t size)
{
    void* block = std::malloc(kHeader + size);
    if (block == nullptr) {
        return nullptr;
    }
    g_count.fetch_add(1, std::memory_order_relaxed);
    g_bytes.fetch_add(size, std::memory_order_relaxed);
    *static_cast<std::size_t*>(block) = size;
    return static_cast<char*>(block) + kHeader;
}

void countedFree(void* p)
{
    if (p == nullptr) {
        return;
    }
    void* block = static_cast<char*>(p) - kHeader;
    g_freed.fetch_add(*static_cast<std::size_t*>(block), std::memory_order_relaxed);
    std::free(block);
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

std::uint64_t liveBytes()
{
    return g_bytes.load(std::memory_order_relaxed) - g_freed.load(std::memory_order_relaxed);
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
    countedFree(p);
}

void operator delete[](void* p) noexcept
{
    countedFree(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    countedFree(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    countedFree(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    countedFree(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    countedFree(p);
}
