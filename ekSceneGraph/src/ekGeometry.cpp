#include "ekSceneGraph/ekGeometry.h"

#include <algorithm>
#include <cmath>

namespace ek {

namespace {

const Wm4::Vector3<float> kNoVertex;

} // namespace

ekGeometry::ekGeometry(int vertexCount, int indexCount) : ekGeometry(KIND_SPATIAL, vertexCount, indexCount) {}

ekGeometry::ekGeometry(Kind kind, int vertexCount, int indexCount) : ekSpatial(kind), m_data(new Data)
{
    m_data->vertices.resize(static_cast<std::size_t>(std::max(vertexCount, 0)));
    m_data->indices.resize(static_cast<std::size_t>(std::max(indexCount, 0)));
    const unsigned int last =
        m_data->vertices.empty() ? 0u : static_cast<unsigned int>(m_data->vertices.size() - 1);
    for (std::size_t slot = 0; slot < m_data->indices.size(); ++slot) {
        m_data->indices[slot] = std::min(static_cast<unsigned int>(slot), last);
    }
}

ekGeometry::ekGeometry(Kind kind, const ekGeometry& shape) : ekSpatial(kind), m_data(shape.m_data)
{
    m_data->references.fetch_add(1, std::memory_order_relaxed);
    // As if the shape had been written vertex by vertex.
    setDirty(DIRTY_BOUND, true, false);
}

ekGeometry::~ekGeometry()
{
    if (m_data->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete m_data;
    }
}

ekGeometry::Data& ekGeometry::editData()
{
    if (m_data->references.load(std::memory_order_acquire) > 1) {
        auto* own = new Data;
        own->vertices = m_data->vertices;
        own->indices = m_data->indices;
        own->modelBound = m_data->modelBound;
        own->modelBoundKnown = m_data->modelBoundKnown;
        if (m_data->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            delete m_data;
        }
        m_data = own;
    }
    return *m_data;
}

const Wm4::Vector3<float>& ekGeometry::getVertexPosition(int vertex) const
{
    return vertex >= 0 && vertex < getVertexCount() ? m_data->vertices[static_cast<std::size_t>(vertex)]
                                                   : kNoVertex;
}

void ekGeometry::setVertexPosition(int vertex, const Wm4::Vector3<float>& position)
{
    if (vertex >= 0 && vertex < getVertexCount()) {
        Data& data = editData();
        data.vertices[static_cast<std::size_t>(vertex)] = position;
        data.modelBoundKnown = false;
        setDirty(DIRTY_BOUND, true, true);
        markDrawChanged();
    }
}

unsigned int ekGeometry::getIndex(int slot) const
{
    return slot >= 0 && slot < getIndexCount() ? m_data->indices[static_cast<std::size_t>(slot)] : 0u;
}

void ekGeometry::setIndex(int slot, unsigned int vertex)
{
    if (slot >= 0 && slot < getIndexCount()) {
        editData().indices[static_cast<std::size_t>(slot)] = vertex;
        setDirty(0, true, false);
        markDrawChanged();
    }
}

const ekBound& ekGeometry::getModelBound() const
{
    Data& data = *m_data;
    if (data.modelBoundKnown) {
        return data.modelBound;
    }
    data.modelBoundKnown = true;
    const std::vector<Wm4::Vector3<float>>& vertices = data.vertices;
    if (vertices.empty()) {
        data.modelBound = ekBound();
        return data.modelBound;
    }
    Wm4::Vector3<float> low = vertices.front();
    Wm4::Vector3<float> high = low;
    for (const Wm4::Vector3<float>& v : vertices) {
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], v[i]);
            high[i] = std::max(high[i], v[i]);
        }
    }
    const Wm4::Vector3<float> center = (low + high) * 0.5f;
    float radiusSquared = 0.0f;
    for (const Wm4::Vector3<float>& v : vertices) {
        radiusSquared = std::max(radiusSquared, (v - center).SquaredLength());
    }
    data.modelBound = ekBound(center, std::sqrt(radiusSquared));
    return data.modelBound;
}

void ekGeometry::UpdateWorldBound()
{
    if (m_data->vertices.empty()) {
        setWorldBound(ekBound(getWorldTransform().GetTranslate(), 0.0f));
        return;
    }
    ekBound world;
    getModelBound().transformBy(getWorldTransform(), world);
    setWorldBound(world);
}

} // namespace ek
