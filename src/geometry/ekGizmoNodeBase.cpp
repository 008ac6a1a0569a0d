#include <ek3DManipulation/ekGizmoNodeBase.h>

#include <ekSceneGraph/ekRendererInterface.h>

namespace ek {

namespace {

// Every axis may be shown until the host says otherwise.
constexpr unsigned char kAllAxes = 255;

} // namespace

ekGizmoNodeBase::ekGizmoNodeBase()
    : m_highlightColor(Wm4::ColorRGBA::WHITE), m_enabledAxis(kAllAxes), m_owner(nullptr)
{
}

ekGizmoNodeBase::ekGizmoNodeBase(const ekGizmoNodeBase& other) = default;

ekGizmoNodeBase& ekGizmoNodeBase::operator=(const ekGizmoNodeBase& other) = default;

ekGizmoNodeBase::~ekGizmoNodeBase() = default;

bool ekGizmoNodeBase::PrepareGeneratedPrimitives(const std::vector<ekPointer<ekGeometry>>& geometries)
{
    ekRendererInterface* renderer = ekRendererInterface::GetHardwareRenderer();
    if (renderer == nullptr) {
        return true;
    }
    for (const ekPointer<ekGeometry>& geometry : geometries) {
        // An empty slot has nothing to upload.
        if (geometry == nullptr) {
            continue;
        }
        if (!renderer->loadResource(geometry->getVertexBuffer(), true)
            || !renderer->loadResource(geometry->getIndexBuffer(), true)) {
            return false;
        }
    }
    return true;
}

} // namespace ek
