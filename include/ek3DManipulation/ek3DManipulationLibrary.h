#pragma once

#include "ek3DManipulationExport.h"

namespace ek {

/// Starts the library: registers its overlay analysis with the engine's 2D
/// primitives pass. Calls nest; only the first registers. Not thread-safe:
/// start-up and shut-down must not run concurrently.
EK3DMANIPULATION_API void initialize3DManipulationLibrary();

/// Ends one start-up; the last one unregisters the analysis. A call without
/// a matching start-up does nothing.
EK3DMANIPULATION_API void terminate3DManipulationLibrary();

} // namespace ek
