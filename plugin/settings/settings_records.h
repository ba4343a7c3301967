// Fixed-layout records of the settings file TRAVEX2K.INI and the page setup record.
// Little-endian, the same bytes in memory and in the file.
#pragma once

#include <cstddef>
#include <cstdint>

struct MarginRect {
    int32_t top;
    int32_t left;
    int32_t right;
    int32_t bottom;
};

struct ToolSlot {
    int16_t wType;       // ToolType 1..11; anything else is an empty slot
    int16_t wThickness;  // hundredths of a millimetre
    int16_t wRed;        // 0..10000
    int16_t wGreen;
    int16_t wBlue;
    int16_t fColor;
};

enum ToolType : int16_t {
    kToolKnockPencil = 1,
    kToolOilyBallPen = 2,
    kToolWaterBallPen = 3,
    kToolCeramicsPen = 4,
    kToolPlasticPen = 5,
    kToolDrawingPen = 6,
    kToolScriber = 7,
    kToolNeedle = 8,
    kToolPenCutter = 9,
    kToolSingleEdgedCutter = 10,
    kToolDoubleEdgedCutter = 11,
};

constexpr int kToolSlotCount = 10;

struct PlotSettings {
    int16_t wVersion;
    int16_t wOutlineSize;
    MarginRect rSheetMargin;
    MarginRect rRollMargin;
    int16_t wSortMode;
    int16_t fOverlap;
    int16_t fPenOrderOff;
    int16_t wKanjiMode;
    int16_t wPaperOrigin;
    int16_t wReservedA;
    int16_t fDebugMode;
    int16_t fLineOptOff;
    int16_t fErrorAdjust;
    int16_t wReservedB;
    ToolSlot aToolSlot[kToolSlotCount];
    int16_t fFrameCut;
    int16_t wFrameCutTool;
    MarginRect rFrameCutMargin;
    int16_t wRollPageLength;
    int16_t fDottedCut;
    int16_t wCutTool;
    int16_t wCutPressure;
    int16_t wGapPressure;
    int16_t wCutLength;
    int16_t wGapLength;
    int16_t wReservedC;
    int16_t wPort;
    int16_t wBaudIndex;
    int16_t wDataBitsIndex;
    int16_t wStopBitsIndex;
    int16_t wParityIndex;
    int16_t wFlowControl;
    char szHost[128];
    int32_t iTcpPort;
    int32_t iPlotterUnit;
    int32_t iTolerance;
    int32_t iPdOptimize;
    int32_t iReservedD;
    char szHeader[128];
    char szFooter[128];
};

struct PaperEntry {
    char szName[64];     // code page 932, NUL-terminated
    int16_t wWidth;      // mm
    int16_t wHeight;     // mm
    int16_t fRoll;
};

constexpr int kPaperListRows = 99;

// The paper list block, in the one form both programs read and write.
struct PaperList {
    int16_t wCount;
    PaperEntry aEntry[kPaperListRows];
    int16_t wReservedE;
    int16_t wUnit;       // the configuration program's display unit: 0 inch, 1 mm, 2 pixel
    int16_t wReservedF;
};

struct CustomSizeEntry {
    char szName[64];
    int16_t wWidth;
    int16_t wHeight;
    int16_t wKind;
    int16_t wReserved;
    int32_t iScale;      // percent times 100
    int32_t iReserved;
};

struct CustomSizeList {
    int16_t wCount;
    int16_t wReserved;
    CustomSizeEntry aEntry[kPaperListRows];
};

// The page record: sixteen int32 values; rectangles stored top, left, right, bottom.
struct PageRect {
    int32_t top;
    int32_t left;
    int32_t right;
    int32_t bottom;
};

// The largest magnitude the readers take for a page record's values and the margins, each
// in its own unit (millimetres for lengths): far beyond any plotter, far below overflow.
constexpr int32_t kPageValueLimit = 100000;

struct PageSetup {
    int32_t Orientation;
    int32_t Size;
    int32_t Width;
    int32_t Height;
    int32_t Scale;
    int32_t pisroll;
    PageRect rPage;
    PageRect rPaper;
    int32_t iFstPage;
    int32_t iLstPage;
};

