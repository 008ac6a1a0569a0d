// The stand-in engine, to the contract the library relies on: transforms,
// the camera, the scene graph, lines and the frame.
#include "ekTestMath.h"

#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekMeshUtils.h>

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace ek;
using ek_test::rotationAbout;
using Transform = ekGenericTransformation<float>;
using Wm4::Matrix3f;
using Wm4::Vector3f;

// Error allowed on a value of the given magnitude after the few dozen float
// roundings of the chains below (products of transforms, a projection).
float tolerance(float magnitude)
{
    return 32.0f * std::numeric_limits<float>::epsilon() * magnitude;
}

// One transformation of each kind the engine tells apart: the identity,
// a uniform and a per-axis rotation-scale, a general one.
std::vector<Transform> samples()
{
    std::vector<Transform> out(4);
    out[1].SetRotate(rotationAbout(Vector3f(0.0f, 0.6f, 0.8f), 0.9f));
    out[1].SetUniformScale(2.5f);
    out[1].SetTranslate(Vector3f(1.0f, -2.0f, 3.0f));
    out[2].SetTranslate(Vector3f(-0.5f, 0.25f, 5.0f));
    out[2].SetRotate(rotationAbout(Vector3f(0.48f, 0.6f, 0.64f), -1.3f));
    out[2].SetScale(Vector3f(1.0f, 2.0f, 4.0f));
    out[3].SetMatrix(Matrix3f(1.0f, 0.5f, 0.0f, 0.0f, 2.0f, -0.25f, 0.3f, 0.0f, 0.75f));
    out[3].SetTranslate(Vector3f(4.0f, 0.0f, -1.0f));
    return out;
}

// What the library reads of a transformation describes what it does:
// t(p) = M p + T, and M = R S for a rotation-scale one (coordinates below 64).
void expectDescribes(const Transform& t, const std::string& context)
{
    const Vector3f p(0.7f, -1.1f, 0.4f);
    const Vector3f moved = t.ApplyForward(p, true) - t.GetTranslate();
    const Vector3f& s = t.GetScale();
    EXPECT_LE((moved - t.GetMatrix() * p).Length(), tolerance(64.0f)) << context;
    EXPECT_TRUE(!t.IsRSMatrix()
                || (moved - t.GetRotate() * Vector3f(s[0] * p[0], s[1] * p[1], s[2] * p[2])).Length()
                       <= tolerance(64.0f)) << context;
    EXPECT_TRUE(!t.IsUniformScale() || s == Vector3f::ONE * t.GetUniformScale()) << context;
}

TEST(ekGenericTransformation, ComposesInvertsAndCompares)
{
    const std::vector<Transform> all = samples();
    // the setters make the kinds they name
    EXPECT_TRUE(all[0].IsIdentity() && all[1].IsRSMatrix() && all[1].IsUniformScale());
    EXPECT_TRUE(all[2].IsRSMatrix() && !all[2].IsUniformScale() && !all[3].IsRSMatrix());
    // [a][b]: whether a * b keeps the rotation-scale form (a per-axis scale
    // before a rotation shears)
    const char* const kStaysRS[] = {"1110", "1110", "1000", "0000"};
    const Vector3f p(0.3f, 1.7f, -2.2f);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string name = "sample " + std::to_string(i);
        expectDescribes(all[i], name);
        // the inverse undoes the transformation from either side
        Transform inverse;
        all[i].Inverse(inverse);
        const Vector3f there = all[i].ApplyForward(p, true), back = inverse.ApplyForward(p, true);
        EXPECT_LE((inverse.ApplyForward(there, true) - p).Length(), tolerance(64.0f)) << name;
        EXPECT_LE((all[i].ApplyForward(back, true) - p).Length(), tolerance(64.0f)) << name;
        for (std::size_t j = 0; j < all.size(); ++j) {
            const std::string pair = name + " * sample " + std::to_string(j);
            // a * b applies b first, then a; b may receive it
            Transform product, into = all[j];
            product.Product(all[i], all[j]);
            into.Product(all[i], into);
            const Vector3f twice = all[i].ApplyForward(all[j].ApplyForward(p, true), true);
            EXPECT_LE((product.ApplyForward(p, true) - twice).Length(), tolerance(64.0f)) << pair;
            EXPECT_TRUE(product.IsRSMatrix() == (kStaysRS[i][j] == '1') && into == product) << pair;
            expectDescribes(product, pair);
            // each sample equals itself and no other
            EXPECT_TRUE((all[i] == all[j]) == (i == j) && (all[i] != all[j]) == (i != j)) << pair;
        }
    }
    // equality sees one bit of a translation, and the kind of equal numbers
    Transform moved = all[1], rotation, general;
    moved.SetTranslate(Vector3f(1.0f, -2.0f, std::nextafter(3.0f, 4.0f)));
    rotation.SetRotate(Matrix3f::IDENTITY);
    general.SetMatrix(Matrix3f::IDENTITY);
    EXPECT_TRUE(moved != all[1] && rotation != general);
}

