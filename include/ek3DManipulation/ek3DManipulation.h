#pragma once

/// @file
/// Everything of the library but the Qt bridge (ekGizmoEventsListener.h),
/// so that a host without Qt can include it.
#include "ek3DManipulationExport.h"
#include "ek3DManipulationLibrary.h"
#include "ek3DManipulationVersion.h"
#include "ek3DManipulatorMotionListener.h"
#include "ekGizmoController.h"
#include "ekGizmoControllerDrags.h"
#include "ekGizmoNode.h"
#include "ekGizmoNodeBase.h"
#include "ekGizmoStyle.h"
