#include <ek3DManipulation/ek3DManipulationVersion.h>

#include "ek3DManipulationBuildVersion.h"

namespace ek3DManipulation {

// The flag of the text getters picks between two spellings that read the
// same in this build.

unsigned int Version::GetMajor()
{
    return build::kMajor;
}

unsigned int Version::GetMinor()
{
    return build::kMinor;
}

unsigned int Version::GetRelease()
{
    return build::kRelease;
}

unsigned int Version::GetRevision()
{
    return build::kRevision;
}

unsigned short Version::GetYear()
{
    return build::kYear;
}

unsigned char Version::GetMonth()
{
    return build::kMonth;
}

const char* Version::GetDescStringMajorMinor(bool /*second*/)
{
    return build::kMajorMinor;
}

const char* Version::GetDescStringMajorMinorRelease(bool /*second*/)
{
    return build::kMajorMinorRelease;
}

const char* Version::GetDescStringMajorMinorReleaseRevision(bool /*second*/)
{
    return build::kMajorMinorReleaseRevision;
}

const char* Version::GetDescStringMajorMinorReleaseRevisionDate()
{
    return build::kMajorMinorReleaseRevisionDate;
}

} // namespace ek3DManipulation
