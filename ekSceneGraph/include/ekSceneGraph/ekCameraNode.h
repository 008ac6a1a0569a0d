#pragma once

#include "ekCamera.h"
#include "ekNode.h"

namespace ek {

// A node that carries a camera in the scene. It holds a counted reference
// to the camera; the camera's frame is set on the camera itself.
class ekCameraNode : public ekNode {
public:
    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    explicit ekCameraNode(ekCamera* camera);

    ekCamera* getCamera() const { return m_camera; }
    void setCamera(ekCamera* camera) { m_camera = camera; }

private:
    ekPointer<ekCamera> m_camera;
};

} // namespace ek
