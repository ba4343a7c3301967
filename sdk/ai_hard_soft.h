// The host's Hard Soft suite: points between the host's internal space (the text engine's,
// y growing downward) and artwork points (y growing upward).
#pragma once

#include "sdk/ai_types.h"

struct AIHardSoftSuite {
    // artwork to internal, in place
    ASErr (*AIRealPointHarden)(AIRealPoint* point);
    // internal to artwork, in place
    ASErr (*AIRealPointSoften)(AIRealPoint* point);
};
