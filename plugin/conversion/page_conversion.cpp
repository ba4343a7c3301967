// The page conversion: set-up of the conversion state per page, the four passes by tool
// class, and the page structure of the plot data file.
#include "plugin/conversion/page_conversion.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "sdk/ai_art.h"
#include "sdk/ai_document.h"
#include "sdk/ai_layer.h"
#include "sdk/ai_real_math.h"
#include "plugin/conversion/art_lists.h"
#include "plugin/records/configuration_layer.h"
#include "plugin/records/document_records.h"
#include "plugin/entry/host_text.h"
#include "plugin/output/layer_table.h"
#include "plugin/conversion/output_ordering.h"
#include "plugin/hpgl/path_emission.h"
#include "plugin/hpgl/pen_writer.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/settings_folder.h"
#include "plugin/entry/suite_table.h"
#include "plugin/conversion/work_layers.h"
#include "plugin/entry/run_services.h"

const char kPlotDataFileName[] = "TRAVEX-Pro.tmp";

namespace {

constexpr int16_t kToolSlots = 10;
constexpr int16_t kFirstEmptyToolType = 12;
constexpr int kPageTextLimit = 127;

// The progress texts in code page 932; they are shown in every language setting.
const char kSortingLayer[] = "\x83\x5C\x81[\x83g\x92\x86(%d/%d) ...";                      // ソート中(%d/%d) ...
const char kConvertingLayer[] = "\x83" "f\x81[\x83^\x95\xCF\x8A\xB7\x92\x86(%d/%d) ...";     // データ変換中(%d/%d) ...
const char kSortingPens[] = "\x83\x5C\x81[\x83g\x92\x86(\x83y\x83\x93) ...";                 // ソート中(ペン) ...
const char kConvertingPens[] = "\x83" "f\x81[\x83^\x95\xCF\x8A\xB7\x92\x86(\x83y\x83\x93) ...";  // データ変換中(ペン) ...
const char kUniting[] = "\x8F" "d\x82\xCB\x8D\x87\x82\xED\x82\xB9\x82\xCC\x8Cv\x8EZ\x92\x86 ...";  // 重ね合わせの計算中 ...
const char kFraming[] = "\x98g\x8Cv\x8EZ\x92\x86 ...";                                       // 枠計算中 ...
const char kSortingCutters[] = "\x83\x5C\x81[\x83g\x92\x86(\x83J\x83" "b\x83^\x81[) ...";    // ソート中(カッター) ...
const char kConvertingCutters[] =
    "\x83" "f\x81[\x83^\x95\xCF\x8A\xB7\x92\x86(\x83J\x83" "b\x83^\x81[) ...";               // データ変換中(カッター) ...

// The plot settings' switches as the page took them.
struct PageOptions {
    int16_t wSortMode;
    int16_t fOverlap;
    int16_t fPenOrderOff;
    int16_t fFrameCut;
};
PageOptions gOptions;

char gPageHeader[kPageTextLimit + 1];
char gPageFooter[kPageTextLimit + 1];

bool Stopped(ASErr r) { return r != kNoErr || g->fAbort != 0; }

// Frame and offset sums of pages far off the plotter's range stop at the 32-bit limits.
int32_t SaturatedSum(int64_t sum)
{
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < -INT32_MAX)
        return -INT32_MAX;
    return static_cast<int32_t>(sum);
}

