#include <ek3DManipulation/ek3DManipulationVersion.h>

namespace ek3DManipulation {

namespace {

// Each text comes as a pair chosen by the getter's flag (false: first,
// true: second); both read the same in this build.
const char* const kMajorMinor[2] = {"3.0", "3.0"};
const char* const kMajorMinorRelease[2] = {"3.0.0", "3.0.0"};
const char* const kMajorMinorReleaseRevision[2] = {"3.0.0.13", "3.0.0.13"};
const char* const kMajorMinorReleaseRevisionDate = "3.0.0.13 2024-1";

const char* pick(const char* const (&pair)[2], bool second)
{
    return pair[second ? 1 : 0];
}

} // namespace

unsigned int Version::GetMajor()
{
    return 3;
}

unsigned int Version::GetMinor()
{
    return 0;
}

unsigned int Version::GetRelease()
{
    return 0;
}

unsigned int Version::GetRevision()
{
    return 13;
}

unsigned short Version::GetYear()
{
    return 2024;
}

unsigned char Version::GetMonth()
{
    return 1;
}

const char* Version::GetDescStringMajorMinor(bool second)
{
    return pick(kMajorMinor, second);
}

const char* Version::GetDescStringMajorMinorRelease(bool second)
{
    return pick(kMajorMinorRelease, second);
}

const char* Version::GetDescStringMajorMinorReleaseRevision(bool second)
{
    return pick(kMajorMinorReleaseRevision, second);
}

const char* Version::GetDescStringMajorMinorReleaseRevisionDate()
{
    return kMajorMinorReleaseRevisionDate;
}

} // namespace ek3DManipulation
