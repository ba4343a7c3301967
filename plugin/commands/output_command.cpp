// "Output Plotter": one whole output run, from reading the settings to freeing every
// buffer. The run's records live only inside it; every way out gives them back.
#include <cstdio>
#include <cstdlib>

#include "plugin/conversion/art_lists.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/entry/plugin_resources.h"
#include "plugin/entry/run_services.h"
#include "plugin/entry/suite_table.h"
#include "plugin/output/job_dispatcher.h"
#include "plugin/output/job_lock.h"
#include "plugin/output/layer_table.h"
#include "plugin/output/output_dialog.h"
#include "plugin/records/document_records.h"
#include "plugin/records/page_setup_registry.h"
#include "plugin/records/prefs_file.h"
#include "plugin/settings/settings_file.h"
#include "plugin/settings/settings_folder.h"
#include "platform/code_pages.h"
#include "platform/ui/dialog_runner.h"
#include "sdk/ai_layer.h"

namespace {

// A settings block that cannot be had ends the run with this status.
constexpr ASErr kSettingsBlockMissing = 2;

template <typename Record>
void Release(Record*& record)
{
    std::free(record);
    record = nullptr;
}

// Another run holds the job files: said in the run's language, and nothing is changed.
void ShowJobFilesBusy()
{
    char format[256];
    int base = g->iLanguage == 0 ? kJapaneseRunMessages : kEnglishRunMessages;
    LoadResourceString(PluginResources(), base + kRunMessageJobFilesBusy, format, int(sizeof format),
                       kCodePageShiftJis);
    char folder[kPluginPrefsFolderLimit + 1];
    if (GetJobFilesFolder(folder, sizeof folder) != 0)
        folder[0] = '\0';
    char text[512];
    std::snprintf(text, sizeof text, format, folder);
    SetHostProgressText(text);
}

// The per-run records set to none, each one still held from before given back first.
void ClearRunRecords()
{
    Release(g->pCustomSizeList);
    Release(g->pPageSetup);
    g->fAbort = 0;
    Release(g->pPlotSettings);
    Release(g->pPaperList);
    g->pMainArtList = nullptr;
    g->pWorkArtList = nullptr;
    g->hWorkGroup = nullptr;
    g->hPlotGroup = nullptr;
}

// The settings blocks, the "Output to file" flag, the layer records and the art lists, in
// this order; the first status that is not 0 ends it.
ASErr PrepareRun()
{
    g->pPlotSettings = LoadPlotSettings();
    if (g->pPlotSettings == nullptr)
        return kSettingsBlockMissing;
    g->pPaperList = LoadPaperList();
    if (g->pPaperList == nullptr)
        return kSettingsBlockMissing;
    g->pCustomSizeList = LoadCustomSizeList();
    if (g->pCustomSizeList == nullptr)
        return kSettingsBlockMissing;
    ReadTextOutFlag();
    ASErr status = LoadLayerToolAssignments();
    if (status != kNoErr)
        return status;
    return AllocateArtLists();
}

// After "Output Plotter" in the dialog: the choices kept, the job run, the configuration
// layer locked again. The record's status comes first; the job's follows it.
ASErr OutputAfterDialog()
{
    WriteTextOutFlag();
    ASErr status = SaveLayerToolAssignments();
    ASErr job = RunPlotJob();
    if (status == kNoErr)
        status = job;
    AILayerHandle layer = nullptr;
    if (FindOwnLayer(kConfigurationLayer, &layer) == kNoErr && layer != nullptr)
        sAILayer->SetLayerEditable(layer, 0);
    return status;
}

void ReleaseRunRecords()
{
    Release(g->pPageSetup);
    Release(g->pPaperList);
    Release(g->pPlotSettings);
    Release(g->pCustomSizeList);
    Release(g->pLayerTable);
    FreeArtLists();
}

ASErr RunLockedOutput(AIMenuMessage* message)
{
    Release(g->pLayerTable);
    // from the run's block allocator, as the art lists are, so that a failure can be had
    g->pLayerTable = static_cast<LayerTable*>(AllocateListBlock(1, sizeof(LayerTable)));
    ClearRunRecords();
    ASErr status = g->pLayerTable != nullptr ? PrepareRun() : kOutOfMemoryErr;
    if (status == kNoErr) {
        int result = RunOutputDialog(message->d.self);
        if (result == kDialogOk)
            status = OutputAfterDialog();
        else if (result < 0)
            status = result;  // no dialog could be made: no silent success
    }
    ReleaseRunRecords();
    return status;
}

}  // namespace

ASErr RunOutputCommand(AIMenuMessage* message)
{
    AcquireSuites();
    ReadPrefsIni();
    ASErr status = LockJobFiles();
    if (status == kNoErr) {
        status = RunLockedOutput(message);
        UnlockJobFiles();
    } else {
        ShowJobFilesBusy();
    }
    ReleaseSuites();
    return status;
}
