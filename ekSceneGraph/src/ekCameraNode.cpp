#include "ekSceneGraph/ekCameraNode.h"

namespace ek {

ekCameraNode::ekCameraNode(ekCamera* camera) : m_camera(camera) {}

} // namespace ek
