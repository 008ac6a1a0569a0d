#include "ekExtendedDrag.h"
#include "ekExtendedDrags.h"
#include "ekHandleProbe.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <algorithm>
#include <cmath>

namespace ek {
namespace {

// The cursor's displacement is measured along the screen's diagonal up and
// to the right: outwards from the centre in the way the triangles face.
constexpr float kDiagonal = 0.70710678f;

// Scales each object uniformly about its own position by the factor the
// cursor's displacement since the press gives: 1 + d for d axis lengths up
// and right, 1 / (1 + d) for d axis lengths down and left.
class ekCenterScaleDrag final : public ekExtendedDrag {
public:
    explicit ekCenterScaleDrag(const std::vector<ek3DManipulatorMotionListener*>& listeners)
        : ekExtendedDrag(Kind::SCALE, listeners)
    {
    }

    ekGizmoHandle pick(const ekGizmoNode& gizmo, const ekDragInput& input,
                       float /*tolerance*/) const override
    {
        return ekHandleProbe(gizmo, input).insideUniformTriangle() ? ekGizmoHandle::CENTER
                                                                    : ekGizmoHandle::NONE;
    }

protected:
    bool start(const ekGizmoNode& gizmo, ekGizmoHandle /*handle*/, const ekDragInput& input) override
    {
        m_press = cursorPixel(input.position, input.width, input.height);
        m_unitPixels = gizmo.getExpectedPixelSize();
        return m_unitPixels > 0.0f && std::isfinite(m_unitPixels);
    }

    bool deltaAt(const ekDragInput& input, ekGenericTransformation<float>& delta) const override
    {
        const Wm4::Vector2<float> moved = cursorPixel(input.position, input.width, input.height) - m_press;
        const float d = (moved.X() + moved.Y()) * kDiagonal / m_unitPixels;
        float factor = d >= 0.0f ? 1.0f + d : 1.0f / (1.0f - d);
        const float step = steps().scale;
        if (step > 0.0f) {
            factor = std::max(step, std::round(factor / step) * step);
        }
        delta.SetUniformScale(factor);
        // Far enough inwards the factor underflows: such a scale could never
        // be dragged back.
        return keepsNormalScale(delta);
    }

private:
    Wm4::Vector2<float> m_press;
    float m_unitPixels = 1.0f;
};

} // namespace

std::unique_ptr<ekDrag> makeCenterScaleDrag(
    const std::vector<ek3DManipulatorMotionListener*>& listeners)
{
    return std::make_unique<ekCenterScaleDrag>(listeners);
}

} // namespace ek
