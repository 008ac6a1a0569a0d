#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

class ekGizmoNode;
class ekSpatial;

// What each gizmo of one view was last laid out for. A view lays its gizmos
// out at every frame, mostly for an unchanged camera and scene; laying a
// gizmo out again for the same camera, settings, gizmo and objects would
// write nothing, and would still read all of it.
class ekGizmoLayoutCache {
public:
    // All that a layout pass reads besides each gizmo and its objects:
    // camera, viewport height and the view's orientation settings.
    struct View {
        std::array<float, 17> camera{};
        std::array<float, 18> orientations{};
        int orientationReference = 0;
        bool dragging = false;

        bool operator==(const View& other) const;
    };

    // Starts a pass over gizmoCount gizmos. Every gizmo is due again when
    // the view differs from the last pass's or when any world transform or
    // bound may have changed since (ekSpatial::getChangeCount).
    void beginPass(const View& view, std::size_t gizmoCount);
    // Whether gizmo, at index i of the pass, is due; from then on it counts
    // as laid out for this pass's view.
    bool isDue(std::size_t i, const ekGizmoNode& gizmo);
    // Gizmo i was not laid out (it shows no handles).
    void forget(std::size_t i);

private:
    // A gizmo as laid out: the object it followed (one at most: a longer
    // list is laid out at every pass) and its size on screen.
    struct Entry {
        const ekGizmoNode* gizmo = nullptr;
        const ekSpatial* object = nullptr;
        std::size_t objectCount = 0;
        float pixelSize = 0.0f;
    };

    std::vector<Entry> m_entries;
    View m_view;
    std::uint64_t m_changeCount = 0;
};

} // namespace ek
