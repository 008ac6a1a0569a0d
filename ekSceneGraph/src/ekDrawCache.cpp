#include "ekSceneGraph/ekDrawCache.h"

#include "ekPrefetch.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace ek {

namespace {

constexpr unsigned int kWorldBits = DIRTY_TRANSFORM | DIRTY_BOUND | DIRTY_SUBTREE;
constexpr unsigned int kFrameBits = DIRTY_STRUCTURE | DIRTY_RENDER;

// Stamps of the frames of every draw cache, so that each can tell whether
// another took changes from its scene.
std::atomic<std::uint32_t> g_lastStamp{0};

std::uint32_t nextStamp()
{
    std::uint32_t stamp = g_lastStamp.fetch_add(1, std::memory_order_relaxed) + 1;
    // 0 is the stamp of a node no frame has seen.
    while (stamp == 0) {
        stamp = g_lastStamp.fetch_add(1, std::memory_order_relaxed) + 1;
    }
    return stamp;
}

} // namespace

bool ekDrawCache::sceneChangedSince(const ekNode* scene, std::uint64_t registryGeneration)
{
    if (scene != nullptr && scene == m_analysedScene && scene == m_scene
        && scene->getStructureGeneration() == m_analysedGeneration && registryGeneration == m_analysedRegistry
        && scene->m_frameStamp == m_stamp && (scene->m_state & ekSpatial::STATE_PENDING) == 0) {
        return false;
    }
    m_analysedScene = scene;
    m_analysedGeneration = scene != nullptr ? scene->getStructureGeneration() : 0;
    m_analysedRegistry = registryGeneration;
    return true;
}

void ekDrawCache::update(ekNode* scene, const std::vector<ekPointer<ekGeometry>>& batch)
{
    // Changes another cache took are lost to this one: nothing it drew can
    // be trusted then.
    m_reuse = scene != nullptr && scene == m_scene && scene->m_frameStamp == m_stamp;
    m_relayout = !m_reuse || scene->getStructureGeneration() != m_generation;
    m_scene = scene;
    m_generation = scene != nullptr ? scene->getStructureGeneration() : 0;
    m_stamp = nextStamp();
    if (scene != nullptr) {
        if ((scene->m_state & ekSpatial::STATE_PENDING) != 0 && !takeChanges(*scene)) {
            scene->m_state &= ~ekSpatial::STATE_PENDING;
        }
        for (ekNode* node = scene; node != nullptr; node = node->getParent()) {
            node->m_frameStamp = m_stamp;
        }
    }
    if (m_relayout) {
        layOut();
    }
    m_list.resize(m_sceneSegments);
    for (const ekPointer<ekGeometry>& geometry : batch) {
        if (geometry != nullptr && geometry->IsDerived(ekLine::TYPE)) {
            writeSegments(static_cast<const ekLine&>(*geometry), true, std::back_inserter(m_list));
        }
    }
}

bool ekDrawCache::takeChanges(ekSpatial& spatial)
{
    if ((spatial.m_state & ekSpatial::STATE_CULL_CHANGED) != 0) {
        m_relayout = true;
    }
    if ((spatial.m_state & ekSpatial::STATE_DRAW_CHANGED) != 0) {
        refreshLine(static_cast<const ekLine&>(spatial));
    }
    spatial.m_state &= ~(ekSpatial::STATE_DRAW_CHANGED | ekSpatial::STATE_CULL_CHANGED);
    spatial.m_dirty[0] &= ~kFrameBits;
    spatial.m_dirty[1] = 0;
    bool stays = (spatial.m_dirty[0] & kWorldBits) != 0;
    if (spatial.m_kind != ekSpatial::KIND_NODE) {
        return stays;
    }
    auto& node = static_cast<ekNode&>(spatial);
    node.m_frameStamp = m_stamp;
    // The children that stay pending close up, in their order.
    std::vector<ekSpatial*>& pending = node.m_pending;
    std::size_t kept = 0;
    const std::size_t count = pending.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kPrefetchAhead < count) {
            // A line's draw slot and a node's pending list lie in the third
            // 64 bytes.
            prefetchObject(pending[i + kPrefetchAhead], 3);
        }
        ekSpatial* child = pending[i];
        if (takeChanges(*child)) {
            pending[kept++] = child;
        } else {
            child->m_state &= ~ekSpatial::STATE_PENDING;
        }
    }
    pending.resize(kept);
    return stays || kept != 0;
}

