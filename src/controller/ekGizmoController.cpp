#include <ek3DManipulation/ekGizmoController.h>

#include "ekDragDispatch.h"
#include "manipulation/ekListenerList.h"

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

// A controller's drag objects while they are made, held so that a failure
// half-way leaks nothing; made in the order rotate, translate, scale.
struct NewDrags {
    NewDrags()
        : rotate(new ekGizmoControllerRotate)
        , translate(new ekGizmoControllerTranslate)
        , scale(new ekGizmoControllerScale)
    {
    }
    NewDrags(const ekGizmoControllerRotate& rotateSource,
             const ekGizmoControllerTranslate& translateSource,
             const ekGizmoControllerScale& scaleSource)
        : rotate(new ekGizmoControllerRotate(rotateSource))
        , translate(new ekGizmoControllerTranslate(translateSource))
        , scale(new ekGizmoControllerScale(scaleSource))
    {
    }

    std::unique_ptr<ekGizmoControllerRotate> rotate;
    std::unique_ptr<ekGizmoControllerTranslate> translate;
    std::unique_ptr<ekGizmoControllerScale> scale;
};

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
    gizmo.calculateFrameFromObjectWorldTranform(frame, &camera, gizmo.getExpectedPixelSize(),
                                                viewportHeight);
    gizmo.updateCameraFacing(&camera);
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
    : m_activeGizmo(nullptr)
    , m_rotateController(nullptr)
    , m_translateController(nullptr)
    , m_scaleController(nullptr)
    , m_orientationReference(LOCAL)
    , m_rootNode(nullptr)
    , m_watchedRoot(nullptr)
    , m_seenGeneration(0)
    , m_customOrientation(Wm4::Matrix3<float>::IDENTITY)
    , m_currentOrientation(Wm4::Matrix3<float>::IDENTITY)
    , m_pickTolerance(kPickTolerance)
    , m_dragging(false)
    , m_pressOnGizmo(false)
    , m_enabled(true)
{
    NewDrags drags;
    m_rotateController = drags.rotate.release();
    m_translateController = drags.translate.release();
    m_scaleController = drags.scale.release();
}

ekGizmoController::ekGizmoController(const ekGizmoController& other)
    : ekGenericControllerInterface(other)
    , m_activeGizmo(other.m_activeGizmo)
    , m_rotateController(nullptr)
    , m_translateController(nullptr)
    , m_scaleController(nullptr)
    , m_orientationReference(other.m_orientationReference)
    , m_rootNode(other.m_rootNode)
    , m_watchedRoot(other.m_watchedRoot)
    , m_seenGeneration(other.m_seenGeneration)
    , m_customOrientation(other.m_customOrientation)
    , m_currentOrientation(other.m_currentOrientation)
    , m_motionListeners(other.m_motionListeners)
    , m_manipulators(other.m_manipulators)
    , m_eventQueue(other.m_eventQueue)
    , m_touchedGizmos(other.m_touchedGizmos)
    , m_pickTolerance(other.m_pickTolerance)
    , m_dragging(other.m_dragging)
    , m_pressOnGizmo(other.m_pressOnGizmo)
    , m_enabled(other.m_enabled)
{
    NewDrags copies(*other.m_rotateController, *other.m_translateController,
                    *other.m_scaleController);
    m_rotateController = copies.rotate.release();
    m_translateController = copies.translate.release();
    m_scaleController = copies.scale.release();
}

ekGizmoController& ekGizmoController::operator=(const ekGizmoController& other)
{
    if (this == &other) {
        return *this;
    }
    NewDrags copies(*other.m_rotateController, *other.m_translateController,
                    *other.m_scaleController);
    ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController).finishDrag();
    delete m_translateController;
    delete m_rotateController;
    delete m_scaleController;
    m_rotateController = copies.rotate.release();
    m_translateController = copies.translate.release();
    m_scaleController = copies.scale.release();

    // The copied drag objects start idle: a drag under way here has ended.
    m_draggedGizmo = nullptr;
    ekGenericControllerInterface::operator=(other);
    m_activeGizmo = other.m_activeGizmo;
    m_orientationReference = other.m_orientationReference;
    m_rootNode = other.m_rootNode;
    m_watchedRoot = other.m_watchedRoot;
    m_seenGeneration = other.m_seenGeneration;
    m_customOrientation = other.m_customOrientation;
    m_currentOrientation = other.m_currentOrientation;
    m_motionListeners = other.m_motionListeners;
    m_manipulators = other.m_manipulators;
    m_eventQueue = other.m_eventQueue;
    m_touchedGizmos = other.m_touchedGizmos;
    m_pickTolerance = other.m_pickTolerance;
    m_dragging = other.m_dragging;
    m_pressOnGizmo = other.m_pressOnGizmo;
    m_enabled = other.m_enabled;
    return *this;
}

