#pragma once

#include "ek3DManipulationExport.h"

#include <ekSceneGraph/ekGeometry.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4ColorRGBA.h>

#include <vector>

namespace ek {

class ekGizmoNode;

/// What the three handle groups of a gizmo (translate arrows, rotate
/// circles, scale handles) share: the highlight colour, the mask of axes
/// that may be shown and picked, and the node that carries their lines.
class EK3DMANIPULATION_API ekGizmoNodeBase {
public:
    /// White highlight, every axis enabled, no owner.
    ekGizmoNodeBase();
    /// Copies colour, mask and owner pointer; no line is copied.
    ekGizmoNodeBase(const ekGizmoNodeBase& other);
    /// As the copy constructor.
    ekGizmoNodeBase& operator=(const ekGizmoNodeBase& other);
    virtual ~ekGizmoNodeBase();

    /// Bit (1 << axis) set: that axis's handles may be shown (bit 0 X,
    /// bit 1 Y, bit 2 Z; higher bits are ignored). Setting it changes no
    /// line by itself: the node re-applies visibility.
    unsigned char getEnabledAxis() const { return m_enabledAxis; }
    /// Stores mask as is; see getEnabledAxis.
    void setEnabledAxis(unsigned char mask) { m_enabledAxis = mask; }

    /// The colour of a highlighted axis; applied with alpha 1, the stored
    /// alpha is kept. Takes effect at the next highlight.
    const Wm4::ColorRGBA& getHighlightColor() const { return m_highlightColor; }
    /// Stores colour; see getHighlightColor.
    void setHighlightColor(const Wm4::ColorRGBA& colour) { m_highlightColor = colour; }

    /// The node whose children the lines are; not owned; null until built.
    ekGizmoNode* getOwner() const { return m_owner; }

protected:
    /// Uploads both GPU buffers of each geometry, in order, through the
    /// installed hardware renderer, stopping at the first failure. True
    /// when there is no renderer or nothing to upload.
    static bool PrepareGeneratedPrimitives(const std::vector<ekPointer<ekGeometry>>& geometries);

    /// Set by the node as it builds the group; not owned.
    void setOwner(ekGizmoNode* owner) { m_owner = owner; }

private:
    Wm4::ColorRGBA m_highlightColor;
    unsigned char m_enabledAxis;
    ekGizmoNode* m_owner;
};

} // namespace ek
