#pragma once

#include "ek3DManipulationExport.h"

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <array>
#include <vector>

namespace ek {

class ek3DManipulatorMotionListener;
class ekCamera;
class ekGizmoNode;

// The drag objects that turn cursor motion into transforms of a gizmo's
// reference objects. An ekGizmoController owns one of each and calls them;
// hosts rarely need them directly.
//
// Cursor positions are normalised to the viewport: 0..1 on both axes,
// origin at the bottom-left, y up. Tolerances are in pixels; width and
// height are the viewport size in pixels. A drag is: hover (selects the
// handle), press, any number of moves, release. No move writes a
// non-finite transform into an object.

// Translation along one gizmo axis.
class EK3DMANIPULATION_API ekGizmoControllerTranslate {
public:
    ekGizmoControllerTranslate();
    ekGizmoControllerTranslate(const ekGizmoControllerTranslate& other);
    ekGizmoControllerTranslate& operator=(const ekGizmoControllerTranslate& other);
    virtual ~ekGizmoControllerTranslate();

    // False when listener is already installed. Not owned.
    bool install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);
    // False when listener is not installed; the others keep their order.
    bool uninstall3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);

    // Selects and highlights the arrow nearest to the cursor within
    // tolerance (axes of the node's TRANSLATE mask), or restores the
    // default colours when none is. True when an arrow is selected.
    bool updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos, float tolerance, int width,
                              int height);
    // Whether an arrow lies within tolerance; changes nothing.
    bool isOver(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                float tolerance, int width, int height) const;

    void setMousePressed(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    void setMousePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    void setMouseReleased(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);

    // 0, 1, 2, or -1 for none. While a drag is under way, hover leaves it
    // alone: it is the dragged handle.
    int getSelectedAxis() const { return m_selectedAxis; }
    // The world transform the last applied move used (identity after a press).
    const ekGenericTransformation<float>& getDeltaTransform() const { return m_deltaTransform; }

    // Whether a press has started a drag (its start notified) that no
    // release, finishDrag or cancelDrag has ended yet. Moves and releases
    // act only then; a press while one is under way ends it first.
    bool isDragging() const { return m_dragging != 0; }
    // The node of the last press; not owned. Null after forgetGizmo.
    ekGizmoNode* getPressedGizmo() const { return m_gizmoNode; }
    // Ends the drag under way without a further move: the feedback is
    // hidden and the listeners hear the end with the delta applied so far.
    void finishDrag();
    // Ends the drag under way after restoring every reference object's
    // transform of the press: the listeners hear the end with the identity.
    void cancelDrag();
    // Drops every reference to node, first finishing a drag under way on
    // it. Call it before node is destroyed.
    void forgetGizmo(const ekGizmoNode* node);

protected:
    bool updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos, unsigned char axisMask,
                              float tolerance, int width, int height);
    // localAxis through the linear part of the dragged node's world
    // transform, normalised; zero before any press.
    Wm4::Vector3<float> getWorldOrientation(const Wm4::Vector3<float>& localAxis) const;
    // The cursor's pick ray meets the drag plane; point is that hit
    // projected onto the axis line through the pivot, along its signed
    // distance from the press point. False (outputs untouched) when the ray
    // misses the plane.
    bool getProjectedPoint(const ekCamera* camera, const Wm4::Vector2<float>& pos,
                           bool restrictBetweenNearFar, Wm4::Vector3<float>& point,
                           float& along) const;
    // World position of the selected arrow's tip; zero when none.
    Wm4::Vector3<float> getCurrentWorldPointPosition(const ekGizmoNode* node) const;
    // ONE with the selected axis's component times factor; zero when none.
    Wm4::Vector3<float> getResultingScale(float factor) const;
    // The press of either drag kind; true when it started a drag.
    bool beginDrag(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    // A move is applied only during a drag, on its node, inside the view,
    // while the node's reference list is the one of the press.
    bool acceptsMove(ekGizmoNode* node, const Wm4::Vector2<float>& pos) const;
    // What tells the listeners and shows the feedback of this drag's kind.
    virtual void onDragStarted();
    virtual void onDragEnded();

    ekGenericTransformation<float> m_dragFrame;
    ekGenericTransformation<float> m_deltaTransform;
    ekGizmoNode* m_gizmoNode;
    Wm4::Vector3<float> m_startPoint;
    std::vector<ek3DManipulatorMotionListener*> m_listeners;
    int m_selectedAxis : 3;
    unsigned int m_useSecondPlane : 1;
    unsigned int m_dragging : 1;
};

