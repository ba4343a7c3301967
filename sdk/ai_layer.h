// The host's Layer suite: the document's layers, their titles and flags.
#pragma once

#include "sdk/ai_art.h"
#include "sdk/ai_types.h"
#include "sdk/ai_unicode_string.h"

// Layers are counted from 0 at the top. A handle that names no layer of the current
// document answers kBadParameterErr, as does a null output. Titles go in as host strings
// and come out as eight-bit text of code page 932 (a character it lacks becomes '?').
struct AILayerSuite {
    ASErr (*CountLayers)(ASInt32* count);
    // layer n from the top; an error outside 0 to count - 1
    ASErr (*GetNthLayer)(ASInt32 n, AILayerHandle* layer);
    // the layer new art goes into
    ASErr (*GetCurrentLayer)(AILayerHandle* layer);
    ASErr (*SetCurrentLayer)(AILayerHandle layer);
    ASErr (*GetFirstLayer)(AILayerHandle* layer);
    // the layer below; null after the bottom layer
    ASErr (*GetNextLayer)(AILayerHandle layer, AILayerHandle* next);
    // the layer above; null before the top layer
    ASErr (*GetPrevLayer)(AILayerHandle layer, AILayerHandle* previous);
    // the top layer with exactly this title; null (and kNoErr) when there is none
    ASErr (*GetLayerByTitle)(AIUnicodeStringRef title, AILayerHandle* layer);

    // a new empty layer placed by a placement code of ai_art.h relative to reference
    // (kPlaceAbove, kPlaceBelow), or on top or at the bottom (kPlaceAboveAll, kPlaceBelowAll,
    // any code with a null reference); it becomes the current layer
    ASErr (*InsertLayer)(AILayerHandle reference, ASInt16 placement, AILayerHandle* layer);
    // removes the layer with its art; when it was current, the top layer becomes current
    ASErr (*DeleteLayer)(AILayerHandle layer);

    // the title into buffer (room bytes with the terminating NUL), cut at a character
    ASErr (*GetLayerTitle)(AILayerHandle layer, char* buffer, ASInt32 room);
    ASErr (*SetLayerTitle)(AILayerHandle layer, AIUnicodeStringRef title);
    ASErr (*GetLayerVisible)(AILayerHandle layer, ASBoolean* visible);
    ASErr (*SetLayerVisible)(AILayerHandle layer, ASBoolean visible);
    // editable is unlocked
    ASErr (*GetLayerEditable)(AILayerHandle layer, ASBoolean* editable);
    ASErr (*SetLayerEditable)(AILayerHandle layer, ASBoolean editable);
    ASErr (*GetLayerPreview)(AILayerHandle layer, ASBoolean* preview);
    ASErr (*SetLayerPreview)(AILayerHandle layer, ASBoolean preview);
    ASErr (*GetLayerPrinted)(AILayerHandle layer, ASBoolean* printed);
    ASErr (*SetLayerPrinted)(AILayerHandle layer, ASBoolean printed);

    // room for operations of the host that no plug-in calls; they answer kUnknownSelectorErr
    ASErr (*Unused[7])();

    // clears the selected attribute of every art on the layer
    ASErr (*DeselectArtOnLayer)(AILayerHandle layer);
};
