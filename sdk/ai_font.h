// The host's Font suite: font keys of the text engine's fonts and the metrics of characters.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ate_refs.h"

// A font the host knows, stable while the host runs.
typedef struct _t_AIFontKeyOpaque* AIFontKey;

struct AIFontSuite {
    ASErr (*FontKeyFromFont)(ATE::FontRef font, AIFontKey* key);
    ASErr (*FontFromFontKey)(AIFontKey key, ATE::FontRef* font);
    // "Family Style" as eight-bit text into buffer (room bytes with the NUL, cut to fit)
    ASErr (*GetFullFontName)(AIFontKey key, char* buffer, ASInt32 room);
    // the metrics of the first character of a UTF-8 string, per unit of font size:
    // mode 1: first the advance, second the ink height; mode 2: first the ink width,
    // second the height of a label cell (ascender plus descender); other modes are refused
    ASErr (*GetCharacterMetrics)(AIFontKey key, const char* utf8, ASInt32 mode, AIReal* first,
                                 AIReal* second);
};
