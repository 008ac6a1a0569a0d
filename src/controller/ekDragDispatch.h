#pragma once

#include <Wm4/Wm4Vector2.h>

namespace ek {

class ekCamera;
class ekGizmoControllerRotate;
class ekGizmoControllerScale;
class ekGizmoControllerTranslate;
class ekGizmoNode;

// A controller's three drag objects seen as one: every call goes to the drag
// object of the gizmo's mode, so the dispatch on the mode lives here only.
// A gizmo that shows no handles (null, or mode NONE and above) gets no call.
// Positions are normalised (0..1, origin bottom-left, y up); tolerances in
// pixels; width and height are the view size in pixels. Borrows the drag
// objects for the duration of a call sequence; owns nothing.
class ekDragDispatch {
public:
    ekDragDispatch(ekGizmoControllerTranslate& translate, ekGizmoControllerRotate& rotate,
                   ekGizmoControllerScale& scale);

    // Whether gizmo is laid out and can be hit: not null, mode below NONE.
    static bool showsHandles(const ekGizmoNode* gizmo);

    // Tests and sets the gizmo's highlight; true when a handle is hit.
    bool hover(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
               float tolerance, int width, int height);
    // Tests only: no highlight, no drag state changes.
    bool isOver(const ekGizmoNode* gizmo, const ekCamera* camera,
                const Wm4::Vector2<float>& position, float tolerance, int width, int height) const;

    void press(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
               int width, int height);
    void move(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
              int width, int height);
    void release(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
                 int width, int height);

private:
    struct Step;
    void run(const Step& step, ekGizmoNode* gizmo, const ekCamera* camera,
             const Wm4::Vector2<float>& position, int width, int height);

    ekGizmoControllerTranslate& m_translate;
    ekGizmoControllerRotate& m_rotate;
    ekGizmoControllerScale& m_scale;
};

} // namespace ek
