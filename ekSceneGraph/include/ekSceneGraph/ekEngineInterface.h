#pragma once

#include <vector>

namespace ek {

class ekCameraNode;
class ekNode;

// What a view offers to the tools that work in it.
class ekEngineInterface {
public:
    virtual ~ekEngineInterface() = default;
    // The scene root; null when none is set.
    virtual ekNode* getScene() const = 0;
    // The camera node of the view; null when none is set.
    virtual ekCameraNode* getCameraNode() const = 0;
    // The view size in pixels.
    virtual void getViewportSize(int& width, int& height) const = 0;
};

// Handed to the controllers at each frame.
class ekGenericRenderingContext {
public:
    explicit ekGenericRenderingContext(ekEngineInterface* engine) : m_engine(engine) {}
    ekEngineInterface* getEngineInterface() const { return m_engine; }

private:
    ekEngineInterface* m_engine;
};

class ekVisibleSetProducer;

// A per-view tool that the engine updates once a frame, before it updates
// the scene's world data and draws.
class ekGenericControllerInterface {
public:
    virtual ~ekGenericControllerInterface() = default;
    virtual void updateController(ekGenericRenderingContext* context) = 0;
    // Called after the world data is updated, before drawing.
    virtual void beforeDraw(ekGenericRenderingContext* context);
    virtual void newPipeline();
    virtual void setVisibleProducter(std::vector<ekVisibleSetProducer*>& producers);
    virtual void setControllerEnabled(bool enabled);

protected:
    // Drops everything the controller keeps of the current scene; the
    // engine calls it when the scene is replaced.
    virtual void clearController();

private:
    friend class ekEngine;
};

} // namespace ek
