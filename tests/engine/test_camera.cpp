#include "engine_test_support.h"

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4Vector2.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

using ek::ekCamera;
using ek::ekPointer;
using ek_test::expectNear;
using Wm4::Vector2f;
using Wm4::Vector3f;

// Error allowed on unit directions and normalised viewport positions.
constexpr float kTolerance = 1e-5f;
// Error allowed on world points up to about 100 units from the camera.
constexpr float kWorldTolerance = 1e-3f;
// Error allowed on a normalised depth near the far plane, where a float
// perspective division loses most precision.
constexpr float kDepthTolerance = 1e-4f;
// Error allowed on a length measured in pixels of a view 600 pixels high.
constexpr float kPixelTolerance = 1e-3f;

// The cameras the ray and the projection must agree for.
struct CameraCase {
    std::string name;
    bool perspective;
    bool offCentre;
};

ekPointer<ekCamera> makeCamera(const CameraCase& c)
{
    ekPointer<ekCamera> camera(new ekCamera());
    EXPECT_TRUE(camera->lookAt(Vector3f(3.0f, 4.0f, 5.0f), Vector3f(0.0f, 0.5f, 0.0f), Vector3f::UNIT_Y));
    if (c.perspective) {
        if (c.offCentre) {
            camera->setFrustum(-0.3f, 0.7f, -0.2f, 0.5f, 1.0f, 100.0f);
        } else {
            camera->setFrustum(50.0f, 4.0f / 3.0f, 0.5f, 200.0f);
        }
    } else {
        // a view box a few units across
        if (c.offCentre) {
            camera->setFrustum(-4.0f, 2.0f, -3.0f, 2.0f, 0.5f, 100.0f);
        } else {
            camera->setFrustum(-4.0f, 4.0f, -3.0f, 3.0f, 0.5f, 100.0f);
        }
        camera->setPerspective(false);
    }
    return camera;
}

const std::array<CameraCase, 4> kCases{{
    {"perspective", true, false},
    {"perspective off-centre", true, true},
    {"orthographic", false, false},
    {"orthographic off-centre", false, true},
}};

// Clip coordinates of a world point by the view-projection matrix, as row
// vector times matrix.
std::array<float, 4> clip(const ekCamera& camera, const Vector3f& p)
{
    const std::array<float, 16>& m = camera.getViewProjectionMatrix();
    std::array<float, 4> out{};
    for (int col = 0; col < 4; ++col) {
        out[col] = p.X() * m[col] + p.Y() * m[4 + col] + p.Z() * m[8 + col] + m[12 + col];
    }
    return out;
}

TEST(ekCamera, PickRayAndProjectionAgree)
{
    for (const CameraCase& c : kCases) {
        const ekPointer<ekCamera> camera = makeCamera(c);
        for (float x = 0.1f; x < 1.0f; x += 0.2f) {
            for (float y = 0.15f; y < 1.0f; y += 0.35f) {
                Vector3f origin;
                Vector3f direction;
                EXPECT_TRUE(camera->getPickRay(x, y, origin, direction)) << c.name;
                // every point of the ray in front of the camera projects to the pixel
                for (const float t : {1.0f, 7.5f, 40.0f}) {
                    Vector2f projected;
                    ASSERT_TRUE(camera->project(origin + direction * t, projected)) << c.name;
                    EXPECT_NEAR(projected.X(), x, kTolerance) << c.name << " t " << t;
                    EXPECT_NEAR(projected.Y(), y, kTolerance) << c.name << " t " << t;
                }
            }
        }
        // the other way round: a world point lies on the ray of its pixel
        for (const Vector3f& p : {Vector3f(0.0f, 0.0f, 0.0f), Vector3f(1.0f, 1.5f, -0.5f), Vector3f(-0.7f, 0.2f, 1.0f)}) {
            Vector2f pixel;
            ASSERT_TRUE(camera->project(p, pixel)) << c.name;
            Vector3f origin;
            Vector3f direction;
            camera->getPickRay(pixel.X(), pixel.Y(), origin, direction);
            const Vector3f offset = p - origin;
            const float along = offset.Dot(direction) / direction.SquaredLength();
            expectNear(origin + direction * along, p, kWorldTolerance, c.name);
            EXPECT_GT(along, 0.0f) << c.name;
        }
    }
}

