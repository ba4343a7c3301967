// The host's Real Math suite table.
#pragma once

#include "sdk/ai_real_math.h"

const AIRealMathSuite* HostRealMathSuite();