// Viewport position (0 to 1, y up) and depth of a world point: the row vector
// (p, 1) times the view-projection matrix, as the library multiplies it, over W.
Vector3f viewport(const ekCamera& camera, const Vector3f& p)
{
    const std::array<float, 16>& m = camera.getViewProjectionMatrix();
    std::array<float, 4> clip{};
    for (std::size_t col = 0; col < 4; ++col) {
        clip[col] = p.X() * m[col] + p.Y() * m[4 + col] + p.Z() * m[8 + col] + m[12 + col];
    }
    return Vector3f((clip[0] / clip[3] + 1.0f) * 0.5f, (clip[1] / clip[3] + 1.0f) * 0.5f, clip[2] / clip[3]);
}

TEST(ekCamera, PickRayAgreesWithProjection)
{
    const Vector3f eye(3.0f, 4.0f, 5.0f);
    const Vector3f target(0.0f, 0.5f, 0.0f);
    // perspective and orthographic, each centred (by a field of view) and off-centre
    for (int c = 0; c < 4; ++c) {
        const bool perspective = c < 2;
        const std::string name = "camera " + std::to_string(c);
        ekPointer<ekCamera> camera(new ekCamera());
        ASSERT_TRUE(camera->lookAt(eye, target, Vector3f::UNIT_Y));
        c % 2 == 0 ? camera->setFrustum(50.0f, 4.0f / 3.0f, 0.5f, 200.0f)
                   : camera->setFrustum(-0.3f, 0.7f, -0.2f, 0.5f, 1.0f, 100.0f);
        camera->setPerspective(perspective);
        const Vector3f& d = camera->getDVector();
        const Vector3f& u = camera->getUVector();
        const Vector3f& r = camera->getRVector();
        // lookAt: the view direction towards the target, a right-handed orthonormal frame
        EXPECT_LE((d - (target - eye) / (target - eye).Length()).Length(), tolerance(1.0f)) << name;
        EXPECT_TRUE((r - d.Cross(u)).Length() <= tolerance(1.0f) && std::fabs(u.Dot(d)) <= tolerance(1.0f)) << name;
        // a point lies ahead on the pick ray of where it projects: a unit ray from the eye, or along the view
        for (const Vector3f& p : {target, Vector3f(1.0f, 1.5f, -0.5f), Vector3f(-0.7f, 0.2f, 1.0f)}) {
            const Vector3f at = viewport(*camera, p);
            Vector3f origin, direction;
            camera->getPickRay(at.X(), at.Y(), origin, direction);
            const float along = (p - origin).Dot(direction);
            EXPECT_TRUE(along > 0.0f && (origin + direction * along - p).Length() <= tolerance(64.0f)) << name;
            EXPECT_NEAR(direction.Length(), 1.0f, tolerance(1.0f)) << name;
            EXPECT_LE(perspective ? (origin - eye).Length() : (direction - d).Length(), tolerance(8.0f)) << name;
        }
        // depth runs from 0 at the near plane to 1 at the far plane
        const float dMin = camera->getDMin(), dMax = camera->getDMax();
        EXPECT_NEAR(viewport(*camera, eye + d * dMin).Z(), 0.0f, tolerance(dMax / dMin)) << name;
        EXPECT_NEAR(viewport(*camera, eye + d * dMax).Z(), 1.0f, tolerance(dMax / dMin)) << name;
        // the extents (grown with depth in perspective) span the viewport: gizmos are sized in pixels by them
        const float grow = perspective ? 12.0f / dMin : 1.0f;
        const Vector3f centre = eye + d * 12.0f;
        const Vector3f low = viewport(*camera, centre + (r * camera->getRMin() + u * camera->getUMin()) * grow);
        const Vector3f high = viewport(*camera, centre + (r * camera->getRMax() + u * camera->getUMax()) * grow);
        // a field of view of 50 degrees spans the height, 4/3 of it the width
        const float half = 12.0f * std::tan(25.0f * Wm4::Math<float>::DEG_TO_RAD);
        const Vector3f corner = c == 0 ? viewport(*camera, centre + (u + r * (4.0f / 3.0f)) * half) : high;
        EXPECT_LE(std::hypot(low.X(), low.Y()), tolerance(16.0f)) << name;
        EXPECT_LE(std::hypot(high.X() - 1.0f, high.Y() - 1.0f), tolerance(16.0f)) << name;
        EXPECT_LE(std::hypot(corner.X() - 1.0f, corner.Y() - 1.0f), tolerance(16.0f)) << name;
    }
}