TEST(ekCamera, RayConventions)
{
    for (const CameraCase& c : kCases) {
        const ekPointer<ekCamera> camera = makeCamera(c);
        Vector3f origin;
        Vector3f direction;
        camera->getPickRay(0.3f, 0.8f, origin, direction);
        if (c.perspective) {
            // from the eye, unit length
            expectNear(origin, camera->getLocation(), kTolerance, c.name);
            EXPECT_NEAR(direction.Length(), 1.0f, kTolerance) << c.name;
        } else {
            // parallel rays along the view direction, from the eye's plane
            expectNear(direction, camera->getDVector(), kTolerance, c.name);
            EXPECT_NEAR((origin - camera->getLocation()).Dot(camera->getDVector()), 0.0f, kTolerance) << c.name;
        }
        // positions outside 0..1 still give a ray, reported as outside
        EXPECT_FALSE(camera->getPickRay(1.2f, 0.5f, origin, direction)) << c.name;
        EXPECT_FALSE(camera->getPickRay(0.5f, -0.1f, origin, direction)) << c.name;
        EXPECT_TRUE(camera->getPickRay(0.0f, 1.0f, origin, direction)) << c.name;
    }
}

TEST(ekCamera, ViewProjectionMatrix)
{
    for (const CameraCase& c : kCases) {
        const ekPointer<ekCamera> camera = makeCamera(c);
        const Vector3f eye = camera->getLocation();
        const Vector3f d = camera->getDVector();
        // the matrix gives what project gives: X / W and Y / W span -1..1
        const Vector3f p(0.4f, -0.3f, 0.9f);
        const std::array<float, 4> q = clip(*camera, p);
        Vector2f projected;
        ASSERT_TRUE(camera->project(p, projected));
        EXPECT_NEAR((q[0] / q[3] + 1.0f) * 0.5f, projected.X(), kTolerance) << c.name;
        EXPECT_NEAR((q[1] / q[3] + 1.0f) * 0.5f, projected.Y(), kTolerance) << c.name;
        // depth runs from 0 at the near plane to 1 at the far plane
        const std::array<float, 4> nearPoint = clip(*camera, eye + d * camera->getDMin());
        const std::array<float, 4> farPoint = clip(*camera, eye + d * camera->getDMax());
        EXPECT_NEAR(nearPoint[2] / nearPoint[3], 0.0f, kTolerance) << c.name;
        EXPECT_NEAR(farPoint[2] / farPoint[3], 1.0f, kDepthTolerance) << c.name;
        // the frustum's corners at the near plane are the viewport's corners
        const Vector3f corner = eye + d * camera->getDMin() + camera->getRVector() * camera->getRMin()
            + camera->getUVector() * camera->getUMax();
        ASSERT_TRUE(camera->project(corner, projected));
        EXPECT_NEAR(projected.X(), 0.0f, kTolerance) << c.name;
        EXPECT_NEAR(projected.Y(), 1.0f, kTolerance) << c.name;
    }
}

// What the gizmos rely on to keep a constant size on screen: p pixels of a
// view h pixels high cover (u1 - u0) / h * p world units at the near plane,
// growing with depth / near for a perspective camera.
TEST(ekCamera, WorldLengthOfPixels)
{
    const int height = 600;
    const float pixels = 60.0f;
    for (const CameraCase& c : kCases) {
        const ekPointer<ekCamera> camera = makeCamera(c);
        const float depth = 12.0f;
        float length = (camera->getUMax() - camera->getUMin()) / static_cast<float>(height) * pixels;
        if (c.perspective) {
            length *= depth / camera->getDMin();
        }
        const Vector3f base = camera->getLocation() + camera->getDVector() * depth;
        Vector2f a;
        Vector2f b;
        ASSERT_TRUE(camera->project(base, a));
        ASSERT_TRUE(camera->project(base + camera->getUVector() * length, b));
        EXPECT_NEAR((b.Y() - a.Y()) * static_cast<float>(height), pixels, kPixelTolerance) << c.name;
        EXPECT_NEAR(b.X(), a.X(), kTolerance) << c.name;
    }
}

