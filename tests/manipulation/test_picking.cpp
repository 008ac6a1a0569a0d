#include "dragScene.h"

#include "ekPicking.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ek;
using namespace ek::test;

// Pixel coordinates of order 1000 in single precision.
constexpr float kPixelTolerance = 1e-3f;

TEST(Picking, ProjectionAgreesWithTheCameraAndThePickRay)
{
    DragScene scene;
    // the view's centre pixel, where the view axis lands
    EXPECT_EQ(cursorPixel({0.5f, 0.5f}, kWidth, kHeight), Vec2(400.0f, 300.0f));
    const Vec2 onAxis =
        projectToScreen(scene.camera()->getViewProjectionMatrix(), {}, {0.0f, 0.0f, -3.0f}, kWidth, kHeight);
    EXPECT_NEAR((onAxis - Vec2(400.0f, 300.0f)).Length(), 0.0f, kPixelTolerance);

    ekGenericTransformation<float> frame;
    frame.SetRotate(rotationZ(30.0f));
    frame.SetScale({2.0f, 0.5f, 1.0f});
    frame.SetTranslate({1.0f, -2.0f, 0.5f});
    ekGenericTransformation<float> general;
    general.SetMatrix(Mat3(1.0f, 0.5f, 0.0f, 0.0f, 2.0f, 0.0f, 0.25f, 0.0f, 1.0f));
    for (const bool perspective : {true, false}) {
        scene.look({3.0f, 4.0f, 10.0f}, Vec3::ZERO, perspective);
        const ekViewProjection& m = scene.camera()->getViewProjectionMatrix();
        for (const auto& t : {ekGenericTransformation<float>(), frame, general}) {
            for (const Vec3& local : {Vec3::ZERO, Vec3(0.7f, -1.2f, 2.0f), Vec3(-3.0f, 1.0f, 0.25f)}) {
                // through a transform, where the camera projects the world image; the projector object agrees
                const Vec3 world = t.ApplyForward(local, true);
                const Vec2 pos = scene.screenOf(world);
                const Vec2 pixel = projectToScreen(m, t, local, kWidth, kHeight);
                EXPECT_NEAR((pixel - cursorPixel(pos, kWidth, kHeight)).Length(), 0.0f, kPixelTolerance);
                EXPECT_NEAR((ekScreenProjector(m, t, kWidth, kHeight)(local) - pixel).Length(), 0.0f,
                            kPixelTolerance);
                // the pick ray through that position passes through the point
                const Wm4::Line3<float> ray = pickRay(scene.camera(), pos);
                const float along = (world - ray.Origin).Dot(ray.Direction) / ray.Direction.SquaredLength();
                expectNear(ray.Origin + ray.Direction * along, world);
            }
        }
    }
}

TEST(Picking, DistancesAndPlanes)
{
    const Vec2 points[] = {{0.0f, 0.0f}, {10.0f, 0.0f}, {10.0f, 10.0f}};
    // one point: no distance; two equal points: the distance to that point
    EXPECT_EQ(distanceToPolyline(points, 1, {3.0f, 4.0f}), -1.0f);
    EXPECT_FLOAT_EQ(distanceToSegment({Vec2(1.0f, 1.0f), Vec2(1.0f, 1.0f)}, {4.0f, 5.0f}), 5.0f);
    // on the interior, beside it, beyond an end, the nearest of two segments
    EXPECT_EQ(distanceToPolyline(points, 2, {4.0f, 0.0f}), 0.0f);
    EXPECT_FLOAT_EQ(distanceToPolyline(points, 2, {4.0f, -3.0f}), 3.0f);
    EXPECT_FLOAT_EQ(distanceToPolyline(points, 2, {13.0f, -4.0f}), 5.0f);
    EXPECT_FLOAT_EQ(distanceToPolyline(points, 3, {12.0f, 6.0f}), 2.0f);
    // a NaN position lies outside the view
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(isInsideViewport({0.0f, 1.0f}));
    EXPECT_FALSE(isInsideViewport({nan, 0.5f}));

    const Vec3 up(0.0f, 0.0f, 1.0f);
    const Vec3 onPlane(0.0f, 0.0f, 2.0f);
    // a plain hit; a plane behind the origin is met too
    const auto hit = intersectPlane({{1.0f, 1.0f, 5.0f}, {0.0f, 0.0f, -2.0f}}, up, onPlane);
    ASSERT_TRUE(hit);
    EXPECT_FLOAT_EQ(hit->t, 1.5f);
    expectNear(hit->point, {1.0f, 1.0f, 2.0f});
    EXPECT_FLOAT_EQ(intersectPlane({{0.0f, 0.0f, 5.0f}, up}, up, onPlane)->t, -3.0f);
    // parallel off the plane, a zero normal, an overflowing hit, a NaN ray: no point
    EXPECT_FALSE(intersectPlane({{0.0f, 0.0f, 5.0f}, {1.0f, 0.0f, 0.0f}}, up, onPlane));
    EXPECT_FALSE(intersectPlane({onPlane, {1.0f, 0.0f, 0.0f}}, Vec3::ZERO, onPlane));
    EXPECT_FALSE(intersectPlane({Vec3::ZERO, {1.0f, 0.0f, 2e-6f}}, up, {0.0f, 0.0f, 1e33f}));
    EXPECT_FALSE(intersectPlane({onPlane, {nan, 0.0f, -1.0f}}, up, {0.0f, 0.0f, 1.0f}));
}
