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

/// @file
/// The drag objects that turn cursor motion into transforms of a gizmo's
/// reference objects. An ekGizmoController owns one of each and calls them;
/// hosts rarely need them directly. They own neither the nodes nor the
/// listeners they are given, and belong to the scene's thread.
///
/// Cursor positions are normalised to the viewport: 0..1 on both axes,
/// origin at the bottom-left, y up. Tolerances are in pixels; width and
/// height are the viewport size in pixels. A drag is: hover (selects the
/// handle), press, any number of moves, release. No move writes a
/// non-finite transform into an object.

/// Translation along one gizmo axis. Positions and units as
/// ekGizmoControllerDrags.h says.
class EK3DMANIPULATION_API ekGizmoControllerTranslate {
public:
    /// Idle: no arrow selected, no node, no listener.
    ekGizmoControllerTranslate();
    /// The same listeners, node and selection; idle even when other is
    /// dragging, so that no end is heard twice.
    ekGizmoControllerTranslate(const ekGizmoControllerTranslate& other);
    /// Ends a drag under way on this object, then copies as the copy
    /// constructor does.
    ekGizmoControllerTranslate& operator=(const ekGizmoControllerTranslate& other);
    /// Tells no listener, even of a drag under way.
    virtual ~ekGizmoControllerTranslate();

