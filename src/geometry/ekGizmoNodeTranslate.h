#pragma once

#include "ekGizmoGroup.h"
#include "ekGroupLines.h"


#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <array>

namespace ek {

// The translate arrows: per axis a shaft from the centre to the axis end
// and a V-shaped head at that end, which the node turns to the camera.
class ekGizmoNodeTranslate : public ekGizmoGroup {
public:
    ~ekGizmoNodeTranslate() override;

    // Makes the lines, attaches them to owner (shaft X, head X, shaft Y,
    // ...), white highlight, default colours.
    void applyDefaultColors(bool notifyOwner) override;
    void highlight(unsigned int axis) override;
    void setVisible(bool visible) override;

    // Indexed by axis.
    const ekAxisLines& getShafts() const { return m_shafts; }
    const ekAxisLines& getHeads() const { return m_heads; }

    // All that turns the arrowheads to the camera: the eye, the node's world
    // position and rotation, and the heads' tips (world space).
    struct FacingInputs {
        Wm4::Vector3<float> eye;
        Wm4::Vector3<float> centre;
        Wm4::Matrix3<float> rotation;
        std::array<Wm4::Vector3<float>, kAxisCount> tips;
    };
    // Records the inputs the heads are turned for; false when they are, bit
    // for bit, the last ones recorded: the heads then face the camera already.
    bool recordFacingInputs(const FacingInputs& inputs);

protected:
    void buildLines() override;

private:
    ekAxisLines m_shafts;
    ekAxisLines m_heads;
    FacingInputs m_facedFor{};
    bool m_faced = false;
};

} // namespace ek
