#include "ClipPoint.h"

namespace ek::viewer {
namespace {

ClipPoint lerp(const ClipPoint& a, const ClipPoint& b, float t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t};
}

// Keeps the part of a-b on the positive side of one plane, given the
// signed distances of the ends; false when nothing is left.
bool clipTo(ClipPoint& a, ClipPoint& b, float da, float db)
{
    if (da < 0.0f && db < 0.0f) {
        return false;
    }
    if (da < 0.0f) {
        a = lerp(a, b, da / (da - db));
    } else if (db < 0.0f) {
        b = lerp(b, a, db / (db - da));
    }
    return true;
}

} // namespace

bool clipSegment(ClipPoint& a, ClipPoint& b)
{
    return clipTo(a, b, a.z, b.z) && clipTo(a, b, a.w - a.z, b.w - b.z);
}

} // namespace ek::viewer
