#pragma once

// A low layer reaching up: what the check must refuse.
#include "high.h"
