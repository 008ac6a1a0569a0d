#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4IntrLine3Plane3.h>
#include <Wm4/Wm4Line3.h>
#include <Wm4/Wm4Plane3.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

using Wm4::ColorRGB;
using Wm4::ColorRGBA;
using Wm4::IntrLine3Plane3;
using Wm4::Line3;
using Wm4::Plane3;
using Wm4::Vector3f;

// Error allowed on line parameters and distances of order 1 to 10.
constexpr float kTolerance = 64.0f * std::numeric_limits<float>::epsilon();

TEST(Wm4Color, Comparisons)
{
    const ColorRGBA base(0.6f, 0.212f, 0.368f, 1.0f);

    // equal channels compare equal, and a copy or an assignment keeps them
    ColorRGBA copy = base;
    EXPECT_FALSE(copy != base);
    EXPECT_TRUE(copy == base);
    ColorRGBA assigned;
    assigned = base;
    EXPECT_FALSE(assigned != base);
    // a difference in any one channel, alpha included, makes them differ
    for (int channel = 0; channel < 4; ++channel) {
        ColorRGBA other = base;
        other[channel] += 0.001f;
        EXPECT_TRUE(other != base) << "channel " << channel;
        EXPECT_FALSE(other == base) << "channel " << channel;
    }
    // an RGB colour widens to the opaque RGBA colour of the same channels
    const ColorRGBA widened(ColorRGB(0.6f, 0.212f, 0.368f));
    EXPECT_FALSE(widened != base);
    EXPECT_NE(ColorRGB(0.1f, 0.2f, 0.3f), ColorRGB(0.1f, 0.2f, 0.31f));
    // white is opaque white, in both types
    EXPECT_FALSE(ColorRGBA::WHITE != ColorRGBA(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(ColorRGB::WHITE, ColorRGB(1.0f, 1.0f, 1.0f));
}

TEST(Wm4IntrLine3Plane3, Find)
{
    // the plane z = 2, given by its normal and a point of it
    const Plane3<float> plane(Vector3f::UNIT_Z, Vector3f(5.0f, -3.0f, 2.0f));
    EXPECT_EQ(plane.Constant, 2.0f);

    // a slanted line meets the plane at the t that puts its point on it
    const Line3<float> slanted(Vector3f(1.0f, 1.0f, -1.0f), Vector3f(0.0f, 0.6f, 0.8f));
    IntrLine3Plane3<float> hit(slanted, plane);
    ASSERT_TRUE(hit.Find());
    EXPECT_EQ(hit.GetIntersectionType(), (IntrLine3Plane3<float>::IT_POINT));
    EXPECT_NEAR(hit.GetLineT(), 3.75f, kTolerance);
    const Vector3f point = slanted.Origin + slanted.Direction * hit.GetLineT();
    EXPECT_NEAR(plane.DistanceTo(point), 0.0f, kTolerance);

    // a direction that is not unit length scales t inversely
    const Line3<float> longer(slanted.Origin, slanted.Direction * 4.0f);
    IntrLine3Plane3<float> longerHit(longer, plane);
    ASSERT_TRUE(longerHit.Find());
    EXPECT_NEAR(longerHit.GetLineT(), 3.75f / 4.0f, kTolerance);

    // a plane behind the origin gives a negative t
    const Line3<float> away(Vector3f(0.0f, 0.0f, 5.0f), Vector3f::UNIT_Z);
    IntrLine3Plane3<float> behind(away, plane);
    ASSERT_TRUE(behind.Find());
    EXPECT_NEAR(behind.GetLineT(), -3.0f, kTolerance);

    // a line parallel to the plane and off it does not meet it
    const Line3<float> parallel(Vector3f(0.0f, 0.0f, 1.0f), Vector3f(0.6f, 0.8f, 0.0f));
    IntrLine3Plane3<float> miss(parallel, plane);
    EXPECT_FALSE(miss.Find());
    EXPECT_EQ(miss.GetIntersectionType(), (IntrLine3Plane3<float>::IT_EMPTY));

    // a line lying in the plane meets it everywhere: found, with t = 0
    const Line3<float> inPlane(Vector3f(3.0f, 4.0f, 2.0f), Vector3f(0.6f, 0.8f, 0.0f));
    IntrLine3Plane3<float> along(inPlane, plane);
    EXPECT_TRUE(along.Find());
    EXPECT_EQ(along.GetIntersectionType(), (IntrLine3Plane3<float>::IT_LINE));
    EXPECT_EQ(along.GetLineT(), 0.0f);
}

TEST(Wm4IntrLine3Plane3, SlantedPlane)
{
    // a plane whose normal is not an axis: the point found lies on it and
    // on the line (distance to the line measured independently)
    Vector3f normal(1.0f, 2.0f, -2.0f);
    normal.Normalize();
    const Plane3<float> plane(normal, Vector3f(1.0f, 1.0f, 1.0f));
    const Line3<float> line(Vector3f(-3.0f, 0.5f, 4.0f), Vector3f(0.8f, 0.0f, -0.6f));
    IntrLine3Plane3<float> intersection(line, plane);
    ASSERT_TRUE(intersection.Find());
    const Vector3f point = line.Origin + line.Direction * intersection.GetLineT();
    EXPECT_NEAR(plane.DistanceTo(point), 0.0f, kTolerance);
    const Vector3f offset = point - line.Origin;
    EXPECT_NEAR(offset.Cross(line.Direction).Length(), 0.0f, kTolerance);
}

} // namespace