// World-data updates and bound computations of every Counting spatial: what
// a frame or a drag touched.
int g_touches = 0;

template <class Base>
class Counting : public Base {
public:
    using Base::Base;

protected:
    void UpdateWorldData() override { ++g_touches, Base::UpdateWorldData(); }
    void UpdateWorldBound() override { ++g_touches, Base::UpdateWorldBound(); }
};

// A line of one segment between two points of its local frame.
template <class Line = ekLine>
ekLine* makeSegment(const Vector3f& a, const Vector3f& b)
{
    auto* line = new Line(2, 2, false);
    line->setVertexPosition(0, a);
    line->setVertexPosition(1, b);
    return line;
}

// Where a point of a spatial's own frame lies in the world.
Vector3f worldPoint(const ekSpatial& s, const Vector3f& p) { return s.getWorldTransform().ApplyForward(p, true); }
// Coordinates in the scenes below stay under 128.
bool holds(const ekBound& b, const Vector3f& p)
{
    return (p - b.getCenter()).Length() <= b.getRadius() + tolerance(128.0f);
}
bool structureBit(const ekSpatial* s) { return (s->getDirtyFlags(0) & DIRTY_STRUCTURE) != 0; }

TEST(ekNode, StructureDirtyBitsAndWorldData)
{
    // root (10 along x) -> parent (a quarter turn about z, scale 2) -> (line along x, group)
    ekPointer<ekNode> root(new ekNode());
    auto *parent = new ekNode(), *group = new ekNode();
    ekLine* line = makeSegment(Vector3f::ZERO, Vector3f::UNIT_X);
    root->editLocalTransform(true).SetTranslate(Vector3f(10.0f, 0.0f, 0.0f));
    parent->editLocalTransform(true).SetRotate(rotationAbout(Vector3f::UNIT_Z, Wm4::Math<float>::HALF_PI));
    parent->editLocalTransform(true).SetUniformScale(2.0f);
    // attaching returns the index; a spatial that has a parent is refused
    EXPECT_TRUE(root->attachChild(parent) == 0 && parent->attachChild(line) == 0);
    EXPECT_TRUE(parent->attachChild(group) == 1 && group->attachChild(line) == -1);
    ekEngine engine;
    engine.setScene(root);
    engine.frame();
    // world = the parent's world after the local: (1,0,0) turns to (0,1,0), doubles, moves 10 along x
    EXPECT_LE((worldPoint(*line, Vector3f::UNIT_X) - Vector3f(10.0f, 2.0f, 0.0f)).Length(), tolerance(128.0f));
    EXPECT_TRUE(holds(root->getWorldBound(), Vector3f(10.0f, 2.0f, 0.0f)));
    // attaching counts on the node and its ancestors and sets DIRTY_STRUCTURE there, not on siblings
    const std::uint64_t before = root->getStructureGeneration();
    group->attachChild(new ekNode());
    EXPECT_TRUE(group->getStructureGeneration() == 1u && root->getStructureGeneration() == before + 1);
    EXPECT_TRUE(structureBit(group) && structureBit(parent) && structureBit(root) && !structureBit(line));
    engine.frame();
    EXPECT_FALSE(structureBit(group) || structureBit(parent) || structureBit(root));
    // a marked edit sets DIRTY_TRANSFORM here, DIRTY_BOUND above; an update brings world and bound along
    line->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 3.0f));
    EXPECT_TRUE((line->getDirtyFlags(0) & DIRTY_TRANSFORM) != 0 && (root->getDirtyFlags(0) & DIRTY_BOUND) != 0);
    root->UpdateGS_Flags();
    EXPECT_LE((worldPoint(*line, Vector3f::UNIT_X) - Vector3f(10.0f, 2.0f, 6.0f)).Length(), tolerance(128.0f));
    EXPECT_TRUE(holds(root->getWorldBound(), Vector3f(10.0f, 2.0f, 6.0f)));
    // detaching too, and leaves the child to whoever else counts it
    ekPointer<ekSpatial> kept(group);
    EXPECT_TRUE(parent->detachChild(group) == 1 && root->getStructureGeneration() == before + 2);
    EXPECT_TRUE(structureBit(parent) && structureBit(root));
    EXPECT_TRUE(group->getParent() == nullptr && group->GetReferences() == 1);

    // a drag over many siblings, by the library's engine calls, keeps each written
    // world, brings children along, and merges no ancestor's bound until one is read
    auto* siblings = new Counting<ekNode>();
    root->attachChild(siblings);
    std::vector<ekNode*> objects;
    for (int i = 0; i < 32; ++i) {
        siblings->attachChild(objects.emplace_back(new ekNode()));
        objects.back()->attachChild(makeSegment(Vector3f::ZERO, Vector3f::UNIT_X));
    }
    engine.frame();
    // what was attached takes its world at the next frame (translations compose exactly)
    EXPECT_EQ(worldPoint(*objects[0]->getChild(0), Vector3f::ZERO), Vector3f(10.0f, 0.0f, 0.0f));
    root->getWorldBound();
    g_touches = 0;
    Transform wanted, parentInverse;
    wanted.SetRotate(rotationAbout(Vector3f::UNIT_X, 0.8f));
    wanted.SetUniformScale(0.5f);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        wanted.SetTranslate(Vector3f(static_cast<float>(i), 100.0f, 0.0f));
        siblings->getWorldTransform().Inverse(parentInverse);
        objects[i]->editWorldTransform(false) = wanted;
        objects[i]->editLocalTransform(false).Product(parentInverse, wanted);
        objects[i]->setDirty(DIRTY_TRANSFORM, true, false);
        objects[i]->forceIgnore(true, false, false);
        objects[i]->UpdateGS_Flags();
        objects[i]->forceIgnore(false, false, false);
        EXPECT_EQ(objects[i]->getWorldTransform(), wanted);
    }
    const int touchesBeforeRead = g_touches;
    const ekBound& bound = root->getWorldBound();
    EXPECT_TRUE(touchesBeforeRead == 0 && g_touches == 1);
    for (const ekNode* object : objects) {
        const Vector3f tip = worldPoint(*object, Vector3f::UNIT_X);
        EXPECT_TRUE(holds(bound, tip));
        EXPECT_LE((worldPoint(*object->getChild(0), Vector3f::UNIT_X) - tip).Length(), tolerance(128.0f));
    }
}

