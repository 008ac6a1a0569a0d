// Frames that visit only what changed: the kept draw list, the lazy world
// data, the dirty bits a frame clears, and engines that share a scene.
#include "engine_test_support.h"

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekEngineInterface.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using ek::ekEngine;
using ek::ekLine;
using ek::ekNode;
using ek::ekPointer;
using ek::ekSpatial;
using ek_test::CountingLine;
using ek_test::CountingNode;
using ek_test::makeSegment;
using ek_test::writeWorldTransform;
using Transform = ek::ekGenericTransformation<float>;
using Wm4::Vector3f;

// Error allowed on world coordinates of order 10.
constexpr float kTolerance = 1e-5f;

// An engine that meets the scene for the first time lays everything out
// from scratch: what it draws is what every frame must draw.
void expectDrawnAsFromScratch(const ekEngine& engine, ekNode* root, const std::string& context)
{
    ekEngine fresh;
    fresh.setScene(root);
    const std::vector<ek::ekDrawSegment>& expected = fresh.frame();
    const std::vector<ek::ekDrawSegment>& drawn = engine.getDrawList();
    ASSERT_EQ(drawn.size(), expected.size()) << context;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        // Both come from the same world transforms through the same
        // arithmetic: equal bit for bit.
        EXPECT_TRUE(drawn[i].start == expected[i].start && drawn[i].end == expected[i].end) << context << " " << i;
        EXPECT_TRUE(drawn[i].color == expected[i].color) << context << " " << i;
        EXPECT_EQ(drawn[i].width, expected[i].width) << context << " " << i;
        EXPECT_EQ(drawn[i].overlay, expected[i].overlay) << context << " " << i;
        EXPECT_EQ(drawn[i].line, expected[i].line) << context << " " << i;
    }
}

// root -> group (moved) -> (a, b, hidden), overlay node -> c
struct DrawnScene {
    DrawnScene()
    {
        group->editLocalTransform(true).SetTranslate(Vector3f(1.0f, 2.0f, 3.0f));
        hidden->setCullingMode(ekSpatial::CULL_ALWAYS);
        overlay->setCullingMode(ekSpatial::CULL_ALWAYS);
        root->attachChild(group);
        group->attachChild(a);
        group->attachChild(b);
        group->attachChild(hidden);
        root->attachChild(overlay);
        overlay->attachChild(c);
    }
    ekPointer<ekNode> root{new ekNode()};
    ekNode* group = new ekNode();
    ekLine* a = makeSegment(Vector3f::ZERO, Vector3f::UNIT_X);
    ekLine* b = new ekLine(4u);
    ekLine* hidden = makeSegment(Vector3f::ZERO, Vector3f::UNIT_Y);
    ekNode* overlay = new ekNode();
    ekLine* c = makeSegment(Vector3f::ZERO, Vector3f::UNIT_Z);
};

