#include <ek3DManipulation/ekGizmoController.h>

#include "ekGizmoRegistry.h"
#include "ekInputMachine.h"
#include "ekLayoutPass.h"
#include "ekListenerList.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <ekSceneGraph/ekCameraNode.h>

namespace ek {
namespace {

// Distance in pixels between the cursor and a handle within which the
// handle counts as under the cursor.
constexpr float kPickTolerance = 10.0f;

} // namespace

struct ekGizmoController::Parts {
    Parts(ekGizmoControllerTranslate& translate, ekGizmoControllerRotate& rotate,
          ekGizmoControllerScale& scale,
          const std::vector<ek3DManipulatorMotionListener*>& listeners)
        : registry(translate, rotate, scale, listeners)
    {
    }
    // Everything of other but its drags, which stay with other, and its
    // layouts, which a copy makes afresh.
    void copyFrom(const Parts& other)
    {
        registry.copyFrom(other.registry);
        input = other.input;
        layout = other.layout;
        layout.forgetLayouts();
    }

    ekGizmoRegistry registry;
    ekLayoutPass layout;
    ekInputMachine input;
};

ekGizmoController::ekGizmoController()
    : m_rotateController(std::make_unique<ekGizmoControllerRotate>())
    , m_translateController(std::make_unique<ekGizmoControllerTranslate>())
    , m_scaleController(std::make_unique<ekGizmoControllerScale>())
    , m_parts(std::make_unique<Parts>(*m_translateController, *m_rotateController,
                                      *m_scaleController, m_motionListeners))
    , m_pickTolerance(kPickTolerance)
{
}

// A copy gets drag objects of its own, copies of the source's without the
// drag under way (that one belongs to the source).
ekGizmoController::ekGizmoController(const ekGizmoController& other)
    : ekGenericControllerInterface(other)
    , m_rotateController(std::make_unique<ekGizmoControllerRotate>(*other.m_rotateController))
    , m_translateController(
          std::make_unique<ekGizmoControllerTranslate>(*other.m_translateController))
    , m_scaleController(std::make_unique<ekGizmoControllerScale>(*other.m_scaleController))
    , m_motionListeners(other.m_motionListeners)
    , m_parts(std::make_unique<Parts>(*m_translateController, *m_rotateController,
                                      *m_scaleController, m_motionListeners))
    , m_rootNode(other.m_rootNode)
    , m_pickTolerance(other.m_pickTolerance)
    , m_enabled(other.m_enabled)
{
    m_parts->copyFrom(*other.m_parts);
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
    auto parts = std::make_unique<Parts>(*translate, *rotate, *scale, m_motionListeners);
    parts->copyFrom(*other.m_parts);
    m_parts->registry.finishDrag();
    m_parts = std::move(parts);
    m_rotateController = std::move(rotate);
    m_translateController = std::move(translate);
    m_scaleController = std::move(scale);
    ekGenericControllerInterface::operator=(other);
    m_rootNode = other.m_rootNode;
    m_motionListeners = other.m_motionListeners;
    m_pickTolerance = other.m_pickTolerance;
    m_enabled = other.m_enabled;
    return *this;
}

ekGizmoController::~ekGizmoController()
{
    // The parts borrow the drag objects: they go first.
    m_parts.reset();
    m_translateController.reset();
    m_rotateController.reset();
    m_scaleController.reset();
}

void ekGizmoController::updateController(ekGenericRenderingContext* context)
{
    ekEngineInterface* engine = context != nullptr ? context->getEngineInterface() : nullptr;
    if (engine == nullptr) {
        return;
    }
    Parts& parts = *m_parts;
    parts.registry.refresh(m_rootNode != nullptr ? m_rootNode : engine->getScene(), true);

    ekDragInput view;
    engine->getViewportSize(view.width, view.height);
    const ekCameraNode* cameraNode = engine->getCameraNode();
    view.camera = cameraNode != nullptr ? cameraNode->getCamera() : nullptr;
    if (view.camera == nullptr) {
        // Nothing can be hit or placed without a camera; the queue waits.
        return;
    }

    if (m_enabled && !parts.input.eventQueue.empty()) {
        // Another view may have laid the gizmos out for its own camera since
        // this one's last frame: hit tests must see them as this view shows
        // them.
        parts.layout.layOut(parts.registry.manipulators(), *view.camera, view.height,
                            parts.input.isPressed(), true);
        parts.input.replay(parts.registry, view, m_pickTolerance);
    }
    parts.layout.layOut(parts.registry.manipulators(), *view.camera, view.height,
                        parts.input.isPressed(), false);
    parts.registry.notifyTouched();
}

void ekGizmoController::setRootNode(ekNode* root)
{
    if (root != m_rootNode) {
        m_rootNode = root;
        m_parts->registry.forgetRoot();
    }
}

void ekGizmoController::setOrientationReference(OrientationReference reference)
{
    m_parts->layout.orientationReference = reference;
}

ekGizmoController::OrientationReference ekGizmoController::getOrientationReference() const
{
    return m_parts->layout.orientationReference;
}

void ekGizmoController::setCustomOrientationMatrix(const Wm4::Matrix3<float>& matrix)
{
    m_parts->layout.customOrientation = matrix;
}

const Wm4::Matrix3<float>& ekGizmoController::getCurrentOrientation() const
{
    return m_parts->layout.currentOrientation;
}

const std::vector<ekGizmoNode*>& ekGizmoController::get3DManipulators() const
{
    return m_parts->registry.manipulators();
}

std::vector<ekGizmoNode*>& ekGizmoController::edit3DManipulators()
{
    return m_parts->registry.editManipulators();
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

bool ekGizmoController::setMousePressed(const ekCamera* camera, int x, int y, int width,
                                        int height)
{
    Parts& parts = *m_parts;
    ekPressHit answer;
    if (camera != nullptr) {
        // The answer must not test a gizmo deleted since the last update, nor
        // the layout another view left: bring both up to date for this view.
        parts.registry.refresh(parts.registry.watchedRoot(), false);
        parts.layout.layOut(parts.registry.manipulators(), *camera, height,
                            parts.input.isPressed(), true);
        answer = parts.registry.pick({camera, normalisedPosition(x, y, width, height), width,
                                      height},
                                     m_pickTolerance);
    }
    parts.input.pressOnGizmo = answer.gizmo.get() != nullptr;
    parts.input.queuePress({x, y, MOUSE_PRESSED}, std::move(answer));
    return parts.input.pressOnGizmo;
}

bool ekGizmoController::setMouseReleased(int x, int y)
{
    ekInputMachine& input = m_parts->input;
    input.queue({x, y, MOUSE_RELEASED});
    const bool pressOnGizmo = input.pressOnGizmo;
    input.pressOnGizmo = false;
    return pressOnGizmo;
}

bool ekGizmoController::setMousePos(int x, int y)
{
    m_parts->input.queue({x, y, MOUSE_POS});
    return m_parts->input.pressOnGizmo;
}

void ekGizmoController::clearControllerEvents()
{
    m_parts->input.clearEvents();
}

std::size_t ekGizmoController::getQueuedEventCount() const
{
    return m_parts->input.eventQueue.size();
}

bool ekGizmoController::isDragging() const
{
    return m_parts->registry.isDragging();
}

int ekGizmoController::getActiveAxis() const
{
    return m_parts->registry.getActiveAxis();
}

bool ekGizmoController::cancelDrag()
{
    return m_parts->registry.cancelDrag();
}

void ekGizmoController::setTranslateSnap(float worldUnits)
{
    m_parts->input.setSnapStep(&ekSnapSteps::translate, worldUnits);
}

void ekGizmoController::setRotateSnap(float degrees)
{
    m_parts->input.setSnapStep(&ekSnapSteps::rotateDegrees, degrees);
}

void ekGizmoController::setScaleSnap(float step)
{
    m_parts->input.setSnapStep(&ekSnapSteps::scale, step);
}

void ekGizmoController::resetSnapping()
{
    m_parts->input.resetSnapping();
}

bool ekGizmoController::isSnapping() const
{
    return m_parts->input.isSnapping();
}

void ekGizmoController::setSnapInverted(bool inverted)
{
    m_parts->input.setSnapInverted(inverted);
}

ekGizmoNode* ekGizmoController::getHoveredGizmo() const
{
    return m_parts->registry.hoveredGizmo();
}

ekGizmoHandle ekGizmoController::getHoveredHandle() const
{
    return m_parts->registry.hoveredHandle();
}

ekGizmoHandle ekGizmoController::getActiveHandle() const
{
    return m_parts->registry.getActiveHandle();
}

void ekGizmoController::clearController()
{
    m_parts->registry.clear();
    m_parts->input.clearEvents();
}

} // namespace ek
