#include "plugin/settings/settings_program.h"

namespace {

SettingsProgram g_program = kSettingsPlugin;
PlotSettings* g_initPlotSettings = nullptr;
PaperList* g_initPaperList = nullptr;

} // namespace

void SetSettingsProgram(SettingsProgram program)
{
    g_program = program;
}

SettingsProgram CurrentSettingsProgram()
{
    return g_program;
}

void SetInitSettingsBlocks(PlotSettings* plotSettings, PaperList* paperList)
{
    g_initPlotSettings = plotSettings;
    g_initPaperList = paperList;
}

void GetInitSettingsBlocks(PlotSettings** plotSettings, PaperList** paperList)
{
    *plotSettings = g_initPlotSettings;
    *paperList = g_initPaperList;
}
