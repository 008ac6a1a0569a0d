#include "ekSceneGraph/ekGeometry.h"

#include <algorithm>
#include <cmath>

namespace ek {

namespace {

const Wm4::Vector3<float> kNoVertex;

} // namespace

ekGeometry::ekGeometry(int vertexCount, int indexCount)
    : m_vertices(static_cast<std::size_t>(std::max(vertexCount, 0))),
      m_indices(static_cast<std::size_t>(std::max(indexCount, 0)))
{
    const unsigned int last = m_vertices.empty() ? 0u : static_cast<unsigned int>(m_vertices.size() - 1);
    for (std::size_t slot = 0; slot < m_indices.size(); ++slot) {
        m_indices[slot] = std::min(static_cast<unsigned int>(slot), last);
    }
}

const Wm4::Vector3<float>& ekGeometry::getVertexPosition(int vertex) const
{
    return vertex >= 0 && vertex < getVertexCount() ? m_vertices[static_cast<std::size_t>(vertex)]
                                                   : kNoVertex;
}

void ekGeometry::setVertexPosition(int vertex, const Wm4::Vector3<float>& position)
{
    if (vertex >= 0 && vertex < getVertexCount()) {
        m_vertices[static_cast<std::size_t>(vertex)] = position;
        setDirty(DIRTY_BOUND, true, true);
    }
}

unsigned int ekGeometry::getIndex(int slot) const
{
    return slot >= 0 && slot < getIndexCount() ? m_indices[static_cast<std::size_t>(slot)] : 0u;
}

void ekGeometry::setIndex(int slot, unsigned int vertex)
{
    if (slot >= 0 && slot < getIndexCount()) {
        m_indices[static_cast<std::size_t>(slot)] = vertex;
        setDirty(0, true, false);
    }
}

void ekGeometry::UpdateWorldBound()
{
    if (m_vertices.empty()) {
        setWorldBound(ekBound(getWorldTransform().GetTranslate(), 0.0f));
        return;
    }
    // Model sphere: the box centre and the farthest vertex from it.
    Wm4::Vector3<float> low = m_vertices.front();
    Wm4::Vector3<float> high = low;
    for (const Wm4::Vector3<float>& v : m_vertices) {
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], v[i]);
            high[i] = std::max(high[i], v[i]);
        }
    }
    const Wm4::Vector3<float> center = (low + high) * 0.5f;
    float radiusSquared = 0.0f;
    for (const Wm4::Vector3<float>& v : m_vertices) {
        radiusSquared = std::max(radiusSquared, (v - center).SquaredLength());
    }
    ekBound world;
    ekBound(center, std::sqrt(radiusSquared)).transformBy(getWorldTransform(), world);
    setWorldBound(world);
}

} // namespace ek
