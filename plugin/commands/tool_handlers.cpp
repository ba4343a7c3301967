// The plot-area tool's messages: tracking from mouse down to mouse up, the rubber band while
// dragging, the placement of the plot area on mouse up.
#include "sdk/ai_real_math.h"
#include "plugin/records/configuration_layer.h"
#include "plugin/records/document_records.h"
#include "plugin/records/plot_area_tool.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/entry/run_services.h"
#include "plugin/entry/suite_table.h"

ASErr HandleToolEditOptions(AIToolMessage* message) { return kNoErr; }

ASErr HandleToolTrackCursor(AIToolMessage* message) { return HandleToolMouseDrag(message); }

ASErr HandleToolMouseDown(AIToolMessage* message)
{
    if (IsPlotAreaTool(message) && g->wTrackState == 0)
        g->wTrackState = 1;
    return kNoErr;
}

ASErr HandleToolMouseDrag(AIToolMessage* message)
{
    if (g == nullptr || sAIRealMath->AIRealPointEqual(&message->cursor, &g->ptCursor))
        return kNoErr;
    g->ptCursor = message->cursor;
    if (IsPlotAreaTool(message))
        TrackPlotArea(message);
    return kNoErr;
}

ASErr HandleToolMouseUp(AIToolMessage* message)
{
    if (!IsPlotAreaTool(message) || g->wTrackState != 1)
        return kNoErr;
    const RealPoint origin = g->ptCursor;
    EndPlotAreaTracking();
    // A page record without a usable scale places nothing: the plot area stays where it was.
    if (PlacePlotArea(origin))
        SetPlotAreaUndoTexts();
    else
        PlayMessageBeep();
    ResetPlotAreaTracking();
    return kNoErr;
}

ASErr HandleToolSelect(AIToolMessage* message)
{
    if (g != nullptr)
        ResetPlotAreaTracking();
    return kNoErr;
}

ASErr HandleToolDeselect(AIToolMessage* message) { return kNoErr; }
