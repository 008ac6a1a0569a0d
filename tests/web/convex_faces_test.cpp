// The hulls the demo page fills its objects with, checked against the
// solids whose faces are known: run by node in the WebAssembly build.
#include "ConvexFaces.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using ek::web::ConvexFace;
using ek::web::convexFaces;
using Vec3 = Wm4::Vector3<float>;

// Coordinates here are small whole numbers and halves: a point lies on a
// face's plane to within rounding of a few units in the last place.
constexpr float kTolerance = 1e-5f;

int g_failures = 0;

void expect(bool condition, const char* what, const char* where)
{
    if (!condition) {
        std::printf("FAILED: %s: %s\n", where, what);
        ++g_failures;
    }
}

// Every face: its corners lie on its plane, every point lies on or behind
// it (outward normal), and the corners turn counter-clockwise about it.
void expectHullFaces(const std::vector<Vec3>& points, const std::vector<ConvexFace>& faces,
                     const char* where)
{
    for (const ConvexFace& face : faces) {
        expect(std::fabs(face.normal.Length() - 1.0f) < kTolerance, "normal of unit length", where);
        const Vec3& first = points[static_cast<std::size_t>(face.corners.front())];
        for (const Vec3& p : points) {
            expect((p - first).Dot(face.normal) < kTolerance, "a point in front of a face", where);
        }
        const std::size_t n = face.corners.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Vec3& a = points[static_cast<std::size_t>(face.corners[i])];
            const Vec3& b = points[static_cast<std::size_t>(face.corners[(i + 1) % n])];
            const Vec3& c = points[static_cast<std::size_t>(face.corners[(i + 2) % n])];
            expect(std::fabs((a - first).Dot(face.normal)) < kTolerance, "a corner off its face", where);
            expect((b - a).Cross(c - b).Dot(face.normal) > 0.0f, "corners not counter-clockwise", where);
        }
    }
}

std::size_t facesWithCorners(const std::vector<ConvexFace>& faces, std::size_t corners)
{
    std::size_t count = 0;
    for (const ConvexFace& face : faces) {
        count += face.corners.size() == corners ? 1 : 0;
    }
    return count;
}

} // namespace

int main()
{
    // A box: six quadrilaterals, normals along the axes.
    const std::vector<Vec3> box = {{-1, -2, -3}, {1, -2, -3}, {1, 2, -3}, {-1, 2, -3},
                                   {-1, -2, 3},  {1, -2, 3},  {1, 2, 3},  {-1, 2, 3}};
    const std::vector<ConvexFace> boxFaces = convexFaces(box);
    expect(boxFaces.size() == 6 && facesWithCorners(boxFaces, 4) == 6, "six quadrilaterals", "box");
    expectHullFaces(box, boxFaces, "box");

    // A square pyramid: the base and four triangles.
    const std::vector<Vec3> pyramid = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}, {0, 2, 0}};
    const std::vector<ConvexFace> pyramidFaces = convexFaces(pyramid);
    expect(pyramidFaces.size() == 5 && facesWithCorners(pyramidFaces, 3) == 4
               && facesWithCorners(pyramidFaces, 4) == 1,
           "a base and four triangles", "pyramid");
    expectHullFaces(pyramid, pyramidFaces, "pyramid");

    // A box turned and moved off the origin: the same six faces.
    std::vector<Vec3> turned;
    for (const Vec3& p : box) {
        turned.emplace_back(0.6f * p.X() - 0.8f * p.Z() + 5.0f, p.Y() - 2.5f, 0.8f * p.X() + 0.6f * p.Z());
    }
    const std::vector<ConvexFace> turnedFaces = convexFaces(turned);
    expect(turnedFaces.size() == 6, "six faces", "turned box");
    expectHullFaces(turned, turnedFaces, "turned box");

    // Points on one plane, on one line, or too few span no volume.
    expect(convexFaces({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}).empty(), "no faces", "square");
    expect(convexFaces({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}}).empty(), "no faces", "line");
    expect(convexFaces({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).empty(), "no faces", "triangle");
    expect(convexFaces({}).empty(), "no faces", "nothing");

    std::printf("convex faces: %s\n", g_failures == 0 ? "passed" : "failed");
    return g_failures == 0 ? 0 : 1;
}
