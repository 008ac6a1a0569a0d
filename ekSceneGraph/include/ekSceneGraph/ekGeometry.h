#pragma once

#include "ekSpatial.h"

#include <Wm4/Wm4Vector3.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace ek {

// One GPU buffer of a geometry, as a renderer would upload it.
class ekGPUResource {
public:
    enum Kind : std::uint8_t { VERTEX_BUFFER, INDEX_BUFFER };
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
//
// Geometries of one shape may share their vertex and index data (see
// ekLine::ShapeOf): the data is copied on the first write through any of
// them, so sharing is never observable but in the memory it saves.
class ekGeometry : public ekSpatial {
public:
    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // Slot i initially refers to vertex min(i, vertexCount - 1).
    ekGeometry(int vertexCount, int indexCount);
    ~ekGeometry() override;

    int getVertexCount() const { return static_cast<int>(m_data->vertices.size()); }
    // Out-of-range vertices read as zero and are not written.
    const Wm4::Vector3<float>& getVertexPosition(int vertex) const;
    void setVertexPosition(int vertex, const Wm4::Vector3<float>& position);

    int getIndexCount() const { return static_cast<int>(m_data->indices.size()); }
    // Out-of-range slots read as 0 and are not written.
    unsigned int getIndex(int slot) const;
    void setIndex(int slot, unsigned int vertex);

    // The sphere around the vertices in the geometry's own frame: centred
    // on their bounding box, out to the farthest vertex; radius 0 without
    // vertices. Computed when first read after a change, and kept with the
    // shared data: read it once before lines on other threads share it.
    const ekBound& getModelBound() const;

    // Null when the geometry has no data of that kind.
    ekGPUResource* getVertexBuffer() { return m_data->vertices.empty() ? nullptr : &m_vertexBuffer; }
    ekGPUResource* getIndexBuffer() { return m_data->indices.empty() ? nullptr : &m_indexBuffer; }

protected:
    // A geometry of kind that shares shape's data.
    ekGeometry(Kind kind, const ekGeometry& shape);
    ekGeometry(Kind kind, int vertexCount, int indexCount);

    void UpdateWorldBound() override;

    // The arrays themselves, for walks over every segment.
    const Wm4::Vector3<float>* vertexData() const { return m_data->vertices.data(); }
    const unsigned int* indexData() const { return m_data->indices.data(); }

private:
    // Counted by the geometries that share it.
    struct Data {
        std::atomic<int> references{1};
        std::vector<Wm4::Vector3<float>> vertices;
        std::vector<unsigned int> indices;
        ekBound modelBound;
        bool modelBoundKnown = false;
    };

    // The data, made this geometry's own first when it is shared.
    Data& editData();

    Data* m_data;
    ekGPUResource m_vertexBuffer{ekGPUResource::VERTEX_BUFFER};
    ekGPUResource m_indexBuffer{ekGPUResource::INDEX_BUFFER};
};

} // namespace ek
