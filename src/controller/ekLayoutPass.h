#pragma once

#include "ekLayoutCache.h"

#include <ek3DManipulation/ekGizmoController.h>

#include <Wm4/Wm4Matrix3.h>

#include <vector>

namespace ek {

class ekCamera;
class ekGizmoNode;

// Places a view's gizmos: chooses their axes by the orientation settings,
// sizes them for the camera and turns their camera-facing parts, laying
// out only the gizmos whose inputs changed since the last pass.
class ekLayoutPass {
public:
    // Lays out every gizmo that shows handles, for camera and a viewport
    // viewportHeight pixels high; during a drag with the orientation frozen.
    // settle also brings their world transforms up to date at once, for hit
    // tests that follow.
    void layOut(const std::vector<ekGizmoNode*>& gizmos, const ekCamera& camera,
                int viewportHeight, bool dragging, bool settle);
    // The next pass lays out every gizmo (a copy's cache starts empty).
    void forgetLayouts() { m_cache = ekLayoutCache(); }

    // How the gizmo axes are chosen; LOCAL at construction.
    ekGizmoController::OrientationReference orientationReference = ekGizmoController::LOCAL;
    // World axes as columns, used under CUSTOM; identity at construction.
    Wm4::Matrix3<float> customOrientation = Wm4::Matrix3<float>::IDENTITY;
    // The axes the last gizmo laid out got (outside a drag); frozen while a
    // drag is under way; identity at construction.
    Wm4::Matrix3<float> currentOrientation = Wm4::Matrix3<float>::IDENTITY;

private:
    // Sets currentOrientation for gizmo by the settings; a reference outside
    // the enumeration leaves it as it was.
    void chooseOrientation(const ekGizmoNode& gizmo, const ekCamera& camera);

    ekLayoutCache m_cache;
};

} // namespace ek
