#pragma once

#include "ek3DManipulationExport.h"
#include "ekGizmoHandle.h"
#include "ekGizmoStyle.h"

#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekGeometry.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

class ekCamera;
class ekGizmoControllerRotate;
class ekGizmoControllerScale;
class ekGizmoControllerTranslate;
struct ekGizmoGeometry;

/// The scene-graph node of one gizmo. Its children are the lines of three
/// handle groups (translate arrows, rotate circles, scale handles), of which
/// the mode shows one. It manipulates its reference objects: host objects
/// that it does not own.
///
/// Placement: the node's local transform puts its origin at the centre of
/// the reference objects, turns it to a given orientation and scales it so
/// that one unit of its own frame (one axis) covers the expected pixel size
/// on screen. The controller lays it out every frame.
///
/// Like any node it is owned through the scene graph's counted references
/// (ekPointer): a parent holds its children. All calls belong to the thread
/// that owns the scene graph.
class EK3DMANIPULATION_API ekGizmoNode : public ekNode {
public:
    /// Which handle group the gizmo shows and the controller drags.
    enum GizmoMode : std::uint32_t {
        TRANSLATE = 0, ///< arrows: move along an axis
        ROTATE = 1,    ///< circles: turn about an axis
        SCALE = 2,     ///< handles: scale along an axis
        NONE = 3, ///< any value above 3 behaves like NONE
    };

    /// An axis of the gizmo's own frame.
    enum Axis : unsigned int { AXIS_X = 0, AXIS_Y = 1, AXIS_Z = 2 };

    /// Which transform parameters an operation handled: bit 0 the angles,
    /// bit 1 the scale; the translation always.
    enum ekGizmoResult : std::uint32_t {
        TRANSLATION_ONLY = 0,
        TRANSLATION_ROTATION = 1,
        TRANSLATION_ROTATION_SCALE = 3,
    };

    static const ekRtti TYPE; ///< "ekCore.ekGizmoNode", derived from ekNode::TYPE
    /// TYPE: the engine's run-time type of the node.
    const ekRtti& GetType() const override;

    /// Builds every handle line as a child; shows nothing (mode NONE); the
    /// node itself is in culling mode CULL_ALWAYS, so the engine draws its
    /// lines as an overlay. b is passed to ekNode.
    explicit ekGizmoNode(bool b = true);
    /// Releases the handle lines; the reference objects are not touched.
    ~ekGizmoNode() override;
    ekGizmoNode(const ekGizmoNode&) = delete;
    ekGizmoNode& operator=(const ekGizmoNode&) = delete;

    /// @name Reference objects (not owned; null entries are kept and skipped)
    /// @{

    /// The list becomes exactly {object}; then the shown group's default
    /// colours are restored (a highlight is taken off).
    void setReferenceObject(ekSpatial* object);
    /// The list becomes a copy of objects; then as setReferenceObject.
    void setReferenceObjects(const std::vector<ekSpatial*>& objects);
    /// The objects manipulated, in order.
    const std::vector<ekSpatial*>& getReferenceObjects() const { return m_referenceObjects; }
    /// Changing the list through this reference triggers nothing.
    std::vector<ekSpatial*>& editReferenceObjects() { return m_referenceObjects; }
    /// @}

    /// @name Mode and enabled axes
    /// @{

    /// The mode set; NONE for a new node.
    GizmoMode getMode() const { return m_mode; }
    /// Shows the group of mode (none for NONE and above); colours, highlight
    /// and active state stay.
    void setMode(GizmoMode mode);
    /// Stores mask in the group of mode (0..2) and shows that group, hiding
    /// the others, without changing getMode(): call setMode too when the
    /// mode should follow.
    void setEnabledAxis(GizmoMode mode, unsigned char mask);
    /// The mask of mode's group; 0 for NONE and above.
    unsigned char getEnabledAxis(GizmoMode mode) const;
    /// @}

    /// @name Options read by the drags (all off by default)
    /// @{

