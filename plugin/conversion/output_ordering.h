// The plotting orders of a chunk: by distance from the sort origin, nearest neighbour, the
// cutter order with its grouping of overlapping objects, and the cut frame around a chunk.
// Distances weigh one axis double (fSortAxis set: h, else v).
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/conversion/art_lists.h"
#include "plugin/hpgl/geometry_types.h"

// distances
double MeasureWeightedDistance(const RealPoint* a, const RealPoint* b);
double MeasureWeightedDistanceToSegment(const RealPoint* a, const RealPoint* b, const RealPoint* p);
// To the outline of the rectangle: an origin inside gets the distance to the nearest edge.
double MeasureWeightedDistanceToRect(const RealPoint* origin, const AIRealRect* rect);

// Key of a row for the shared quicksort; top is the group the keys are measured under.
typedef double (*SortKeyFunction)(AIArtHandle top, const ArtList* list, int32_t row);
// Ascending by key, not stable: equal keys go right of the pivot. Stops recursing once the
// run is cancelled.
void QuickSortRows(ArtList* list, int32_t lo, int32_t hi, SortKeyFunction key, AIArtHandle top);

void SwapArtEntries(ArtList* list, int32_t i, int32_t j);

// object sort: by the distance to each object's bounds
ASErr SortByOriginDistance(ArtList* list);
void QuickSortByOriginDistance(ArtList* list, int32_t lo, int32_t hi);

// vector sort: each path or text from the end of the one placed before; rows without a
// start point, and rows no candidate position takes, follow in their former order
ASErr SortByNearestNeighbour(ArtList* list);

// cutter order of the main list: overlapping objects grouped, holes before outlines
ASErr SortCutObjects();
ASErr GroupOverlappingObjects(AIArtHandle parent, ArtList* list, int32_t lo, int32_t hi);
void QuickSortByGroupDistance(AIArtHandle top, ArtList* list, int32_t lo, int32_t hi);
// The art's own bounds under top, else its parent group's (kept in g->groupBounds).
ASErr GetGroupBounds(AIArtHandle top, AIArtHandle art, AIRealRect* out);

// Appends the closed frame around the main list's objects, widened by the frame-cut margins
// (millimetres on paper), for the frame-cut tool.
ASErr BuildCutFrame();
