#include "tools/conversion/conversion_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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
#include "plugin/entry/run_services.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/text_engine.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"

namespace {

constexpr int32_t kLastPageNumber = 32767;

bool FilledToolSlot(const PlotSettings& settings, int16_t slot)
{
    const int16_t type = settings.aToolSlot[slot - 1].wType;
    return type > 0 && type < 12;
}

// The user's layer titles of the drawing, the plug-in's own layers passed over.
std::vector<std::string> UserLayerTitles()
{
    std::vector<std::string> titles;
    ASInt32 count = 0;
    sAILayer->CountLayers(&count);
    for (ASInt32 n = 0; n < count; ++n) {
        AILayerHandle layer = nullptr;
        char title[256];
        if (sAILayer->GetNthLayer(n, &layer) == kNoErr &&
            sAILayer->GetLayerTitle(layer, title, sizeof title) == kNoErr && !IsOwnLayerTitle(title))
            titles.push_back(title);
    }
    return titles;
}

// The first layer of the job that the drawing does not hold; empty when all are there.
std::string MissingLayer(const ConversionJob& job)
{
    const std::vector<std::string> titles = UserLayerTitles();
    for (const auto& [name, slot] : job.layers)
        if (std::find(titles.begin(), titles.end(), name) == titles.end())
            return name;
    return "";
}

}  // namespace

std::string CheckConversionJob(const ConversionJob& job)
{
    if (job.layers.empty())
        return "no layer to convert (name one with --layer TITLE=TOOL)";
    for (const auto& [name, slot] : job.layers) {
        if (slot < 1 || slot > kToolSlotCount)
            return "tool slot " + std::to_string(slot) + " of layer \"" + name + "\" is not 1 to 10";
        if (!FilledToolSlot(job.settings, slot))
            return "tool slot " + std::to_string(slot) + " of layer \"" + name +
                   "\" holds no tool (give it one with --tool " + std::to_string(slot) + "=TYPE)";
    }
    for (int32_t page : {job.page.iFstPage, job.page.iLstPage})
        if (page < 1 || page > kLastPageNumber)
            return "page " + std::to_string(page) + " is outside 1 to 32767";
    if (job.page.iFstPage > job.page.iLstPage)
        return "the print range " + std::to_string(job.page.iFstPage) + "-" + std::to_string(job.page.iLstPage) +
               " is reversed (no page would be converted)";
    if (job.settings.wSortMode < 0 || job.settings.wSortMode > 2)
        return "sort mode " + std::to_string(job.settings.wSortMode) + " is not 0, 1 or 2";
    return "";
}

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
    job->onPlotDataStart = nullptr;
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
        return kConversionFailed;
    }
    host::TheSession().document = &document;
    sSPBasic = host::HostBasicSuite();
    if (AcquireSuites() != kNoErr) {
        *error = "the host's suites could not be acquired";
        host::TheSession().document = nullptr;
        return kConversionFailed;
    }
    host::InstallTextEngine();

    PluginGlobals* globals = static_cast<PluginGlobals*>(std::calloc(1, sizeof(PluginGlobals)));
    PlotSettings settings = job.settings;
    PageSetup page = job.page;
    LayerTable* table = static_cast<LayerTable*>(std::calloc(1, sizeof(LayerTable)));
    int status = 0;
    if (!globals || !table) {
        *error = "out of memory";
        status = kConversionFailed;
    } else {
        g = globals;
        BuildBezierTables();
        g->pPlotSettings = &settings;
        g->pPageSetup = &page;
        g->pLayerTable = table;
        g->wUnitsPerMm = static_cast<int16_t>(settings.iPlotterUnit > 0 ? settings.iPlotterUnit : 40);
        FillLayerTable(job);
        char path[512];
        GetPlotDataFilePath(path, sizeof path);
        *plotDataPath = path;
        const std::string missing = MissingLayer(job);
        if (!missing.empty()) {
            *error = "the drawing has no layer titled \"" + missing + "\"; nothing was converted";
            status = kConversionRefused;
        } else if (AllocateArtLists() != kNoErr) {
            *error = "the art lists could not be allocated";
            status = kConversionFailed;
        } else {
            if (job.onPlotDataStart != nullptr)
                job.onPlotDataStart(path);
            ConvertAllPages();
            FreeArtLists();
            // A Ctrl-C the conversion did not come to check still cancels it.
            const bool cancelled = CheckUserCancel() != kNoErr;
            if (cancelled) {
                // What was written is a part of the job that must not be taken for all of it.
                std::remove(path);
                *error = "cancelled; the plot data file was removed";
                status = kConversionCancelled;
            } else if (g->conversion.iRunFailure != 0) {
                *error = "the conversion ended early (status " + std::to_string(g->conversion.iRunFailure) +
                         (g->conversion.iRunFailure == kOutOfMemoryErr ? ", out of memory" : "") +
                         "); the plot data file is incomplete";
                status = kConversionFailed;
            } else if (g->conversion.iWriteFailure != 0) {
                *error = std::string("the plot data file could not be written: ") +
                         (g->conversion.iWriteFailure > 0 ? std::strerror(g->conversion.iWriteFailure) : "unknown");
                status = kConversionFailed;
            } else if (g->fAbort != 0) {
                *error = "the conversion stopped at a failed cutter stage; the plot data file is incomplete";
                status = kConversionFailed;
            }
        }
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
        return kConversionFailed;
    }
    int status = ConvertLocked(job, plotDataPath, error);
    UnlockJobFiles();
    // what the caller prints next starts a line of its own, not the progress bar's
    host::EndProgressLine();
    return status;
}
