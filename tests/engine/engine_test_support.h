#pragma once

#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <string>

namespace ek_test {

// A node that counts its own destruction, to observe when a count releases it.
class TrackedNode : public ek::ekNode {
public:
    explicit TrackedNode(int& deaths, bool boundFromChildren = true)
        : ek::ekNode(boundFromChildren), m_deaths(deaths)
    {
    }
    ~TrackedNode() override { ++m_deaths; }

private:
    int& m_deaths;
};

// A node that counts how often its world bound is computed.
class CountingNode : public ek::ekNode {
public:
    int m_boundUpdates = 0;

protected:
    void UpdateWorldBound() override
    {
        ++m_boundUpdates;
        ek::ekNode::UpdateWorldBound();
    }
};

// A segment line that counts its world-data updates and bound computations.
class CountingLine : public ek::ekLine {
public:
    CountingLine() : ek::ekLine(2, 2, false) { setVertexPosition(1, Wm4::Vector3<float>::UNIT_X); }
    int m_worldUpdates = 0;
    int m_boundUpdates = 0;

protected:
    void UpdateWorldData() override
    {
        ++m_worldUpdates;
        ek::ekLine::UpdateWorldData();
    }
    void UpdateWorldBound() override
    {
        ++m_boundUpdates;
        ek::ekLine::UpdateWorldBound();
    }
};

// Writes an object's world transform directly and brings its subtree and
// its ancestors' bounds along, with the engine calls tools make.
inline void writeWorldTransform(ek::ekSpatial& object, const ek::ekGenericTransformation<float>& wanted)
{
    ek::ekGenericTransformation<float> parentInverse;
    object.getParent()->getWorldTransform().Inverse(parentInverse);
    object.editWorldTransform(false) = wanted;
    object.editLocalTransform(false).Product(parentInverse, wanted);
    object.setDirty(ek::DIRTY_TRANSFORM, true, false);
    object.forceIgnore(true, false, false);
    object.UpdateGS_Flags();
    object.forceIgnore(false, false, false);
}

// A line of one segment between two points of its local frame.
inline ek::ekLine* makeSegment(const Wm4::Vector3<float>& a, const Wm4::Vector3<float>& b)
{
    auto* line = new ek::ekLine(2, 2, false);
    line->setVertexPosition(0, a);
    line->setVertexPosition(1, b);
    return line;
}

inline void expectNear(const Wm4::Vector3<float>& actual, const Wm4::Vector3<float>& expected,
                       float tolerance, const std::string& context = std::string())
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << context << " component " << i;
    }
}

} // namespace ek_test
