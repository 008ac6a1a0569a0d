#pragma once

#include <ek3DManipulation/ekGizmoController.h>

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

class ekCamera;
class ekGizmoNode;
class ekSpatial;

// All that a layout pass reads besides each gizmo and its objects: the
// camera, the viewport height and the view's orientation settings.
struct ekLayoutKey {
    Wm4::Vector3<float> eye;
    Wm4::Vector3<float> direction;
    Wm4::Vector3<float> up;
    Wm4::Vector3<float> right;
    float nearDistance = 0.0f;
    float frustumBottom = 0.0f;
    float frustumTop = 0.0f;
    bool perspective = false;
    int viewportHeight = 0;
    ekGizmoController::OrientationReference reference = ekGizmoController::LOCAL;
    Wm4::Matrix3<float> custom;
    // The orientation a drag froze; identity outside a drag, where it is
    // not read.
    Wm4::Matrix3<float> frozen;
    bool dragging = false;

    ekLayoutKey() = default;
    ekLayoutKey(const ekCamera& camera, int viewportHeight,
                ekGizmoController::OrientationReference reference,
                const Wm4::Matrix3<float>& custom, bool dragging,
                const Wm4::Matrix3<float>& current);
    bool operator==(const ekLayoutKey& other) const;
};

// What each gizmo of one view was last laid out for. A view lays its gizmos
// out at every frame, mostly for an unchanged camera and scene; laying a
// gizmo out again for the same inputs would write nothing, and would still
// read all of them.
class ekLayoutCache {
public:
    // Starts a pass over gizmoCount gizmos. Every gizmo is due again when
    // the key differs from the last pass's, or (with the engine's change
    // count) when any world transform or bound may have changed since.
    void beginPass(const ekLayoutKey& key, std::size_t gizmoCount);
    // Whether gizmo, at index i of the pass, is due; from then on it counts
    // as laid out for this pass.
    bool isDue(std::size_t i, const ekGizmoNode& gizmo);
    // Gizmo i was not laid out (it shows no handles).
    void forget(std::size_t i);
    // Gizmo i was laid out just now: what it wrote is what later passes
    // compare with.
    void laidOut(std::size_t i, const ekGizmoNode& gizmo);

private:
    // A gizmo as laid out: the object it followed (one at most: a longer
    // list is laid out at every pass) and its size on screen; without the
    // engine's change count, also every world input and the placement it
    // wrote, read again at each pass.
    struct Entry {
        const ekGizmoNode* gizmo = nullptr;
        const ekSpatial* object = nullptr;
        std::size_t objectCount = 0;
        float pixelSize = 0.0f;
        // The node's own count of the settings a layout reads (its fade
        // threshold among them).
        std::uint32_t revision = 0;
#if !EK3D_ENGINE_EXTENSIONS
        ekGenericTransformation<float> objectWorld;
        Wm4::Vector3<float> boundCentre;
        float boundRadius = 0.0f;
        ekGenericTransformation<float> parentWorld;
        ekGenericTransformation<float> placement;
#endif
    };

    std::vector<Entry> m_entries;
    ekLayoutKey m_key;
    std::uint64_t m_changeCount = 0;
};

} // namespace ek
