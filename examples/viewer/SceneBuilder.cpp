#include "SceneBuilder.h"

#include <ekSceneGraph/ekLine.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace ek::viewer {
namespace {

using Vec3 = Wm4::Vector3<float>;

// The grid covers -kGridHalfSize..kGridHalfSize on X and Z, one line per
// world unit.
constexpr int kGridHalfSize = 10;
const Wm4::ColorRGBA kGridColour(0.26f, 0.28f, 0.32f, 1.0f);
const Wm4::ColorRGBA kGridAxisColour(0.42f, 0.44f, 0.50f, 1.0f);
constexpr float kGridWidth = 1.0f;
constexpr float kGridAxisWidth = 1.5f;

// A segment list from vertex positions and index pairs.
ekLine* makeLines(const Vec3* vertices, int vertexCount, const unsigned int* pairs, int indexCount)
{
    auto* line = new ekLine(vertexCount, indexCount, true);
    for (int i = 0; i < vertexCount; ++i) {
        line->setVertexPosition(i, vertices[i]);
    }
    for (int i = 0; i < indexCount; ++i) {
        line->setIndex(i, pairs[i]);
    }
    return line;
}

// The mesh's edges as the engine's line, kept out of its draw list.
ekLine* makeShape(const Mesh& mesh)
{
    std::vector<unsigned int> pairs;
    for (const Mesh::Edge& edge : mesh.edges) {
        pairs.push_back(edge.a);
        pairs.push_back(edge.b);
    }
    ekLine* line = makeLines(mesh.vertices.data(), static_cast<int>(mesh.vertices.size()),
                             pairs.data(), static_cast<int>(pairs.size()));
    line->setCullingMode(ekSpatial::CULL_ALWAYS);
    return line;
}

ekLine* makeGridLines(bool axesOnly)
{
    std::vector<Vec3> vertices;
    const float extent = float(kGridHalfSize);
    for (int i = -kGridHalfSize; i <= kGridHalfSize; ++i) {
        if ((i == 0) != axesOnly) {
            continue;
        }
        vertices.emplace_back(float(i), 0.0f, -extent);
        vertices.emplace_back(float(i), 0.0f, extent);
        vertices.emplace_back(-extent, 0.0f, float(i));
        vertices.emplace_back(extent, 0.0f, float(i));
    }
    std::vector<unsigned int> pairs(vertices.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        pairs[i] = static_cast<unsigned int>(i);
    }
    const int count = static_cast<int>(vertices.size());
    ekLine* line = makeLines(vertices.data(), count, pairs.data(), count);
    line->setColor(axesOnly ? kGridAxisColour : kGridColour);
    line->setWidth(axesOnly ? kGridAxisWidth : kGridWidth);
    return line;
}

Wm4::Matrix3<float> rotationAboutY(float degrees)
{
    const float a = degrees * Wm4::Math<float>::DEG_TO_RAD;
    const float c = std::cos(a);
    const float s = std::sin(a);
    return {c, 0, s, 0, 1, 0, -s, 0, c};
}

void addObject(Scene& scene, const char* name, Mesh mesh, const Vec3& position, float yawDegrees,
               const Wm4::ColorRGBA& colour)
{
    auto* node = new ekNode;
    node->setName(name);
    ekGenericTransformation<float>& local = node->editLocalTransform(true);
    local.SetTranslate(position);
    if (yawDegrees != 0.0f) {
        local.SetRotate(rotationAboutY(yawDegrees));
    }
    ekLine* shape = makeShape(mesh);
    shape->setName(std::string(name) + ".shape");
    node->attachChild(shape);
    scene.root->attachChild(node);
    scene.objects.push_back({node, shape, std::move(mesh), colour});
}

} // namespace

Scene buildScene()
{
    Scene scene;
    scene.root = new ekNode;
    scene.root->setName("scene");
    scene.root->attachChild(makeGridLines(false));
    scene.root->attachChild(makeGridLines(true));

    addObject(scene, "crate", makeBoxMesh(Vec3(1.0f, 1.0f, 1.0f)), Vec3(0.0f, 1.0f, 0.0f), 0.0f,
              Wm4::ColorRGBA(0.93f, 0.62f, 0.33f, 1.0f));
    addObject(scene, "tower", makeBoxMesh(Vec3(0.6f, 1.5f, 0.6f)), Vec3(4.0f, 1.5f, -1.5f), 30.0f,
              Wm4::ColorRGBA(0.35f, 0.78f, 0.75f, 1.0f));
    addObject(scene, "pyramid", makePyramidMesh(1.2f, 2.0f), Vec3(-4.0f, 0.0f, 1.0f), 0.0f,
              Wm4::ColorRGBA(0.72f, 0.55f, 0.95f, 1.0f));
    addObject(scene, "slab", makeBoxMesh(Vec3(1.5f, 0.25f, 1.0f)), Vec3(-1.0f, 0.25f, -4.5f), -20.0f,
              Wm4::ColorRGBA(0.60f, 0.80f, 0.40f, 1.0f));

    scene.root->UpdateGS();
    return scene;
}

} // namespace ek::viewer