// The change count moves for whatever changes a world transform or a
// bound, and for nothing else.
TEST(ekSpatial, ChangeCountMovesForWorldChangesOnly)
{
    ekPointer<ekNode> root = new ekNode;
    ekPointer<ekNode> child = new ekNode;
    ekPointer<ekLine> line = new ekLine(2u);
    root->attachChild(child);
    child->attachChild(line);
    root->UpdateGS();
    std::uint64_t seen = ekSpatial::getChangeCount();
    const auto moved = [&seen] {
        const std::uint64_t now = ekSpatial::getChangeCount();
        const bool changed = now != seen;
        seen = now;
        return changed;
    };
    // colours, redraw requests, hiding and updates that change nothing leave it
    line->setColor(Wm4::ColorRGBA(1.0f, 0.0f, 0.0f, 1.0f));
    child->setDirty(0, true, false);
    line->setCullingMode(ekSpatial::CULL_ALWAYS);
    line->setCullingMode(ekSpatial::CULL_DYNAMIC);
    root->UpdateGS_Flags();
    root->UpdateGS();
    EXPECT_FALSE(moved());
    // an edit, even one marking nothing, and each update that carries it down
    child->editLocalTransform(false).SetTranslate(Vector3f(1.0f, 0.0f, 0.0f));
    EXPECT_TRUE(moved());
    child->UpdateGS();
    EXPECT_TRUE(moved());
    line->editWorldTransform(false).SetTranslate(Vector3f(0.0f, 2.0f, 0.0f));
    EXPECT_TRUE(moved());
    // a vertex, a detach and a new spatial
    line->setVertexPosition(1, Vector3f(0.0f, 3.0f, 0.0f));
    EXPECT_TRUE(moved());
    root->detachChild(child);
    EXPECT_TRUE(moved());
    const ekPointer<ekNode> other = new ekNode;
    EXPECT_TRUE(moved());
}

