#include "tools/conversion/conversion_driver.h"

#include <cstdlib>
#include <cstring>

#include "sdk/ai_layer.h"
#include "plugin/conversion/art_lists.h"
#include "host/suites/basic_suite.h"
#include "host/document/document.h"
#include "plugin/records/document_records.h"
#include "plugin/hpgl/geometry.h"
#include "host/session/host_session.h"
#include "plugin/output/job_lock.h"
#include "plugin/output/layer_table.h"
#include "plugin/conversion/page_conversion.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/settings_defaults.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/text_engine.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"

void InitConversionJob(ConversionJob* job)
{
    SetDefaultPlotSettings(&job->settings);
    job->page = PageSetup{};
    job->page.Scale = 10000;
    job->page.rPage = PageRect{0, 0, 210, 297};
    job->page.rPaper = job->page.rPage;
    job->page.Width = 210;
    job->page.Height = 297;
    job->page.iFstPage = 1;
    job->page.iLstPage = 1;
}

static void FillLayerTable(const ConversionJob& job)
{
    ASInt32 count = 0;
    sAILayer->CountLayers(&count);
    for (ASInt32 n = 0; n < count; ++n) {
        AILayerHandle layer = nullptr;
        char title[256];
        if (sAILayer->GetNthLayer(n, &layer) != kNoErr ||
            sAILayer->GetLayerTitle(layer, title, sizeof title) != kNoErr || IsOwnLayerTitle(title))
            continue;
        int16_t tool = 0;
        for (const auto& [name, slot] : job.layers)
            if (name == title)
                tool = slot;
        AddLayerRow(tool > 0 ? 1 : 0, title, tool > 0 ? tool : 1);
    }
}

// The conversion itself, while the job files are held.
static int ConvertLocked(const ConversionJob& job, std::string* plotDataPath, std::string* error)
{
    host::Document document;
    std::string reason;
    if (!host::LoadSvgDocument(job.drawing, document, reason)) {
        *error = reason;
        return 1;
    }
    host::TheSession().document = &document;
    sSPBasic = host::HostBasicSuite();
    if (AcquireSuites() != kNoErr) {
        *error = "the host's suites could not be acquired";
        host::TheSession().document = nullptr;
        return 1;
    }
    host::InstallTextEngine();

    PluginGlobals* globals = static_cast<PluginGlobals*>(std::calloc(1, sizeof(PluginGlobals)));
    PlotSettings settings = job.settings;
    PageSetup page = job.page;
    LayerTable* table = static_cast<LayerTable*>(std::calloc(1, sizeof(LayerTable)));
    int status = 0;
    if (!globals || !table) {
        *error = "out of memory";
        status = 1;
    } else {
        g = globals;
        BuildBezierTables();
        g->pPlotSettings = &settings;
        g->pPageSetup = &page;
        g->pLayerTable = table;
        g->wUnitsPerMm = static_cast<int16_t>(settings.iPlotterUnit > 0 ? settings.iPlotterUnit : 40);
        FillLayerTable(job);
        if (AllocateArtLists() != kNoErr) {
            *error = "the art lists could not be allocated";
            status = 1;
        } else {
            ConvertAllPages();
            FreeArtLists();
            if (g->conversion.iRunFailure != 0) {
                *error = "the conversion ended early (status " + std::to_string(g->conversion.iRunFailure) +
                         (g->conversion.iRunFailure == kOutOfMemoryErr ? ", out of memory" : "") +
                         "); the plot data file is incomplete";
                status = 1;
            } else if (g->conversion.iWriteFailure != 0) {
                *error = std::string("the plot data file could not be written: ") +
                         (g->conversion.iWriteFailure > 0 ? std::strerror(g->conversion.iWriteFailure) : "unknown");
                status = 1;
            }
        }
        char path[512];
        GetPlotDataFilePath(path, sizeof path);
        *plotDataPath = path;
        g = nullptr;
    }
    std::free(table);
    std::free(globals);
    ReleaseSuites();
    host::TheSession().document = nullptr;
    return status;
}

int RunConversionJob(const ConversionJob& job, std::string* plotDataPath, std::string* error)
{
    // An output run writes the same plot data file: one of the two at a time.
    if (LockJobFiles() != 0) {
        char folder[512];
        if (GetJobFilesFolder(folder, sizeof folder) != 0)
            folder[0] = '\0';
        *error = std::string("another output run is using the job files in ") + folder + "; nothing was converted";
        return 1;
    }
    int status = ConvertLocked(job, plotDataPath, error);
    UnlockJobFiles();
    // what the caller prints next starts a line of its own, not the progress bar's
    host::EndProgressLine();
    return status;
}
