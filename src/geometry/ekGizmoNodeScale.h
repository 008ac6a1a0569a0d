#pragma once

#include "ekGroupLines.h"

#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekLine.h>

namespace ek {

// The scale handles: per axis a shaft with a small square at its end, a
// larger plane marker shown for the dragged axis, and the white
// uniform-scale triangles near the centre.
class ekGizmoNodeScale : public ekGizmoNodeBase {
public:
    ~ekGizmoNodeScale() override;

    void build(ekGizmoNode* owner);
    void applyDefaultColors(bool notifyOwner);
    void highlight(unsigned int axis);
    void setVisible(bool visible);
    void setActiveState(unsigned int axis, bool active);

    const ekAxisLines& getShafts() const { return m_shafts; }
    const ekAxisLines& getPlaneMarkers() const { return m_planeMarkers; }
    const ekAxisLines& getEndSquares() const { return m_endSquares; }
    const ekPointer<ekLine>& getUniformHandle() const { return m_uniformHandle; }

private:
    ekAxisLines m_shafts;
    ekAxisLines m_planeMarkers;
    ekAxisLines m_endSquares;
    ekPointer<ekLine> m_uniformHandle;
};

} // namespace ek
