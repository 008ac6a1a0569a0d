#include <ek3DManipulation/ekGizmoNode.h>

#include "ekMatrixUtils.h"
#include "ekTransformUtils.h"

namespace ek {

namespace {

using Transform = ekGenericTransformation<float>;

// A per-axis scale on a rotation-scale transform. Equal components make a
// uniform scale, so that the engine keeps its cheaper uniform products.
void applyScale(Transform& t, const Wm4::Vector3<float>& scale)
{
    if (scale.X() == scale.Y() && scale.X() == scale.Z()) {
        if (scale.X() == 1.0f) {
            t.MakeUnitScale();
        } else {
            t.SetUniformScale(scale.X());
        }
    } else {
        t.SetScale(scale);
    }
}

// Gives t the rotation of the angles. A general matrix keeps its scale and
// shear (the part that is not rotation); false, with t unchanged, when its
// normalised columns are not a rotation to replace.
bool applyRotation(Transform& t, float x, float y, float z)
{
    if (t.IsRSMatrix()) {
        t.SetRotate(eulerToMatrix(x, y, z));
        return true;
    }
    const Wm4::Matrix3<float> m = t.GetMatrix();
    Wm4::Matrix3<float> rotation;
    if (!isRotationOnceNormalized(m, rotation)) {
        return false;
    }
    t.SetMatrix(eulerToMatrix(x, y, z).TimesTranspose(rotation) * m);
    return true;
}

// The angles of t's rotation; false, outputs untouched, for a general
// matrix that is not a rotation once normalised.
bool readAngles(const Transform& t, float& x, float& y, float& z)
{
    if (t.IsIdentity()) {
        x = y = z = 0.0f;
        return true;
    }
    if (t.IsRSMatrix()) {
        matrixToEuler(t.GetRotate(), x, y, z);
        return true;
    }
    Wm4::Matrix3<float> rotation;
    if (!isRotationOnceNormalized(t.GetMatrix(), rotation)) {
        return false;
    }
    matrixToEuler(rotation, x, y, z);
    return true;
}

// The scale of t; false, outputs untouched, for a general matrix, whose
// scale is not separated from its rotation.
bool readScale(const Transform& t, Wm4::Vector3<float>& scale, bool& uniform)
{
    if (t.IsIdentity()) {
        scale = Wm4::Vector3<float>::ONE;
        uniform = true;
        return true;
    }
    if (!t.IsRSMatrix()) {
        return false;
    }
    uniform = t.IsUniformScale();
    if (uniform) {
        const float u = t.GetUniformScale();
        scale = Wm4::Vector3<float>(u, u, u);
    } else {
        scale = t.GetScale();
    }
    return true;
}

} // namespace

const ekGenericTransformation<float>& ekGizmoNode::transformOf(bool world) const
{
    return world ? getWorldTransform() : getLocalTransform();
}

void ekGizmoNode::writeBack(ekGenericTransformation<float> t, bool world)
{
    if (world) {
        toParentFrame(*this, t);
    }
    editLocalTransform(true) = t;
}

ekGizmoNode::ekGizmoResult ekGizmoNode::setAllParameters(const Wm4::Vector3<float>& translation,
                                                         float x, float y, float z,
                                                         const Wm4::Vector3<float>& scale,
                                                         bool world)
{
    Transform t = transformOf(world);
    t.SetTranslate(translation);
    ekGizmoResult result = TRANSLATION_ONLY;
    if (t.IsRSMatrix()) {
        applyRotation(t, x, y, z);
        applyScale(t, scale);
        result = TRANSLATION_ROTATION_SCALE;
    } else if (applyRotation(t, x, y, z)) {
        result = TRANSLATION_ROTATION;
    }
    // The translation is applied even when nothing else could be.
    writeBack(t, world);
    return result;
}

ekGizmoNode::ekGizmoResult ekGizmoNode::getAllParameters(Wm4::Vector3<float>& translation,
                                                         float& x, float& y, float& z,
                                                         Wm4::Vector3<float>& scale,
                                                         bool& uniform, bool world) const
{
    const Transform& t = transformOf(world);
    translation = t.GetTranslate();
    if (readScale(t, scale, uniform)) {
        readAngles(t, x, y, z);
        return TRANSLATION_ROTATION_SCALE;
    }
    uniform = false;
    return readAngles(t, x, y, z) ? TRANSLATION_ROTATION : TRANSLATION_ONLY;
}

void ekGizmoNode::setTranslation(const Wm4::Vector3<float>& translation, bool world)
{
    Transform t = transformOf(world);
    t.SetTranslate(translation);
    writeBack(t, world);
}

void ekGizmoNode::getTranslation(Wm4::Vector3<float>& translation, bool world) const
{
    translation = transformOf(world).GetTranslate();
}

bool ekGizmoNode::setScale(const Wm4::Vector3<float>& scale, bool world)
{
    Transform t = transformOf(world);
    if (!t.IsRSMatrix()) {
        return false;
    }
    applyScale(t, scale);
    writeBack(t, world);
    return true;
}

bool ekGizmoNode::getScale(Wm4::Vector3<float>& scale, bool& uniform, bool world) const
{
    return readScale(transformOf(world), scale, uniform);
}

bool ekGizmoNode::setEulerAngle(float x, float y, float z, bool world)
{
    Transform t = transformOf(world);
    if (!applyRotation(t, x, y, z)) {
        return false;
    }
    writeBack(t, world);
    return true;
}

bool ekGizmoNode::getEulerAngle(float& x, float& y, float& z, bool world) const
{
    return readAngles(transformOf(world), x, y, z);
}

bool ekGizmoNode::getRotate(Wm4::Matrix3<float>& rotation, bool world) const
{
    rotation = transformOf(world).GetRotate();
    return true;
}

} // namespace ek
