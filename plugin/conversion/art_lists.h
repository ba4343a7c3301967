// Flat lists of references to host art that an output run collects, sorts and emits, the
// walk that fills the main list from a layer's art tree.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

// Rows a list can hold; the last of its kArtListCapacity + 1 rows is never filled.
constexpr int32_t kArtListCapacity = 4096;

struct ArtEntry {
    int32_t iTag;            // 0 when added; the orderings keep their marks here
    int16_t wTool;           // 0-based tool-slot index
    AIArtHandle hArt;        // owned by the host
    double dMatrix[6];       // a, b, c, d, tx, ty; all zero = no matrix
};

struct ArtList {
    int32_t iCount;
    int32_t reserved;
    ArtEntry aEntry[kArtListCapacity + 1];
};

// Both lists of the run, zero-filled; -108 when one cannot be allocated.
ASErr AllocateArtLists();
ASErr FreeArtLists();

// Appends a row (matrix null for none); -108 when the list is full.
ASErr AddArtEntry(ArtList* list, AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Removes row n, moving the later rows down.
ASErr RemoveArtEntry(ArtList* list, int16_t n);

// Appends the collectable art under art to the main list; the result of the last host call
// made at this level of the walk.
ASErr CollectArt(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Appends art to the main list when its bounds, grown by one point, meet the page.
ASErr AddArtIfOnPage(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Appends every plain path under groups and compound paths, slot 0, no matrix, no page test.
ASErr CollectShapes(AIArtHandle art);