TEST(ekDrawCache, EveryChangeReachesTheKeptList)
{
    const std::vector<std::pair<std::string, std::function<void(DrawnScene&)>>> changes = {
        {"group moved", [](DrawnScene& s) { s.group->editLocalTransform(true).SetTranslate(Vector3f(4.0f, 0.0f, 0.0f)); }},
        {"colour and width", [](DrawnScene& s) {
             s.a->setColor(Wm4::ColorRGBA(0.5f, 0.25f, 0.0f, 1.0f));
             s.c->setWidth(3.0f);
         }},
        {"vertex", [](DrawnScene& s) { s.b->setVertexPosition(2, Vector3f(7.0f, 0.0f, 0.0f)); }},
        {"segment count", [](DrawnScene& s) { s.b->setDrawMethod(ekLine::DM_LOOP); }},
        {"slots", [](DrawnScene& s) { s.a->setIndex(1, 0); }},
        {"shown and hidden", [](DrawnScene& s) {
             s.a->setCullingMode(ekSpatial::CULL_ALWAYS);
             s.hidden->setCullingMode(ekSpatial::CULL_DYNAMIC);
         }},
        {"hidden line moved, then shown", [](DrawnScene& s) {
             s.group->editLocalTransform(true).SetTranslate(Vector3f(0.0f, -5.0f, 0.0f));
             s.root->UpdateGS_Flags();
             s.hidden->setCullingMode(ekSpatial::CULL_DYNAMIC);
         }},
        {"group made overlay", [](DrawnScene& s) { s.group->setCullingMode(ekSpatial::CULL_ALWAYS); }},
        {"attach and detach", [](DrawnScene& s) {
             s.overlay->attachChild(makeSegment(Vector3f::UNIT_Y, Vector3f::UNIT_Z));
             s.group->detachChild(s.b);
         }},
        {"world written", [](DrawnScene& s) {
             Transform wanted;
             wanted.SetUniformScale(2.0f);
             wanted.SetTranslate(Vector3f(0.0f, 0.0f, -3.0f));
             writeWorldTransform(*s.group, wanted);
         }},
    };
    for (const auto& change : changes) {
        DrawnScene scene;
        ekEngine engine;
        engine.setScene(scene.root);
        engine.frame();
        change.second(scene);
        engine.frame();
        // a frame with nothing new keeps what the last one drew
        engine.frame();
        expectDrawnAsFromScratch(engine, scene.root, change.first);
    }
}

// Counts its calls.
int g_analyses = 0;
void countAnalysis(ek::ek2DPrimitivesPass*, ekSpatial*)
{
    ++g_analyses;
}
void otherAnalysis(ek::ek2DPrimitivesPass*, ekSpatial*) {}

TEST(ekEngine, AFrameWithNothingNewDoesNothing)
{
    ASSERT_TRUE(ek::ek2DPrimitivesPass::RegisterAnalyseFunction(countAnalysis));
    // root -> 10 groups -> 10 lines each
    ekPointer<CountingNode> root(new CountingNode());
    std::vector<CountingNode*> groups;
    std::vector<CountingLine*> lines;
    for (int g = 0; g < 10; ++g) {
        groups.push_back(new CountingNode());
        root->attachChild(groups.back());
        for (int i = 0; i < 10; ++i) {
            lines.push_back(new CountingLine());
            lines.back()->editLocalTransform(true).SetTranslate(Vector3f(static_cast<float>(i), static_cast<float>(g), 0.0f));
            groups.back()->attachChild(lines.back());
        }
    }
    ekEngine engine;
    engine.setScene(root);
    engine.frame();
    // every bound computed once
    root->getWorldBound();
    const std::vector<ek::ekDrawSegment> before = engine.getDrawList();
    const auto reset = [&] {
        g_analyses = 0;
        root->m_boundUpdates = 0;
        for (CountingNode* group : groups) {
            group->m_boundUpdates = 0;
        }
        for (CountingLine* line : lines) {
            line->m_worldUpdates = 0;
            line->m_boundUpdates = 0;
        }
    };
    const auto worldUpdates = [&] {
        int sum = 0;
        for (const CountingLine* line : lines) {
            sum += line->m_worldUpdates;
        }
        return sum;
    };
    const auto boundUpdates = [&] {
        int sum = root->m_boundUpdates;
        for (const CountingNode* group : groups) {
            sum += group->m_boundUpdates;
        }
        for (const CountingLine* line : lines) {
            sum += line->m_boundUpdates;
        }
        return sum;
    };

    // nothing new: no world data, no bound, no analysis, the same list
    reset();
    engine.frame();
    EXPECT_EQ(worldUpdates(), 0);
    EXPECT_EQ(boundUpdates(), 0);
    EXPECT_EQ(g_analyses, 0);
    ASSERT_EQ(engine.getDrawList().size(), before.size());
    EXPECT_TRUE(engine.getDrawList()[42].end == before[42].end);

    // one line moved: only its world data; no bound until one is read
    reset();
    lines[42]->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 9.0f));
    engine.frame();
    EXPECT_EQ(worldUpdates(), 1);
    EXPECT_EQ(lines[42]->m_worldUpdates, 1);
    EXPECT_EQ(boundUpdates(), 0);
    EXPECT_EQ(g_analyses, 1);
    ek_test::expectNear(engine.getDrawList()[42].start, Vector3f(0.0f, 0.0f, 9.0f), kTolerance);
    // reading the root's bound computes the bounds on the way to the change only
    EXPECT_GT(root->getWorldBound().getRadius(), 0.0f);
    EXPECT_EQ(root->m_boundUpdates, 1);
    EXPECT_EQ(groups[4]->m_boundUpdates, 1);
    EXPECT_EQ(lines[42]->m_boundUpdates, 1);
    EXPECT_EQ(boundUpdates(), 3);

    // a new analyse function runs, with the others, though nothing changed
    reset();
    ASSERT_TRUE(ek::ek2DPrimitivesPass::RegisterAnalyseFunction(otherAnalysis));
    engine.frame();
    EXPECT_EQ(g_analyses, 1);
    EXPECT_TRUE(ek::ek2DPrimitivesPass::UnregisterAnalyseFunction(otherAnalysis));
    EXPECT_TRUE(ek::ek2DPrimitivesPass::UnregisterAnalyseFunction(countAnalysis));
}

