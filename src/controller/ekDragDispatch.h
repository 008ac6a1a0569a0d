#pragma once

#include <Wm4/Wm4Vector2.h>

#include <vector>

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

    // The press of the gizmo's mode; a drag still under way ends first.
    void press(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
               int width, int height);
    // Move and release go to the drag object whose drag is under way,
    // whatever the gizmo's mode is now; without one they do nothing.
    void move(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
              int width, int height);
    void release(ekGizmoNode* gizmo, const ekCamera* camera, const Wm4::Vector2<float>& position,
                 int width, int height);

    // Whether one of the drag objects has a drag under way (at most one has:
    // every press ends the drag before it).
    bool isDragging() const;
    // The gizmo and the handle (0..2) of the drag under way; null and -1
    // without one.
    ekGizmoNode* getDraggedGizmo() const;
    int getActiveAxis() const;
    void finishDrag();
    void cancelDrag();
    // Makes every drag object forget the gizmos it refers to that are not
    // in gizmos, ending a drag under way on one of them.
    void forgetAllBut(const std::vector<ekGizmoNode*>& gizmos);

private:
    enum class Kind { NONE, TRANSLATE, ROTATE, SCALE };
    static Kind kindOf(const ekGizmoNode* gizmo);
    Kind draggingKind() const;
    // What action returns for the drag object whose drag is under way (as
    // its own type); none without one.
    template <class Result, class Action>
    Result withDragUnderWay(Result none, Action&& action) const;
    struct Step;
    void run(const Step& step, Kind kind, ekGizmoNode* gizmo, const ekCamera* camera,
             const Wm4::Vector2<float>& position, int width, int height);

    ekGizmoControllerTranslate& m_translate;
    ekGizmoControllerRotate& m_rotate;
    ekGizmoControllerScale& m_scale;
};

} // namespace ek