ekGizmoController::~ekGizmoController()
{
    delete m_translateController;
    delete m_rotateController;
    delete m_scaleController;
}

void ekGizmoController::updateController(ekGenericRenderingContext* context)
{
    ekEngineInterface* engine = context != nullptr ? context->getEngineInterface() : nullptr;
    if (engine == nullptr) {
        return;
    }

    ekNode* root = m_rootNode != nullptr ? m_rootNode : engine->getScene();
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

    if (m_enabled && !m_eventQueue.empty()) {
        // Another view may have laid the gizmos out for its own camera since
        // this one's last frame: hit tests must see them as this view shows
        // them.
        layOutGizmos(*camera, height, true);
        // Indexed: a listener reached from a handler may queue more input.
        for (std::size_t i = 0; i < m_eventQueue.size(); ++i) {
            // A listener may also have attached, detached or deleted gizmos.
            refreshGizmos(root, false);
            const ControllerEvent event = m_eventQueue[i];
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
        m_eventQueue.clear();
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
    bool changed = root != m_watchedRoot || root->getStructureGeneration() != m_seenGeneration
        || (honourBit && (root->getDirtyFlags(0) & DIRTY_STRUCTURE) != 0);
    while (changed) {
        rebuildGizmos(*root);
        changed = root->getStructureGeneration() != m_seenGeneration;
    }
}

void ekGizmoController::rebuildGizmos(ekNode& root)
{
    m_watchedRoot = &root;
    m_seenGeneration = root.getStructureGeneration();
    collectGizmos(root, m_manipulators);
    // A gizmo that left may since have been deleted: nothing may refer to
    // it any more, and a drag under way on it ends here.
    const auto gone = [this](const ekGizmoNode* gizmo) {
        return std::find(m_manipulators.begin(), m_manipulators.end(), gizmo)
            == m_manipulators.end();
    };
    if (gone(m_activeGizmo)) {
        m_activeGizmo = nullptr;
    }
    ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController)
        .forgetAllBut(m_manipulators);
    m_touchedGizmos.erase(std::remove_if(m_touchedGizmos.begin(), m_touchedGizmos.end(), gone),
                          m_touchedGizmos.end());
    holdDraggedGizmo();
}

void ekGizmoController::layOutGizmos(const ekCamera& camera, int viewportHeight, bool settle)
{
    for (ekGizmoNode* gizmo : m_manipulators) {
        if (!ekDragDispatch::showsHandles(gizmo)) {
            continue;
        }
        // Frozen during a drag, so that the axes being dragged along stay put
        // (every gizmo then shares the last orientation computed before it).
        if (!m_dragging) {
            chooseOrientation(m_orientationReference, *gizmo, m_customOrientation, camera,
                              m_currentOrientation);
        }
        layOut(*gizmo, m_currentOrientation, camera, viewportHeight);
        if (settle && (gizmo->getDirtyFlags(0) & kNeedsWorldUpdate) != 0) {
            gizmo->UpdateGS_Flags();
        }
    }
}

void ekGizmoController::notifyTouched()
{
    // A listener may detach and delete a gizmo: each is taken off the list
    // before it is told about, and a rebuild drops those that left.
    while (!m_touchedGizmos.empty()) {
        ekGizmoNode* const gizmo = m_touchedGizmos.front();
        m_touchedGizmos.erase(m_touchedGizmos.begin());
        for (std::size_t i = 0; i < m_motionListeners.size(); ++i) {
            m_motionListeners[i]->onManipulatorMotion(gizmo);
            if (m_watchedRoot != nullptr
                && m_watchedRoot->getStructureGeneration() != m_seenGeneration) {
                refreshGizmos(m_watchedRoot, false);
                if (std::find(m_manipulators.begin(), m_manipulators.end(), gizmo)
                    == m_manipulators.end()) {
                    break;
                }
            }
        }
    }
}

void ekGizmoController::holdDraggedGizmo()
{
    m_draggedGizmo =
        ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController)
            .getDraggedGizmo();
}

