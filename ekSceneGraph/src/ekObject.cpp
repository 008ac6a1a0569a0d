#include "ekSceneGraph/ekObject.h"

#include "ekSceneGraph/ekCamera.h"
#include "ekSceneGraph/ekCameraNode.h"
#include "ekSceneGraph/ekGeometry.h"
#include "ekSceneGraph/ekLine.h"
#include "ekSceneGraph/ekNode.h"
#include "ekSceneGraph/ekSpatial.h"

namespace ek {

// All type records of the engine live here, so they are constructed in
// order: a derived record refers to its base's address only.
const ekRtti ekObject::TYPE("ekCore.ekObject", nullptr);
const ekRtti ekSpatial::TYPE("ekCore.ekSpatial", &ekObject::TYPE);
const ekRtti ekNode::TYPE("ekCore.ekNode", &ekSpatial::TYPE);
const ekRtti ekGeometry::TYPE("ekCore.ekGeometry", &ekSpatial::TYPE);
const ekRtti ekLine::TYPE("ekCore.ekLine", &ekGeometry::TYPE);
const ekRtti ekCamera::TYPE("ekCore.ekCamera", &ekObject::TYPE);
const ekRtti ekCameraNode::TYPE("ekCore.ekCameraNode", &ekNode::TYPE);

} // namespace ek
