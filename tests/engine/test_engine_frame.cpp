#include "engine_test_support.h"

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekEngineInterface.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekRendererInterface.h>

#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace {

using ek::ek2DPrimitivesPass;
using ek::ekDrawSegment;
using ek::ekEngine;
using ek::ekLine;
using ek::ekNode;
using ek::ekPointer;
using ek::ekSpatial;
using ek_test::expectNear;
using ek_test::makeSegment;
using Wm4::Vector3f;

// Error allowed on world coordinates of order 10.
constexpr float kTolerance = 1e-5f;

// What the analyse functions below saw; the registry is process-wide, so
// they report through this file's state.
std::vector<std::string> g_log;
ekLine* g_batchLine = nullptr;
ek2DPrimitivesPass* g_seenPass = nullptr;
ekSpatial* g_seenRoot = nullptr;

void analyseFirst(ek2DPrimitivesPass* pass, ekSpatial* root)
{
    g_log.push_back("analyse first");
    g_seenPass = pass;
    g_seenRoot = root;
}

void analyseSecond(ek2DPrimitivesPass*, ekSpatial*)
{
    g_log.push_back("analyse second");
}

// Registers analyseSecond from inside an analysis.
void analyseRegistering(ek2DPrimitivesPass*, ekSpatial*)
{
    g_log.push_back("analyse registering");
    ek2DPrimitivesPass::RegisterAnalyseFunction(analyseSecond);
}

void addBatchLine(ek2DPrimitivesPass* pass, ekSpatial*)
{
    g_log.push_back("analyse");
    if (g_batchLine != nullptr) {
        pass->editGeometryRenderBatch().emplace_back(g_batchLine);
    }
}

// Registers an analyse function for one test, whatever the test's outcome.
class ScopedAnalyse {
public:
    explicit ScopedAnalyse(ek2DPrimitivesPass::AnalyseFunction f) : m_function(f)
    {
        EXPECT_TRUE(ek2DPrimitivesPass::RegisterAnalyseFunction(f));
    }
    ~ScopedAnalyse() { ek2DPrimitivesPass::UnregisterAnalyseFunction(m_function); }
    ScopedAnalyse(const ScopedAnalyse&) = delete;
    ScopedAnalyse& operator=(const ScopedAnalyse&) = delete;

private:
    ek2DPrimitivesPass::AnalyseFunction m_function;
};

// Logs its calls; optionally moves a line 3 units further along z at each
// update and records where that line is in world space at each call.
class RecordingController : public ek::ekGenericControllerInterface {
public:
    RecordingController(std::string name, ekLine* moved = nullptr) : m_name(std::move(name)), m_moved(moved) {}

    void updateController(ek::ekGenericRenderingContext* context) override
    {
        g_log.push_back(m_name + " update");
        m_engine = context->getEngineInterface();
        if (m_moved != nullptr) {
            m_worldAtUpdate = m_moved->getWorldTransform().GetTranslate();
            ++m_updates;
            m_moved->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 3.0f * static_cast<float>(m_updates)));
        }
    }
    void beforeDraw(ek::ekGenericRenderingContext*) override
    {
        g_log.push_back(m_name + " beforeDraw");
        if (m_moved != nullptr) {
            m_worldBeforeDraw = m_moved->getWorldTransform().GetTranslate();
        }
    }

    int m_clears = 0;
    ek::ekEngineInterface* m_engine = nullptr;
    Vector3f m_worldAtUpdate;
    Vector3f m_worldBeforeDraw;

protected:
    void clearController() override { ++m_clears; }

private:
    std::string m_name;
    ekLine* m_moved;
    int m_updates = 0;
};

