#include "ekSceneGraph/ekObject.h"

#include "ekSceneGraph/ekCamera.h"
#include "ekSceneGraph/ekCameraNode.h"
#include "ekSceneGraph/ekGeometry.h"
#include "ekSceneGraph/ekLine.h"
#include "ekSceneGraph/ekNode.h"
#include "ekSceneGraph/ekSpatial.h"

namespace ek {

const std::string& ekObject::getName() const
{
    static const std::string kUnnamed;
    return m_name != nullptr ? *m_name : kUnnamed;
}

void ekObject::setName(const std::string& name)
{
    if (m_name == nullptr) {
        m_name = std::make_unique<std::string>(name);
    } else {
        *m_name = name;
    }
}

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
