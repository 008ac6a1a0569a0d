#pragma once

#include "ek3DManipulationExport.h"

namespace ek3DManipulation {

/// The version of this build of the library. The strings are static, owned
/// by the library and valid while it is loaded.
struct EK3DMANIPULATION_API Version {
    /// The first of major.minor.release.revision; it changes when the
    /// library's binary interface does (the shared library's SOVERSION).
    static unsigned int GetMajor();
    /// The second number: features added compatibly.
    static unsigned int GetMinor();
    /// The third number: fixes.
    static unsigned int GetRelease();
    /// The fourth number: the build's revision.
    static unsigned int GetRevision();
    /// The year of the release, four digits.
    static unsigned short GetYear();
    /// The month of the release, 1 to 12.
    static unsigned char GetMonth();
    /// "3.0"; both values of the flag give the same text in this build.
    static const char* GetDescStringMajorMinor(bool second);
    /// "3.0.0"
    static const char* GetDescStringMajorMinorRelease(bool second);
    /// "3.0.0.13"
    static const char* GetDescStringMajorMinorReleaseRevision(bool second);
    /// "3.0.0.13 2024-1": the month without a leading zero.
    static const char* GetDescStringMajorMinorReleaseRevisionDate();
};

} // namespace ek3DManipulation
