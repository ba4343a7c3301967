// A fresh copy of a text art: a new frame of the same kind holding the same characters
// with the same character and paragraph features, unrotated and centred on the old bounds.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

// What a rebuild collected and did, for inspection.
struct RebuildCounts {
    int32_t iCharStyles;
    int32_t iParaStyles;
    int32_t iRuns;
    int32_t iInsertions;
};

// The new frame, or art itself when nothing could be rebuilt. The old art stays.
AIArtHandle RebuildTextFrame(AIArtHandle art);
AIArtHandle RebuildTextFrameCounted(AIArtHandle art, RebuildCounts* counts);
