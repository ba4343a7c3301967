// The host's Path suite: the segments and flags of path art.
#pragma once

#include "sdk/ai_types.h"

// Every function answers kBadParameterErr for a handle that is not live path art, for a
// null output and for segment ranges outside the path.
struct AIPathSuite {
    ASErr (*GetPathSegmentCount)(AIArtHandle path, ASInt16* count);
    // cuts the path to count segments, or lengthens it with segments that repeat the last
    // anchor (at the origin for an empty path)
    ASErr (*SetPathSegmentCount)(AIArtHandle path, ASInt16 count);
    // count segments from index first
    ASErr (*GetPathSegments)(AIArtHandle path, ASInt16 first, ASInt16 count, AIPathSegment* segments);
    // writes count segments from index first; first may be the current count, so writing
    // segment after segment builds a path
    ASErr (*SetPathSegments)(AIArtHandle path, ASInt16 first, ASInt16 count, const AIPathSegment* segments);
    ASErr (*GetPathClosed)(AIArtHandle path, ASBoolean* closed);
    ASErr (*SetPathClosed)(AIArtHandle path, ASBoolean closed);
    // a guide is drawn as a guide and never printed
    ASErr (*GetPathGuide)(AIArtHandle path, ASBoolean* guide);
    ASErr (*SetPathGuide)(AIArtHandle path, ASBoolean guide);
};