bool ekGizmoController::isDragging() const
{
    return ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController)
        .isDragging();
}

int ekGizmoController::getActiveAxis() const
{
    return ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController)
        .getActiveAxis();
}

bool ekGizmoController::cancelDrag()
{
    ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    if (!drags.isDragging()) {
        return false;
    }
    drags.cancelDrag();
    holdDraggedGizmo();
    return true;
}

bool ekGizmoController::install3DManipulatorMotionListener(ek3DManipulatorMotionListener* listener)
{
    m_translateController->install3DManipulatorMotionListener(listener);
    m_rotateController->install3DManipulatorMotionListener(listener);
    m_scaleController->install3DManipulatorMotionListener(listener);
    return appendUnique(m_motionListeners, listener);
}

bool ekGizmoController::uninstall3DManipulatorMotionListener(
    ek3DManipulatorMotionListener* listener)
{
    m_translateController->uninstall3DManipulatorMotionListener(listener);
    m_rotateController->uninstall3DManipulatorMotionListener(listener);
    m_scaleController->uninstall3DManipulatorMotionListener(listener);
    return removeFirst(m_motionListeners, listener);
}

void ekGizmoController::clearController()
{
    // The scene is going: a drag under way on one of its gizmos ends now,
    // while the gizmo is still counted.
    ekDragDispatch(*m_translateController, *m_rotateController, *m_scaleController).finishDrag();
    m_draggedGizmo = nullptr;
    m_watchedRoot = nullptr;
    m_eventQueue.clear();
    m_manipulators.clear();
    m_dragging = false;
    m_pressOnGizmo = false;
    m_activeGizmo = nullptr;
}

ekGizmoNode* ekGizmoController::updateHover(const ekCamera* camera,
                                            const Wm4::Vector2<float>& position, int width,
                                            int height)
{
    ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    for (ekGizmoNode* gizmo : m_manipulators) {
        if (drags.hover(gizmo, camera, position, m_pickTolerance, width, height)) {
            return gizmo;
        }
    }
    return nullptr;
}

void ekGizmoController::setMousePressedImpl(const ekCamera* camera, int x, int y, int width,
                                            int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    // Every start has its end: a drag still under way (its release was
    // lost) ends before the hover that picks the next handle.
    drags.finishDrag();
    // Listeners hear the ends and starts, and may change the scene.
    refreshGizmos(m_watchedRoot, false);
    m_activeGizmo = updateHover(camera, position, width, height);
    if (m_activeGizmo != nullptr) {
        drags.press(m_activeGizmo, camera, position, width, height);
        insertSorted(m_touchedGizmos, m_activeGizmo);
        refreshGizmos(m_watchedRoot, false);
    }
    holdDraggedGizmo();
    // Also on empty space: the moves of that press must not hover.
    m_dragging = true;
}

void ekGizmoController::setMousePosImpl(const ekCamera* camera, int x, int y, int width,
                                        int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    if (!m_dragging) {
        updateHover(camera, position, width, height);
        return;
    }
    // Only a drag under way touches its gizmo: after a cancel, or a press
    // that started none, the rest of the gesture changes nothing.
    ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    if (m_activeGizmo != nullptr && drags.isDragging()) {
        drags.move(m_activeGizmo, camera, position, width, height);
        insertSorted(m_touchedGizmos, m_activeGizmo);
    }
}

void ekGizmoController::setMouseReleasedImpl(const ekCamera* camera, int x, int y, int width,
                                             int height)
{
    const Wm4::Vector2<float> position = getMousePos(x, y, width, height);
    // The held gizmo may still own a drag that a clearControllerEvents
    // interrupted; without a drag under way (a second release, a cancelled
    // drag) the release changes nothing and touches nothing.
    ekDragDispatch drags(*m_translateController, *m_rotateController, *m_scaleController);
    if (m_activeGizmo != nullptr && drags.isDragging()) {
        drags.release(m_activeGizmo, camera, position, width, height);
        insertSorted(m_touchedGizmos, m_activeGizmo);
        refreshGizmos(m_watchedRoot, false);
    }
    holdDraggedGizmo();
    m_dragging = false;
    m_activeGizmo = updateHover(camera, position, width, height);
}

} // namespace ek
