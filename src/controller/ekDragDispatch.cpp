#include "ekDragDispatch.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>
#include <ek3DManipulation/ekGizmoNode.h>

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
    run(kPress, gizmo, camera, position, width, height);
}

void ekDragDispatch::move(ekGizmoNode* gizmo, const ekCamera* camera,
                          const Wm4::Vector2<float>& position, int width, int height)
{
    static constexpr Step kMove{&ekGizmoControllerTranslate::setMousePos,
                                &ekGizmoControllerRotate::setMousePos,
                                &ekGizmoControllerScale::setMouseScalePos};
    run(kMove, gizmo, camera, position, width, height);
}

void ekDragDispatch::release(ekGizmoNode* gizmo, const ekCamera* camera,
                             const Wm4::Vector2<float>& position, int width, int height)
{
    static constexpr Step kRelease{&ekGizmoControllerTranslate::setMouseReleased,
                                   &ekGizmoControllerRotate::setMouseReleased,
                                   &ekGizmoControllerScale::setMouseScaleReleased};
    run(kRelease, gizmo, camera, position, width, height);
}

void ekDragDispatch::run(const Step& step, ekGizmoNode* gizmo, const ekCamera* camera,
                         const Wm4::Vector2<float>& position, int width, int height)
{
    if (gizmo == nullptr) {
        return;
    }
    switch (gizmo->getMode()) {
    case ekGizmoNode::TRANSLATE:
        (m_translate.*step.translate)(gizmo, camera, position);
        break;
    case ekGizmoNode::ROTATE:
        (m_rotate.*step.rotate)(gizmo, camera, position, width, height);
        break;
    case ekGizmoNode::SCALE:
        (m_scale.*step.scale)(gizmo, camera, position);
        break;
    default:
        break;
    }
}

} // namespace ek
