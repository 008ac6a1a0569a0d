#pragma once

#include <ek3DManipulation/ekGizmoHandle.h>

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Vector2.h>

namespace ek {

class ekCamera;
class ekGizmoNode;

// Where the cursor is, as every drag step sees it: the camera, the cursor
// normalised to the view (0..1, origin bottom-left, y up) and the view's
// size in pixels.
struct ekDragInput {
    const ekCamera* camera = nullptr;
    Wm4::Vector2<float> position;
    int width = 0;
    int height = 0;
};

// The increments a drag rounds to, relative to its press; 0 is free. The
// translate step is in world units along each gizmo axis the drag moves on,
// the rotate step in degrees, the scale step in scale factor (a factor
// never goes below one step).
struct ekSnapSteps {
    float translate = 0.0f;
    float rotateDegrees = 5.0f;
    float scale = 0.0f;
};

// One kind of handle as the controller drives it: pick, hover, then a drag
// of begin, any number of updates, and end or cancel. Implementations tell
// the listeners from begin, end, finish and cancel; the controller makes
// those calls only through its registry's choke point. At most one drag of
// a controller is under way at a time.
class ekDrag {
public:
    virtual ~ekDrag() = default;

    // The handle of gizmo under the cursor within tolerance pixels that a
    // press would drag; NONE when none. Reads only.
    virtual ekGizmoHandle pick(const ekGizmoNode& gizmo, const ekDragInput& input,
                               float tolerance) const = 0;
    // Tests and highlights what it finds: the handle under the cursor, NONE
    // when none. A miss of an axis drag gives the gizmo its default colours;
    // the extended handles' misses change nothing.
    virtual ekGizmoHandle hover(ekGizmoNode& gizmo, const ekDragInput& input,
                                float tolerance) = 0;
    // Selects handle of gizmo and presses there with steps, ending a drag
    // under way first; a drag may or may not start (see isDragging).
    virtual void begin(ekGizmoNode& gizmo, ekGizmoHandle handle, const ekDragInput& input,
                       const ekSnapSteps& steps) = 0;
    // Applies the cursor to the drag under way; nothing without one.
    virtual void update(const ekDragInput& input) = 0;
    // The release: a last update, then the end is told.
    virtual void end(const ekDragInput& input) = 0;
    // Ends the drag under way without a further update.
    virtual void finish() = 0;
    // Restores what the drag under way changed, then ends it.
    virtual void cancel() = 0;
    // Drops every reference to gizmo, finishing a drag under way on it.
    virtual void forget(const ekGizmoNode& gizmo) = 0;

    // Whether a drag has started and not yet ended.
    virtual bool isDragging() const = 0;
    // The gizmo this kind last pressed (also after its drag); null when none.
    virtual ekGizmoNode* gizmo() const = 0;
    // The handle of the drag under way; NONE when none.
    virtual ekGizmoHandle handle() const = 0;
    // The world transform the drag's last applied update used.
    virtual const ekGenericTransformation<float>& delta() const = 0;
};

} // namespace ek
