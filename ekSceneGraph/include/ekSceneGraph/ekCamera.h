#pragma once

#include "ekObject.h"

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <array>

namespace ek {

// A camera: a frame (location and three orthonormal directions, world
// space) and a view frustum given by its extents at the near plane
// (r along the right vector, u along the up vector) and its near and far
// distances d along the view direction.
//
// The view-projection matrix is in row-vector convention: a world point
// (x, y, z, 1) multiplied from the left gives clip coordinates (X, Y, Z, W);
// entries 12..14 carry the translation and 3, 7, 11, 15 produce W. X / W
// and Y / W run from -1 to 1 across the frustum; Z / W from 0 at the near
// plane to 1 at the far plane.
class ekCamera : public ekObject {
public:
    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // Perspective, at the origin looking down -Z with +Y up, a 90-degree
    // square frustum from 1 to 1000.
    ekCamera();

    // direction, up and right must be orthonormal and right-handed in the
    // sense right = direction x up.
    void setFrame(const Wm4::Vector3<float>& location, const Wm4::Vector3<float>& direction,
                  const Wm4::Vector3<float>& up, const Wm4::Vector3<float>& right);
    // A frame at eye looking at target, up as close to worldUp as allowed.
    // Returns false (frame unchanged) when target is at eye or straight
    // along worldUp.
    bool lookAt(const Wm4::Vector3<float>& eye, const Wm4::Vector3<float>& target,
                const Wm4::Vector3<float>& worldUp);

    void setFrustum(float rMin, float rMax, float uMin, float uMax, float dMin, float dMax);
    // A symmetric frustum of vertical field of view fovY (degrees) and
    // aspect ratio width / height.
    void setFrustum(float fovYDegrees, float aspect, float dMin, float dMax);
    void setPerspective(bool perspective);
    bool isPerspective() const { return m_perspective; }

    const Wm4::Vector3<float>& getLocation() const { return m_location; }
    const Wm4::Vector3<float>& getDVector() const { return m_direction; }
    const Wm4::Vector3<float>& getUVector() const { return m_up; }
    const Wm4::Vector3<float>& getRVector() const { return m_right; }
    float getRMin() const { return m_rMin; }
    float getRMax() const { return m_rMax; }
    float getUMin() const { return m_uMin; }
    float getUMax() const { return m_uMax; }
    float getDMin() const { return m_dMin; }
    float getDMax() const { return m_dMax; }

    const std::array<float, 16>& getViewProjectionMatrix() const { return m_viewProjection; }

    // The ray through the normalised viewport position (x, y), both 0..1,
    // y up. Perspective: from the location through that point of the near
    // plane (unit direction). Orthographic: from that point of the plane
    // through the location, along the view direction. The ray is computed
    // for any x, y; the result says whether they lie inside 0..1.
    bool getPickRay(float x, float y, Wm4::Vector3<float>& origin,
                    Wm4::Vector3<float>& direction) const;

    // The normalised viewport position (0..1, y up) of a world point, by
    // the view-projection matrix. False, with out untouched, for a point
    // with W <= 0 (at or behind the eye of a perspective camera).
    bool project(const Wm4::Vector3<float>& world, Wm4::Vector2<float>& out) const;

private:
    void updateViewProjection();

    Wm4::Vector3<float> m_location;
    Wm4::Vector3<float> m_direction;
    Wm4::Vector3<float> m_up;
    Wm4::Vector3<float> m_right;
    float m_rMin, m_rMax, m_uMin, m_uMax, m_dMin, m_dMax;
    bool m_perspective = true;
    std::array<float, 16> m_viewProjection{};
};

} // namespace ek
