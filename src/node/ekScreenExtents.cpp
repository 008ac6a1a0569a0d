#include "ekScreenExtents.h"

#include "ekUnitAxes.h"

#include <ekSceneGraph/ekCamera.h>

#include <Wm4/Wm4Vector2.h>

#include <cmath>
#include <limits>

namespace ek {

namespace {

// Pixels above the threshold that a faded handle's extent must reach before
// it shows again: a camera that jitters about the threshold would otherwise
// flicker the handle, and make the engine lay out its drawn lines anew at
// every frame.
constexpr float kFadeHysteresis = 2.0f;

// Where world points show, in pixels from the centre of the view, with the
// camera's vertical pixel size in both directions.
class ScreenMap {
public:
    ScreenMap(const ekCamera& camera, int viewportHeight)
        : m_camera(camera),
          m_pixelsPerUnit(static_cast<float>(viewportHeight) / (camera.getUMax() - camera.getUMin()))
    {
    }

    Wm4::Vector2<float> operator()(const Wm4::Vector3<float>& point) const
    {
        const Wm4::Vector3<float> fromEye = point - m_camera.getLocation();
        float perUnit = m_pixelsPerUnit;
        if (m_camera.isPerspective()) {
            const float depth = fromEye.Dot(m_camera.getDVector());
            // Behind the eye a point projects mirrored: it has no extent.
            if (!(depth > 0.0f)) {
                return {std::numeric_limits<float>::quiet_NaN(), 0.0f};
            }
            perUnit *= m_camera.getDMin() / depth;
        }
        return {fromEye.Dot(m_camera.getRVector()) * perUnit, fromEye.Dot(m_camera.getUVector()) * perUnit};
    }

private:
    const ekCamera& m_camera;
    float m_pixelsPerUnit;
};

// The smaller half-axis of the ellipse that the unit disc spanned by a and
// b (screen images of two axes) shows as: the smaller singular value of the
// matrix with columns a and b.
float narrowHalfWidth(const Wm4::Vector2<float>& a, const Wm4::Vector2<float>& b)
{
    const float sum = a.Dot(a) + b.Dot(b);
    const float area = std::fabs(a.X() * b.Y() - a.Y() * b.X());
    const float wide = std::sqrt(0.5f * (sum + std::sqrt(std::fmax(sum * sum - 4.0f * area * area, 0.0f))));
    // Both images of zero length: a point. NaN (an end behind the eye) stays.
    return wide == 0.0f ? 0.0f : area / wide;
}

} // namespace

ekScreenExtents measureOnScreen(const ekGenericTransformation<float>& gizmoWorld,
                                const ekCamera& camera, int viewportHeight)
{
    const ScreenMap toScreen(camera, viewportHeight);
    const Wm4::Vector2<float> centre = toScreen(gizmoWorld.GetTranslate());
    std::array<Wm4::Vector2<float>, 3> axes;
    ekScreenExtents extents{};
    for (unsigned int axis = 0; axis < 3; ++axis) {
        axes[axis] = toScreen(gizmoWorld.ApplyForward(unitAxis(axis), true)) - centre;
        extents.axes[axis] = axes[axis].Length();
    }
    for (unsigned int axis = 0; axis < 3; ++axis) {
        extents.planes[axis] = narrowHalfWidth(axes[(axis + 1) % 3], axes[(axis + 2) % 3]);
    }
    return extents;
}

unsigned char fadedOf(const std::array<float, 3>& extents, float threshold, unsigned char fadedBefore)
{
    unsigned int mask = 0;
    for (unsigned int axis = 0; axis < 3; ++axis) {
        const bool wasFaded = ((fadedBefore >> axis) & 1u) != 0;
        if (extents[axis] < threshold + (wasFaded ? kFadeHysteresis : 0.0f)) {
            mask |= 1u << axis;
        }
    }
    return static_cast<unsigned char>(mask);
}

} // namespace ek
