#pragma once

#include "ekDrag.h"
#include "ekPicking.h"

#include <Wm4/Wm4Vector2.h>

namespace ek {

class ekGizmoNode;

// The extended handles of one gizmo as they show on screen, measured from
// the cursor, in pixels. Handles facing the camera are measured in the
// gizmo's expected pixel size, which is what one axis length covers there.
class ekHandleProbe {
public:
    ekHandleProbe(const ekGizmoNode& node, const ekDragInput& input);

    // 0 inside the square of the plane normal to axis, else the distance to
    // its outline.
    float distanceToPlane(int axis) const;
    // Whether the cursor lies on the screen handle, margin pixels around it
    // included.
    bool onScreenHandle(float margin) const;
    // The distance to the view ring.
    float distanceToViewRing() const;
    // Whether the cursor lies inside the rotate circles' sphere.
    bool insideSphere() const;
    // Whether the cursor lies inside the outer uniform-scale triangle.
    bool insideUniformTriangle() const;
    // The pixel of the gizmo's centre.
    const Wm4::Vector2<float>& centre() const { return m_centre; }

private:
    ekScreenProjector m_project;
    Wm4::Vector2<float> m_cursor;
    Wm4::Vector2<float> m_centre;
    float m_unitPixels;
};

} // namespace ek