static_assert(sizeof(MarginRect) == 16);
static_assert(sizeof(ToolSlot) == 12);
static_assert(sizeof(PlotSettings) == 628);
static_assert(offsetof(PlotSettings, wOutlineSize) == 2);
static_assert(offsetof(PlotSettings, rSheetMargin) == 4);
static_assert(offsetof(PlotSettings, rRollMargin) == 20);
static_assert(offsetof(PlotSettings, wSortMode) == 36);
static_assert(offsetof(PlotSettings, fOverlap) == 38);
static_assert(offsetof(PlotSettings, fPenOrderOff) == 40);
static_assert(offsetof(PlotSettings, wKanjiMode) == 42);
static_assert(offsetof(PlotSettings, wPaperOrigin) == 44);
static_assert(offsetof(PlotSettings, wReservedA) == 46);
static_assert(offsetof(PlotSettings, fDebugMode) == 48);
static_assert(offsetof(PlotSettings, fLineOptOff) == 50);
static_assert(offsetof(PlotSettings, fErrorAdjust) == 52);
static_assert(offsetof(PlotSettings, aToolSlot) == 56);
static_assert(offsetof(PlotSettings, fFrameCut) == 176);
static_assert(offsetof(PlotSettings, wFrameCutTool) == 178);
static_assert(offsetof(PlotSettings, rFrameCutMargin) == 180);
static_assert(offsetof(PlotSettings, wRollPageLength) == 196);
static_assert(offsetof(PlotSettings, fDottedCut) == 198);
static_assert(offsetof(PlotSettings, wCutTool) == 200);
static_assert(offsetof(PlotSettings, wCutPressure) == 202);
static_assert(offsetof(PlotSettings, wGapPressure) == 204);
static_assert(offsetof(PlotSettings, wCutLength) == 206);
static_assert(offsetof(PlotSettings, wGapLength) == 208);
static_assert(offsetof(PlotSettings, wPort) == 212);
static_assert(offsetof(PlotSettings, wBaudIndex) == 214);
static_assert(offsetof(PlotSettings, wDataBitsIndex) == 216);
static_assert(offsetof(PlotSettings, wStopBitsIndex) == 218);
static_assert(offsetof(PlotSettings, wParityIndex) == 220);
static_assert(offsetof(PlotSettings, wFlowControl) == 222);
static_assert(offsetof(PlotSettings, szHost) == 224);
static_assert(offsetof(PlotSettings, iTcpPort) == 352);
static_assert(offsetof(PlotSettings, iPlotterUnit) == 356);
static_assert(offsetof(PlotSettings, iTolerance) == 360);
static_assert(offsetof(PlotSettings, iPdOptimize) == 364);
static_assert(offsetof(PlotSettings, iReservedD) == 368);
static_assert(offsetof(PlotSettings, szHeader) == 372);
static_assert(offsetof(PlotSettings, szFooter) == 500);
static_assert(sizeof(PaperEntry) == 70);
static_assert(sizeof(PaperList) == 6938);
static_assert(offsetof(PaperList, aEntry) == 2);
static_assert(offsetof(PaperList, wUnit) == 6934);
static_assert(sizeof(CustomSizeEntry) == 80);
static_assert(offsetof(CustomSizeEntry, iScale) == 72);
static_assert(sizeof(CustomSizeList) == 7924);
static_assert(offsetof(CustomSizeList, aEntry) == 4);
static_assert(sizeof(PageSetup) == 64);
static_assert(offsetof(PageSetup, rPage) == 24);
static_assert(offsetof(PageSetup, rPaper) == 40);
static_assert(offsetof(PageSetup, iFstPage) == 56);

// Settings file layout.
constexpr int16_t kSettingsFileVersion = 302;
constexpr long kPlotSettingsOffset = 2;
constexpr long kPaperListOffset = 1538;
constexpr long kCustomSizeListOffset = 9730;
constexpr long kSettingsFileSize = 17922;
