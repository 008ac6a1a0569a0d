#pragma once

#include <ekSceneGraph/ekGenericTransformation.h>

namespace ek_fuzz {

// Whether every rotation, scale, matrix and translation entry is finite.
bool isFinite(const ek::ekGenericTransformation<float>& t);

// Reports a broken invariant on stderr and aborts, so that libFuzzer keeps
// the input that broke it.
[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace ek_fuzz
