// The HP-GL pen writer: document points to plotter units on the page's plot frame,
// clipping to the frame, the pen commands and their joining into "PD" lists, written
// straight into the plot data file. Reads g->conversion and keeps g->emitter.
#pragma once

#include <cstdint>

#include "plugin/hpgl/geometry_types.h"

constexpr int32_t kNoLastPen = -200000;
constexpr int32_t kNoPlotPoint = 2147483647;
// iPdOptimize of 0 or less: joining off, 30 degrees, 512 vertices.
constexpr int32_t kDefaultPdOptimize = 0x001E0200;

// Page rotation and scale in document space.
void TransformPoint(RealPoint* point);

// One coordinate in document points to plotter units, through single precision.
int32_t PointsToPlotterUnits(double coordinate);

// (x, y) becomes (y, -x); returns the new y.
int32_t RotatePlotterPoint(PlotPoint* point);

// Adds the offsets; returns the new y.
int32_t OffsetPlotterPoint(PlotPoint* point, int32_t dx, int32_t dy);

// Pen-up and pen-down moves to a document point.
void EmitMoveTo(const RealPoint* point);
void EmitDrawTo(const RealPoint* point);

// Clips the move from the last clip point to point (after the origin offset) against the
// plot frame and writes what lies inside.
void ClipAndEmit(int16_t fZf, int16_t force, int16_t tool, PlotPoint point, int16_t fPenDown);

// Writes one move: "PU", "PD", a joined "PD" list vertex, or the force-and-tool form.
void EmitPenCommand(int16_t fZf, int16_t force, int16_t tool, PlotPoint point, int16_t fPenDown);

// Walks the active dash or perforation pattern from one pen position to the next
// (plotter units, after the axis turn, before the origin offset). A pattern without a
// positive length, or one that would cut the move into millions of pieces, draws it solid.
void WalkDashPattern(PlotPoint from, PlotPoint to);

// Writes the text's bytes to the plot data file in one write; the count, 0 on failure.
// The first failure of a run is kept in g->conversion.iWriteFailure.
int32_t WritePlotString(const char* text);

// Keeps error (-1 for an unknown one) in g->conversion.iWriteFailure unless the run already
// failed: the plot data file is incomplete and must not be sent.
void NoteWriteFailure(int error);

// Unpacks iPdOptimize into g->conversion.pdOptimisation.
void SetPdOptimisation(int32_t iPdOptimize);

// Start of a page: no last pen position, nothing written yet, no clip point.
void ResetPenWriterPage();

// Start of a path: no clip point, no pen-down chain, no open list.
void ResetPenWriterPath();

// Closes an open joined "PD" list with ";" (end of a path).
void CloseJoinedList();

// A written plotter point back in document points, for the debug trace.
RealPoint PlotterPointToTracePoint(PlotPoint point);

// Debug mode: a path of two corner points (document points) in the plotting group, so that
// the user sees on the artwork what went to the plotter.
void DrawTraceStroke(RealPoint from, RealPoint to);