TEST(ekSpatial, DragWritesCostTheDepthNotTheSiblings)
{
    // the engine calls of a drag on 64 siblings: no ancestor's bound is
    // merged over the siblings while they are written
    ekPointer<CountingNode> root(new CountingNode());
    auto* parent = new CountingNode();
    root->attachChild(parent);
    std::vector<ekLine*> objects;
    for (int i = 0; i < 64; ++i) {
        objects.push_back(makeSegment(Vector3f::ZERO, Vector3f::UNIT_X));
        parent->attachChild(objects.back());
    }
    root->UpdateGS();
    EXPECT_GT(root->getWorldBound().getRadius(), 0.0f);
    root->m_boundUpdates = 0;
    parent->m_boundUpdates = 0;
    for (int i = 0; i < 64; ++i) {
        Transform wanted;
        wanted.SetTranslate(Vector3f(static_cast<float>(i), 100.0f, 0.0f));
        writeWorldTransform(*objects[static_cast<std::size_t>(i)], wanted);
    }
    EXPECT_EQ(parent->m_boundUpdates, 0);
    EXPECT_EQ(root->m_boundUpdates, 0);
    // read once, the bounds are those of the objects where they are now
    const ek::ekBound& bound = root->getWorldBound();
    EXPECT_EQ(parent->m_boundUpdates, 1);
    EXPECT_EQ(root->m_boundUpdates, 1);
    for (const ekLine* object : objects) {
        const Vector3f end = object->getWorldTransform().ApplyForward(Vector3f::UNIT_X, true);
        EXPECT_LE((end - bound.getCenter()).Length(), bound.getRadius() + kTolerance);
    }
    EXPECT_NEAR(bound.getCenter().Y(), 100.0f, kTolerance);
}

// Moves a line during beforeDraw, after the frame's world update.
class LateMover : public ek::ekGenericControllerInterface {
public:
    explicit LateMover(ekLine* line) : m_line(line) {}
    void updateController(ek::ekGenericRenderingContext*) override {}
    void beforeDraw(ek::ekGenericRenderingContext*) override
    {
        if (m_move) {
            m_line->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 5.0f, 0.0f));
            m_move = false;
        }
    }
    bool m_move = false;

private:
    ekLine* m_line;
};