TEST(ek2DPrimitivesPass, Registry)
{
    g_log.clear();
    const std::size_t before = ek2DPrimitivesPass::GetAnalyseFunctionCount();
    // null and a second registration are refused
    EXPECT_FALSE(ek2DPrimitivesPass::RegisterAnalyseFunction(nullptr));
    ASSERT_TRUE(ek2DPrimitivesPass::RegisterAnalyseFunction(analyseFirst));
    EXPECT_FALSE(ek2DPrimitivesPass::RegisterAnalyseFunction(analyseFirst));
    ASSERT_TRUE(ek2DPrimitivesPass::RegisterAnalyseFunction(analyseSecond));
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), before + 2);
    // an analysis calls them in registration order with the pass and root
    ek2DPrimitivesPass pass;
    ekPointer<ekNode> root(new ekNode());
    pass.analyse(root);
    EXPECT_EQ(g_log, (std::vector<std::string>{"analyse first", "analyse second"}));
    EXPECT_EQ(g_seenPass, &pass);
    EXPECT_EQ(g_seenRoot, root.get());
    // an unregistered function is no longer called; unregistering twice fails
    EXPECT_TRUE(ek2DPrimitivesPass::UnregisterAnalyseFunction(analyseFirst));
    EXPECT_FALSE(ek2DPrimitivesPass::UnregisterAnalyseFunction(analyseFirst));
    g_log.clear();
    pass.analyse(root);
    EXPECT_EQ(g_log, (std::vector<std::string>{"analyse second"}));
    EXPECT_TRUE(ek2DPrimitivesPass::UnregisterAnalyseFunction(analyseSecond));
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), before);
    // a function may register another while the analysis runs: it is called too
    ASSERT_TRUE(ek2DPrimitivesPass::RegisterAnalyseFunction(analyseRegistering));
    g_log.clear();
    pass.analyse(root);
    EXPECT_EQ(g_log, (std::vector<std::string>{"analyse registering", "analyse second"}));
    EXPECT_TRUE(ek2DPrimitivesPass::UnregisterAnalyseFunction(analyseRegistering));
    EXPECT_TRUE(ek2DPrimitivesPass::UnregisterAnalyseFunction(analyseSecond));
    // the batch belongs to the pass and holds counts
    ekPointer<ekLine> line(new ekLine(2u));
    pass.editGeometryRenderBatch().emplace_back(line.get());
    EXPECT_EQ(line->GetReferences(), 2);
    EXPECT_EQ(pass.getGeometryRenderBatch().size(), 1u);
}

TEST(ekEngine, FrameOrder)
{
    g_log.clear();
    g_batchLine = nullptr;
    ScopedAnalyse analysis(addBatchLine);
    ekPointer<ekNode> root(new ekNode());
    ekLine* line = makeSegment(Vector3f::ZERO, Vector3f::UNIT_X);
    root->attachChild(line);
    RecordingController first("A", line);
    RecordingController second("B");
    ekEngine engine;
    engine.setScene(root);
    // a controller is added once and removed once
    EXPECT_TRUE(engine.addController(&first));
    EXPECT_TRUE(engine.addController(&second));
    EXPECT_FALSE(engine.addController(&first));

    const std::vector<ekDrawSegment>& drawn = engine.frame();
    // controllers in the order added, the world update, beforeDraw, the pass
    EXPECT_EQ(g_log, (std::vector<std::string>{"A update", "B update", "A beforeDraw", "B beforeDraw", "analyse"}));
    EXPECT_EQ(first.m_engine, &engine);
    // what a controller moved is updated before drawing, in the same frame
    expectNear(first.m_worldBeforeDraw, Vector3f(0.0f, 0.0f, 3.0f), kTolerance);
    ASSERT_EQ(drawn.size(), 1u);
    expectNear(drawn[0].end, Vector3f(1.0f, 0.0f, 3.0f), kTolerance);
    EXPECT_EQ(engine.getFrameCount(), 1u);
    // a removed controller is not called any more
    EXPECT_TRUE(engine.removeController(&second));
    EXPECT_FALSE(engine.removeController(&second));
    g_log.clear();
    engine.frame();
    EXPECT_EQ(g_log, (std::vector<std::string>{"A update", "A beforeDraw", "analyse"}));
    EXPECT_EQ(engine.getFrameCount(), 2u);
    // the controller ran before the world update: it saw last frame's position
    expectNear(first.m_worldAtUpdate, Vector3f(0.0f, 0.0f, 3.0f), kTolerance);
    expectNear(first.m_worldBeforeDraw, Vector3f(0.0f, 0.0f, 6.0f), kTolerance);
    // replacing the scene clears every controller
    EXPECT_EQ(first.m_clears, 0);
    engine.setScene(new ekNode());
    EXPECT_EQ(first.m_clears, 1);
}