    /// Scale drags scale all three axes alike.
    void setUseUniformScale(bool on);
    /// See setUseUniformScale.
    bool shouldUseUniformScale() const;
    /// A rotate drag snaps the gizmo's own orientation to 5-degree steps
    /// when it ends.
    void setSnapRotationToAxis(bool on);
    /// See setSnapRotationToAxis.
    bool shouldSnapRotationToAxis() const;
    /// Translate and scale drags keep the dragged point between the
    /// camera's near and far planes.
    void restrictPositionBetweenNearFar(bool on);
    /// See restrictPositionBetweenNearFar.
    bool shouldRestrictPositionBetweenNearFar() const;
    /// On-screen length of one axis, in pixels (60 by default). Not checked.
    void setExpectedPixelSize(float pixels);
    /// See setExpectedPixelSize.
    float getExpectedPixelSize() const { return m_expectedPixelSize; }
    /// @}

    /// @name Engine hooks (the lines are drawn as the node's children)
    /// @{

    /// Does nothing; true.
    bool loadGPUResources();
    /// Adds nothing to out.
    void getChildrenEkGeometries(std::vector<ekPointer<ekGeometry>>& out);
    /// @}

    /// @name Highlighting (the shown group; nothing in NONE)
    /// @{

    /// Gives the handles of axis (0..2) the highlight colour, taking the
    /// highlight off the others. Marks the node for redraw when the colour
    /// changed.
    void highlight(unsigned int axis);
    /// The highlight colour of mode's group (0..2; others ignored); shows
    /// at the next highlight.
    void setHighlightColor(GizmoMode mode, const Wm4::ColorRGBA& colour);
    /// Every handle of the shown group back to its axis colour.
    void applyDefaultColors();
    /// @}

    /// @name Placement and screen-constant size
    /// @{

    /// World length that pixelSize pixels cover at the depth of position
    /// (world space) for a view viewportHeight pixels high. Negative behind
    /// a perspective camera; not finite for a height or near distance of 0.
    static float ComputeGizmoScale(const ekCamera* camera, const Wm4::Vector3<float>& position,
                                   float pixelSize, int viewportHeight);
    /// Sets the local transform so that the gizmo stands at frame's
    /// translation (world), turned by frame's rotation, scaled to
    /// pixelSize. A scale that is not finite or above 1e30 world units, or
    /// a result that would not be finite through the parent, leaves the
    /// local transform as it was. Writes only when the result differs.
    void calculateFrameFromObjectWorldTranform(const ekGenericTransformation<float>& frame,
                                               const ekCamera* camera, float pixelSize,
                                               int viewportHeight);
    /// Average of the reference objects' bound centres (or positions for
    /// objects without bound), world space; null entries count in the
    /// divisor. Zero for an empty list.
    Wm4::Vector3<float> getCenterReferences() const;
    /// The world rotation of the only reference object; the identity for
    /// none, several, or a single null entry.
    Wm4::Matrix3<float> getOrientationReferences() const;
    /// Turns the arrowheads to face the camera. A rotation that would not be
    /// finite (camera on an arrowhead, a gizmo of scale 0) is not written.
    void updateCameraFacing(const ekCamera* camera);
    /// Stores every reference object's world transform, its parent and the
    /// parent's inverse world transform, the base of the next
    /// setWorldTransform.
    void storeOriginalTransform();
    /// Every stored, non-excluded reference object gets world transform
    /// delta * stored (with the stored translation kept when
    /// keepTranslation) and the matching local transform; its subtree is
    /// updated at once. The second argument has no effect. An object whose
    /// new transform would not be finite, or whose scale would underflow to
    /// zero or a subnormal, keeps its transform. Once the reference list is
    /// no longer the one stored, the stored transforms are dropped and
    /// nothing is written until the next storeOriginalTransform; so too,
    /// for that object alone, once an object's parent is not the stored one.
    void setWorldTransform(const ekGenericTransformation<float>& delta, bool unused,
                           bool keepTranslation);
    /// Every stored, non-excluded reference object gets back the world and
    /// local transforms stored, bit for bit; nothing once the list changed,
    /// and nothing to an object whose parent changed since the press.
    void restoreOriginalTransform();
    /// @}

    /// @name Transform parameters of the node itself
    /// world true: the world transform (written through the parent's
    /// inverse), else the local one. Angles in radians, R = Rx * Ry * Rz.
    /// @{

