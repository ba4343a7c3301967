// The configuration layer: the plot area as two rectangles (the paper and the printable
// page) on a locked layer of the plug-in's own, and the page record they are made from.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/entry/plugin_globals.h"

// Finds or creates the configuration layer, replaces its rectangle paths (the text records
// stay) with g->rPaperArea and g->rPageArea when withRects is set, and locks it.
void BuildConfigurationLayer(int16_t withRects);

// Loads a fresh page record into g->pPageSetup and computes the paper and the page
// rectangle in artwork points with the page's lower-left corner at origin. False, with both
// rectangles left as they were, when no record can be had, its scale is not positive or a
// corner lies beyond whole 32-bit numbers.
bool ComputePlotAreaRects(RealPoint origin, PlotAreaRect* paper, PlotAreaRect* page);

// The lower-left corner of page pageNo (1 for the first) of the plot area in the document:
// the shorter of the layer's two rectangles (the taller one when taller is set), the
// following pages one such rectangle to the right (horizontal set) or above. (0, 0) unless
// the layer holds exactly two paths. Leaves the layer unlocked.
void GetPlotAreaOrigin(RealPoint* origin, int16_t taller, int16_t horizontal, int32_t pageNo);

// The held page record, loaded from the registry when none is held, overlaid by the
// document's page record on every call and limited as LimitPageSetup does; null when none
// can be had.
PageSetup* GetPageSetup();

// Places the plot area with the page's lower-left corner at origin: both rectangles from a
// fresh page record (ComputePlotAreaRects), the layer rebuilt and the record kept in the
// document. A record that ComputePlotAreaRects refuses changes nothing in the document and
// leaves g->rPaperArea and g->rPageArea; false then.
bool PlacePlotArea(RealPoint origin);

// After OK in the configuration program: the plot area placed from the fresh page record
// with the first page where it lay (or at (0, 0) without two rectangles). A refused record
// leaves the document as it was, the configuration layer's lock included; false then.
bool ApplyPageSetupToPlotArea();
