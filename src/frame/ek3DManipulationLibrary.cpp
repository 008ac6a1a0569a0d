#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include "ek3DManipulatorFunctor.h"

#include <ekSceneGraph/ek2DPrimitivesPass.h>

#include <cstdint>

namespace ek {

namespace {

// Start-ups not yet matched by a shut-down. Start-up and shut-down run on
// one thread, so a plain count is enough.
std::uint32_t g_initCount = 0;

} // namespace

void initialize3DManipulationLibrary()
{
    if (g_initCount++ == 0) {
        ek2DPrimitivesPass::RegisterAnalyseFunction(analyse3DManipulators);
    }
}

void terminate3DManipulationLibrary()
{
    // An unmatched shut-down would wrap the count and keep the next
    // start-up from registering.
    if (g_initCount == 0) {
        return;
    }
    if (--g_initCount == 0) {
        ek2DPrimitivesPass::UnregisterAnalyseFunction(analyse3DManipulators);
    }
}

} // namespace ek
