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
