// Per-run conversion, emitter and transfer state kept inside PluginGlobals.
// Each record is filled in by the part of the plug-in that owns it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// The page's plotting area in plotter units; bounds are inclusive.
struct PlotFrame {
    int32_t iYMin;
    int32_t iXMin;
    int32_t iXMax;
    int32_t iYMax;
};

// Added to every point after the axis turn, in plotter units.
struct OriginOffset {
    int32_t iDx;
    int32_t iDy;
};

// Joining of pen-down moves into one "PD" list, unpacked from iPdOptimize.
struct PdOptimisation {
    int16_t fPdJoin;
    int16_t wPdAngle;        // degrees of turn that still continue a list
    int16_t wPdMaxVertices;
};

// Dotted-line cutting values copied from the plot settings for the page.
struct Perforation {
    int16_t fDottedCut;
    int16_t wCutTool;        // slot number 1 to 10
    int16_t wCutPressure;    // grams
    int16_t wGapPressure;    // grams; 0 or less lifts the tool in the gaps
    int16_t wCutLength;      // plotter units
    int16_t wGapLength;
};

// Values set per page by the page conversion and read by the pen writer.
struct ConversionState {
    AIRealRect rPageBounds;  // document points; the rotation pivots on left and bottom
    int32_t iPageHeightPt;
    double dScaleX;          // 0 means no scaling
    double dScaleY;
    int16_t wUnitsPerMm;     // the page's copy of the plotter's units per millimetre
    int16_t wKanjiMode;      // label mode from wKanjiMode: 1 kuten, 2 alternate set, others plain
    PlotFrame plotFrame;
    OriginOffset originOffset;
    PdOptimisation pdOptimisation;
    Perforation perforation;
    double dTolerance;       // curve thinning tolerance in document points
    // errno of the first plot data write that failed in this run (-1 without one), 0 = none;
    // cleared at the start of an output run, so a truncated file is never sent as complete
    int32_t iWriteFailure;
    // host status that ended the conversion early (-108: an art list could not grow, so the
    // drawing would have been cut short); 0 = none. Cleared with the run's art lists; the
    // output run answers with it, so the plot data is never sent as complete.
    int32_t iRunFailure;
};

// Dash or perforation pattern of the path being emitted, in plotter units.
struct DashTable {
    int16_t fDashing;
    int16_t fPerforating;    // force changes instead of lifting the pen
    int16_t wDashCount;
    int32_t iDashRemain;     // left of the current dash or gap, carried across segments
    int32_t iDashIndex;      // even = draw, odd = gap
    int32_t aDashLength[6];
};

// The pen writer's positions and the open joined "PD" list.
struct EmitterState {
    PlotPoint ptLastPen;     // after the axis turn, before the offset; -200000 = none
    PlotPoint ptLastClip;    // after the offset; 2147483647 = none
    PlotPoint ptLastWritten; // 2147483647 = none
    int16_t wPdHistory;      // points held in aPdHistory, 0 to 2
    PlotPoint aPdHistory[2]; // last two points of the pen-down chain, older first
    int16_t wPdOpen;         // vertices in the open joined list; 0 = none open
    DashTable dash;
    int16_t wCurrentPen;     // slot index last selected with "SP"; -1 = none
    int32_t iObjectCount;    // paths and text frames emitted on the page
    int16_t wLastPercent;    // progress percentage last shown
    char szProgressMessage[256];  // stage text last shown
};

// The port transfer, one step per call; see send_machine.h.
constexpr int kSendChunkSize = 4096;
struct SendMachine {
    int16_t wSendStep;       // 0 to 20
    int16_t fSendBusy;       // 1 while a step runs
    int16_t fSendDone;
    int32_t hPort;           // -1 = none
    unsigned char abSendBuffer[kSendChunkSize + 1];  // last chunk of the plot data file and a NUL
    int32_t hSendFile;       // -1 = none
    int32_t iBufPos;
    int32_t iBufLength;      // bytes of the chunk in abSendBuffer, so a NUL in the data is sent
    int32_t iBytesSent;
    int32_t iFileSize;
    int32_t iFirstError;     // error number of the first port error of the run; 0 = none
    int16_t fPreview;
    int16_t fNetwork;
    int16_t fSaveToFile;
    int16_t fNoPort;         // 1 = open no port and skip every port step
    int16_t wStalledCalls;   // streaming calls in a row whose byte the port did not take
    uint32_t dwStallStart;   // tick count when the port last stopped taking bytes
    int16_t wFirstMessage;   // message code of the first error (kPortMessage...); 0 = none
    char szShownText[256];   // the status or error text last shown
};

// Bounds of the groups the cutter order made, kept for one grouping call and its sorts.
constexpr int16_t kGroupBoundsCacheSize = 256;
struct GroupBoundsCache {
    int16_t wCount;
    AIArtHandle ahGroup[kGroupBoundsCacheSize];
    AIRealRect arBounds[kGroupBoundsCacheSize];
};