TEST(ekCamera, FrameAndFrustum)
{
    ekPointer<ekCamera> camera(new ekCamera());
    // the default: perspective at the origin looking down -Z, +Y up,
    // a 90-degree square frustum from 1 to 1000
    EXPECT_TRUE(camera->isPerspective());
    EXPECT_EQ(camera->getLocation(), Vector3f::ZERO);
    expectNear(camera->getDVector(), -Vector3f::UNIT_Z, kTolerance);
    expectNear(camera->getUVector(), Vector3f::UNIT_Y, kTolerance);
    expectNear(camera->getRVector(), Vector3f::UNIT_X, kTolerance);
    EXPECT_NEAR(camera->getUMax(), 1.0f, kTolerance);
    EXPECT_NEAR(camera->getUMin(), -1.0f, kTolerance);
    EXPECT_NEAR(camera->getRMax(), 1.0f, kTolerance);
    EXPECT_EQ(camera->getDMin(), 1.0f);
    EXPECT_EQ(camera->getDMax(), 1000.0f);
    // a point behind the eye does not project and leaves the output alone
    Vector2f out(7.0f, 7.0f);
    EXPECT_FALSE(camera->project(Vector3f(0.0f, 0.0f, 5.0f), out));
    EXPECT_EQ(out, Vector2f(7.0f, 7.0f));
    // a field of view and an aspect ratio set symmetric extents
    camera->setFrustum(60.0f, 2.0f, 0.5f, 50.0f);
    const float half = 0.5f * std::tan(Wm4::Math<float>::WM4_PI / 6.0f);
    EXPECT_NEAR(camera->getUMax(), half, kTolerance);
    EXPECT_NEAR(camera->getUMin(), -half, kTolerance);
    EXPECT_NEAR(camera->getRMax(), 2.0f * half, kTolerance);
    // lookAt builds an orthonormal right-handed frame towards the target
    const Vector3f eye(1.0f, 2.0f, 3.0f);
    ASSERT_TRUE(camera->lookAt(eye, Vector3f(4.0f, 2.0f, -1.0f), Vector3f::UNIT_Y));
    expectNear(camera->getDVector(), Vector3f(0.6f, 0.0f, -0.8f), kTolerance);
    expectNear(camera->getUVector(), Vector3f::UNIT_Y, kTolerance);
    expectNear(camera->getRVector(), camera->getDVector().Cross(camera->getUVector()), kTolerance);
    // a target at the eye or straight along the up direction is refused
    EXPECT_FALSE(camera->lookAt(eye, eye, Vector3f::UNIT_Y));
    EXPECT_FALSE(camera->lookAt(eye, eye + Vector3f::UNIT_Y * 2.0f, Vector3f::UNIT_Y));
    EXPECT_EQ(camera->getLocation(), eye);
    expectNear(camera->getDVector(), Vector3f(0.6f, 0.0f, -0.8f), kTolerance);
    // setFrame takes the frame as given
    camera->setFrame(Vector3f(0.0f, 0.0f, 9.0f), -Vector3f::UNIT_Z, Vector3f::UNIT_Y, Vector3f::UNIT_X);
    ASSERT_TRUE(camera->project(Vector3f(0.0f, 0.0f, 0.0f), out));
    EXPECT_NEAR(out.X(), 0.5f, kTolerance);
    EXPECT_NEAR(out.Y(), 0.5f, kTolerance);
}

} // namespace
