#include "ekSceneGraph/ekEngineInterface.h"

#include "ekSceneGraph/ekRendererInterface.h"

namespace ek {

void ekGenericControllerInterface::beforeDraw(ekGenericRenderingContext*) {}
void ekGenericControllerInterface::newPipeline() {}
void ekGenericControllerInterface::setVisibleProducter(std::vector<ekVisibleSetProducer*>&) {}
void ekGenericControllerInterface::setControllerEnabled(bool) {}
void ekGenericControllerInterface::clearController() {}

namespace {

ekRendererInterface*& installedRenderer()
{
    static ekRendererInterface* renderer = nullptr;
    return renderer;
}

} // namespace

ekRendererInterface* ekRendererInterface::GetHardwareRenderer()
{
    return installedRenderer();
}

void ekRendererInterface::SetHardwareRenderer(ekRendererInterface* renderer)
{
    installedRenderer() = renderer;
}

} // namespace ek
