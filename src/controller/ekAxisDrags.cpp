#include "ekAxisDrags.h"

#include <ek3DManipulation/ekGizmoNode.h>

namespace ek {
namespace {

// How each drag class names the steps of its drag.
struct TranslateSteps {
    using Drag = ekGizmoControllerTranslate;
    static float increment(const ekSnapSteps& steps) { return steps.translate; }
    static bool hover(Drag& d, ekGizmoNode& g, const ekDragInput& in, float tolerance)
    {
        return d.updateTranslateHover(&g, in.camera, in.position, tolerance, in.width, in.height);
    }
    static void press(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMousePressed(g, in.camera, in.position);
    }
    static void move(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMousePos(g, in.camera, in.position);
    }
    static void release(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMouseReleased(g, in.camera, in.position);
    }
};

struct RotateSteps {
    using Drag = ekGizmoControllerRotate;
    static float increment(const ekSnapSteps& steps) { return steps.rotateDegrees; }
    static bool hover(Drag& d, ekGizmoNode& g, const ekDragInput& in, float tolerance)
    {
        return d.updateRotateHover(&g, in.camera, in.position, tolerance, in.width, in.height);
    }
    static void press(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMousePressed(g, in.camera, in.position, in.width, in.height);
    }
    static void move(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMousePos(g, in.camera, in.position, in.width, in.height);
    }
    static void release(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMouseReleased(g, in.camera, in.position, in.width, in.height);
    }
};

// Scale handles are picked like arrows, by the TRANSLATE mask.
struct ScaleSteps {
    using Drag = ekGizmoControllerScale;
    static float increment(const ekSnapSteps& steps) { return steps.scale; }
    static bool hover(Drag& d, ekGizmoNode& g, const ekDragInput& in, float tolerance)
    {
        return d.updateScaleHover(&g, in.camera, in.position, tolerance, in.width, in.height);
    }
    static void press(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMouseScalePressed(g, in.camera, in.position);
    }
    static void move(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMouseScalePos(g, in.camera, in.position);
    }
    static void release(Drag& d, ekGizmoNode* g, const ekDragInput& in)
    {
        d.setMouseScaleReleased(g, in.camera, in.position);
    }
};

template <class Steps>
class ekAxisDrag final : public ekDrag {
public:
    explicit ekAxisDrag(typename Steps::Drag& drag) : m_drag(drag) {}

    ekGizmoHandle pick(const ekGizmoNode& gizmo, const ekDragInput& in,
                       float tolerance) const override
    {
        return handleOf(
            m_drag.pickHandle(&gizmo, in.camera, in.position, tolerance, in.width, in.height));
    }
    ekGizmoHandle hover(ekGizmoNode& gizmo, const ekDragInput& in, float tolerance) override
    {
        if (!Steps::hover(m_drag, gizmo, in, tolerance)) {
            return ekGizmoHandle::NONE;
        }
        // During a drag the selection is the dragged axis, not the hovered.
        return m_drag.isDragging() ? pick(gizmo, in, tolerance)
                                   : handleOf(m_drag.getSelectedAxis());
    }
    void begin(ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& in,
               const ekSnapSteps& steps) override
    {
        // The press ends a drag under way before it reads the selection, so
        // the selection must be made with none under way.
        m_drag.finishDrag();
        m_drag.selectHandle(&gizmo, axisOf(handle));
        m_drag.setSnapIncrement(Steps::increment(steps));
        Steps::press(m_drag, &gizmo, in);
    }
    void update(const ekDragInput& in) override
    {
        if (m_drag.isDragging()) {
            Steps::move(m_drag, m_drag.getPressedGizmo(), in);
        }
    }
    void end(const ekDragInput& in) override
    {
        if (m_drag.isDragging()) {
            Steps::release(m_drag, m_drag.getPressedGizmo(), in);
        }
    }
    void finish() override { m_drag.finishDrag(); }
    void cancel() override { m_drag.cancelDrag(); }
    void forget(const ekGizmoNode& gizmo) override { m_drag.forgetGizmo(&gizmo); }

    bool isDragging() const override { return m_drag.isDragging(); }
    ekGizmoNode* gizmo() const override { return m_drag.getPressedGizmo(); }
    ekGizmoHandle handle() const override
    {
        return m_drag.isDragging() ? handleOf(m_drag.getSelectedAxis()) : ekGizmoHandle::NONE;
    }
    const ekGenericTransformation<float>& delta() const override
    {
        return m_drag.getDeltaTransform();
    }

private:
    static ekGizmoHandle handleOf(int axis)
    {
        return axis >= 0 && axis < 3 ? static_cast<ekGizmoHandle>(axis) : ekGizmoHandle::NONE;
    }

    typename Steps::Drag& m_drag;
};

} // namespace

std::unique_ptr<ekDrag> makeTranslateDrag(ekGizmoControllerTranslate& drag)
{
    return std::make_unique<ekAxisDrag<TranslateSteps>>(drag);
}

std::unique_ptr<ekDrag> makeRotateDrag(ekGizmoControllerRotate& drag)
{
    return std::make_unique<ekAxisDrag<RotateSteps>>(drag);
}

std::unique_ptr<ekDrag> makeScaleDrag(ekGizmoControllerScale& drag)
{
    return std::make_unique<ekAxisDrag<ScaleSteps>>(drag);
}

} // namespace ek
