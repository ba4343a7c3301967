// The plug-in's two work layers: the temporary layer that holds copies of a chunk's objects
// (groups flattened, symbols placed, large text outlined), the overlap union of the cutter
// class with the tool carried in each shape's stroke width, and the plotting layer for the
// emitter's trace.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/ai_pathfinder.h"
#include "sdk/ai_types.h"
#include "plugin/conversion/art_lists.h"
#include "plugin/hpgl/geometry_types.h"

// Font sizes (points) from which text becomes outlines, by wOutlineSize 0 to 7.
extern const double TextOutlineThresholds[8];

// Re-creates the temporary layer, makes sure the plotting layer exists, and replaces the
// main list by a list of copies. -108 when the new list cannot be had: the main list is then
// emptied and the run aborted, so the user's own objects are never marked or united.
ASErr BuildWorkLayers();

// Copies art into target by its type; each top-level copy is appended to list when given.
// matrix: six doubles a, b, c, d, tx, ty, or null; offset is added before the matrix.
void CopyArtToGroup(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool,
                    const double* matrix, RealPoint offset);

// Marks tools in stroke widths, selects the closed shapes of the main list and unites them.
// With fCollect set, first appends the paths and compound paths of every visible layer.
ASErr UniteOverlaps(int16_t fCollect);
ASErr MarkToolWidths();
ASErr SetToolWidth(AIArtHandle art, int16_t wTool);
// Tool slot index from a stroke width of wTool / 10 points.
int16_t ToolFromStrokeWidth(double width);
// Appends every path under art to the main list with the tool its stroke width carries.
ASErr CollectPathsByWidth(AIArtHandle art);
// The same, entering groups only: compound paths are appended whole.
ASErr CollectShapesByWidth(AIArtHandle art);

// Removes both work layers (debug mode: hides and locks them), never the last layer, then
// empties the main list.
ASErr ClearWorkLayers();

AIPathfinderMessage* SetPathfinderMessage(AIPathfinderMessage* message, int32_t value, void* p1,
                                          void* p2, void* p3);
AIPathfinderMessage* InitPathfinderMessage(AIPathfinderMessage* message);
// The options the unite is given, with its art set.
void FillPathfinderData(AIPathfinderData* data, AIArtHandle* arts, int32_t count);

// Joins the list's open paths whose ends meet within 0.1 points, then closes paths whose
// ends meet.
ASErr JoinOpenPaths(ArtList* list);
// Appends the selected paths and compound paths under art to arts, at most 256.
ASErr CollectSelectedShapes(AIArtHandle art, AIArtHandle* arts, int16_t* count);

