// The host's Real Math suite table.
#pragma once

#include "ai_real_math.h"

const AIRealMathSuite* HostRealMathSuite();