void ekDrawCache::refreshLine(const ekLine& line)
{
    // A line that is not drawn has nothing to refresh; one that was drawn
    // until its culling mode changed lays the list out anew anyway; and a
    // list not to be reused is written anew whole.
    if (!m_reuse || line.getCullingMode() == ekSpatial::CULL_ALWAYS) {
        return;
    }
    const std::uint32_t slot = line.m_drawSlot;
    if (slot >= m_entries.size() || m_entries[slot].line != &line) {
        m_relayout = true;
        return;
    }
    const Entry& entry = m_entries[slot];
    const auto first = m_list.begin() + entry.first;
    // A line that only moved keeps its colour and width: the list is
    // written where it changed, which spares most of its memory traffic.
    if (entry.count != 0 && !(first->color == line.getColor() && first->width == line.getWidth())) {
        const Wm4::ColorRGBA& color = line.getColor();
        const float width = line.getWidth();
        for (auto s = first; s != first + entry.count; ++s) {
            s->color = color;
            s->width = width;
            s->overlay = entry.overlay;
            s->line = &line;
        }
    }
    // The segments are counted as they are placed, rather than in a walk of
    // their own: a line whose count changed lays the list out anew, which
    // writes its segments whole and leaves the others as they were.
    if (placeSegments(line, first, entry.count) != entry.count) {
        m_relayout = true;
    }
}

void ekDrawCache::collect(ekSpatial& spatial, bool overlay)
{
    const bool culled = spatial.getCullingMode() == ekSpatial::CULL_ALWAYS;
    if (spatial.m_kind == ekSpatial::KIND_NODE) {
        const auto& node = static_cast<const ekNode&>(spatial);
        for (const ekPointer<ekSpatial>& child : node.m_children) {
            collect(*child, overlay || culled);
        }
    } else if (!culled && spatial.m_kind == ekSpatial::KIND_LINE) {
        const auto& line = static_cast<const ekLine&>(spatial);
        (overlay ? m_newOverlay : m_newEntries).push_back({&line, 0, countSegments(line), overlay});
    }
}

void ekDrawCache::layOut()
{
    m_newEntries.clear();
    m_newOverlay.clear();
    if (m_scene != nullptr) {
        collect(*m_scene, false);
    }
    m_newEntries.insert(m_newEntries.end(), m_newOverlay.begin(), m_newOverlay.end());
    m_spare.clear();
    for (std::size_t i = 0; i < m_newEntries.size(); ++i) {
        Entry& entry = m_newEntries[i];
        const ekLine& line = *entry.line;
        entry.first = static_cast<std::uint32_t>(m_spare.size());
        // Segments already up to date in the old list are copied.
        const std::uint32_t slot = line.m_drawSlot;
        if (m_reuse && slot < m_entries.size() && m_entries[slot].line == &line
            && m_entries[slot].count == entry.count) {
            const auto from = m_list.begin() + m_entries[slot].first;
            m_spare.insert(m_spare.end(), from, from + entry.count);
            if (m_entries[slot].overlay != entry.overlay) {
                for (auto s = m_spare.end() - entry.count; s != m_spare.end(); ++s) {
                    s->overlay = entry.overlay;
                }
            }
        } else {
            writeSegments(line, entry.overlay, std::back_inserter(m_spare));
        }
    }
    for (std::size_t i = 0; i < m_newEntries.size(); ++i) {
        m_newEntries[i].line->m_drawSlot = static_cast<std::uint32_t>(i);
    }
    m_list.swap(m_spare);
    m_entries.swap(m_newEntries);
    m_sceneSegments = m_list.size();
}

std::uint32_t ekDrawCache::countSegments(const ekLine& line)
{
    std::uint32_t count = 0;
    line.forEachSegment([&count](unsigned int, unsigned int) { ++count; });
    return count;
}

void ekDrawCache::transformVertices(const ekLine& line)
{
    // Each vertex is carried to world space once, however many segments
    // share it. A copy of the transform: the stores below could alias the
    // original, which would then be read again for every vertex.
    const ekGenericTransformation<float> world = line.getWorldTransform();
    const auto vertexCount = static_cast<std::size_t>(line.getVertexCount());
    // Scratch that only grows: lines of different sizes in turn would
    // otherwise fill it with zeros again and again.
    if (m_worldVertices.size() < vertexCount) {
        m_worldVertices.resize(vertexCount);
    }
    Wm4::Vector3<float>* out = m_worldVertices.data();
    const Wm4::Vector3<float>* vertices = line.vertexData();
    for (std::size_t v = 0; v < vertexCount; ++v) {
        out[v] = world.ApplyForward(vertices[v], true);
    }
}

std::uint32_t ekDrawCache::placeSegments(const ekLine& line, std::vector<ekDrawSegment>::iterator out,
                                         std::uint32_t room)
{
    transformVertices(line);
    std::uint32_t count = 0;
    line.forEachSegment([&](unsigned int start, unsigned int end) {
        if (count < room) {
            out[count].start = m_worldVertices[start];
            out[count].end = m_worldVertices[end];
        }
        ++count;
    });
    return count;
}

template <class Out>
Out ekDrawCache::writeSegments(const ekLine& line, bool overlay, Out out)
{
    transformVertices(line);
    const Wm4::ColorRGBA& color = line.getColor();
    const float width = line.getWidth();
    line.forEachSegment([&](unsigned int start, unsigned int end) {
        *out = ekDrawSegment{m_worldVertices[start], m_worldVertices[end], color, width, overlay, &line};
        ++out;
    });
    return out;
}

} // namespace ek
