#pragma once

#include "ek3DManipulationExport.h"

namespace ek3DManipulation {

// The version of this build of the library. The strings are static, owned
// by the library and valid while it is loaded.
struct EK3DMANIPULATION_API Version {
    static unsigned int GetMajor();
    static unsigned int GetMinor();
    static unsigned int GetRelease();
    static unsigned int GetRevision();
    static unsigned short GetYear();
    static unsigned char GetMonth();
    // "3.0"; both values of the flag give the same text in this build.
    static const char* GetDescStringMajorMinor(bool second);
    // "3.0.0"
    static const char* GetDescStringMajorMinorRelease(bool second);
    // "3.0.0.13"
    static const char* GetDescStringMajorMinorReleaseRevision(bool second);
    // "3.0.0.13 2024-1": the month without a leading zero.
    static const char* GetDescStringMajorMinorReleaseRevisionDate();
};

} // namespace ek3DManipulation
