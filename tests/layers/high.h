#pragma once

// A high layer reaching down: allowed.
#include "low.h"