// Scale along one axis, or uniform, each object about its own position.
// Hover and press are the translate ones (the TRANSLATE mask decides what
// is picked).
class EK3DMANIPULATION_API ekGizmoControllerScale : public ekGizmoControllerTranslate {
public:
    ekGizmoControllerScale();
    ekGizmoControllerScale(const ekGizmoControllerScale& other);
    ekGizmoControllerScale& operator=(const ekGizmoControllerScale& other);
    ~ekGizmoControllerScale() override;

    bool updateScaleHover(ekGizmoNode* node, const ekCamera* camera,
                          const Wm4::Vector2<float>& pos, float tolerance, int width, int height);
    void setMouseScalePressed(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos);
    void setMouseScalePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    void setMouseScaleReleased(ekGizmoNode* node, const ekCamera* camera,
                               const Wm4::Vector2<float>& pos);

protected:
    // Scale drags tell onScaleManipulatorStart / End and show the dragged
    // handle as active.
    void onDragStarted() override;
    void onDragEnded() override;
};

// Rotation about one gizmo axis through the pivot, in 5-degree steps.
class EK3DMANIPULATION_API ekGizmoControllerRotate {
public:
    ekGizmoControllerRotate();
    // Each copy has its own sample table.
    ekGizmoControllerRotate(const ekGizmoControllerRotate& other);
    ekGizmoControllerRotate& operator=(const ekGizmoControllerRotate& other);
    virtual ~ekGizmoControllerRotate();

    bool install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);
    bool uninstall3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);

    // Selects and highlights the circle nearest to the cursor within
    // tolerance (circles of the node's ROTATE mask).
    bool updateRotateHover(ekGizmoNode* node, const ekCamera* camera,
                           const Wm4::Vector2<float>& pos, float tolerance, int width, int height);
    bool isOver(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                float tolerance, int width, int height) const;

    void setMousePressed(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                         int width, int height);
    void setMousePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                     int width, int height);
    void setMouseReleased(ekGizmoNode* node, const ekCamera* camera,
                          const Wm4::Vector2<float>& pos, int width, int height);

    // 0, 1, 2, or -1 for none; hover leaves it alone during a drag.
    int getSelectedAxis() const { return static_cast<int>(m_selectedAxis); }
    const ekGenericTransformation<float>& getDeltaTransform() const { return m_deltaTransform; }

    // As for ekGizmoControllerTranslate. The rotate drag keeps its node
    // only while the drag is under way.
    bool isDragging() const { return m_dragNode != nullptr; }
    ekGizmoNode* getPressedGizmo() const { return m_dragNode; }
    void finishDrag();
    void cancelDrag();
    void forgetGizmo(const ekGizmoNode* node);

private:
    static constexpr int kCircleSegments = 40;

    // The circle nearest to the cursor within tolerance, or -1.
    int pickCircle(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                   float tolerance, int width, int height) const;
    float getNearestDistCirclePoint(const ekGizmoNode* node, int axis, const ekCamera* camera,
                                    const Wm4::Vector2<float>& cursorPixel, int width,
                                    int height) const;
    Wm4::Vector3<float> getWorldNormal(const Wm4::Vector3<float>& localAxis, ekGizmoNode* node);
    void onEndPos(ekGizmoNode* node);
    void initRotate();

    ekGenericTransformation<float> m_dragFrame;
    ekGenericTransformation<float> m_deltaTransform;
    std::array<Wm4::Vector2<float>, kCircleSegments + 1> m_circleSamples;
    Wm4::Vector3<float> m_startPoint;
    std::vector<ek3DManipulatorMotionListener*> m_listeners;
    ekGizmoNode* m_dragNode; // not owned; set while a drag is under way
    unsigned int m_selectedAxis;
};

} // namespace ek
