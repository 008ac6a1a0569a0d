#pragma once

#include "ekGeometry.h"
#include "ekLine.h"
#include "ekNode.h"

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

// One drawn segment of a frame, in world space.
struct ekDrawSegment {
    Wm4::Vector3<float> start;
    Wm4::Vector3<float> end;
    Wm4::ColorRGBA color;
    float width;      // pixels
    bool overlay;     // drawn on top of the scene, without depth test
    const ekLine* line;
};

// The draw list an ekEngine keeps from frame to frame. Each frame it takes
// the scene's changes (the pending lists of ekSpatial): it rewrites the
// segments of the lines that changed in place, lays the list out anew only
// when the structure, a culling mode or a line's segment count changed
// (copying the segments of unchanged lines), and clears the bits a frame
// clears on everything that changed. Lines of the pass's batch are drawn
// anew at every frame.
//
// A scene that another draw cache took changes from since this one's last
// frame (two engines drawing one scene, or nested scenes) is laid out anew,
// so that no change is missed.
class ekDrawCache {
public:
    ekDrawCache() = default;
    ekDrawCache(const ekDrawCache&) = delete;
    ekDrawCache& operator=(const ekDrawCache&) = delete;

    // Whether anything the 2D primitives pass can see may have changed since
    // the last call that answered true, for the same scene and registry.
    bool sceneChangedSince(const ekNode* scene, std::uint64_t registryGeneration);

    // Brings the list up to date with scene (may be null) and the batch.
    void update(ekNode* scene, const std::vector<ekPointer<ekGeometry>>& batch);

    const std::vector<ekDrawSegment>& getList() const { return m_list; }

private:
    struct Entry {
        const ekLine* line;
        std::uint32_t first;
        std::uint32_t count;
        bool overlay;
    };

    // Takes the changes below spatial; true when it still has to stay
    // pending (world bits not yet spent, or children that do).
    bool takeChanges(ekSpatial& spatial);
    void refreshLine(const ekLine& line);
    void collect(ekSpatial& spatial, bool overlay);
    void layOut();
    static std::uint32_t countSegments(const ekLine& line);
    // The line's vertices in world space, into the first entries of
    // m_worldVertices.
    void transformVertices(const ekLine& line);
    // Writes the line's segments from out on; returns the end.
    template <class Out>
    Out writeSegments(const ekLine& line, bool overlay, Out out);
    // Rewrites only the end points of the line's segments from out on, of
    // the first room of them; returns how many the line draws.
    std::uint32_t placeSegments(const ekLine& line, std::vector<ekDrawSegment>::iterator out, std::uint32_t room);

    std::vector<ekDrawSegment> m_list;
    std::vector<ekDrawSegment> m_spare;
    std::vector<Entry> m_entries;
    std::vector<Entry> m_newEntries;
    std::vector<Entry> m_newOverlay;
    std::vector<Wm4::Vector3<float>> m_worldVertices;
    ekNode* m_scene = nullptr;
    std::uint64_t m_generation = 0;
    std::size_t m_sceneSegments = 0;
    std::uint32_t m_stamp = 0;
    bool m_relayout = false;
    // Whether the segments of the last list are up to date but for the
    // changes this frame takes.
    bool m_reuse = false;
    const ekNode* m_analysedScene = nullptr;
    std::uint64_t m_analysedGeneration = 0;
    std::uint64_t m_analysedRegistry = 0;
};

} // namespace ek
