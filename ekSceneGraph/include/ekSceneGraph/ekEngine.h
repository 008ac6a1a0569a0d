#pragma once

#include "ek2DPrimitivesPass.h"
#include "ekCameraNode.h"
#include "ekDrawCache.h"
#include "ekEngineInterface.h"
#include "ekLine.h"
#include "ekNode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

// A headless engine for one view: a scene, a camera node, a viewport size
// and the controllers that work in it. frame() runs one frame:
//   0. the scene's world data (UpdateGS_Flags on the root), so that the
//      controllers see what the host changed since the last frame;
//   1. updateController of every controller, in the order added (so what
//      they move or lay out is drawn in the same frame);
//   2. the scene's world data (UpdateGS_Flags on the root);
//   3. beforeDraw of every controller;
//   4. the 2D primitives pass on the root, unless nothing changed since
//      its last run in this engine: the same scene and registered
//      functions, no attach or detach, no dirty bit, transform, drawn line
//      data or culling mode changed anywhere in the scene, and no other
//      engine drew the scene in between (the batch is then kept as it is);
//   5. the draw list: every line in culling mode CULL_DYNAMIC whose
//      ancestors are drawn or are nodes in culling mode CULL_ALWAYS; lines
//      below such a node are overlay, drawn after the rest; then the lines
//      of the pass's geometry batch, as overlay;
//   6. clears DIRTY_STRUCTURE and DIRTY_RENDER, and the second dirty word,
//      of every spatial of the scene that had any of them set.
// Steps 0, 2, 5 and 6 visit only what changed since the last frame (see
// ekSpatial and ekDrawCache): a frame in which nothing changed costs the
// same whatever the size of the scene.
class ekEngine : public ekEngineInterface {
public:
    ekEngine();
    ~ekEngine() override;
    ekEngine(const ekEngine&) = delete;
    ekEngine& operator=(const ekEngine&) = delete;

    // Counted. Replacing the scene clears every controller. The new scene
    // reports a structure change (DIRTY_STRUCTURE) at the next frame.
    void setScene(ekNode* scene);
    ekNode* getScene() const override { return m_scene; }
    // Counted.
    void setCameraNode(ekCameraNode* cameraNode) { m_cameraNode = cameraNode; }
    ekCameraNode* getCameraNode() const override { return m_cameraNode; }
    void setViewportSize(int width, int height);
    void getViewportSize(int& width, int& height) const override;

    // Not owned; false when already added (add) or absent (remove). Adding
    // marks the scene's structure as changed, so the new controller finds
    // what is already in it.
    bool addController(ekGenericControllerInterface* controller);
    bool removeController(ekGenericControllerInterface* controller);

    const std::vector<ekDrawSegment>& frame();
    const std::vector<ekDrawSegment>& getDrawList() const { return m_draw.getList(); }
    std::uint64_t getFrameCount() const { return m_frameCount; }
    ek2DPrimitivesPass& getPrimitivesPass() { return m_pass; }

private:
    void announceStructure();
    template <class Call>
    void forEachController(Call call);

    ekPointer<ekNode> m_scene;
    ekPointer<ekCameraNode> m_cameraNode;
    int m_width = 640;
    int m_height = 480;
    std::vector<ekGenericControllerInterface*> m_controllers;
    ek2DPrimitivesPass m_pass;
    ekDrawCache m_draw;
    std::uint64_t m_frameCount = 0;
    // Index of the next controller to call; 0 outside the loops.
    std::size_t m_nextController = 0;
};

} // namespace ek
