#include "ekSceneGraph/ekBound.h"

namespace ek {

void ekBound::growToContain(const ekBound& other)
{
    if (other.m_radius == 0.0f) {
        return;
    }
    if (m_radius == 0.0f) {
        *this = other;
        return;
    }
    const Wm4::Vector3<float> offset = other.m_center - m_center;
    const float distance = offset.Length();
    if (distance + other.m_radius <= m_radius) {
        return; // other lies inside
    }
    if (distance + m_radius <= other.m_radius) {
        *this = other; // this lies inside other
        return;
    }
    const float radius = 0.5f * (distance + m_radius + other.m_radius);
    // distance > 0 here: equal centres would have nested above.
    m_center += offset * ((radius - m_radius) / distance);
    m_radius = radius;
}

void ekBound::transformBy(const ekGenericTransformation<float>& transform, ekBound& out) const
{
    out.m_center = transform.ApplyForward(m_center, true);
    out.m_radius = m_radius * transform.GetNorm();
}

} // namespace ek