using Pairs = std::vector<std::pair<unsigned int, unsigned int>>;

Pairs segmentsOf(const ekLine& line)
{
    Pairs pairs;
    line.forEachSegment([&pairs](unsigned int start, unsigned int end) { pairs.emplace_back(start, end); });
    return pairs;
}

TEST(ekLine, SegmentsAndSharedShapes)
{
    // ekLine(n) is a strip through its n slots; a curve draws the same; a loop closes it
    ekPointer<ekLine> strip(new ekLine(4u));
    const Pairs open{{0, 1}, {1, 2}, {2, 3}};
    EXPECT_EQ(segmentsOf(*strip), open);
    strip->setDrawMethod(ekLine::DM_CURVE);
    EXPECT_EQ(segmentsOf(*strip), open);
    strip->setDrawMethod(ekLine::DM_LOOP);
    EXPECT_EQ(segmentsOf(*strip), (Pairs{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));
    // ekLine(vertices, slots, static) pairs slots: extra ones refer to the last vertex,
    // an odd last one is unused, a missing vertex drops its segment
    ekPointer<ekLine> list(new ekLine(3, 5, true));
    EXPECT_EQ(segmentsOf(*list), (Pairs{{0, 1}, {2, 2}}));
    list->setIndex(1, 9);
    EXPECT_EQ(segmentsOf(*list), (Pairs{{2, 2}}));
    // a line of a shared shape (bound computed first, as the library does) draws
    // the same; the first write through either copies the data
    list->setVertexPosition(2, Vector3f(2.0f, 2.0f, 0.0f));
    list->getModelBound();
    ekPointer<ekLine> copy(new ekLine(ekLine::ShapeOf{*list}));
    EXPECT_TRUE(segmentsOf(*copy) == segmentsOf(*list) && copy->hasStaticData());
    copy->setVertexPosition(0, Vector3f(-2.0f, 0.0f, 0.0f));
    list->setIndex(4, 0);
    EXPECT_TRUE(list->getVertexPosition(0) == Vector3f::ZERO && copy->getIndex(4) == 2u);
    // each bound follows its own vertices
    EXPECT_TRUE(holds(copy->getModelBound(), Vector3f(-2.0f, 0.0f, 0.0f)));
    EXPECT_FALSE(holds(list->getModelBound(), Vector3f(-2.0f, 0.0f, 0.0f)));
}

TEST(ekSceneGraphVisitor, GetNodeFunctorPrunesRefusedSubtrees)
{
    // root -> (a (excluded) -> (line a0, a1), b (never drawn) -> line b0)
    ekPointer<ekNode> root(new ekNode());
    auto *a = new ekNode(), *a1 = new ekNode(), *b = new ekNode();
    ekLine *a0 = new ekLine(2u), *b0 = new ekLine(2u);
    root->attachChild(a);
    a->attachChild(a0);
    a->attachChild(a1);
    root->attachChild(b);
    b->attachChild(b0);
    a->setExcluded(true);
    b->setCullingMode(ekSpatial::CULL_ALWAYS);
    const auto nodes = [&root](bool acceptExcluded, bool acceptNeverDrawn) {
        std::vector<ekNode*> found;
        ekMeshUtils::GetNodeFunctor<ekNode> functor(found, acceptExcluded, acceptNeverDrawn);
        ekSceneGraphVisitor(functor).apply(root);
        return found;
    };
    // depth first, parents first
    EXPECT_EQ(nodes(true, true), (std::vector<ekNode*>{root.get(), a, a1, b}));
    // refused spatials (excluded, never drawn, unless accepted) are skipped with all below
    EXPECT_EQ(nodes(false, true), (std::vector<ekNode*>{root.get(), b}));
    EXPECT_EQ(nodes(true, false), (std::vector<ekNode*>{root.get(), a, a1}));
    // the type filter takes derived types: lines are geometry, not nodes
    std::vector<ekGeometry*> geometry;
    ekMeshUtils::GetNodeFunctor<ekGeometry> lines(geometry, true, true);
    ekSceneGraphVisitor(lines).apply(root);
    EXPECT_EQ(geometry, (std::vector<ekGeometry*>{a0, b0}));
}

// What the analysis and the controllers did, in order.
std::vector<std::string> g_log;

// The line the analysis hands the pass, drawn as overlay.
ekLine* batchLine()
{
    static const ekPointer<ekLine> line(makeSegment(Vector3f(5.0f, 5.0f, 5.0f), Vector3f(6.0f, 5.0f, 5.0f)));
    return line;
}

// Replaces the batch, as the library's analysis does.
void analyse(ek2DPrimitivesPass* pass, ekSpatial*)
{
    g_log.emplace_back("analyse");
    pass->editGeometryRenderBatch().assign(1, batchLine());
}

// The registry is process-wide: analyse stays registered for the whole run
// (the library's start-up test covers unregistering).
const bool kAnalyseRegistered = ek2DPrimitivesPass::RegisterAnalyseFunction(analyse);

// Logs its calls and whether the scene showed a structure change, then runs m_onUpdate.
struct Controller : ekGenericControllerInterface {
    explicit Controller(std::string name) : m_name(std::move(name)) {}
    void updateController(ekGenericRenderingContext* context) override
    {
        g_log.push_back(m_name + " update");
        m_sawStructure.push_back(structureBit(context->getEngineInterface()->getScene()));
        m_onUpdate();
    }
    void beforeDraw(ekGenericRenderingContext*) override { g_log.push_back(m_name + " draw"); }
    std::string m_name;
    std::function<void()> m_onUpdate = [] {};
    std::vector<bool> m_sawStructure;
};

// Two frames of engine, then its list compared bit for bit with the one a
// fresh engine draws of root; the fresh engine, the last to draw the scene,
// goes on as engine.
void expectKeptList(std::unique_ptr<ekEngine>& engine, ekNode* root, const std::string& change)
{
    engine->frame();
    const std::vector<ekDrawSegment>& kept = engine->frame();
    auto fresh = std::make_unique<ekEngine>();
    fresh->setScene(root);
    const std::vector<ekDrawSegment>& expected = fresh->frame();
    const auto same = [](const ekDrawSegment& x, const ekDrawSegment& y) {
        return x.start == y.start && x.end == y.end && x.color == y.color && x.width == y.width
            && x.overlay == y.overlay && x.line == y.line;
    };
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), expected.begin(), expected.end(), same)) << change;
    engine = std::move(fresh);
}

