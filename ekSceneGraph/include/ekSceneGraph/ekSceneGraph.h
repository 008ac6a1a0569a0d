#pragma once

// Everything of the scene-graph engine.
#include "ek2DPrimitivesPass.h"
#include "ekBound.h"
#include "ekCamera.h"
#include "ekCameraNode.h"
#include "ekDrawCache.h"
#include "ekEngine.h"
#include "ekEngineInterface.h"
#include "ekGenericTransformation.h"
#include "ekGeometry.h"
#include "ekLine.h"
#include "ekMeshUtils.h"
#include "ekNode.h"
#include "ekObject.h"
#include "ekRendererInterface.h"
#include "ekRtti.h"
#include "ekSceneGraphVisitor.h"
#include "ekSpatial.h"
#include <Wm4/Wm4Foundation.h>
