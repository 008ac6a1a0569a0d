#include "fuzzCheck.h"

#include <Wm4/Wm4Vector3.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace ek_fuzz {

bool isFinite(const ek::ekGenericTransformation<float>& t)
{
    // x * 0 is zero for a finite x and NaN otherwise, so one sum tells
    // whether every entry is finite, without a branch per entry. It runs
    // after every operation, so it also skips building GetMatrix().
    float zeros = 0.0f;
    const float* const linear = t.GetRotate().Entries();
    const Wm4::Vector3<float>& scale = t.GetScale();
    for (int i = 0; i < 9; ++i) {
        // The entry of the whole matrix too (R * S of a rotation-scale
        // transformation), which a huge scale can overflow on its own.
        const float whole = t.IsRSMatrix() ? linear[i] * scale[i % 3] : linear[i];
        zeros += linear[i] * 0.0f + whole * 0.0f;
    }
    for (int i = 0; i < 3; ++i) {
        zeros += scale[i] * 0.0f + t.GetTranslate()[i] * 0.0f;
    }
    return zeros == 0.0f;
}

void fail(const char* format, ...)
{
    std::fputs("fuzz_controller_input: ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::abort();
}

} // namespace ek_fuzz
