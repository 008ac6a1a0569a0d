#include "ParameterEditor.h"

#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekSpatial.h>

#include <Wm4/Wm4Math.h>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;

constexpr float kToRadians = Wm4::Math<float>::DEG_TO_RAD;
constexpr float kToDegrees = Wm4::Math<float>::RAD_TO_DEG;

} // namespace

ParameterEditor::ParameterEditor(ekNode& parent) : m_parent(parent), m_proxy(new ekGizmoNode)
{
    m_proxy->setName("parameters");
    m_parent.attachChild(m_proxy);
}

ParameterEditor::~ParameterEditor()
{
    m_parent.detachChild(m_proxy);
}

TransformParameters ParameterEditor::read(const ekSpatial& object, bool world)
{
    copyFrom(object);
    TransformParameters out;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    bool uniform = false;
    const ekGizmoNode::ekGizmoResult result =
        m_proxy->getAllParameters(out.position, x, y, z, out.scale, uniform, world);
    out.hasRotation = (result & ekGizmoNode::TRANSLATION_ROTATION) != 0;
    out.hasScale = result == ekGizmoNode::TRANSLATION_ROTATION_SCALE;
    out.degrees = Vec3(x, y, z) * kToDegrees;
    return out;
}

bool ParameterEditor::write(ekSpatial& object, TransformPart part, const Vec3& value, bool world)
{
    copyFrom(object);
    bool written = true;
    switch (part) {
    case TransformPart::Position:
        m_proxy->setTranslation(value, world);
        break;
    case TransformPart::Rotation: {
        const Vec3 radians = value * kToRadians;
        written = m_proxy->setEulerAngle(radians.X(), radians.Y(), radians.Z(), world);
        break;
    }
    case TransformPart::Scale:
        written = m_proxy->setScale(value, world);
        break;
    }
    if (written) {
        object.editLocalTransform(true) = m_proxy->getLocalTransform();
        object.UpdateGS();
    }
    return written;
}

void ParameterEditor::copyFrom(const ekSpatial& object)
{
    m_proxy->editLocalTransform(true) = object.getLocalTransform();
    m_proxy->UpdateGS();
}

} // namespace ek::viewer
