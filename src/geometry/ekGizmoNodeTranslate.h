#pragma once

#include "ekGizmoGroup.h"
#include "ekGroupLines.h"

#include <ekSceneGraph/ekLine.h>

namespace ek {

// The translate arrows: per axis a shaft from the centre to the axis end
// and a V-shaped head at that end, which the node turns to the camera.
class ekGizmoNodeTranslate : public ekGizmoGroup {
public:
    ~ekGizmoNodeTranslate() override;

    void highlight(unsigned int axis) override;

    // Indexed by axis.
    const ekAxisLines& getShafts() const { return m_shafts; }
    const ekAxisLines& getHeads() const { return m_heads; }

protected:
    // Makes the lines, attaches them to owner (shaft X, head X, shaft Y,
    // ...), white highlight, default colours.
    void buildLines() override;
    void paintDefaultColors() override;
    void showAxis(unsigned int axis, bool shown) override;
    void setOtherLinesVisible(bool visible) override;
    void applyWidths() override;

private:
    ekAxisLines m_shafts;
    ekAxisLines m_heads;
};

} // namespace ek