    /// False when listener is already installed. Not owned.
    bool install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);
    /// False when listener is not installed; the others keep their order.
    bool uninstall3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);

    /// Selects and highlights the arrow nearest to the cursor within
    /// tolerance (axes of the node's TRANSLATE mask), or restores the
    /// default colours when none is. True when an arrow is selected.
    bool updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos, float tolerance, int width,
                              int height);
    /// Whether an arrow lies within tolerance; changes nothing.
    bool isOver(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                float tolerance, int width, int height) const;
    /// The arrow isOver reports: the nearest within tolerance that a press
    /// can drag along; -1 when none. Changes nothing.
    int pickHandle(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                   float tolerance, int width, int height) const;
    /// Selects and highlights arrow axis (-1: none, default colours) of
    /// node, as a hover that found it would, for the next press. A drag
    /// under way keeps its arrow. Null node: nothing.
    void selectHandle(ekGizmoNode* node, int axis);

    /// Ends a drag under way, then, with an arrow selected, starts one on
    /// node: stores its reference objects' transforms and the listeners
    /// hear onTranslateManipulatorStart. Null node: nothing.
    void setMousePressed(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    /// During a drag on node, with pos inside the view: moves every
    /// reference object along the arrow (world space) so that the pressed
    /// point follows the cursor, always from the stored transforms.
    void setMousePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    /// The last move, to pos, then the end: the listeners hear
    /// onTranslateManipulatorEnd with the delta. Without a drag, nothing.
    void setMouseReleased(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);

    /// The increment a drag is rounded to, relative to its press; 0 (the
    /// default) or less is free. A translate drag rounds its displacement
    /// along the arrow to a multiple of it (world units); a scale drag
    /// rounds its factor to a multiple of it, never below one increment.
    /// Read by the moves that follow.
    void setSnapIncrement(float increment) { m_snapIncrement = increment; }
    /// See setSnapIncrement.
    float getSnapIncrement() const { return m_snapIncrement; }

    /// 0, 1, 2, or -1 for none. While a drag is under way, hover leaves it
    /// alone: it is the dragged handle.
    int getSelectedAxis() const { return m_selectedAxis; }
    /// The world transform the last applied move used (identity after a press).
    const ekGenericTransformation<float>& getDeltaTransform() const { return m_deltaTransform; }

    /// Whether a press has started a drag (its start notified) that no
    /// release, finishDrag or cancelDrag has ended yet. Moves and releases
    /// act only then; a press while one is under way ends it first.
    bool isDragging() const { return m_dragging != 0; }
    /// The node of the last press; not owned. Null after forgetGizmo.
    ekGizmoNode* getPressedGizmo() const { return m_gizmoNode; }
    /// Ends the drag under way without a further move: the feedback is
    /// hidden and the listeners hear the end with the delta applied so far.
    void finishDrag();
    /// Ends the drag under way after restoring every reference object's
    /// transform of the press: the listeners hear the end with the identity.
    void cancelDrag();
    /// Drops every reference to node, first finishing a drag under way on
    /// it. Call it before node is destroyed.
    void forgetGizmo(const ekGizmoNode* node);

protected:
    /// As the public overload, over the axes of axisMask (bit per axis)
    /// instead of the node's TRANSLATE mask.
    bool updateTranslateHover(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos, unsigned char axisMask,
                              float tolerance, int width, int height);
    /// localAxis through the linear part of the dragged node's world
    /// transform, normalised; zero before any press.
    Wm4::Vector3<float> getWorldOrientation(const Wm4::Vector3<float>& localAxis) const;
    /// The cursor's pick ray meets the drag plane; point is that hit
    /// projected onto the axis line through the pivot, along its signed
    /// distance from the press point. False (outputs untouched) when the ray
    /// misses the plane.
    bool getProjectedPoint(const ekCamera* camera, const Wm4::Vector2<float>& pos,
                           bool restrictBetweenNearFar, Wm4::Vector3<float>& point,
                           float& along) const;
    /// World position of the selected arrow's tip; zero when none.
    Wm4::Vector3<float> getCurrentWorldPointPosition(const ekGizmoNode* node) const;
    /// ONE with the selected axis's component times factor; zero when none.
    Wm4::Vector3<float> getResultingScale(float factor) const;
    /// The press of either drag kind; true when it started a drag.
    bool beginDrag(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    /// A move is applied only during a drag, on its node, inside the view,
    /// while the node's reference list is the one of the press.
    bool acceptsMove(ekGizmoNode* node, const Wm4::Vector2<float>& pos) const;
    /// What tells the listeners and shows the feedback of this drag's kind.
    virtual void onDragStarted();
    /// The end's counterpart of onDragStarted, with the delta applied.
    virtual void onDragEnded();

    ekGenericTransformation<float> m_dragFrame; ///< world pivot and reference orientation at the press
    ekGenericTransformation<float> m_deltaTransform; ///< see getDeltaTransform
    ekGizmoNode* m_gizmoNode; ///< see getPressedGizmo; not owned
    Wm4::Vector3<float> m_startPoint; ///< the pressed point on the axis line, world space
    std::vector<ek3DManipulatorMotionListener*> m_listeners; ///< in install order; not owned
    float m_snapIncrement = 0.0f; ///< see setSnapIncrement
    int m_selectedAxis : 3; ///< see getSelectedAxis
    unsigned int m_useSecondPlane : 1; ///< the drag plane's normal: 0 the next axis, 1 the one after
    unsigned int m_dragging : 1; ///< see isDragging
};

/// Scale along one axis, or uniform, each object about its own position.
/// Hover and press are the translate ones (the TRANSLATE mask decides what
/// is picked).
class EK3DMANIPULATION_API ekGizmoControllerScale : public ekGizmoControllerTranslate {
public:
    /// Idle, as the translate drag.
    ekGizmoControllerScale();
    /// As the translate drag's copy: idle.
    ekGizmoControllerScale(const ekGizmoControllerScale& other);
    /// As the translate drag's assignment.
    ekGizmoControllerScale& operator=(const ekGizmoControllerScale& other);
    /// Tells no listener.
    ~ekGizmoControllerScale() override;

    /// updateTranslateHover: the handles lie on the arrows' axes and are
    /// picked by the TRANSLATE mask (the SCALE mask only decides what is
    /// drawn).
    bool updateScaleHover(ekGizmoNode* node, const ekCamera* camera,
                          const Wm4::Vector2<float>& pos, float tolerance, int width, int height);
    /// As the translate press; the listeners hear onScaleManipulatorStart.
    void setMouseScalePressed(ekGizmoNode* node, const ekCamera* camera,
                              const Wm4::Vector2<float>& pos);
    /// During a drag on node, inside the view: scales every reference
    /// object about its own position along the world axes (all three when
    /// the node asks for uniform scale) by the factor the cursor's
    /// displacement along the handle gives: 1 + d for d handle lengths
    /// outwards, 1 / (1 + d) inwards. A scale that would underflow is not
    /// applied.
    void setMouseScalePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos);
    /// The last move, to pos, then the end: the listeners hear
    /// onScaleManipulatorEnd with the scale. Without a drag, nothing.
    void setMouseScaleReleased(ekGizmoNode* node, const ekCamera* camera,
                               const Wm4::Vector2<float>& pos);

protected:
    /// Scale drags tell onScaleManipulatorStart / End and show the dragged
    /// handle as active.
    void onDragStarted() override;
    /// Hides the active handle; the listeners hear onScaleManipulatorEnd.
    void onDragEnded() override;
};

