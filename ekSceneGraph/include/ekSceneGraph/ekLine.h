#pragma once

#include "ekGeometry.h"

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>

#include <cstdint>
#include <vector>

namespace ek {

// A line primitive: segments between vertices, chosen by the index slots
// and the draw method.
//
// How a line turns its slots into segments (s0, s1, ... the vertices that
// the slots refer to):
//   DM_SEGMENTS: pairs (s0, s1), (s2, s3), ...; an odd last slot is unused.
//   DM_STRIP:    a polyline (s0, s1), (s1, s2), ... through every slot.
//   DM_LOOP:     the strip plus a closing segment from the last slot to s0.
//   DM_CURVE:    the strip of a sampled smooth curve; a renderer may round
//                its joins. Same segments as DM_STRIP.
// ekLine(n) is a strip; ekLine(vertexCount, indexCount, bool) a segment
// list. Segments whose slots refer to missing vertices are not drawn.
class ekLine : public ekGeometry {
public:
    enum DrawMethod : std::uint8_t { DM_SEGMENTS = 0, DM_STRIP = 1, DM_LOOP = 2, DM_CURVE = 3 };

    struct Segment {
        unsigned int start;
        unsigned int end;
    };

    // Names the line whose shape a new line takes (see the constructor).
    struct ShapeOf {
        const ekLine& line;
    };

    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // n vertices and n slots, drawn as a strip.
    explicit ekLine(unsigned int n);
    // A segment list. staticData tells a renderer that the vertices will not
    // change after they are first set (it may keep them in a static
    // buffer); it does not change what is drawn.
    ekLine(int vertexCount, int indexCount, bool staticData);
    // The vertices, slots, draw method and static-data hint of shape.line,
    // whose vertex and index data it shares until either line writes them;
    // width, colour and transforms are those of a new line.
    explicit ekLine(ShapeOf shape);

    DrawMethod getDrawMethod() const { return m_drawMethod; }
    void setDrawMethod(DrawMethod method);
    bool hasStaticData() const { return m_staticData; }

    // In pixels; 1 unless set.
    float getWidth() const { return m_width; }
    void setWidth(float width);

    // White unless set. The RGB overload makes the colour opaque.
    const Wm4::ColorRGBA& getColor() const { return m_color; }
    void setColor(const Wm4::ColorRGB& color) { setColor(Wm4::ColorRGBA(color)); }
    void setColor(const Wm4::ColorRGBA& color);

    // Appends the segments this line draws, as vertex pairs.
    void appendSegments(std::vector<Segment>& out) const;

    // Calls segment(start, end) for each segment this line draws, in order.
    template <class Visit>
    void forEachSegment(Visit&& segment) const
    {
        const int slotCount = getIndexCount();
        const unsigned int* index = indexData();
        const auto vertexCount = static_cast<unsigned int>(getVertexCount());
        const auto visit = [&](int a, int b) {
            const unsigned int start = index[a];
            const unsigned int end = index[b];
            if (start < vertexCount && end < vertexCount) {
                segment(start, end);
            }
        };
        const int step = m_drawMethod == DM_SEGMENTS ? 2 : 1;
        for (int slot = 0; slot + 1 < slotCount; slot += step) {
            visit(slot, slot + 1);
        }
        if (m_drawMethod == DM_LOOP && slotCount > 2) {
            visit(slotCount - 1, 0);
        }
    }

private:
    friend class ekDrawCache;

    // Where the engine that last laid out its draw list put this line.
    static constexpr std::uint32_t kNoDrawSlot = ~std::uint32_t(0);

    Wm4::ColorRGBA m_color = Wm4::ColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
    float m_width = 1.0f;
    mutable std::uint32_t m_drawSlot = kNoDrawSlot;
    DrawMethod m_drawMethod;
    bool m_staticData;
};

} // namespace ek
