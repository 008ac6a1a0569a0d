#include "Mesh.h"

#include <initializer_list>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;

void addFace(Mesh& mesh, std::initializer_list<unsigned int> corners)
{
    mesh.faces.push_back({static_cast<unsigned int>(mesh.corners.size()),
                          static_cast<unsigned int>(corners.size())});
    mesh.corners.insert(mesh.corners.end(), corners);
}

// Pairs every face's edges with the neighbour that runs them the other
// way: in a closed solid each edge has exactly two faces.
void findEdges(Mesh& mesh)
{
    for (unsigned int f = 0; f < mesh.faces.size(); ++f) {
        const Mesh::Face& face = mesh.faces[f];
        for (unsigned int i = 0; i < face.count; ++i) {
            const unsigned int a = mesh.corners[face.first + i];
            const unsigned int b = mesh.corners[face.first + (i + 1) % face.count];
            bool paired = false;
            for (Mesh::Edge& edge : mesh.edges) {
                if (edge.a == b && edge.b == a) {
                    edge.faceB = f;
                    paired = true;
                }
            }
            if (!paired) {
                mesh.edges.push_back({a, b, f, f});
            }
        }
    }
}

} // namespace

Mesh makeBoxMesh(const Vec3& half)
{
    const float x = half.X();
    const float y = half.Y();
    const float z = half.Z();
    Mesh mesh;
    mesh.vertices = {{-x, -y, -z}, {x, -y, -z}, {x, y, -z}, {-x, y, -z},
                     {-x, -y, z},  {x, -y, z},  {x, y, z},  {-x, y, z}};
    addFace(mesh, {4, 5, 6, 7}); // +z
    addFace(mesh, {1, 0, 3, 2}); // -z
    addFace(mesh, {5, 1, 2, 6}); // +x
    addFace(mesh, {0, 4, 7, 3}); // -x
    addFace(mesh, {7, 6, 2, 3}); // +y
    addFace(mesh, {0, 1, 5, 4}); // -y
    findEdges(mesh);
    return mesh;
}

Mesh makePyramidMesh(float half, float height)
{
    Mesh mesh;
    mesh.vertices = {{-half, 0, -half}, {half, 0, -half}, {half, 0, half}, {-half, 0, half},
                     {0, height, 0}};
    addFace(mesh, {0, 1, 2, 3}); // base, facing -y
    addFace(mesh, {3, 2, 4});
    addFace(mesh, {2, 1, 4});
    addFace(mesh, {1, 0, 4});
    addFace(mesh, {0, 3, 4});
    findEdges(mesh);
    return mesh;
}

} // namespace ek::viewer
