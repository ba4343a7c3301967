#include "plugin/settings/settings_defaults.h"

#include "plugin/settings/settings_program.h"

#include <cstring>

namespace {

// The network plotter interface's factory address.
const char kDefaultHost[] = "192.168.0.100";

struct DefaultPaper {
    const char* name;   // code page 932
    int16_t width;
    int16_t height;
    int16_t roll;
};

// The eleventh row lies outside the count, as the system has always written it.
const DefaultPaper kDefaultPapers[] = {
    {"A0", 841, 1190, 0},
    {"A1", 594, 841, 0},
    {"A1(\x89\xA1)", 841, 594, 0},
    {"A2", 420, 594, 0},
    {"A2(\x89\xA1)", 594, 420, 0},
    {"A3", 297, 420, 0},
    {"A3(\x89\xA1)", 420, 297, 0},
    {"Roll(1020)", 1020, 3000, 1},
    {"Roll(1000)", 1000, 3000, 1},
    {"Roll(950)", 950, 3000, 1},
    {"Roll(920)", 920, 3000, 1},
};

void SetMargins(MarginRect& r, int32_t value)
{
    r.top = value;
    r.left = value;
    r.right = value;
    r.bottom = value;
}

} // namespace

void SetToolSlot(PlotSettings* settings, int index, int16_t type, double thickness,
    double red, double green, double blue, int16_t colorFlag)
{
    if (settings == nullptr || index < 0 || index >= kToolSlotCount)
        return;
    ToolSlot& slot = settings->aToolSlot[index];
    slot.wType = type;
    slot.wThickness = static_cast<int16_t>(thickness * 100.0 + 0.5);
    slot.wRed = static_cast<int16_t>(red * 100.0);
    slot.wGreen = static_cast<int16_t>(green * 100.0);
    slot.wBlue = static_cast<int16_t>(blue * 100.0);
    slot.fColor = colorFlag;
}

void SetDefaultPlotSettings(PlotSettings* s)
{
    std::memset(s, 0, sizeof *s);
    s->wVersion = CurrentSettingsProgram() == kSettingsConfig ? kConfigBlockVersion
                                                              : kPluginBlockVersion;
    s->wOutlineSize = 0;
    SetMargins(s->rSheetMargin, 15);
    SetMargins(s->rRollMargin, 15);
    s->wSortMode = 1;
    s->fOverlap = 1;
    s->fPenOrderOff = 0;
    s->wKanjiMode = 2;
    s->wPaperOrigin = 0;
    s->wReservedA = 40;
    SetToolSlot(s, 0, kToolWaterBallPen, 0.0, 100, 0, 0, 1);
    SetToolSlot(s, 1, kToolWaterBallPen, 0.0, 0, 100, 0, 1);
    SetToolSlot(s, 2, kToolWaterBallPen, 0.0, 0, 0, 100, 1);
    SetToolSlot(s, 3, kToolWaterBallPen, 0.0, 0, 0, 0, 1);
    SetToolSlot(s, 4, kToolPlasticPen, 0.5, 0, 0, 0, 0);
    SetToolSlot(s, 5, kToolPlasticPen, 0.3, 0, 0, 0, 0);
    SetToolSlot(s, 7, kToolPenCutter, 0.0, 0, 0, 0, 0);
    s->fFrameCut = 0;
    s->wFrameCutTool = 8;
    SetMargins(s->rFrameCutMargin, 5);
    s->wRollPageLength = 3000;
    s->fDottedCut = 0;
    s->wCutTool = 8;
    s->wCutPressure = 50;
    s->wGapPressure = 20;
    s->wCutLength = 150;
    s->wGapLength = 30;
    s->wPort = 0;
    s->wBaudIndex = 4;
    s->wDataBitsIndex = 1;
    s->wStopBitsIndex = 0;
    s->wParityIndex = 0;
    s->wFlowControl = 1;
    std::memcpy(s->szHost, kDefaultHost, sizeof kDefaultHost);
    s->iTcpPort = 1024;
    s->iPlotterUnit = 40;
    s->iTolerance = 2;
    s->iPdOptimize = 0;
    std::memcpy(s->szFooter, "PG;", 4);
}

void SetDefaultPaperList(PaperList* list)
{
    std::memset(list, 0, sizeof *list);
    list->wCount = kDefaultPaperCount;
    int row = 0;
    for (const DefaultPaper& paper : kDefaultPapers) {
        PaperEntry& entry = list->aEntry[row++];
        std::strncpy(entry.szName, paper.name, sizeof entry.szName - 1);
        entry.wWidth = paper.width;
        entry.wHeight = paper.height;
        entry.fRoll = paper.roll;
    }
}
