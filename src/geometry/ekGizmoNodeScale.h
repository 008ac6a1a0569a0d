#pragma once

#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekLine.h>

#include <vector>

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

    const std::vector<ekPointer<ekLine>>& getShafts() const { return m_shafts; }
    const std::vector<ekPointer<ekLine>>& getPlaneMarkers() const { return m_planeMarkers; }
    const std::vector<ekPointer<ekLine>>& getEndSquares() const { return m_endSquares; }
    const ekPointer<ekLine>& getUniformHandle() const { return m_uniformHandle; }

private:
    std::vector<ekPointer<ekLine>> m_shafts;
    std::vector<ekPointer<ekLine>> m_planeMarkers;
    std::vector<ekPointer<ekLine>> m_endSquares;
    ekPointer<ekLine> m_uniformHandle;
};

} // namespace ek
