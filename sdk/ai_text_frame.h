// The host's Text Frame suite: text art and its text-engine objects.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ate_refs.h"

// Text frame kinds.
constexpr ASInt16 kPointTextType = 0;
constexpr ASInt16 kInPathTextType = 1;
constexpr ASInt16 kOnPathTextType = 2;

// Orientations.
constexpr ASInt16 kHorizontalTextOrientation = 0;
constexpr ASInt16 kVerticalTextOrientation = 1;

// Handles that name no live text art answer kBadParameterErr. New text goes where the
// placement code of ai_art.h puts it relative to reference (null: the current layer).
struct AITextFrameSuite {
    ASErr (*GetATETextRange)(AIArtHandle art, ATE::TextRangeRef* range);
    ASErr (*GetATETextFrame)(AIArtHandle art, ATE::TextFrameRef* frame);
    ASErr (*GetType)(AIArtHandle art, ASInt16* kind);
    ASErr (*GetOrientation)(AIArtHandle art, ASInt16* orientation);
    // point text: the start of its first baseline, artwork points
    ASErr (*GetPointTextAnchor)(AIArtHandle art, AIRealPoint* anchor);
    // text in or on a path: the path art (outside every layer; the path suites take it)
    ASErr (*GetPathObject)(AIArtHandle art, AIArtHandle* path);
    // text on a path: where it starts and ends, in segment positions along the path
    ASErr (*GetOnPathTextTRange)(AIArtHandle art, AIReal* start, AIReal* end);
    ASErr (*SetOnPathTextTRange)(AIArtHandle art, AIReal start, AIReal end);
    ASErr (*NewPointText)(ASInt16 placement, AIArtHandle reference, ASInt16 orientation,
                          AIRealPoint anchor, AIArtHandle* newText);
    // the path art is taken over: it leaves the art tree and becomes the text's path
    ASErr (*NewInPathText)(ASInt16 placement, AIArtHandle reference, ASInt16 orientation,
                           AIArtHandle path, AIArtHandle* newText);
    ASErr (*NewOnPathText)(ASInt16 placement, AIArtHandle reference, ASInt16 orientation,
                           AIArtHandle path, AIReal start, AIReal end, AIArtHandle* newText);
    // a new group just above the frame with one compound path per inked character; the
    // frame stays as it is
    ASErr (*CreateOutline)(AIArtHandle art, AIArtHandle* outline);
};
