#pragma once

#include "ekGizmoGroup.h"
#include "ekGroupLines.h"

#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Vector3.h>


namespace ek {

// The translate arrows: per axis a shaft from the centre to the axis end
// and a V-shaped head at that end, which the node turns to the camera.
class ekGizmoNodeTranslate : public ekGizmoGroup {
public:
    ~ekGizmoNodeTranslate() override;

    void highlight(unsigned int axis) override;
    void setVisible(bool visible) override;

    // Indexed by axis.
    const ekAxisLines& getShafts() const { return m_shafts; }
    const ekAxisLines& getHeads() const { return m_heads; }

    // All that turns the arrowheads to the camera: the eye and the node's
    // world transform (the tips sit at fixed places in the node's frame).
    struct FacingInputs {
        Wm4::Vector3<float> eye;
        ekGenericTransformation<float> world;
    };
    // Records the inputs the heads are turned for; false when they equal
    // the last ones recorded: the heads then face the camera already.
    bool recordFacingInputs(const FacingInputs& inputs);

protected:
    // Makes the lines, attaches them to owner (shaft X, head X, shaft Y,
    // ...), white highlight, default colours.
    void buildLines() override;
    void paintDefaultColors() override;

private:
    ekAxisLines m_shafts;
    ekAxisLines m_heads;
    FacingInputs m_facedFor{};
    bool m_faced = false;
};

} // namespace ek
