#pragma once

#include "ekGroupLines.h"

#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekLine.h>

namespace ek {

// The rotate circles, one per axis in the plane normal to it, and six
// white half-axis lines shown only while a rotation is dragged.
class ekGizmoNodeRotate : public ekGizmoNodeBase {
public:
    ~ekGizmoNodeRotate() override;

    void build(ekGizmoNode* owner);
    void applyDefaultColors(bool notifyOwner);
    void highlight(unsigned int axis);
    void setVisible(bool visible);
    void setActiveState(unsigned int axis, bool active);

    // +X, +Y, +Z, -X, -Y, -Z.
    const ekPointer<ekLine>* getAxisLines() const { return m_axisLines; }
    // Indexed by the axis rotated about.
    const ekAxisLines& getCircles() const { return m_circles; }

private:
    void hideAxisLines();

    ekPointer<ekLine> m_axisLines[6];
    ekAxisLines m_circles;
};

} // namespace ek