    /// Sets the translation, and the angles and scale where the transform
    /// allows: a general matrix keeps its scale, and its angles too unless
    /// it is a rotation once normalised. Returns what was set.
    ekGizmoResult setAllParameters(const Wm4::Vector3<float>& translation, float x, float y, float z,
                                   const Wm4::Vector3<float>& scale, bool world);
    /// Reads what the transform gives, as setAllParameters would set it;
    /// outputs it cannot give stay untouched (uniform becomes false).
    /// Returns what was read.
    ekGizmoResult getAllParameters(Wm4::Vector3<float>& translation, float& x, float& y, float& z,
                                   Wm4::Vector3<float>& scale, bool& uniform, bool world) const;
    /// Sets the translation only.
    void setTranslation(const Wm4::Vector3<float>& translation, bool world);
    /// The translation.
    void getTranslation(Wm4::Vector3<float>& translation, bool world) const;
    /// False (nothing changed) for a general matrix.
    bool setScale(const Wm4::Vector3<float>& scale, bool world);
    /// False (outputs untouched) for a general matrix.
    bool getScale(Wm4::Vector3<float>& scale, bool& uniform, bool world) const;
    /// False (nothing changed) for a general matrix that is not a rotation
    /// once its columns are normalised.
    bool setEulerAngle(float x, float y, float z, bool world);
    /// False (outputs untouched) for a general matrix that is not a
    /// rotation once its columns are normalised.
    bool getEulerAngle(float& x, float& y, float& z, bool world) const;
    /// The transform's GetRotate(); always true.
    bool getRotate(Wm4::Matrix3<float>& rotation, bool world) const;
    /// @}

    // ---- Opt-in extended handles (a node that does not enable them draws
    // ---- and picks exactly as without them)

    /// @name Extended handles
    /// Plane squares and a screen handle (translate), a view ring and a
    /// trackball (rotate), a grabbable uniform-scale centre (scale). Their
    /// lines follow the specified ones among the node's children.
    /// @{

    /// Turns them on or off.
    void setExtendedHandles(bool enabled);
    /// See setExtendedHandles; false by default.
    bool hasExtendedHandles() const { return m_extendedHandles; }
    /// Gives handle the highlight colour, as highlight does for an axis
    /// handle, taking the highlight off the others; NONE restores the
    /// default colours.
    void highlightHandle(ekGizmoHandle handle);
    /// @}

    // ---- Opt-in look and edge-on fading (a node that sets none of these
    // ---- draws and picks exactly as without them)

    /// @name Style
    /// @{

    /// Draws every handle with style: its axis colours and stroke widths
    /// at once (every handle takes its default colour again, which takes a
    /// highlight off, and the node is marked for redraw), its highlight
    /// colour as setHighlightColor does for all three modes (a later
    /// setHighlightColor still overrides one mode). The drag feedback
    /// lines already shown keep their width until the next drag.
    void setStyle(const ekGizmoStyle& style);
    /// The style last set; a default-constructed ekGizmoStyle until then.
    const ekGizmoStyle& getStyle() const;
    /// @}

    /// @name Edge-on fading
    /// A handle seen so nearly edge-on that its on-screen extent falls
    /// below the threshold is faded: hidden (outright: an alpha ramp would
    /// need a renderer that blends) and refused by every hover and press
    /// test. Extents are measured at each layout
    /// (calculateFrameFromObjectWorldTranform) from the gizmo's frame as
    /// projected for that camera and viewport height: an arrow or scale
    /// handle by the length of its unit axis on screen, so it fades when
    /// its axis points at the eye; a rotate circle by the half-width of its
    /// disc across its narrowest direction, so it fades when its axis lies
    /// across the view and the circle shows as a line. A faded handle shows
    /// again once its extent reaches the threshold plus 2 pixels, so that a
    /// camera jittering about the threshold does not make it flicker. An
    /// axis lying across the view measures the expected pixel size, so a
    /// threshold more than 2 pixels below that size never fades its arrow.
    /// @{

