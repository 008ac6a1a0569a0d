#include <ek3DManipulation/ekGizmoController.h>

#include "ekDragDispatch.h"
#include "ekGizmoLayoutCache.h"
#include "ekListenerList.h"
#include "ekTransformUtils.h"

#include <ek3DManipulation/ek3DManipulatorMotionListener.h>
#include <ek3DManipulation/ekGizmoControllerDrags.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekGenericTransformation.h>
#include <ekSceneGraph/ekMeshUtils.h>
#include <ekSceneGraph/ekSceneGraphVisitor.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace ek {
namespace {

// Distance in pixels between the cursor and a handle within which the
// handle counts as under the cursor.
constexpr float kPickTolerance = 10.0f;

// The gizmo axes (world space, as columns) under reference; a value outside
// the enumeration leaves orientation as it was.
void chooseOrientation(ekGizmoController::OrientationReference reference,
                       const ekGizmoNode& gizmo, const Wm4::Matrix3<float>& custom,
                       const ekCamera& camera, Wm4::Matrix3<float>& orientation)
{
    switch (reference) {
    case ekGizmoController::LOCAL:
        orientation = gizmo.getOrientationReferences();
        break;
    case ekGizmoController::WORLD:
        orientation = Wm4::Matrix3<float>::IDENTITY;
        break;
    case ekGizmoController::CUSTOM:
        orientation = custom;
        break;
    case ekGizmoController::CAMERA:
        orientation = Wm4::Matrix3<float>(camera.getRVector(), camera.getUVector(),
                                          camera.getDVector(), true);
        break;
    }
}

// Replaces gizmos by the gizmo nodes below root, in walk order. Excluded
// subtrees are skipped; gizmos are collected although they are never drawn
// themselves (their lines are).
void collectGizmos(ekNode& root, std::vector<ekGizmoNode*>& gizmos)
{
    gizmos.clear();
    ekMeshUtils::GetNodeFunctor<ekGizmoNode> collect(gizmos, false, true);
    ekSceneGraphVisitor(collect).apply(&root);
}

// Places gizmo on the centre of its reference objects with the given axes,
// at its expected size on screen, its arrowheads turned to the camera.
void layOut(ekGizmoNode& gizmo, const Wm4::Matrix3<float>& orientation, const ekCamera& camera,
            int viewportHeight)
{
    ekGenericTransformation<float> frame;
    frame.SetRotate(orientation);
    frame.SetTranslate(gizmo.getCenterReferences());
    // A custom matrix or a centre with NaN or infinity in it would poison the
    // gizmo and the bounds of everything above it: keep the last placement.
    if (!isFinite(frame)) {
        return;
    }
    gizmo.calculateFrameFromObjectWorldTranform(frame, &camera, gizmo.getExpectedPixelSize(),
                                                viewportHeight);
    gizmo.updateCameraFacing(&camera);
}

// What a layout pass reads besides each gizmo and its objects.
ekGizmoLayoutCache::View layoutView(const ekCamera& camera, int viewportHeight,
                                    ekGizmoController::OrientationReference reference,
                                    const Wm4::Matrix3<float>& custom, bool dragging,
                                    const Wm4::Matrix3<float>& current)
{
    ekGizmoLayoutCache::View view;
    std::size_t next = 0;
    for (const Wm4::Vector3<float>* v :
         {&camera.getLocation(), &camera.getDVector(), &camera.getUVector(), &camera.getRVector()}) {
        for (int k = 0; k < 3; ++k) {
            view.camera[next++] = (*v)[k];
        }
    }
    for (float value : {camera.getDMin(), camera.getUMin(), camera.getUMax(),
                        camera.isPerspective() ? 1.0f : 0.0f, static_cast<float>(viewportHeight)}) {
        view.camera[next++] = value;
    }
    // The current orientation is read only while a drag freezes it.
    for (std::size_t k = 0; k < 9; ++k) {
        view.orientations[k] = custom.Entries()[k];
        view.orientations[9 + k] = dragging ? current.Entries()[k] : 0.0f;
    }
    view.orientationReference = static_cast<int>(reference);
    view.dragging = dragging;
    return view;
}

// Dirty bits after which a spatial's world data is out of date.
constexpr unsigned int kNeedsWorldUpdate = DIRTY_TRANSFORM | DIRTY_SUBTREE | DIRTY_BOUND;

// Adds gizmo to a list kept in ascending address order without duplicates.
void insertSorted(std::vector<ekGizmoNode*>& gizmos, ekGizmoNode* gizmo)
{
    const auto at = std::lower_bound(gizmos.begin(), gizmos.end(), gizmo, std::less<>());
    if (at == gizmos.end() || *at != gizmo) {
        gizmos.insert(at, gizmo);
    }
}

} // namespace

