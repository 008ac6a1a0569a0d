#pragma once

#include "ekSpatial.h"

#include <Wm4/Wm4Vector3.h>

#include <vector>

namespace ek {

// One GPU buffer of a geometry, as a renderer would upload it.
class ekGPUResource {
public:
    enum Kind { VERTEX_BUFFER, INDEX_BUFFER };
    explicit ekGPUResource(Kind kind) : m_kind(kind) {}
    Kind getKind() const { return m_kind; }
    // Set by a renderer once it has uploaded the buffer.
    bool isLoaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }

private:
    Kind m_kind;
    bool m_loaded = false;
};

// A leaf with vertex positions (local frame) and index slots that refer to
// them. Its world bound encloses every vertex.
class ekGeometry : public ekSpatial {
public:
    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // Slot i initially refers to vertex min(i, vertexCount - 1).
    ekGeometry(int vertexCount, int indexCount);

    int getVertexCount() const { return static_cast<int>(m_vertices.size()); }
    // Out-of-range vertices read as zero and are not written.
    const Wm4::Vector3<float>& getVertexPosition(int vertex) const;
    void setVertexPosition(int vertex, const Wm4::Vector3<float>& position);

    int getIndexCount() const { return static_cast<int>(m_indices.size()); }
    // Out-of-range slots read as 0 and are not written.
    unsigned int getIndex(int slot) const;
    void setIndex(int slot, unsigned int vertex);

    // Null when the geometry has no data of that kind.
    ekGPUResource* getVertexBuffer() { return m_vertices.empty() ? nullptr : &m_vertexBuffer; }
    ekGPUResource* getIndexBuffer() { return m_indices.empty() ? nullptr : &m_indexBuffer; }

protected:
    void UpdateWorldBound() override;

private:
    std::vector<Wm4::Vector3<float>> m_vertices;
    std::vector<unsigned int> m_indices;
    ekGPUResource m_vertexBuffer{ekGPUResource::VERTEX_BUFFER};
    ekGPUResource m_indexBuffer{ekGPUResource::INDEX_BUFFER};
};

} // namespace ek
