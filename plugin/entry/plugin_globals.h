// The plug-in's one state record, allocated through the host at start-up and handed
// back with every message.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"
#include "plugin/entry/run_state.h"
#include "plugin/settings/settings_records.h"

struct ArtList;
struct LayerTable;

// Four doubles top, left, right, bottom in artwork points.
struct PlotAreaRect {
    double top;
    double left;
    double right;
    double bottom;
};

struct PluginGlobals {
    // host handles
    AIMenuItemHandle hAboutItem;
    AIMenuItemHandle hConfigItem;
    AIMenuItemHandle hOutputItem;
    AIToolHandle ahTool[5];

    // plot-area tracking
    int16_t wTrackState;
    RealPoint ptCursor;
    PlotAreaRect rPageArea;
    PlotAreaRect rPaperArea;
    int16_t fBandDrawn;
    IntRect rBandPage;
    IntRect rBandPaper;

    // sort origin
    RealPoint ptSortOrigin;
    int16_t fSortAxis;       // set: h is weighted double in the orderings, else v

    // curve tables
    BezierTables tables;

    // per-run records, none outside a run; allocated with std::malloc or std::calloc, since
    // FreePlotBuffers gives the ones still held back with std::free
    ArtList* pMainArtList;
    ArtList* pWorkArtList;
    AIArtHandle hWorkGroup;
    AIArtHandle hPlotGroup;
    LayerTable* pLayerTable;
    PageSetup* pPageSetup;
    PlotSettings* pPlotSettings;
    CustomSizeList* pCustomSizeList;
    PaperList* pPaperList;

    // run state
    int16_t fAbort;
    int16_t wUnitsPerMm;
    int16_t fRotate;
    ConversionState conversion;
    EmitterState emitter;
    FILE* hPlotDataFile;
    SendMachine sendMachine;
    GroupBoundsCache groupBounds;

    // output-dialog registry flags
    int16_t fTextOut;

    // identity
    int16_t iLanguage;
    char szProductName[64];
    char szVersion[64];
};

// Set by every message from its record; null outside Startup..Shutdown.
extern PluginGlobals* g;
