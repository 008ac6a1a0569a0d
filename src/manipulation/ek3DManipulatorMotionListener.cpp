#include <ek3DManipulation/ek3DManipulatorMotionListener.h>

namespace ek {

// Out of line so that the class's virtual table lives in the library.
ek3DManipulatorMotionListener::~ek3DManipulatorMotionListener() = default;

void ek3DManipulatorMotionListener::onTranslateManipulatorStart() {}

void ek3DManipulatorMotionListener::onTranslateManipulatorEnd(
    const ekGenericTransformation<float>& /*delta*/)
{
}

void ek3DManipulatorMotionListener::onRotateManipulatorStart() {}

void ek3DManipulatorMotionListener::onRotateManipulatorEnd(
    const ekGenericTransformation<float>& /*delta*/)
{
}

void ek3DManipulatorMotionListener::onScaleManipulatorStart() {}

void ek3DManipulatorMotionListener::onScaleManipulatorEnd(
    const ekGenericTransformation<float>& /*delta*/)
{
}

void ek3DManipulatorMotionListener::onManipulatorDragged(
    const ekGenericTransformation<float>& /*delta*/)
{
}

} // namespace ek
