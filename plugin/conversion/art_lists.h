// Flat lists of references to host art that an output run collects, sorts and emits, the
// walk that fills the main list from a layer's art tree.
//
// A list grows as the drawing needs: a user's drawing is never cut short. When memory for
// more rows cannot be had, the run ends: the abort flag is raised and -108 is kept in
// g->conversion.iRunFailure for the output run to answer with (and its alert).
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/ai_types.h"

// Rows a new list has room for before it first grows.
constexpr int32_t kArtListFirstCapacity = 4096;

struct ArtEntry {
    int32_t iTag;            // 0 when added; the orderings keep their marks here
    int16_t wTool;           // 0-based tool-slot index
    AIArtHandle hArt;        // owned by the host
    double dMatrix[6];       // a, b, c, d, tx, ty; all zero = no matrix
};

// Rows 0 to iCount - 1 are in use; iCapacity rows exist.
struct ArtList {
    int32_t iCount;
    int32_t iCapacity;
    ArtEntry* aEntry;
};

// A new empty list with room for kArtListFirstCapacity rows, or null without memory.
ArtList* NewArtList();
// Frees the list and its rows (null is fine).
void DisposeArtList(ArtList* list);
// Makes room for at least rows rows; -108 (and the run ends) when memory cannot be had.
ASErr ReserveArtRows(ArtList* list, int32_t rows);
// Ends the run for want of memory: raises the abort flag, keeps -108 as the run's failure
// (the first one stays) and returns -108.
ASErr EndRunWithoutMemory();

// Both lists of the run, zero-filled; -108 when one cannot be allocated. Clears the run's
// failure record.
ASErr AllocateArtLists();
ASErr FreeArtLists();

// Appends a row (matrix null for none), growing the list as needed; -108 when memory for
// more rows cannot be had (the run then ends, see above).
ASErr AddArtEntry(ArtList* list, AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Removes row n, moving the later rows down.
ASErr RemoveArtEntry(ArtList* list, int32_t n);

// Appends the collectable art under art to the main list; the result of the last host call
// made at this level of the walk.
ASErr CollectArt(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Appends art to the main list when its bounds, grown by one point, meet the page.
ASErr AddArtIfOnPage(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix);

// Appends every plain path under groups and compound paths, slot 0, no matrix, no page test.
ASErr CollectShapes(AIArtHandle art);

// Where list blocks come from (std::calloc unless replaced; null restores it), so that a
// test can take the memory away.
typedef void* (*ListAllocator)(size_t count, size_t size);
void SetListAllocator(ListAllocator allocator);
void* AllocateListBlock(size_t count, size_t size);
