#pragma once

#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekLine.h>

#include <vector>

namespace ek {

// The translate arrows: per axis a shaft from the centre to the axis end
// and a V-shaped head at that end, which the node turns to the camera.
class ekGizmoNodeTranslate : public ekGizmoNodeBase {
public:
    ~ekGizmoNodeTranslate() override;

    // Makes the lines, attaches them to owner (shaft X, head X, shaft Y,
    // ...), white highlight, default colours.
    void build(ekGizmoNode* owner);
    void applyDefaultColors(bool notifyOwner);
    void highlight(unsigned int axis);
    void setVisible(bool visible);

    // Indexed by axis.
    const std::vector<ekPointer<ekLine>>& getShafts() const { return m_shafts; }
    const std::vector<ekPointer<ekLine>>& getHeads() const { return m_heads; }

private:
    std::vector<ekPointer<ekLine>> m_shafts;
    std::vector<ekPointer<ekLine>> m_heads;
};

} // namespace ek
