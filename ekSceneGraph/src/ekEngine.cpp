#include "ekSceneGraph/ekEngine.h"

#include <algorithm>

namespace ek {

ekEngine::ekEngine() = default;
ekEngine::~ekEngine() = default;

void ekEngine::setScene(ekNode* scene)
{
    if (scene == m_scene) {
        return;
    }
    m_scene = scene;
    announceStructure();
    for (ekGenericControllerInterface* controller : m_controllers) {
        controller->clearController();
    }
}

void ekEngine::announceStructure()
{
    // Controllers that walk the scene on a structure change must see the
    // whole scene once when they first meet it.
    if (m_scene != nullptr) {
        m_scene->setDirty(DIRTY_STRUCTURE, false, false);
    }
}

void ekEngine::setViewportSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

void ekEngine::getViewportSize(int& width, int& height) const
{
    width = m_width;
    height = m_height;
}

bool ekEngine::addController(ekGenericControllerInterface* controller)
{
    if (controller == nullptr
        || std::find(m_controllers.begin(), m_controllers.end(), controller) != m_controllers.end()) {
        return false;
    }
    m_controllers.push_back(controller);
    announceStructure();
    return true;
}

bool ekEngine::removeController(ekGenericControllerInterface* controller)
{
    const auto found = std::find(m_controllers.begin(), m_controllers.end(), controller);
    if (found == m_controllers.end()) {
        return false;
    }
    // A controller removed before the next one to run shifts the rest down
    // by one: step back so that none is skipped.
    if (static_cast<std::size_t>(found - m_controllers.begin()) < m_nextController) {
        --m_nextController;
    }
    m_controllers.erase(found);
    return true;
}

template <class Call>
void ekEngine::forEachController(Call call)
{
    // By index: a controller may add or remove controllers while it runs.
    for (m_nextController = 0; m_nextController < m_controllers.size();) {
        call(*m_controllers[m_nextController++]);
    }
    m_nextController = 0;
}

const std::vector<ekDrawSegment>& ekEngine::frame()
{
    ekGenericRenderingContext context(this);
    // Controllers read world transforms: bring what the host changed since
    // the last frame up to date first (only dirty subtrees are visited).
    if (m_scene != nullptr) {
        m_scene->UpdateGS_Flags();
    }
    forEachController([&context](ekGenericControllerInterface& c) { c.updateController(&context); });
    if (m_scene != nullptr) {
        m_scene->UpdateGS_Flags();
    }
    forEachController([&context](ekGenericControllerInterface& c) { c.beforeDraw(&context); });
    if (m_draw.sceneChangedSince(m_scene, ek2DPrimitivesPass::GetRegistryGeneration())) {
        m_pass.analyse(m_scene);
    }
    m_draw.update(m_scene, m_pass.getGeometryRenderBatch());
    ++m_frameCount;
    return m_draw.getList();
}

} // namespace ek