// Records whether the scene reported a structure change at each update.
class StructureWatcher : public ek::ekGenericControllerInterface {
public:
    void updateController(ek::ekGenericRenderingContext* context) override
    {
        const ekNode* scene = context->getEngineInterface()->getScene();
        m_seen.push_back((scene->getDirtyFlags(0) & ek::DIRTY_STRUCTURE) != 0);
    }
    std::vector<bool> m_seen;
};

TEST(ekEngine, NewControllersAndScenesSeeTheWholeStructureOnce)
{
    ekPointer<ekNode> root(new ekNode());
    root->attachChild(new ekNode());
    ekEngine engine;
    engine.setScene(root);
    engine.frame();
    // a controller added to a settled scene still sees one structure change
    StructureWatcher watcher;
    engine.addController(&watcher);
    engine.frame();
    engine.frame();
    EXPECT_EQ(watcher.m_seen, (std::vector<bool>{true, false}));
    // so does a scene that replaces the old one
    engine.setScene(new ekNode());
    engine.frame();
    EXPECT_EQ(watcher.m_seen, (std::vector<bool>{true, false, true}));
    engine.removeController(&watcher);
}

TEST(ekEngine, DrawList)
{
    g_log.clear();
    ekPointer<ekLine> batchLine(makeSegment(Vector3f(5.0f, 5.0f, 5.0f), Vector3f(6.0f, 5.0f, 5.0f)));
    g_batchLine = batchLine;
    ScopedAnalyse analysis(addBatchLine);

    // root (moved by (0, 0, -10)) -> drawn, neverDrawn, overlayNode -> (underOverlay, hiddenUnderOverlay),
    // group -> innerOverlayNode -> deepOverlay
    ekPointer<ekNode> root(new ekNode());
    root->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, -10.0f));
    ekLine* drawn = makeSegment(Vector3f::ZERO, Vector3f::UNIT_X);
    drawn->setColor(Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    drawn->setWidth(2.0f);
    ekLine* neverDrawn = makeSegment(Vector3f::ZERO, Vector3f::UNIT_Y);
    neverDrawn->setCullingMode(ekSpatial::CULL_ALWAYS);
    auto* overlayNode = new ekNode();
    overlayNode->setCullingMode(ekSpatial::CULL_ALWAYS);
    ekLine* underOverlay = makeSegment(Vector3f::ZERO, Vector3f::UNIT_Z);
    ekLine* hiddenUnderOverlay = makeSegment(Vector3f::ZERO, -Vector3f::UNIT_Z);
    hiddenUnderOverlay->setCullingMode(ekSpatial::CULL_ALWAYS);
    auto* group = new ekNode();
    auto* innerOverlayNode = new ekNode();
    innerOverlayNode->setCullingMode(ekSpatial::CULL_ALWAYS);
    ekLine* deepOverlay = makeSegment(Vector3f::ZERO, -Vector3f::UNIT_X);
    // the overlay comes first in the scene, to show that it is drawn after the rest
    root->attachChild(overlayNode);
    overlayNode->attachChild(underOverlay);
    overlayNode->attachChild(hiddenUnderOverlay);
    root->attachChild(drawn);
    root->attachChild(neverDrawn);
    root->attachChild(group);
    group->attachChild(innerOverlayNode);
    innerOverlayNode->attachChild(deepOverlay);
    for (ekSpatial* s : {static_cast<ekSpatial*>(root), static_cast<ekSpatial*>(drawn),
                         static_cast<ekSpatial*>(underOverlay)}) {
        s->setDirty(0x100, true, false);
    }

    ekEngine engine;
    engine.setScene(root);
    const std::vector<ekDrawSegment>& list = engine.frame();
    // the drawn line, then the scene's overlay lines, then the pass's batch
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].line, drawn);
    EXPECT_FALSE(list[0].overlay);
    EXPECT_EQ(list[1].line, underOverlay);
    EXPECT_TRUE(list[1].overlay);
    EXPECT_EQ(list[2].line, deepOverlay);
    EXPECT_TRUE(list[2].overlay);
    EXPECT_EQ(list[3].line, batchLine.get());
    EXPECT_TRUE(list[3].overlay);
    // segments are in world space and carry the line's appearance
    expectNear(list[0].start, Vector3f(0.0f, 0.0f, -10.0f), kTolerance);
    expectNear(list[0].end, Vector3f(1.0f, 0.0f, -10.0f), kTolerance);
    expectNear(list[1].end, Vector3f(0.0f, 0.0f, -9.0f), kTolerance);
    EXPECT_FALSE(list[0].color != Wm4::ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(list[0].width, 2.0f);
    expectNear(list[3].end, Vector3f(6.0f, 5.0f, 5.0f), kTolerance);
    EXPECT_EQ(&engine.getDrawList(), &list);
    // the frame clears the structure and render bits and the second word,
    // and leaves the other bits of the first word
    for (const ekSpatial* s : {static_cast<ekSpatial*>(root), static_cast<ekSpatial*>(drawn),
                               static_cast<ekSpatial*>(underOverlay), static_cast<ekSpatial*>(group)}) {
        EXPECT_EQ(s->getDirtyFlags(0) & (ek::DIRTY_STRUCTURE | ek::DIRTY_RENDER), 0u);
        EXPECT_EQ(s->getDirtyFlags(1), 0u);
    }
    EXPECT_EQ(drawn->getDirtyFlags(0) & 0x100u, 0x100u);
    g_batchLine = nullptr;
}

