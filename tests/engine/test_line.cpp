#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

using ek::ekLine;
using ek::ekPointer;
using Pairs = std::vector<std::pair<unsigned int, unsigned int>>;

Pairs segmentsOf(const ekLine& line)
{
    std::vector<ekLine::Segment> segments;
    line.appendSegments(segments);
    Pairs pairs;
    for (const ekLine::Segment& s : segments) {
        pairs.emplace_back(s.start, s.end);
    }
    return pairs;
}

TEST(ekLine, SegmentsPerDrawMethod)
{
    ekPointer<ekLine> line(new ekLine(4u));
    // ekLine(n): n vertices, n slots referring to them in order, a strip
    EXPECT_EQ(line->getVertexCount(), 4);
    EXPECT_EQ(line->getIndexCount(), 4);
    EXPECT_EQ(line->getIndex(3), 3u);
    EXPECT_EQ(line->getDrawMethod(), ekLine::DM_STRIP);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {1, 2}, {2, 3}}));
    // a loop closes the strip
    line->setDrawMethod(ekLine::DM_LOOP);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));
    // a curve draws the strip's segments
    line->setDrawMethod(ekLine::DM_CURVE);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {1, 2}, {2, 3}}));
    // segments pair the slots
    line->setDrawMethod(ekLine::DM_SEGMENTS);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {2, 3}}));
    // segments follow the slots, not the vertex order
    line->setIndex(0, 3);
    line->setIndex(1, 1);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{3, 1}, {2, 3}}));
    // appending keeps what the output held
    std::vector<ekLine::Segment> out(1, ekLine::Segment{7, 8});
    line->appendSegments(out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].start, 7u);
}

TEST(ekLine, SegmentListConstructor)
{
    // ekLine(vertices, slots, static): a segment list whose extra slots
    // refer to the last vertex
    ekPointer<ekLine> line(new ekLine(3, 5, true));
    EXPECT_EQ(line->getDrawMethod(), ekLine::DM_SEGMENTS);
    EXPECT_TRUE(line->hasStaticData());
    EXPECT_FALSE(ekPointer<ekLine>(new ekLine(2, 2, false))->hasStaticData());
    EXPECT_EQ(line->getIndex(4), 2u);
    // an odd last slot is unused
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {2, 2}}));
    // a segment that refers to a missing vertex is not drawn
    line->setIndex(1, 9);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{2, 2}}));
    // the same list drawn as a strip
    line->setIndex(1, 1);
    line->setDrawMethod(ekLine::DM_STRIP);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {1, 2}, {2, 2}, {2, 2}}));
}

TEST(ekLine, VerticesAndAppearance)
{
    ekPointer<ekLine> line(new ekLine(2, 2, false));
    const Wm4::Vector3<float> p(1.0f, -2.0f, 3.0f);
    // vertices are stored; out of range ones read zero and are not written
    line->setVertexPosition(1, p);
    EXPECT_EQ(line->getVertexPosition(1), p);
    line->setVertexPosition(2, p);
    line->setVertexPosition(-1, p);
    EXPECT_EQ(line->getVertexCount(), 2);
    EXPECT_EQ(line->getVertexPosition(2), Wm4::Vector3<float>::ZERO);
    EXPECT_EQ(line->getVertexPosition(-1), Wm4::Vector3<float>::ZERO);
    // out of range slots read 0 and are not written
    line->setIndex(5, 1);
    EXPECT_EQ(line->getIndexCount(), 2);
    EXPECT_EQ(line->getIndex(5), 0u);
    // width 1 and opaque white unless set
    EXPECT_EQ(line->getWidth(), 1.0f);
    EXPECT_FALSE(line->getColor() != Wm4::ColorRGBA(1.0f, 1.0f, 1.0f, 1.0f));
    line->setWidth(3.5f);
    EXPECT_EQ(line->getWidth(), 3.5f);
    // an RGB colour is made opaque, an RGBA one kept as given
    line->setColor(Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    line->setColor(Wm4::ColorRGB(0.5f, 0.6f, 0.7f));
    EXPECT_FALSE(line->getColor() != Wm4::ColorRGBA(0.5f, 0.6f, 0.7f, 1.0f));
    line->setColor(Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_FALSE(line->getColor() != Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    // a line offers one buffer of each kind
    ASSERT_NE(line->getVertexBuffer(), nullptr);
    ASSERT_NE(line->getIndexBuffer(), nullptr);
    EXPECT_EQ(line->getVertexBuffer()->getKind(), ek::ekGPUResource::VERTEX_BUFFER);
    EXPECT_EQ(line->getIndexBuffer()->getKind(), ek::ekGPUResource::INDEX_BUFFER);
    EXPECT_FALSE(line->getVertexBuffer()->isLoaded());
}

TEST(ekLine, SharedShape)
{
    ekPointer<ekLine> shape(new ekLine(3, 4, true));
    shape->setDrawMethod(ekLine::DM_STRIP);
    shape->setVertexPosition(1, Wm4::Vector3<float>(2.0f, 0.0f, 0.0f));
    shape->setVertexPosition(2, Wm4::Vector3<float>(2.0f, 2.0f, 0.0f));
    shape->setWidth(4.0f);
    ekPointer<ekLine> line(new ekLine(ekLine::ShapeOf{*shape}));
    // the shape: vertices, slots, draw method, static hint; not the appearance
    EXPECT_EQ(line->getVertexCount(), 3);
    EXPECT_EQ(line->getVertexPosition(2), Wm4::Vector3<float>(2.0f, 2.0f, 0.0f));
    EXPECT_EQ(segmentsOf(*line), segmentsOf(*shape));
    EXPECT_TRUE(line->hasStaticData());
    EXPECT_EQ(line->getWidth(), 1.0f);
    // as if its vertices had been written: a bound to compute, a redraw
    EXPECT_EQ(line->getDirtyFlags(0), ek::DIRTY_BOUND | ek::DIRTY_RENDER);
    // writing either leaves the other as it was
    line->setVertexPosition(0, Wm4::Vector3<float>(-2.0f, 0.0f, 0.0f));
    shape->setIndex(3, 0);
    EXPECT_EQ(shape->getVertexPosition(0), Wm4::Vector3<float>::ZERO);
    EXPECT_EQ(line->getIndex(3), 2u);
    EXPECT_EQ(segmentsOf(*line), (Pairs{{0, 1}, {1, 2}, {2, 2}}));
    // each bound follows its own vertices: around (-2..2, 0..2) and (0..2, 0..2)
    EXPECT_EQ(line->getModelBound().getCenter(), Wm4::Vector3<float>(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(shape->getModelBound().getCenter(), Wm4::Vector3<float>(1.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(line->getModelBound().getRadius(), std::sqrt(5.0f));
    // a shape outlives the lines made from it, and the other way round
    shape = nullptr;
    EXPECT_EQ(line->getIndex(2), 2u);
}

} // namespace