ekGizmoController::ekGizmoController()
    : m_rotateController(std::make_unique<ekGizmoControllerRotate>())
    , m_translateController(std::make_unique<ekGizmoControllerTranslate>())
    , m_scaleController(std::make_unique<ekGizmoControllerScale>())
    , m_layoutCache(std::make_unique<ekGizmoLayoutCache>())
{
    m_state.pickTolerance = kPickTolerance;
}

// A copy gets drag objects of its own, copies of the source's without the
// drag under way (that one belongs to the source).
ekGizmoController::ekGizmoController(const ekGizmoController& other)
    : ekGenericControllerInterface(other)
    , m_state(other.m_state)
    , m_rotateController(std::make_unique<ekGizmoControllerRotate>(*other.m_rotateController))
    , m_translateController(
          std::make_unique<ekGizmoControllerTranslate>(*other.m_translateController))
    , m_scaleController(std::make_unique<ekGizmoControllerScale>(*other.m_scaleController))
    , m_layoutCache(std::make_unique<ekGizmoLayoutCache>())
{
}

ekGizmoController& ekGizmoController::operator=(const ekGizmoController& other)
{
    if (this == &other) {
        return *this;
    }
    // Made first, so that a failure leaves this controller as it was.
    auto rotate = std::make_unique<ekGizmoControllerRotate>(*other.m_rotateController);
    auto translate = std::make_unique<ekGizmoControllerTranslate>(*other.m_translateController);
    auto scale = std::make_unique<ekGizmoControllerScale>(*other.m_scaleController);
    auto layoutCache = std::make_unique<ekGizmoLayoutCache>();
    drags().finishDrag();
    m_rotateController = std::move(rotate);
    m_translateController = std::move(translate);
    m_scaleController = std::move(scale);
    m_layoutCache = std::move(layoutCache);
    m_draggedGizmo = nullptr;
    ekGenericControllerInterface::operator=(other);
    m_state = other.m_state;
    return *this;
}

ekGizmoController::~ekGizmoController()
{
    m_translateController.reset();
    m_rotateController.reset();
    m_scaleController.reset();
}

ekDragDispatch ekGizmoController::drags() const
{
    return {*m_translateController, *m_rotateController, *m_scaleController};
}

void ekGizmoController::updateController(ekGenericRenderingContext* context)
{
    ekEngineInterface* engine = context != nullptr ? context->getEngineInterface() : nullptr;
    if (engine == nullptr) {
        return;
    }

    ekNode* root = m_state.rootNode != nullptr ? m_state.rootNode : engine->getScene();
    refreshGizmos(root, true);

    int width = 0;
    int height = 0;
    engine->getViewportSize(width, height);
    const ekCameraNode* cameraNode = engine->getCameraNode();
    const ekCamera* camera = cameraNode != nullptr ? cameraNode->getCamera() : nullptr;
    if (camera == nullptr) {
        // Nothing can be hit or placed without a camera; the queue waits.
        return;
    }

    if (m_state.enabled && !m_state.eventQueue.empty()) {
        // Another view may have laid the gizmos out for its own camera since
        // this one's last frame: hit tests must see them as this view shows
        // them.
        layOutGizmos(*camera, height, true);
        // Indexed: a listener reached from a handler may queue more input.
        for (std::size_t i = 0; i < m_state.eventQueue.size(); ++i) {
            // A listener may also have attached, detached or deleted gizmos.
            refreshGizmos(root, false);
            const ControllerEvent event = m_state.eventQueue[i];
            switch (event.type) {
            case MOUSE_PRESSED:
                setMousePressedImpl(camera, event.x, event.y, width, height);
                break;
            case MOUSE_RELEASED:
                setMouseReleasedImpl(camera, event.x, event.y, width, height);
                break;
            case MOUSE_POS:
                setMousePosImpl(camera, event.x, event.y, width, height);
                break;
            }
        }
        m_state.eventQueue.clear();
        refreshGizmos(root, false);
    }

    layOutGizmos(*camera, height, false);
    notifyTouched();
}

