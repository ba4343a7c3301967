// The host's Symbol suite: the document's symbols and the instances placed from them.
#pragma once

#include "sdk/ai_types.h"

typedef struct _t_AISymbolOpaque* AISymbolHandle;

// A handle that names no symbol or no live symbol instance of the current document answers
// kBadParameterErr, as does a null output.
struct AISymbolSuite {
    ASErr (*CountSymbols)(ASInt32* count);
    ASErr (*GetNthSymbol)(ASInt32 n, AISymbolHandle* symbol);
    // the symbol's name as UTF-8 into buffer (room bytes with the NUL), cut at a character
    ASErr (*GetSymbolName)(AISymbolHandle symbol, char* buffer, ASInt32 room);
    // the symbol's definition: a group in symbol coordinates, outside every layer
    ASErr (*GetSymbolDefinitionArt)(AISymbolHandle symbol, AIArtHandle* definition);
    // the symbol an instance was placed from; null (and kNoErr) when it has lost it
    ASErr (*GetSymbolOfInstance)(AIArtHandle instance, AISymbolHandle* symbol);
    // the matrix from symbol coordinates to artwork of an instance
    ASErr (*GetInstanceMatrix)(AIArtHandle instance, AIRealMatrix* matrix);
    ASErr (*SetInstanceMatrix)(AIArtHandle instance, const AIRealMatrix* matrix);
};