TEST(ekEngine, Frame)
{
    // root -> (overlay node (CULL_ALWAYS) -> c, group -> (a, strip b, never
    // drawn line)), every spatial counting what touches it
    ekPointer<ekNode> root(new Counting<ekNode>());
    auto *overlay = new Counting<ekNode>(), *group = new Counting<ekNode>();
    ekLine *a = makeSegment<Counting<ekLine>>(Vector3f::ZERO, Vector3f::UNIT_X), *b = new Counting<ekLine>(4u);
    ekLine* c = makeSegment<Counting<ekLine>>(Vector3f::ZERO, Vector3f::UNIT_Z);
    ekLine* hidden = makeSegment<Counting<ekLine>>(Vector3f::ZERO, Vector3f::UNIT_Y);
    overlay->setCullingMode(ekSpatial::CULL_ALWAYS);
    hidden->setCullingMode(ekSpatial::CULL_ALWAYS);
    a->setColor(Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    a->setWidth(2.0f);
    root->attachChild(overlay);
    overlay->attachChild(c);
    root->attachChild(group);
    group->attachChild(a);
    group->attachChild(b);
    group->attachChild(hidden);
    ASSERT_TRUE(kAnalyseRegistered);
    auto engine = std::make_unique<ekEngine>();
    engine->setScene(root);
    Controller first("A"), second("B"), added("C");
    EXPECT_TRUE(engine->addController(&first) && engine->addController(&second) && !engine->addController(&first));

    // the world data is brought up to date before the controllers (the
    // host's move) and after them (A's move, drawn in the same frame)
    Vector3f seen;
    first.m_onUpdate = [&] {
        seen = worldPoint(*a, Vector3f::ZERO);
        a->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 3.0f));
    };
    group->editLocalTransform(true).SetTranslate(Vector3f(1.0f, 2.0f, 3.0f));
    g_log.clear();
    const std::vector<ekDrawSegment>& list = engine->frame();
    EXPECT_LE((seen - Vector3f(1.0f, 2.0f, 3.0f)).Length(), tolerance(16.0f));
    EXPECT_LE((list.at(0).end - Vector3f(2.0f, 2.0f, 6.0f)).Length(), tolerance(16.0f));
    // controllers in the order added, then beforeDraw, then the pass
    EXPECT_EQ(g_log, (std::vector<std::string>{"A update", "B update", "A draw", "B draw", "analyse"}));
    // the drawn lines with colour and width (b: 3 segments), then as overlay those
    // below CULL_ALWAYS nodes and the pass's batch; CULL_ALWAYS lines nowhere
    ASSERT_EQ(list.size(), 6u);
    EXPECT_TRUE(list[0].color == Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f) && list[0].width == 2.0f);
    EXPECT_TRUE(list[0].line == a && list[3].line == b && list[4].line == c && list[5].line == batchLine());
    EXPECT_TRUE(!list[3].overlay && list[4].overlay && list[5].overlay);

    // removing or adding a controller during a frame skips none; the added one runs at once
    first.m_onUpdate = [&] {
        EXPECT_TRUE(engine->removeController(&first));
        EXPECT_FALSE(engine->removeController(&first));
        engine->addController(&added);
    };
    g_log.clear();
    engine->frame();
    EXPECT_EQ(g_log, (std::vector<std::string>{"A update", "B update", "C update", "B draw", "C draw", "analyse"}));
    // a new controller sees the structure change once; an idle frame skips the pass and touches nothing
    root->getWorldBound();
    g_touches = 0;
    g_log.clear();
    engine->frame();
    EXPECT_EQ(g_log, (std::vector<std::string>{"B update", "C update", "B draw", "C draw"}));
    EXPECT_EQ(g_touches, 0);
    EXPECT_TRUE(added.m_sawStructure == std::vector<bool>({true, false})
                && second.m_sawStructure == std::vector<bool>({true, true, false}));
    // a move touches that line alone, and a bound read then the path to it
    a->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 9.0f));
    engine->frame();
    const int touchesByFrame = g_touches;
    root->getWorldBound();
    EXPECT_TRUE(touchesByFrame == 1 && g_touches == 1 + 3);

    // the kept list follows each change to the bit as a fresh engine draws it
    const auto expectKept = [&](const std::string& change) { expectKeptList(engine, root, change); };
    group->editLocalTransform(true).SetTranslate(Vector3f::UNIT_Y);
    expectKept("group moved");
    a->setColor(Wm4::ColorRGBA(0.5f, 0.25f, 0.0f, 1.0f));
    c->setWidth(3.0f);
    expectKept("colour and width");
    b->setVertexPosition(2, Vector3f(7.0f, 0.0f, 0.0f));
    expectKept("vertex");
    b->setDrawMethod(ekLine::DM_LOOP);
    expectKept("segment count");
    a->setCullingMode(ekSpatial::CULL_ALWAYS);
    group->editLocalTransform(true).SetTranslate(Vector3f(0.0f, -5.0f, 0.0f));
    root->UpdateGS_Flags();
    a->setCullingMode(ekSpatial::CULL_DYNAMIC);
    expectKept("a line hidden, moved and shown again between frames");
    a->setCullingMode(ekSpatial::CULL_ALWAYS);
    hidden->setCullingMode(ekSpatial::CULL_DYNAMIC);
    expectKept("shown (moved while hidden) and hidden");
    group->setCullingMode(ekSpatial::CULL_ALWAYS);
    expectKept("group made overlay");
    overlay->attachChild(makeSegment(Vector3f::UNIT_Y, Vector3f::UNIT_Z));
    group->detachChild(b);
    expectKept("attach and detach");
}

