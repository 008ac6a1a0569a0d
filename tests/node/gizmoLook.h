#pragma once

#include "ekTestPrinters.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <utility>
#include <vector>

namespace ek::test {

// Children: translate 0-5 (shaft X, head X, shaft Y, ...), circles 6-8,
// half-axis lines 9-14 (+X, +Y, +Z, -X, -Y, -Z), scale 15-20 (shaft X,
// square X, ...), plane markers 21-23, uniform-scale handle 24.
constexpr int kChildCount = 25;

// What one child line shows.
struct LineLook {
    Wm4::ColorRGBA colour;
    float width;
    bool shown;

    bool operator==(const LineLook& o) const { return colour == o.colour && width == o.width && shown == o.shown; }
};

inline void PrintTo(const LineLook& look, std::ostream* out)
{
    Wm4::PrintTo(look.colour, out);
    *out << " width " << look.width << (look.shown ? " shown" : " hidden");
}

// Every child of node, in order.
inline std::vector<LineLook> lookOf(const ekGizmoNode& node)
{
    std::vector<LineLook> looks;
    for (int i = 0; i < node.getChildCount(); ++i) {
        const auto& line = static_cast<const ekLine&>(*node.getChild(i));
        looks.push_back({line.getColor(), line.getWidth(), line.getCullingMode() == ekSpatial::CULL_DYNAMIC});
    }
    return looks;
}

// after equals before except at the children listed, whose looks are given.
inline void expectLooks(const std::vector<LineLook>& before, const std::vector<LineLook>& after,
                        const std::vector<std::pair<int, LineLook>>& changed)
{
    std::vector<LineLook> expected = before;
    for (const auto& [child, look] : changed) {
        expected[child] = look;
    }
    ASSERT_EQ(after.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(after[i], expected[i]) << "child " << i;
    }
}

} // namespace ek::test
