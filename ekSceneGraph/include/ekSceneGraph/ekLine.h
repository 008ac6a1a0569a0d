#pragma once

#include "ekGeometry.h"

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>

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
    enum DrawMethod { DM_SEGMENTS = 0, DM_STRIP = 1, DM_LOOP = 2, DM_CURVE = 3 };

    struct Segment {
        unsigned int start;
        unsigned int end;
    };

    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    // n vertices and n slots, drawn as a strip.
    explicit ekLine(unsigned int n);
    // A segment list. staticData tells a renderer that the vertices will not
    // change after they are first set (it may keep them in a static
    // buffer); it does not change what is drawn.
    ekLine(int vertexCount, int indexCount, bool staticData);

    DrawMethod getDrawMethod() const { return m_drawMethod; }
    void setDrawMethod(DrawMethod method) { m_drawMethod = method; }
    bool hasStaticData() const { return m_staticData; }

    // In pixels; 1 unless set.
    float getWidth() const { return m_width; }
    void setWidth(float width) { m_width = width; }

    // White unless set. The RGB overload makes the colour opaque.
    const Wm4::ColorRGBA& getColor() const { return m_color; }
    void setColor(const Wm4::ColorRGB& color) { m_color = Wm4::ColorRGBA(color); }
    void setColor(const Wm4::ColorRGBA& color) { m_color = color; }

    // Appends the segments this line draws, as vertex pairs.
    void appendSegments(std::vector<Segment>& out) const;

private:
    DrawMethod m_drawMethod;
    bool m_staticData;
    float m_width = 1.0f;
    Wm4::ColorRGBA m_color = Wm4::ColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
};

} // namespace ek