/// Rotation about one gizmo axis through the pivot, in 5-degree steps.
/// Positions and units as ekGizmoControllerDrags.h says.
class EK3DMANIPULATION_API ekGizmoControllerRotate {
public:
    /// Idle: no circle selected, no listener.
    ekGizmoControllerRotate();
    /// Each copy has its own sample table. The same listeners and
    /// selection; idle even when other is dragging.
    ekGizmoControllerRotate(const ekGizmoControllerRotate& other);
    /// Ends a drag under way on this object, then copies as the copy
    /// constructor does.
    ekGizmoControllerRotate& operator=(const ekGizmoControllerRotate& other);
    /// Tells no listener, even of a drag under way.
    virtual ~ekGizmoControllerRotate();

    /// False when listener is already installed. Not owned.
    bool install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);
    /// False when listener is not installed; the others keep their order.
    bool uninstall3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener);

    /// Selects and highlights the circle nearest to the cursor within
    /// tolerance (circles of the node's ROTATE mask).
    bool updateRotateHover(ekGizmoNode* node, const ekCamera* camera,
                           const Wm4::Vector2<float>& pos, float tolerance, int width, int height);
    /// Whether a circle of the ROTATE mask lies within tolerance; changes
    /// nothing.
    bool isOver(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                float tolerance, int width, int height) const;
    /// The circle isOver reports: the nearest within tolerance; -1 when
    /// none. Changes nothing.
    int pickHandle(const ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                   float tolerance, int width, int height) const;
    /// Selects and highlights circle axis (-1: none, default colours) of
    /// node, as a hover that found it would, for the next press. A drag
    /// under way keeps its circle. Null node: nothing.
    void selectHandle(ekGizmoNode* node, int axis);

    /// Ends a drag under way, then, with a circle selected and the cursor
    /// off the pivot's image (a few pixels around it give no direction),
    /// starts one on node: stores its reference objects' transforms, shows
    /// the circle active and the listeners hear onRotateManipulatorStart.
    void setMousePressed(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                         int width, int height);
    /// During a drag on node, inside the view: turns every reference object
    /// about the pivot (world space) by the angle from the pressed point to
    /// the cursor in the circle's plane, rounded to 5 degrees, always from
    /// the stored transforms.
    void setMousePos(ekGizmoNode* node, const ekCamera* camera, const Wm4::Vector2<float>& pos,
                     int width, int height);
    /// The last move, to pos; snaps the gizmo's own orientation when the
    /// node asks (setSnapRotationToAxis); then the end: the listeners hear
    /// onRotateManipulatorEnd with the rotation. Without a drag, nothing.
    void setMouseReleased(ekGizmoNode* node, const ekCamera* camera,
                          const Wm4::Vector2<float>& pos, int width, int height);

    /// The step the angle is rounded to, in degrees (5 by default); 0 or
    /// less turns freely. Read by the moves that follow.
    void setSnapIncrement(float degrees);
    /// See setSnapIncrement; 0 when free.
    float getSnapIncrement() const;

    /// 0, 1, 2, or -1 for none; hover leaves it alone during a drag.
    int getSelectedAxis() const { return static_cast<int>(m_selectedAxis); }
    /// The world rotation about the pivot that the last applied move used
    /// (identity after a press).
    const ekGenericTransformation<float>& getDeltaTransform() const { return m_deltaTransform; }

    /// As for ekGizmoControllerTranslate. The rotate drag keeps its node
    /// only while the drag is under way.
    bool isDragging() const { return m_dragNode != nullptr; }
    /// The node of the drag under way; not owned; null when none.
    ekGizmoNode* getPressedGizmo() const { return m_dragNode; }
    /// As ekGizmoControllerTranslate::finishDrag; the circle is shown
    /// inactive.
    void finishDrag();
    /// As ekGizmoControllerTranslate::cancelDrag.
    void cancelDrag();
    /// Finishes a drag under way on node. Call it before node is destroyed.
    void forgetGizmo(const ekGizmoNode* node);

private:
    static constexpr int kCircleSegments = 40;

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
    float m_step; // radians; 0 turns freely
};

} // namespace ek
