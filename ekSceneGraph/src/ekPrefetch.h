#pragma once

#include <cstddef>

namespace ek {

// How many spatials ahead a walk asks for.
constexpr std::size_t kPrefetchAhead = 4;

// Asks for the first lines (64 bytes each) of an object that a walk is
// about to read. The walks over children and pending lists wait on memory
// far more than they compute: a scene larger than the cache misses on
// every spatial, and asking early lets those misses overlap.
inline void prefetchObject(const void* object, int lines)
{
#if defined(__GNUC__)
    for (int line = 0; line < lines; ++line) {
        __builtin_prefetch(static_cast<const char*>(object) + 64 * line);
    }
#else
    (void)object;
    (void)lines;
#endif
}

} // namespace ek
