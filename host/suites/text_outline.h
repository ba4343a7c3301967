// Outlines of a text frame from its glyphs, as art of the document.
#pragma once

#include "sdk/ai_types.h"

namespace host {

// A new group just above the text frame with one compound path per inked character, in
// reading order, filled with the text's colour and not stroked. The frame itself stays.
// kBadParameterErr for a handle that is not live text art or a null output; a frame
// without inked characters gives an empty group.
ASErr CreateTextOutline(AIArtHandle text, AIArtHandle* outline);

}  // namespace host