int32_t SaturatedRound(double value)
{
    if (!(value > -2147483647.0))
        return value != value ? 0 : -INT32_MAX;
    if (value >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

void CopyPageText(char* target, const char* source)
{
    size_t n = 0;
    while (n < kPageTextLimit && source[n] != '\0') {
        target[n] = source[n];
        ++n;
    }
    target[n] = '\0';
}

void ShowRowProgress(const char* format, int32_t row, int32_t rows)
{
    char text[256];
    std::snprintf(text, sizeof text, format, static_cast<int>(row), static_cast<int>(rows));
    ShowProgressText(text);
}

// The host layer of layer-table row k: the k-th layer that is not one of the plug-in's own.
ASErr FindRowLayer(int32_t row, AILayerHandle* found)
{
    *found = nullptr;
    ASInt32 count = 0;
    ASErr err = sAILayer->CountLayers(&count);
    int32_t userIndex = 0;
    for (ASInt32 n = 0; err == kNoErr && n < count; ++n) {
        AILayerHandle layer = nullptr;
        char title[256];
        err = sAILayer->GetNthLayer(n, &layer);
        if (err == kNoErr)
            err = sAILayer->GetLayerTitle(layer, title, sizeof title);
        if (err != kNoErr)
            break;
        if (IsOwnLayerTitle(title))
            continue;
        if (userIndex++ == row) {
            *found = layer;
            return kNoErr;
        }
    }
    // A row without a layer has nothing to plot.
    return err;
}

ASErr FindOwnLayerGroup(OwnLayer which, AIArtHandle* group)
{
    *group = nullptr;
    AILayerHandle layer = nullptr;
    ASErr err = FindOwnLayer(which, &layer);
    if (err == kNoErr && layer)
        err = sAIArt->GetFirstArtOfLayer(layer, group);
    return err;
}

void OrderMainList()
{
    if (gOptions.wSortMode == 1)
        SortByOriginDistance(g->pMainArtList);
    else if (gOptions.wSortMode == 2)
        SortByNearestNeighbour(g->pMainArtList);
}

void EndChunk()
{
    ClearWorkLayers();
    g->pMainArtList->iCount = 0;
}

void RedrawDocument()
{
    if (sAIDocument)
        sAIDocument->RedrawDocument();
}

// A work group the host put elsewhere than where the work layers left it is worth a sound.
void CheckRememberedGroup(OwnLayer which, AIArtHandle* remembered)
{
    AIArtHandle group = nullptr;
    FindOwnLayerGroup(which, &group);
    if (group != *remembered)
        PlayMessageBeep();
    *remembered = group;
}

ASErr RunCutterSequence()
{
    // Without its work copies the sequence would mark and unite the user's own art.
    ASErr r = BuildWorkLayers();
    if (r != kNoErr) {
        g->fAbort = 1;
        EndChunk();
        return r;
    }
    RedrawDocument();
    if (gOptions.fOverlap) {
        ShowProgressText(kUniting);
        r = UniteOverlaps(0);
    } else {
        r = MarkToolWidths();
    }
    if (r != kNoErr)
        g->fAbort = 1;

    CheckRememberedGroup(kTemporallyLayer, &g->hWorkGroup);
    CheckRememberedGroup(kPlottingLayer, &g->hPlotGroup);

    g->pMainArtList->iCount = 0;
    if (g->pWorkArtList)
        g->pWorkArtList->iCount = 0;
    if (g->hWorkGroup)
        CollectPathsByWidth(g->hWorkGroup);

    if (!g->fAbort && gOptions.fFrameCut) {
        RedrawDocument();
        ShowProgressText(kFraming);
        BuildCutFrame();
    }
    if (!g->fAbort) {
        RedrawDocument();
        ShowProgressText(kSortingCutters);
        SortCutObjects();
    }
    if (!g->fAbort) {
        RedrawDocument();
        ShowProgressText(kConvertingCutters);
        r = EmitArtList();
    }
    EndChunk();
    return r;
}

// One pass over the slots and rows for tool class toolClass; the first failure.
ASErr RunPass(int16_t toolClass, int32_t rows)
{
    const PlotSettings* settings = g->pPlotSettings;
    ASErr r = kNoErr;
    for (int16_t slot = 0; slot < kToolSlots && !Stopped(r); ++slot) {
        const int16_t type = settings->aToolSlot[slot].wType;
        if (type == 0 || type >= kFirstEmptyToolType)
            continue;
        for (int32_t row = 0; row < rows && !Stopped(r); ++row) {
            int16_t fOutput = 0;
            int16_t wTool = 0;
            char name[64] = "";
            GetLayerRow(static_cast<int16_t>(row), &fOutput, name, &wTool);
            const int16_t rowSlot = static_cast<int16_t>(wTool - 1);
            if (rowSlot < 0 || rowSlot >= kToolSlots)
                continue;
            const int16_t rowClass = GetToolClass(settings->aToolSlot[rowSlot].wType);
            if (!fOutput || rowClass != toolClass || rowSlot != slot)
                continue;

            AILayerHandle layer = nullptr;
            r = FindRowLayer(row, &layer);
            if (r == kNoErr && layer) {
                AIArtHandle group = nullptr;
                r = sAIArt->GetFirstArtOfLayer(layer, &group);
                if (r == kNoErr)
                    r = CollectArt(group, slot, nullptr);
            }
            if (r == kNoErr && !g->fAbort && gOptions.fPenOrderOff == 0 && toolClass != kToolClassCutter) {
                r = BuildWorkLayers();
                if (r != kNoErr) {
                    EndChunk();
                    break;
                }
                if (gOptions.wSortMode != 0)
                    ShowRowProgress(kSortingLayer, row + 1, rows);
                OrderMainList();
                ShowRowProgress(kConvertingLayer, row + 1, rows);
                r = EmitArtList();
                EndChunk();
            }
        }
    }
    if (Stopped(r) || g->pMainArtList->iCount == 0)
        return r;

    if (toolClass != kToolClassCutter) {
        r = BuildWorkLayers();
        if (r != kNoErr) {
            EndChunk();
            return r;
        }
        if (gOptions.wSortMode != 0)
            ShowProgressText(kSortingPens);
        OrderMainList();
        if (!g->fAbort) {
            ShowProgressText(kConvertingPens);
            r = EmitArtList();
        }
        EndChunk();
        return r;
    }
    return RunCutterSequence();
}

void SetUpPage(const PageSetup* setup, int32_t page)
{
    const int16_t fRotate = setup->Orientation != 0 ? 1 : 0;
    RealPoint origin = {0, 0};
    GetPlotAreaOrigin(&origin, 0, fRotate, page);

    EmitterState& e = g->emitter;
    e.iObjectCount = 0;
    e.wCurrentPen = -1;
    std::memset(&e.dash, 0, sizeof e.dash);
    ConversionState& c = g->conversion;
    SetPdOptimisation(0);

    const PlotSettings* settings = g->pPlotSettings;
    gOptions = PageOptions{};
    if (settings) {
        gOptions = PageOptions{settings->wSortMode, settings->fOverlap, settings->fPenOrderOff, settings->fFrameCut};
        c.wKanjiMode = settings->wKanjiMode;
    }
    c.wUnitsPerMm = g->wUnitsPerMm > 0 ? g->wUnitsPerMm : 40;
    const double upm = c.wUnitsPerMm;

    // A scale of 0 or below has no meaning: such a page converts at 100 %.
    c.dScaleX = setup->Scale > 0 ? setup->Scale / 10000.0 : 1.0;
    c.dScaleY = c.dScaleX;
    g->fRotate = fRotate;
    g->fSortAxis = fRotate;

    const double widthPt = setup->rPage.right * kPointsPerMm / c.dScaleX;
    const double heightPt = setup->rPage.bottom * kPointsPerMm / c.dScaleY;
    c.iPageHeightPt = SaturatedRound(heightPt + 0.5);
    c.rPageBounds.left = origin.h;
    c.rPageBounds.top = sAIRealMath ? sAIRealMath->AIRealAdd(origin.v, heightPt) : origin.v + heightPt;
    c.rPageBounds.right = sAIRealMath ? sAIRealMath->AIRealAdd(origin.h, widthPt) : origin.h + widthPt;
    c.rPageBounds.bottom = origin.v;

    double paperW = setup->rPage.right * kPointsPerMm;
    double paperH = setup->rPage.bottom * kPointsPerMm;
    if (fRotate) {
        const double swap = paperW;
        paperW = paperH;
        paperH = swap;
    }
    const int32_t wu = PointsToPlotterUnits(paperW);
    const int32_t hu = PointsToPlotterUnits(paperH);
    const int32_t px = PointsToPlotterUnits(origin.h * c.dScaleX);
    const int32_t py = PointsToPlotterUnits(origin.v * c.dScaleY);
    const int16_t wPaperOrigin = settings ? settings->wPaperOrigin : 0;
    if (wPaperOrigin == 0) {
        c.originOffset.iDx = SaturatedSum(-int64_t(py) - hu / 2);
        c.originOffset.iDy = SaturatedSum(int64_t(px) + wu / 2);
        c.plotFrame.iXMin = -(hu / 2);
        c.plotFrame.iYMin = -(wu / 2);
    } else {
        c.originOffset.iDx = SaturatedSum(-int64_t(py));
        c.originOffset.iDy = SaturatedSum(int64_t(px) + wu);
        c.plotFrame.iXMin = 0;
        c.plotFrame.iYMin = 0;
    }
    c.plotFrame.iXMax = SaturatedSum(int64_t(c.plotFrame.iXMin) + hu);
    c.plotFrame.iYMax = SaturatedSum(int64_t(c.plotFrame.iYMin) + wu);

    ResetPenWriterPage();
    e.wPdHistory = 0;
    e.wPdOpen = 0;
    c.dTolerance = 0.1;
    gPageHeader[0] = '\0';
    gPageFooter[0] = '\0';

    if (g->pPlotSettings) {
        PlotSettings* loaded = g->pPlotSettings;
        const int32_t tolerance = loaded->iTolerance > 0 ? loaded->iTolerance : 1;
        c.dTolerance = tolerance / upm * kPointsPerMm;
        CopyPageText(gPageHeader, loaded->szHeader);
        CopyPageText(gPageFooter, loaded->szFooter);
        if (loaded->iPdOptimize <= 0)
            loaded->iPdOptimize = kDefaultPdOptimize;
        SetPdOptimisation(loaded->iPdOptimize);
        c.perforation = Perforation{loaded->fDottedCut, loaded->wCutTool, loaded->wCutPressure,
                                    loaded->wGapPressure, loaded->wCutLength, loaded->wGapLength};
    }
    e.ptLastClip = {kNoPlotPoint, kNoPlotPoint};
}

void EndPage()
{
    AdvanceObjectCount(0);
    if (gPageFooter[0] != '\0')
        WritePlotString(gPageFooter);
    WritePlotString("SP;");
}

}  // namespace

int GetPlotDataFilePath(char* buffer, int length)
{
    char folder[kPluginPrefsFolderLimit + 1];
    const int status = GetPrefsFolder(folder, sizeof folder);
    if (status != 0) {
        if (length > 0)
            buffer[0] = '\0';
        return status;
    }
    const size_t end = std::strlen(folder);
    const char* separator = end > 0 && folder[end - 1] == '/' ? "" : "/";
    const int written = std::snprintf(buffer, static_cast<size_t>(length), "%s%s%s", folder, separator, kPlotDataFileName);
    if (written < 0 || written >= length) {
        if (length > 0)
            buffer[0] = '\0';
        return kSettingsPathTooLong;
    }
    return 0;
}

void ConvertPage(int32_t page)
{
    const PageSetup* setup = GetPageSetup();
    if (setup == nullptr || g->pPlotSettings == nullptr || g->pMainArtList == nullptr) {
        // Nothing to convert with, but the page still closes for the plotter.
        gPageHeader[0] = '\0';
        gPageFooter[0] = '\0';
        EndPage();
        return;
    }
    SetUpPage(setup, page);
    const int32_t rows = CountLayerRows();
    g->pMainArtList->iCount = 0;
    g->emitter.wCurrentPen = -1;
    if (gPageHeader[0] != '\0')
        WritePlotString(gPageHeader);

    ASErr r = kNoErr;
    // Pass 0 finds nothing, every tool class being 1, 2 or 3; it is kept for the pass numbers.
    for (int16_t pass = 0; pass <= kToolClassCutter && !Stopped(r); ++pass)
        r = RunPass(pass, rows);
    EndPage();
}

void ConvertAllPages()
{
    g->hPlotDataFile = nullptr;
    char path[kPluginPrefsFolderLimit + 64];
    if (GetPlotDataFilePath(path, sizeof path) != 0) {
        NoteWriteFailure(ENAMETOOLONG);
        return;
    }
    errno = 0;
    g->hPlotDataFile = std::fopen(path, "wb");
    if (g->hPlotDataFile == nullptr) {
        // Converting without a file would send or save an empty job as if it were complete.
        NoteWriteFailure(errno);
        return;
    }

    const PageSetup* setup = GetPageSetup();
    int32_t first = setup ? setup->iFstPage : 1;
    int32_t last = setup ? setup->iLstPage : 1;
    if (first <= 0)
        first = 1;
    if (last <= 0)
        last = 1;

    AILayerHandle plotting = nullptr;
    if (FindOwnLayer(kPlottingLayer, &plotting) == kNoErr && plotting)
        sAILayer->DeleteLayer(plotting);
    g->hPlotGroup = nullptr;

    for (int32_t page = first; page <= last; ++page) {
        ConvertPage(page);
        if (page == last)
            break;
        const PlotFrame& f = g->conversion.plotFrame;
        char window[96];
        std::snprintf(window, sizeof window, "IW%d,%d,%d,%d;", static_cast<int>(f.iXMin),
                      static_cast<int>(f.iYMin), static_cast<int>(f.iXMax), static_cast<int>(f.iYMax));
        WritePlotString("\x1B.)");
        WritePlotString("\x1B.(");
        WritePlotString(window);
    }

    if (std::fclose(g->hPlotDataFile) != 0)
        NoteWriteFailure(errno);
    g->hPlotDataFile = nullptr;
}