void ekGizmoController::refreshGizmos(ekNode* root, bool honourBit)
{
    if (root == nullptr) {
        return;
    }
    // Ending a drag while rebuilding tells listeners, which may change the
    // scene again: rebuild until it holds still.
    bool changed = root != m_state.watchedRoot
        || root->getStructureGeneration() != m_state.seenGeneration
        || (honourBit && (root->getDirtyFlags(0) & DIRTY_STRUCTURE) != 0);
    while (changed) {
        rebuildGizmos(*root);
        changed = root->getStructureGeneration() != m_state.seenGeneration;
    }
}

void ekGizmoController::rebuildGizmos(ekNode& root)
{
    m_state.watchedRoot = &root;
    m_state.seenGeneration = root.getStructureGeneration();
    collectGizmos(root, m_state.manipulators);
    forgetUnlisted();
}

void ekGizmoController::forgetUnlisted()
{
    // A gizmo that left may since have been deleted: nothing may refer to
    // it any more, and a drag under way on it ends here.
    const auto gone = [this](const ekGizmoNode* gizmo) { return !isListed(gizmo); };
    if (gone(m_state.activeGizmo)) {
        m_state.activeGizmo = nullptr;
    }
    drags().forgetAllBut(m_state.manipulators);
    std::vector<ekGizmoNode*>& touched = m_state.touchedGizmos;
    touched.erase(std::remove_if(touched.begin(), touched.end(), gone), touched.end());
    holdDraggedGizmo();
}

bool ekGizmoController::isListed(const ekGizmoNode* gizmo) const
{
    const std::vector<ekGizmoNode*>& listed = m_state.manipulators;
    return std::find(listed.begin(), listed.end(), gizmo) != listed.end();
}

void ekGizmoController::setRootNode(ekNode* root)
{
    if (root == m_state.rootNode) {
        return;
    }
    m_state.rootNode = root;
    m_state.watchedRoot = nullptr;
    m_state.manipulators.clear();
    forgetUnlisted();
}

void ekGizmoController::layOutGizmos(const ekCamera& camera, int viewportHeight, bool settle)
{
    const std::vector<ekGizmoNode*>& gizmos = m_state.manipulators;
    m_layoutCache->beginPass(layoutView(camera, viewportHeight, m_state.orientationReference,
                                        m_state.customOrientation, m_state.dragging,
                                        m_state.currentOrientation),
                             gizmos.size());
    const ekGizmoNode* lastShown = nullptr;
    bool lastLaidOut = false;
    for (std::size_t i = 0; i < gizmos.size(); ++i) {
        ekGizmoNode* gizmo = gizmos[i];
        if (!ekDragDispatch::showsHandles(gizmo)) {
            m_layoutCache->forget(i);
            continue;
        }
        lastShown = gizmo;
        lastLaidOut = m_layoutCache->isDue(i, *gizmo);
        if (lastLaidOut) {
            // Frozen during a drag, so that the axes being dragged along stay
            // put (every gizmo then shares the last orientation computed
            // before it).
            if (!m_state.dragging) {
                chooseOrientation(m_state.orientationReference, *gizmo, m_state.customOrientation,
                                  camera, m_state.currentOrientation);
            }
            layOut(*gizmo, m_state.currentOrientation, camera, viewportHeight);
        }
        if (settle && (gizmo->getDirtyFlags(0) & kNeedsWorldUpdate) != 0) {
            gizmo->UpdateGS_Flags();
        }
    }
    // The orientation a drag freezes is the last shown gizmo's, laid out
    // in this pass or not.
    if (lastShown != nullptr && !lastLaidOut && !m_state.dragging) {
        chooseOrientation(m_state.orientationReference, *lastShown, m_state.customOrientation, camera,
                          m_state.currentOrientation);
    }
}


void ekGizmoController::notifyTouched()
{
    // A listener may detach and delete a gizmo: each is taken off the list
    // before it is told about, and a rebuild drops those that left.
    while (!m_state.touchedGizmos.empty()) {
        ekGizmoNode* const gizmo = m_state.touchedGizmos.front();
        m_state.touchedGizmos.erase(m_state.touchedGizmos.begin());
        for (std::size_t i = 0; i < m_state.motionListeners.size(); ++i) {
            m_state.motionListeners[i]->onManipulatorMotion(gizmo);
            refreshGizmos(m_state.watchedRoot, false);
            if (!isListed(gizmo)) {
                break;
            }
        }
    }
}

