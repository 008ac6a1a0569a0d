#pragma once

#include "ekGizmoGroup.h"
#include "ekGroupLines.h"

#include <ekSceneGraph/ekLine.h>

namespace ek {

// The scale handles: per axis a shaft with a small square at its end, a
// larger plane marker shown for the dragged axis, and the white
// uniform-scale triangles near the centre.
class ekGizmoNodeScale : public ekGizmoGroup {
public:
    ~ekGizmoNodeScale() override;

    void highlight(unsigned int axis) override;
    void setActiveState(unsigned int axis, bool active) override;

    const ekAxisLines& getShafts() const { return m_shafts; }
    const ekAxisLines& getPlaneMarkers() const { return m_planeMarkers; }
    const ekAxisLines& getEndSquares() const { return m_endSquares; }
    const ekPointer<ekLine>& getUniformHandle() const { return m_uniformHandle; }

protected:
    void buildLines() override;
    void paintDefaultColors() override;
    void showAxis(unsigned int axis, bool shown) override;
    void setOtherLinesVisible(bool visible) override;
    void applyWidths() override;

private:
    ekAxisLines m_shafts;
    ekAxisLines m_planeMarkers;
    ekAxisLines m_endSquares;
    ekPointer<ekLine> m_uniformHandle;
};

} // namespace ek
