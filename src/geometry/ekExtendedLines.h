#pragma once

#include "ekGroupLines.h"

#include <ek3DManipulation/ekGizmoHandle.h>
#include <ek3DManipulation/ekGizmoStyle.h>

#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4Matrix3.h>

namespace ek {

class ekNode;

// The lines of a gizmo's extended handles: a square per plane and the
// screen handle (translate), the view ring (rotate). Made only when a node
// first enables them, so that a node that never does has exactly its
// specified children; appended after those.
class ekExtendedLines {
public:
    // Makes the lines and appends them to lineParent's children; style
    // (owned by the node, like lineParent) gives their colours and widths.
    ekExtendedLines(ekNode& lineParent, const ekGizmoStyle& style);
    ~ekExtendedLines();
    ekExtendedLines(const ekExtendedLines&) = delete;
    ekExtendedLines& operator=(const ekExtendedLines&) = delete;

    // What is shown: the squares of translateMask's axis pairs that are not
    // in fadedPlanes and the screen handle in translate mode, the view ring
    // in rotate mode; nothing when not enabled.
    void show(bool enabled, bool translate, bool rotate, unsigned char translateMask,
              unsigned char fadedPlanes);
    // Every line in its default colour; then handle, when it is one of
    // these lines, in highlight (made opaque).
    void paint(ekGizmoHandle handle, const Wm4::ColorRGBA& highlight);
    // The style's widths, then the default colours.
    void applyStyle();
    // Turns the screen handle and the view ring to face the camera: facing
    // is their rotation in the node's own frame (its columns: the camera's
    // right and up, and the direction to the eye).
    void face(const Wm4::Matrix3<float>& facing);

private:
    ekLine& lineOf(ekGizmoHandle handle) const;

    const ekGizmoStyle& m_style;
    ekAxisLines m_planes;
    ekPointer<ekLine> m_screen;
    ekPointer<ekLine> m_viewRing;
};

} // namespace ek
