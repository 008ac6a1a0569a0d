#include <ek3DManipulation/ekGizmoNode.h>

#include "ekGizmoNodeGroups.h"

#include <memory>

namespace ek {

namespace {

// On-screen length of one axis, in pixels, until the host sets another.
constexpr float kDefaultExpectedPixelSize = 60.0f;

} // namespace

const ekRtti ekGizmoNode::TYPE("ekCore.ekGizmoNode", &ekNode::TYPE);

const ekRtti& ekGizmoNode::GetType() const
{
    return TYPE;
}

ekGizmoNode::ekGizmoNode(bool b)
    : ekNode(b),
      m_geometry(nullptr),
      m_expectedPixelSize(kDefaultExpectedPixelSize),
      m_mode(NONE),
      m_options(0)
{
    // Owned here until every line is made, so that a failed allocation
    // releases the groups' references; the base then releases the children.
    auto geometry = std::make_unique<ekGizmoGeometry>();
    geometry->translate.build(this, *this, geometry->style);
    geometry->rotate.build(this, *this, geometry->style);
    geometry->scale.build(this, *this, geometry->style);
    showOnly(*geometry, NONE);
    m_geometry = geometry.release();
    // The ordinary pass never draws the node; its lines reach the screen
    // as an overlay.
    setCullingMode(CULL_ALWAYS);
}

ekGizmoNode::~ekGizmoNode()
{
    // The groups let go of their lines first; the lines die with the
    // children of the base.
    delete m_geometry;
    m_geometry = nullptr;
}

void ekGizmoNode::setReferenceObject(ekSpatial* object)
{
    m_referenceObjects.assign(1, object);
    holdsStoredObjects();
    applyDefaultColors();
}

void ekGizmoNode::setReferenceObjects(const std::vector<ekSpatial*>& objects)
{
    m_referenceObjects = objects;
    holdsStoredObjects();
    applyDefaultColors();
}

void ekGizmoNode::setMode(GizmoMode mode)
{
    showOnly(*m_geometry, mode);
    m_mode = mode;
    showExtendedLines();
}

void ekGizmoNode::setEnabledAxis(GizmoMode mode, unsigned char mask)
{
    if (ekGizmoGroup* group = groupOf(*m_geometry, mode)) {
        group->setEnabledAxis(mask);
    }
    // Visibility follows mode, not m_mode: the caller decides whether the
    // mode follows too.
    showOnly(*m_geometry, mode);
    showExtendedLines();
}

unsigned char ekGizmoNode::getEnabledAxis(GizmoMode mode) const
{
    const ekGizmoNodeBase* group = groupOf(*m_geometry, mode);
    return group != nullptr ? group->getEnabledAxis() : 0;
}

void ekGizmoNode::setExpectedPixelSize(float pixels)
{
    m_expectedPixelSize = pixels;
    ++m_layoutRevision;
}

void ekGizmoNode::setOption(Option option, bool on)
{
    m_options = on ? (m_options | option) : (m_options & ~static_cast<std::uint32_t>(option));
}

void ekGizmoNode::setUseUniformScale(bool on)
{
    setOption(UNIFORM_SCALE, on);
}

bool ekGizmoNode::shouldUseUniformScale() const
{
    return hasOption(UNIFORM_SCALE);
}

void ekGizmoNode::setSnapRotationToAxis(bool on)
{
    setOption(SNAP_ROTATION, on);
}

bool ekGizmoNode::shouldSnapRotationToAxis() const
{
    return hasOption(SNAP_ROTATION);
}

void ekGizmoNode::restrictPositionBetweenNearFar(bool on)
{
    setOption(RESTRICT_NEAR_FAR, on);
}

bool ekGizmoNode::shouldRestrictPositionBetweenNearFar() const
{
    return hasOption(RESTRICT_NEAR_FAR);
}

bool ekGizmoNode::loadGPUResources()
{
    return true;
}

void ekGizmoNode::getChildrenEkGeometries(std::vector<ekPointer<ekGeometry>>& /*out*/)
{
    // The lines are drawn as the node's children, not through the batch.
}

unsigned int ekGizmoNode::setDirtyDown(bool subtree)
{
    const unsigned int base = ekNode::setDirtyDown(subtree);
    addDirtyFlags(base | DIRTY_TRANSFORM | (subtree ? DIRTY_SUBTREE : 0u));
    return getDirtyFlags(0);
}

void ekGizmoNode::UpdateWorldData()
{
    ekNode::UpdateWorldData();
}

void ekGizmoNode::UpdateWorldData_Flags()
{
    ekNode::UpdateWorldData_Flags();
}

} // namespace ek
