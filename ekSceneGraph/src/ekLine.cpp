#include "ekSceneGraph/ekLine.h"

namespace ek {

ekLine::ekLine(unsigned int n)
    : ekGeometry(static_cast<int>(n), static_cast<int>(n)), m_drawMethod(DM_STRIP), m_staticData(false)
{
}

ekLine::ekLine(int vertexCount, int indexCount, bool staticData)
    : ekGeometry(vertexCount, indexCount), m_drawMethod(DM_SEGMENTS), m_staticData(staticData)
{
}

void ekLine::appendSegments(std::vector<Segment>& out) const
{
    const int slots = getIndexCount();
    const auto vertexCount = static_cast<unsigned int>(getVertexCount());
    const auto append = [&](int a, int b) {
        const unsigned int start = getIndex(a);
        const unsigned int end = getIndex(b);
        if (start < vertexCount && end < vertexCount) {
            out.push_back({start, end});
        }
    };
    switch (m_drawMethod) {
    case DM_SEGMENTS:
        for (int slot = 0; slot + 1 < slots; slot += 2) {
            append(slot, slot + 1);
        }
        break;
    case DM_STRIP:
    case DM_LOOP:
    case DM_CURVE:
        for (int slot = 0; slot + 1 < slots; ++slot) {
            append(slot, slot + 1);
        }
        if (m_drawMethod == DM_LOOP && slots > 2) {
            append(slots - 1, 0);
        }
        break;
    }
}

} // namespace ek