void ekGizmoController::holdDraggedGizmo()
{
    m_draggedGizmo = drags().getDraggedGizmo();
}

bool ekGizmoController::isDragging() const
{
    return drags().isDragging();
}

int ekGizmoController::getActiveAxis() const
{
    return drags().getActiveAxis();
}

bool ekGizmoController::cancelDrag()
{
    ekDragDispatch dispatch = drags();
    if (!dispatch.isDragging()) {
        return false;
    }
    dispatch.cancelDrag();
    holdDraggedGizmo();
    return true;
}

bool ekGizmoController::install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener)
{
    m_translateController->install3DManipulatorMotionListener(listener);
    m_rotateController->install3DManipulatorMotionListener(listener);
    m_scaleController->install3DManipulatorMotionListener(listener);
    return appendUnique(m_state.motionListeners, listener);
}

bool ekGizmoController::uninstall3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    m_translateController->uninstall3DManipulatorMotionListener(listener);
    m_rotateController->uninstall3DManipulatorMotionListener(listener);
    m_scaleController->uninstall3DManipulatorMotionListener(listener);
    return removeFirst(m_state.motionListeners, listener);
}

void ekGizmoController::clearController()
{
    // The scene is going: a drag under way on one of its gizmos ends now,
    // while the gizmo is still counted.
    drags().finishDrag();
    m_draggedGizmo = nullptr;
    m_state.watchedRoot = nullptr;
    m_state.eventQueue.clear();
    m_state.manipulators.clear();
    m_state.dragging = false;
    m_state.pressOnGizmo = false;
    m_state.activeGizmo = nullptr;
}

ekGizmoNode* ekGizmoController::updateHover(const ekCamera* camera,
                                            const Wm4::Vector2<float>& position, int width,
                                            int height)
{
    ekDragDispatch dispatch = drags();
    for (ekGizmoNode* gizmo : m_state.manipulators) {
        if (dispatch.hover(gizmo, camera, position, m_state.pickTolerance, width, height)) {
            return gizmo;
        }
    }
    return nullptr;
}

void ekGizmoController::setMousePressedImpl(const ekCamera* camera, int x, int y, int width,
                                            int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    ekDragDispatch dispatch = drags();
    // Every start has its end: a drag still under way (its release was
    // lost) ends before the hover that picks the next handle.
    dispatch.finishDrag();
    // Listeners hear the ends and starts, and may change the scene.
    refreshGizmos(m_state.watchedRoot, false);
    m_state.activeGizmo = updateHover(camera, position, width, height);
    if (m_state.activeGizmo != nullptr) {
        // Counted from before its start is told: a listener may drop it.
        m_draggedGizmo = m_state.activeGizmo;
        dispatch.press(m_state.activeGizmo, camera, position, width, height);
        insertSorted(m_state.touchedGizmos, m_state.activeGizmo);
        refreshGizmos(m_state.watchedRoot, false);
    }
    holdDraggedGizmo();
    // Also on empty space: the moves of that press must not hover.
    m_state.dragging = true;
}

void ekGizmoController::setMousePosImpl(const ekCamera* camera, int x, int y, int width,
                                        int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    if (!m_state.dragging) {
        updateHover(camera, position, width, height);
        return;
    }
    // Only a drag under way touches its gizmo: after a cancel, or a press
    // that started none, the rest of the gesture changes nothing.
    ekDragDispatch dispatch = drags();
    if (m_state.activeGizmo != nullptr && dispatch.isDragging()) {
        dispatch.move(m_state.activeGizmo, camera, position, width, height);
        insertSorted(m_state.touchedGizmos, m_state.activeGizmo);
    }
}

void ekGizmoController::setMouseReleasedImpl(const ekCamera* camera, int x, int y, int width,
                                             int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    // The held gizmo may still own a drag that a clearControllerEvents
    // interrupted; without a drag under way (a second release, a cancelled
    // drag) the release changes nothing and touches nothing.
    ekDragDispatch dispatch = drags();
    if (m_state.activeGizmo != nullptr && dispatch.isDragging()) {
        dispatch.release(m_state.activeGizmo, camera, position, width, height);
        insertSorted(m_state.touchedGizmos, m_state.activeGizmo);
        refreshGizmos(m_state.watchedRoot, false);
    }
    holdDraggedGizmo();
    m_state.dragging = false;
    m_state.activeGizmo = updateHover(camera, position, width, height);
}

} // namespace ek
