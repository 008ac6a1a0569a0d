#include "ekDragDispatch.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <algorithm>

namespace ek {

// One step of a drag (press, move or release) as each drag class names it.
struct ekDragDispatch::Step {
    void (ekGizmoControllerTranslate::*translate)(ekGizmoNode*, const ekCamera*,
                                                  const Wm4::Vector2<float>&);
    void (ekGizmoControllerRotate::*rotate)(ekGizmoNode*, const ekCamera*,
                                            const Wm4::Vector2<float>&, int, int);
    void (ekGizmoControllerScale::*scale)(ekGizmoNode*, const ekCamera*,
                                          const Wm4::Vector2<float>&);
};

ekDragDispatch::ekDragDispatch(ekGizmoControllerTranslate& translate,
                               ekGizmoControllerRotate& rotate, ekGizmoControllerScale& scale)
    : m_translate(translate), m_rotate(rotate), m_scale(scale)
{
}

bool ekDragDispatch::showsHandles(const ekGizmoNode* gizmo)
{
    return gizmo != nullptr && gizmo->getMode() < ekGizmoNode::NONE;
}

bool ekDragDispatch::hover(ekGizmoNode* gizmo, const ekCamera* camera,
                           const Wm4::Vector2<float>& position, float tolerance, int width,
                           int height)
{
    if (gizmo == nullptr) {
        return false;
    }
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        return m_translate.updateTranslateHover(gizmo, camera, position, tolerance, width, height);
    case ekGizmoNode::ROTATE:
        return m_rotate.updateRotateHover(gizmo, camera, position, tolerance, width, height);
    case ekGizmoNode::SCALE:
        return m_scale.updateScaleHover(gizmo, camera, position, tolerance, width, height);
    default:
        return false;
    }
}

bool ekDragDispatch::isOver(const ekGizmoNode* gizmo, const ekCamera* camera,
                            const Wm4::Vector2<float>& position, float tolerance, int width,
                            int height) const
{
    if (gizmo == nullptr) {
        return false;
    }
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        return m_translate.isOver(gizmo, camera, position, tolerance, width, height);
    case ekGizmoNode::ROTATE:
        return m_rotate.isOver(gizmo, camera, position, tolerance, width, height);
    case ekGizmoNode::SCALE:
        // Scale handles are picked like arrows, by the TRANSLATE mask.
        return m_scale.isOver(gizmo, camera, position, tolerance, width, height);
    default:
        return false;
    }
}

void ekDragDispatch::press(ekGizmoNode* gizmo, const ekCamera* camera,
                           const Wm4::Vector2<float>& position, int width, int height)
{
    static constexpr Step kPress{&ekGizmoControllerTranslate::setMousePressed,
                                 &ekGizmoControllerRotate::setMousePressed,
                                 &ekGizmoControllerScale::setMouseScalePressed};
    // The new drag may be of another kind than the one under way.
    finishDrag();
    run(kPress, kindOf(gizmo), gizmo, camera, position, width, height);
}

void ekDragDispatch::move(ekGizmoNode* gizmo, const ekCamera* camera,
                          const Wm4::Vector2<float>& position, int width, int height)
{
    static constexpr Step kMove{&ekGizmoControllerTranslate::setMousePos,
                                &ekGizmoControllerRotate::setMousePos,
                                &ekGizmoControllerScale::setMouseScalePos};
    run(kMove, draggingKind(), gizmo, camera, position, width, height);
}

void ekDragDispatch::release(ekGizmoNode* gizmo, const ekCamera* camera,
                             const Wm4::Vector2<float>& position, int width, int height)
{
    static constexpr Step kRelease{&ekGizmoControllerTranslate::setMouseReleased,
                                   &ekGizmoControllerRotate::setMouseReleased,
                                   &ekGizmoControllerScale::setMouseScaleReleased};
    run(kRelease, draggingKind(), gizmo, camera, position, width, height);
}

ekDragDispatch::Kind ekDragDispatch::kindOf(const ekGizmoNode* gizmo)
{
    if (gizmo == nullptr) {
        return Kind::NONE;
    }
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        return Kind::TRANSLATE;
    case ekGizmoNode::ROTATE:
        return Kind::ROTATE;
    case ekGizmoNode::SCALE:
        return Kind::SCALE;
    default:
        return Kind::NONE;
    }
}

ekDragDispatch::Kind ekDragDispatch::draggingKind() const
{
    if (m_translate.isDragging()) {
        return Kind::TRANSLATE;
    }
    if (m_rotate.isDragging()) {
        return Kind::ROTATE;
    }
    return m_scale.isDragging() ? Kind::SCALE : Kind::NONE;
}

bool ekDragDispatch::isDragging() const
{
    return draggingKind() != Kind::NONE;
}

template <class Result, class Action>
Result ekDragDispatch::withDragUnderWay(Result none, Action&& action) const
{
    switch (draggingKind()) {
    case Kind::TRANSLATE:
        return action(m_translate);
    case Kind::ROTATE:
        return action(m_rotate);
    case Kind::SCALE:
        return action(m_scale);
    default:
        return none;
    }
}

ekGizmoNode* ekDragDispatch::getDraggedGizmo() const
{
    return withDragUnderWay<ekGizmoNode*>(nullptr,
                                          [](const auto& drag) { return drag.getPressedGizmo(); });
}

int ekDragDispatch::getActiveAxis() const
{
    return withDragUnderWay(-1, [](const auto& drag) { return drag.getSelectedAxis(); });
}

void ekDragDispatch::finishDrag()
{
    m_translate.finishDrag();
    m_rotate.finishDrag();
    m_scale.finishDrag();
}

void ekDragDispatch::cancelDrag()
{
    m_translate.cancelDrag();
    m_rotate.cancelDrag();
    m_scale.cancelDrag();
}

void ekDragDispatch::forgetAllBut(const std::vector<ekGizmoNode*>& gizmos)
{
    const auto forgetIfGone = [&gizmos](auto& drag) {
        const ekGizmoNode* pressed = drag.getPressedGizmo();
        if (pressed != nullptr
            && std::find(gizmos.begin(), gizmos.end(), pressed) == gizmos.end()) {
            drag.forgetGizmo(pressed);
        }
    };
    forgetIfGone(m_translate);
    forgetIfGone(m_rotate);
    forgetIfGone(m_scale);
}

void ekDragDispatch::run(const Step& step, Kind kind, ekGizmoNode* gizmo, const ekCamera* camera,
                         const Wm4::Vector2<float>& position, int width, int height)
{
    if (gizmo == nullptr) {
        return;
    }
    switch (kind) {
    case Kind::TRANSLATE:
        (m_translate.*step.translate)(gizmo, camera, position);
        break;
    case Kind::ROTATE:
        (m_rotate.*step.rotate)(gizmo, camera, position, width, height);
        break;
    case Kind::SCALE:
        (m_scale.*step.scale)(gizmo, camera, position);
        break;
    default:
        break;
    }
}

} // namespace ek