TEST(ekEngine, ViewAndEmptyScene)
{
    ekEngine engine;
    int width = 0;
    int height = 0;
    // a 640 x 480 view unless set
    engine.getViewportSize(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    engine.setViewportSize(800, 600);
    engine.getViewportSize(width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    // the camera node and the scene are counted
    ekPointer<ek::ekCameraNode> cameraNode(new ek::ekCameraNode(new ek::ekCamera()));
    engine.setCameraNode(cameraNode);
    EXPECT_EQ(engine.getCameraNode(), cameraNode.get());
    EXPECT_EQ(cameraNode->GetReferences(), 2);
    // without a scene a frame draws nothing and still counts
    EXPECT_EQ(engine.getScene(), nullptr);
    EXPECT_TRUE(engine.frame().empty());
    EXPECT_EQ(engine.getFrameCount(), 1u);
}

// A renderer that marks what it uploads as loaded.
class RecordingRenderer : public ek::ekRendererInterface {
public:
    bool loadResource(ek::ekGPUResource* resource, bool) override
    {
        resource->setLoaded(true);
        return true;
    }
};

TEST(ekRendererInterface, DefaultIsNull)
{
    // headless: no renderer unless one is installed
    EXPECT_EQ(ek::ekRendererInterface::GetHardwareRenderer(), nullptr);
    RecordingRenderer renderer;
    ek::ekRendererInterface::SetHardwareRenderer(&renderer);
    EXPECT_EQ(ek::ekRendererInterface::GetHardwareRenderer(), &renderer);
    ekPointer<ekLine> line(new ekLine(2u));
    EXPECT_TRUE(ek::ekRendererInterface::GetHardwareRenderer()->loadResource(line->getVertexBuffer(), true));
    EXPECT_TRUE(line->getVertexBuffer()->isLoaded());
    ek::ekRendererInterface::SetHardwareRenderer(nullptr);
    EXPECT_EQ(ek::ekRendererInterface::GetHardwareRenderer(), nullptr);
}

} // namespace