TEST(ekEngine, KeptListFollowsSegmentCountsAndPendingSiblings)
{
    // root -> 8 nodes, each carrying a strip of 4 vertices (3 segments), all
    // drawn one after the other in a single list
    ekPointer<ekNode> root(new ekNode());
    std::vector<ekNode*> nodes;
    std::vector<ekLine*> strips;
    for (int i = 0; i < 8; ++i) {
        root->attachChild(nodes.emplace_back(new ekNode()));
        nodes.back()->attachChild(strips.emplace_back(new ekLine(4u)));
        for (int v = 0; v < 4; ++v) {
            strips.back()->setVertexPosition(v, Vector3f(static_cast<float>(i), static_cast<float>(v), 0.0f));
        }
    }
    auto engine = std::make_unique<ekEngine>();
    engine->setScene(root);
    engine->frame();
    const auto moveAll = [&](float z) {
        for (ekNode* node : nodes) {
            node->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, z));
        }
    };
    // every strip of the scene drawn where its node was moved last (the root
    // stays put, so the world transforms are copies: exact)
    const auto expectMoved = [&](const std::string& change) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            EXPECT_TRUE(nodes[i]->getParent() == nullptr
                        || strips[i]->getWorldTransform() == nodes[i]->getLocalTransform())
                << change << ", strip " << i;
        }
    };
    // a line that loses a segment (its last slot refers to no vertex) and
    // changes colour in the frame that moves its neighbours
    moveAll(1.0f);
    strips[3]->setIndex(3, 99);
    strips[3]->setColor(Wm4::ColorRGBA(0.5f, 0.0f, 0.0f, 1.0f));
    expectKeptList(engine, root, "colour and fewer segments");
    expectMoved("colour and fewer segments");
    // it gets the segment back, nothing else changing: the lines after it keep
    // their segments
    strips[3]->setIndex(3, 3);
    expectKeptList(engine, root, "more segments");
    expectMoved("more segments");
    // a sibling with changes still pending is detached between moved ones, then
    // attached again
    ekPointer<ekNode> detached(nodes[4]);
    moveAll(3.0f);
    EXPECT_EQ(root->detachChild(nodes[4]), 4);
    expectKeptList(engine, root, "pending sibling detached");
    expectMoved("pending sibling detached");
    nodes[4]->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 4.0f));
    root->attachChild(nodes[4]);
    moveAll(5.0f);
    expectKeptList(engine, root, "attached again");
    expectMoved("attached again");
    // nothing is left to draw again after the frames
    for (const ekLine* strip : strips) {
        EXPECT_EQ(strip->getDirtyFlags(1), 0u);
    }
}

} // namespace
