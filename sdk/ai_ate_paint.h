// The host's ATE Paint suite: the text engine's paints and real arrays to the host's
// colour records and dash arrays, and back.
#pragma once

#include "sdk/ai_path_style.h"
#include "sdk/ai_types.h"
#include "sdk/ate_refs.h"

struct AIATEPaintSuite {
    ASErr (*GetAIColor)(ATE::ApplicationPaintRef paint, AIStyleColor* color);
    ASErr (*CreateATEApplicationPaint)(const AIStyleColor* color, ATE::ApplicationPaintRef* paint);
    // up to room values into values; count receives how many the array holds
    ASErr (*GetDashArray)(ATE::ArrayRealRef array, AIReal* values, ASInt32 room, ASInt32* count);
    ASErr (*CreateDashArray)(const AIReal* values, ASInt32 count, ATE::ArrayRealRef* array);
};
