#pragma once

#include "ekDrag.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <memory>

namespace ek {

// The three axis handles (translate arrows, rotate circles, scale handles)
// seen through ekDrag: each adapts the controller's public drag object of
// its kind, which it borrows and which must outlive it.
std::unique_ptr<ekDrag> makeTranslateDrag(ekGizmoControllerTranslate& drag);
std::unique_ptr<ekDrag> makeRotateDrag(ekGizmoControllerRotate& drag);
std::unique_ptr<ekDrag> makeScaleDrag(ekGizmoControllerScale& drag);

} // namespace ek
