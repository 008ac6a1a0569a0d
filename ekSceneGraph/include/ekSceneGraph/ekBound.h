#pragma once

#include "ekGenericTransformation.h"

#include <Wm4/Wm4Vector3.h>

namespace ek {

// A bounding sphere. Radius 0 marks a bound that holds no geometry; it does
// not grow a merge.
class ekBound {
public:
    ekBound() = default;
    ekBound(const Wm4::Vector3<float>& center, float radius) : m_center(center), m_radius(radius) {}

    const Wm4::Vector3<float>& getCenter() const { return m_center; }
    float getRadius() const { return m_radius; }
    void setCenter(const Wm4::Vector3<float>& center) { m_center = center; }
    void setRadius(float radius) { m_radius = radius; }

    // Grows this sphere to hold other too; bounds of radius 0 are ignored.
    void growToContain(const ekBound& other);
    // This bound mapped through transform into out.
    void transformBy(const ekGenericTransformation<float>& transform, ekBound& out) const;

private:
    Wm4::Vector3<float> m_center;
    float m_radius = 0.0f;
};

} // namespace ek
