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
    m_pass.analyse(m_scene);

    m_drawList.clear();
    m_overlay.clear();
    if (m_scene != nullptr) {
        collect(m_scene, false);
    }
    for (const ekPointer<ekGeometry>& geometry : m_pass.getGeometryRenderBatch()) {
        if (geometry != nullptr && geometry->IsDerived(ekLine::TYPE)) {
            appendLine(static_cast<const ekLine&>(*geometry), true);
        }
    }
    m_drawList.insert(m_drawList.end(), m_overlay.begin(), m_overlay.end());
    ++m_frameCount;
    return m_drawList;
}

void ekEngine::collect(ekSpatial* spatial, bool overlay)
{
    // Drawing is the end of the frame: what changed has now been seen.
    spatial->clearDirtyFlags(0, DIRTY_STRUCTURE | DIRTY_RENDER);
    spatial->clearDirtyFlags(1, ~0u);
    const bool culled = spatial->getCullingMode() == ekSpatial::CULL_ALWAYS;
    if (spatial->IsDerived(ekNode::TYPE)) {
        const auto* node = static_cast<const ekNode*>(spatial);
        for (int i = 0; i < node->getChildCount(); ++i) {
            collect(node->getChild(i), overlay || culled);
        }
    } else if (!culled && spatial->IsDerived(ekLine::TYPE)) {
        appendLine(static_cast<const ekLine&>(*spatial), overlay);
    }
}

void ekEngine::appendLine(const ekLine& line, bool overlay)
{
    m_segments.clear();
    line.appendSegments(m_segments);
    std::vector<ekDrawSegment>& out = overlay ? m_overlay : m_drawList;
    const ekGenericTransformation<float>& world = line.getWorldTransform();
    for (const ekLine::Segment& segment : m_segments) {
        out.push_back({world.ApplyForward(line.getVertexPosition(static_cast<int>(segment.start)), true),
                       world.ApplyForward(line.getVertexPosition(static_cast<int>(segment.end)), true),
                       line.getColor(), line.getWidth(), overlay, &line});
    }
}

} // namespace ek
