#pragma once

#include "ekGizmoGroup.h"
#include "ekGroupLines.h"

#include <ekSceneGraph/ekLine.h>

namespace ek {

// The rotate circles, one per axis in the plane normal to it, and six
// white half-axis lines shown only while a rotation is dragged.
class ekGizmoNodeRotate : public ekGizmoGroup {
public:
    ~ekGizmoNodeRotate() override;

    void highlight(unsigned int axis) override;
    void setActiveState(unsigned int axis, bool active) override;

    // +X, +Y, +Z, -X, -Y, -Z.
    const ekPointer<ekLine>* getAxisLines() const { return m_axisLines; }
    // Indexed by the axis rotated about.
    const ekAxisLines& getCircles() const { return m_circles; }

protected:
    void buildLines() override;
    void paintDefaultColors() override;
    void showAxis(unsigned int axis, bool shown) override;
    void setOtherLinesVisible(bool visible) override;
    void applyWidths() override;

private:
    void hideAxisLines();

    ekPointer<ekLine> m_axisLines[6];
    ekAxisLines m_circles;
};

} // namespace ek
