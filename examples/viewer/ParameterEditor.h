#pragma once

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4Vector3.h>

namespace ek {
class ekNode;
class ekSpatial;
}

namespace ek::viewer {

// The three rows of the inspector.
enum class TransformPart { Position, Rotation, Scale };

// What the inspector and a script's edit command take: positions within
// kMaxEditPosition world units of the origin, angles within kMaxEditDegrees,
// scales from kMinEditScale to kMaxEditScale (no mirroring, no collapse).
constexpr double kMaxEditPosition = 10000.0;
constexpr double kMaxEditDegrees = 3600.0;
constexpr double kMinEditScale = 0.001;
constexpr double kMaxEditScale = 1000.0;

// An object's transform as a user types it. Angles in degrees,
// R = Rx * Ry * Rz; world or local as asked.
struct TransformParameters {
    Wm4::Vector3<float> position;
    Wm4::Vector3<float> degrees;
    Wm4::Vector3<float> scale{1.0f, 1.0f, 1.0f};
    bool hasRotation = false; // false: a matrix that is no rotation with scale
    bool hasScale = false;    // false: a general matrix, whose scale is not a vector
};

// Reads and writes objects' transforms through the gizmo node's parameter
// calls. Those work on a gizmo node's own transform, so the editor keeps a
// hidden gizmo node beside the objects (a child of their parent, never
// shown, never manipulating anything), gives it an object's local
// transform, reads or sets the parameters on it and hands the result back.
// Both share one parent, so world values go through the same frame.
class ParameterEditor {
public:
    // Attaches the hidden node to parent, the parent of every object edited.
    explicit ParameterEditor(ekNode& parent);
    ~ParameterEditor();
    ParameterEditor(const ParameterEditor&) = delete;
    ParameterEditor& operator=(const ParameterEditor&) = delete;

    // object's parameters in world (true) or local terms.
    TransformParameters read(const ekSpatial& object, bool world);
    // Sets one part of object's transform in world or local terms and
    // brings its world data up to date. False, with object untouched, when
    // its matrix cannot take the part: a rotation or a scale on a general
    // matrix that fails the library's rotation test, a scale on any other
    // general matrix.
    bool write(ekSpatial& object, TransformPart part, const Wm4::Vector3<float>& value, bool world);

private:
    void copyFrom(const ekSpatial& object);

    ekNode& m_parent;
    ekPointer<ekGizmoNode> m_proxy;
};

} // namespace ek::viewer
