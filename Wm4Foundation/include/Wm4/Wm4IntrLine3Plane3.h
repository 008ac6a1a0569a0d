#pragma once

#include "Wm4Line3.h"
#include "Wm4Plane3.h"

namespace Wm4 {

// Intersection of a line and a plane. Both are referenced, not copied: they
// must outlive the query.
template <class Real>
class IntrLine3Plane3 {
public:
    enum IntersectionType { IT_EMPTY, IT_POINT, IT_LINE };

    IntrLine3Plane3(const Line3<Real>& line, const Plane3<Real>& plane) : m_line(line), m_plane(plane) {}

    // True when the line meets the plane: in one point (GetLineT gives it)
    // or because it lies in the plane (GetLineT is 0). False only when the
    // line is parallel to the plane and off it.
    bool Find()
    {
        const Real dot = m_plane.Normal.Dot(m_line.Direction);
        const Real distance = m_plane.DistanceTo(m_line.Origin);
        if (Math<Real>::FAbs(dot) > Math<Real>::ZERO_TOLERANCE) {
            m_lineT = -distance / dot;
            m_type = IT_POINT;
            return true;
        }
        m_lineT = Real(0);
        m_type = Math<Real>::FAbs(distance) <= Math<Real>::ZERO_TOLERANCE ? IT_LINE : IT_EMPTY;
        return m_type != IT_EMPTY;
    }

    Real GetLineT() const { return m_lineT; }
    IntersectionType GetIntersectionType() const { return m_type; }
    const Line3<Real>& GetLine() const { return m_line; }
    const Plane3<Real>& GetPlane() const { return m_plane; }

private:
    const Line3<Real>& m_line;
    const Plane3<Real>& m_plane;
    Real m_lineT = Real(0);
    IntersectionType m_type = IT_EMPTY;
};

} // namespace Wm4
