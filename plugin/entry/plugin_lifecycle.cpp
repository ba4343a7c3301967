// Start-up, shut-down, unload and reload of the plug-in, and its state record.
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/records/prefs_file.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const char kProductName[] = "TRAVEX-Pro";
const char kVersionText[] = "4.5.0.5";

template <typename Record>
void FreeHeld(Record*& record)
{
    std::free(record);
    record = nullptr;
}

}  // namespace

ASErr InitPluginGlobals(SPMessageData* message)
{
    // every field starts as zero; the ones start-up names get their values here
    new (g) PluginGlobals{};
    g->hAboutItem = nullptr;
    g->hConfigItem = nullptr;
    g->hOutputItem = nullptr;
    for (AIToolHandle& tool : g->ahTool)
        tool = nullptr;
    g->wTrackState = 0;
    g->ptCursor = RealPoint{0, 0};
    g->rPageArea = PlotAreaRect{0, 0, 0, 0};
    g->rPaperArea = PlotAreaRect{0, 0, 0, 0};
    g->fBandDrawn = 0;
    g->rBandPage = IntRect{};
    g->rBandPaper = IntRect{};
    g->pMainArtList = nullptr;
    g->pWorkArtList = nullptr;
    g->hWorkGroup = nullptr;
    g->hPlotGroup = nullptr;
    g->pLayerTable = nullptr;
    g->pPageSetup = nullptr;
    g->pPlotSettings = nullptr;
    g->pCustomSizeList = nullptr;
    g->pPaperList = nullptr;
    g->wUnitsPerMm = 40;
    g->iLanguage = 0;
    std::memcpy(g->szProductName, kProductName, sizeof kProductName);
    std::memcpy(g->szVersion, kVersionText, sizeof kVersionText);
    return kNoErr;
}

void FreePlotBuffers()
{
    if (g == nullptr)
        return;
    FreeHeld(g->pLayerTable);
    FreeHeld(g->pPlotSettings);
    FreeHeld(g->pPaperList);
    FreeHeld(g->pPageSetup);
    FreeHeld(g->pCustomSizeList);
}

ASErr HandleStartup(SPMessageData* message)
{
    void* block = nullptr;
    ASErr status = sSPBasic->AllocateBlock(sizeof(PluginGlobals), &block);
    if (status != kNoErr)
        return status;
    g = static_cast<PluginGlobals*>(block);
    message->globals = block;
    InitPluginGlobals(message);
    ReadPrefsIni();
    ASErr menus = AddMenus(message);
    BuildBezierTables();
    if (menus != kNoErr)
        return menus;
    return AddTools(message);
}

ASErr HandleShutdown(SPMessageData* message)
{
    if (g == nullptr)
        return kNoErr;
    FreePlotBuffers();
    sSPBasic->FreeBlock(g);
    g = nullptr;
    message->globals = nullptr;
    return kNoErr;
}

ASErr HandleUnload(SPMessageData* message)
{
    // the host keeps the block while the code is away and hands it back on Reload
    message->globals = g;
    return kNoErr;
}

ASErr HandleReload(SPMessageData* message)
{
    wSuiteNesting = 0;
    return kNoErr;
}

ASErr HandleAbout(SPMessageData* message)
{
    ShowAboutBox(message);
    return kNoErr;
}