TEST(ekEngine, AFrameClearsWhatWasSetAndKeepsWhatIsStillToDo)
{
    DrawnScene scene;
    ekEngine engine;
    engine.setScene(scene.root);
    LateMover mover(scene.a);
    engine.addController(&mover);
    engine.frame();
    // bits set deep in the scene, on drawn, hidden and overlay spatials
    for (ekSpatial* s : {static_cast<ekSpatial*>(scene.a), static_cast<ekSpatial*>(scene.hidden),
                         static_cast<ekSpatial*>(scene.c)}) {
        s->setDirty(0x100, true, false);
    }
    scene.overlay->attachChild(new ekNode());
    mover.m_move = true;
    engine.frame();
    for (ekSpatial* s : {static_cast<ekSpatial*>(scene.root), static_cast<ekSpatial*>(scene.group),
                         static_cast<ekSpatial*>(scene.a), static_cast<ekSpatial*>(scene.hidden),
                         static_cast<ekSpatial*>(scene.overlay), static_cast<ekSpatial*>(scene.c)}) {
        EXPECT_EQ(s->getDirtyFlags(0) & (ek::DIRTY_STRUCTURE | ek::DIRTY_RENDER), 0u);
        EXPECT_EQ(s->getDirtyFlags(1), 0u);
    }
    // the move made after the world update waits for the next frame, which
    // draws it
    EXPECT_NE(scene.a->getDirtyFlags(0) & ek::DIRTY_TRANSFORM, 0u);
    engine.frame();
    EXPECT_EQ(scene.a->getDirtyFlags(0) & ek::DIRTY_TRANSFORM, 0u);
    ek_test::expectNear(engine.getDrawList()[0].start, Vector3f(1.0f, 7.0f, 3.0f), kTolerance);
    engine.removeController(&mover);
}

// Two engines, one drawing checkedRoot and one takerRoot (the same root or
// a part of it): a change made between their frames, which the taker's
// frame takes first, reaches the other's list too.
void expectChangeSeenByBoth(ekNode* checkedRoot, ekNode* takerRoot, const std::function<void()>& change,
                            const std::string& context)
{
    ekEngine checked;
    ekEngine taker;
    checked.setScene(checkedRoot);
    taker.setScene(takerRoot);
    checked.frame();
    taker.frame();
    change();
    taker.frame();
    checked.frame();
    expectDrawnAsFromScratch(checked, checkedRoot, context);
}

TEST(ekEngine, EnginesSharingAScene)
{
    DrawnScene views;
    expectChangeSeenByBoth(views.root, views.root,
                           [&views] { views.a->setColor(Wm4::ColorRGBA(0.0f, 1.0f, 0.0f, 1.0f)); },
                           "two views of one scene");
    DrawnScene parts;
    expectChangeSeenByBoth(parts.root, parts.group,
                           [&parts] { parts.a->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 8.0f)); },
                           "a view of a part of the scene");
}

TEST(ekSpatial, HiddenLeafWorldIsDerivedWhenRead)
{
    DrawnScene scene;
    scene.hidden->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 1.0f, 0.0f));
    scene.root->UpdateGS();
    scene.group->editLocalTransform(true).SetUniformScale(3.0f);
    scene.root->UpdateGS_Flags();
    // what an eager update would have computed
    Transform expected;
    expected.Product(scene.group->getWorldTransform(), scene.hidden->getLocalTransform());
    EXPECT_EQ(scene.hidden->getWorldTransform(), expected);
    EXPECT_NEAR(scene.hidden->getWorldBound().getCenter().Y(), 2.0f + 3.0f + 1.5f, kTolerance);
    // a partial write of a world transform not yet derived keeps the rest
    scene.group->editLocalTransform(true).SetUniformScale(0.5f);
    scene.root->UpdateGS_Flags();
    scene.hidden->editWorldTransform(false).SetTranslate(Vector3f(9.0f, 9.0f, 9.0f));
    EXPECT_EQ(scene.hidden->getWorldTransform().GetUniformScale(), 0.5f);
    // the written transform is kept while forceIgnore asks for it
    scene.hidden->forceIgnore(true, false, false);
    scene.root->UpdateGS();
    scene.hidden->forceIgnore(false, false, false);
    EXPECT_TRUE(scene.hidden->getWorldTransform().GetTranslate() == Vector3f(9.0f, 9.0f, 9.0f));
}

} // namespace
