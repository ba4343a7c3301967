// The plot-area tool: tracking from mouse down to mouse up, the inverting rubber band of the
// paper and page rectangles on the document's canvas, and the placement on mouse up.
#pragma once

#include <cstdint>

#include "sdk/ai_document_view.h"
#include "sdk/sp_message.h"

// True when the message is for the plot-area tool (element 0 of g->ahTool).
bool IsPlotAreaTool(const AIToolMessage* message);
// The host's undo and redo texts of a placement, in the language of g->iLanguage.
void SetPlotAreaUndoTexts();

// DrawPlotAreaFeedback, then the tool's cursor.
void TrackPlotArea(AIToolMessage* message);
// The cursor resource of the plug-in module as the current cursor; the status of finding the
// module.
ASErr SetToolCursor(SPPluginRef self, int cursorId);
// Erases the band last drawn and draws the one at g->ptCursor; nothing unless tracking, and
// no band when the page record cannot be had or the canvas cannot be found.
void DrawPlotAreaFeedback();
// Idle, cursor (0, 0), no band, band rectangles zero.
void ResetPlotAreaTracking();
// Idle and cursor (0, 0); the band fields stay.
void EndPlotAreaTracking();
// The canvas the view draws on, when it lies in the document window (the top-level window
// whose title holds " @ "); null otherwise.
AIWindowHandle FindDocumentCanvasWindow();
// The windows after window in next-sibling order (0 for the last).
int32_t CountFollowingSiblings(AIWindowHandle window);

// The undo and redo texts of a placement in code page 932, for the language word.
const char* PlotAreaUndoText(int16_t language);
const char* PlotAreaRedoText(int16_t language);