    /// The threshold, in pixels of the view; 0 (the default) or any value
    /// that is not a positive number turns fading off and shows every
    /// faded handle again at once. A new threshold takes effect at the
    /// next layout.
    void setFadeThreshold(float pixels);
    /// See setFadeThreshold.
    float getFadeThreshold() const;
    /// Bit (1 << axis) set: the arrow and the scale handle of that axis are
    /// faded at the last layout (0 while fading is off).
    unsigned char getFadedAxes() const;
    /// Bit (1 << axis) set: the plane normal to that axis (holding that
    /// axis's rotate circle) is faded at the last layout (0 while fading is
    /// off).
    unsigned char getFadedPlanes() const;
    /// The faded handles of mode's kind, by axis: getFadedAxes() for
    /// TRANSLATE and SCALE, getFadedPlanes() for ROTATE (the circles), 0 for
    /// NONE and above.
    unsigned char getFadedHandles(GizmoMode mode) const;
    /// A count that moves whenever a setting that a layout reads changes
    /// (the fade threshold, the expected pixel size): equal readings mean
    /// a layout made in between still holds for this node.
    std::uint32_t getLayoutRevision() const { return m_layoutRevision; }
    /// @}

protected:
    /// The gizmo scale at the node's own bound centre, measured through the
    /// near plane (perspective cameras only).
    float getBestScale(const ekCamera* camera, float pixelSize, int viewportHeight) const;
    /// Shows (active) or hides the drag feedback lines of axis in the shown
    /// group (rotate and scale only).
    void setActiveState(unsigned int axis, bool active);

    /// As ekNode's, and marks the transform (with subtree, the subtree too)
    /// dirty, so that the lines follow; returns its first dirty-flag word.
    unsigned int setDirtyDown(bool subtree) override;
    /// As ekNode's.
    void UpdateWorldData() override;
    /// As ekNode's.
    void UpdateWorldData_Flags() override;

private:
    friend class ekExtendedDrag;
    friend class ekGizmoControllerRotate;
    friend class ekGizmoControllerScale;
    friend class ekGizmoControllerTranslate;

    enum Option : std::uint32_t {
        UNIFORM_SCALE = 1u << 0,
        SNAP_ROTATION = 1u << 1,
        RESTRICT_NEAR_FAR = 1u << 2,
    };
    void setOption(Option option, bool on);
    bool hasOption(Option option) const { return (m_options & option) != 0; }
    // Writes t into the local transform, through the parent's inverse when
    // t is a world transform.
    void writeBack(ekGenericTransformation<float> t, bool world);
    const ekGenericTransformation<float>& transformOf(bool world) const;
    // Whether the stored transforms still belong to the reference list.
    bool holdsStoredObjects();
    void dropStoredTransforms();
    // Whether stored object i is still under its parent of the press; false
    // from the first time it is not until the next press.
    bool keepsStoredParent(std::size_t i);
    static void writeTransforms(ekSpatial& object, const ekGenericTransformation<float>& world,
                                const ekGenericTransformation<float>& local);

    ekGizmoGeometry* m_geometry;
    std::vector<ekSpatial*> m_referenceObjects;
    // The reference list at the press and what was stored of each object.
    std::vector<ekSpatial*> m_storedObjects;
    std::vector<ekGenericTransformation<float>> m_originalTransforms;
    std::vector<ekGenericTransformation<float>> m_originalLocalTransforms;
    std::vector<ekGenericTransformation<float>> m_parentInverseTransforms;
    // Each stored object's parent at the press (not owned), and whether it
    // has been seen under another since.
    std::vector<const ekNode*> m_storedParents;
    std::vector<bool> m_reparented;
    float m_expectedPixelSize;
    GizmoMode m_mode;
    std::uint32_t m_options;

    // ---- Extended handles
    // Shows the extended lines that the mode, mask and fading call for.
    void showExtendedLines();
    // The extended lines in their default colours.
    void paintExtendedDefaults();
    // Turns the camera-facing extended lines for camera, the node's world
    // orientation (normalised) being orientation.
    void faceExtendedLines(const ekCamera& camera, const Wm4::Matrix3<float>& orientation);

    bool m_extendedHandles = false;
    // ---- Edge-on fading
    // Fades the handles of the faded axes and planes, shows the others.
    void setFaded(unsigned char axes, unsigned char planes);
    // Measures the handles as laid out for camera and fades those below the
    // threshold; nothing while fading is off.
    void updateFading(const ekCamera& camera, int viewportHeight);

    // Pixels; not above 0: fading off.
    float m_fadeThreshold = 0.0f;
    // What the last layout faded (bit 1 << axis); 0 while fading is off.
    unsigned char m_fadedAxes = 0;
    unsigned char m_fadedPlanes = 0;
    std::uint32_t m_layoutRevision = 0;
};

} // namespace ek
