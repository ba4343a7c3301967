// Records kept in the document as invisible point texts of the configuration layer:
// "TRVX_1", the tool slot of each user layer, and "TRVX_2", the page setup as hexadecimal
// lines. Both are CR LF texts in code page 932.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

enum OwnLayer { kConfigurationLayer = 0, kTemporallyLayer = 1, kPlottingLayer = 2 };

// The title of one of the plug-in's own layers, without the length byte.
const char* OwnLayerTitle(OwnLayer which);
// True when the title is one of the three.
bool IsOwnLayerTitle(const char* title);

// One of the plug-in's own layers of the document, null when it has none; the host's status.
ASErr FindOwnLayer(OwnLayer which, AILayerHandle* layer);
// Gives a layer the title of one of the plug-in's own; the host's status.
ASErr SetOwnLayerTitle(AILayerHandle layer, OwnLayer which);

// The next token from text at *position up to delimiter or CR (blanks and LF dropped, at
// most 255 characters kept, the rest consumed): 0 when it ended at the delimiter or CR,
// 1 at the end of the text.
int16_t NextToken(const char* text, char delimiter, int32_t* position, char token[256]);

int32_t SaveLayerToolAssignments();
int32_t LoadLayerToolAssignments();
int32_t SavePageSetupToDocument();
int32_t LoadPageSetupFromDocument();
