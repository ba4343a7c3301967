#include "plugin/records/plot_area_tool.h"

#include <cstring>

#include "sdk/ai_real_math.h"
#include "sdk/ai_undo.h"
#include "platform/code_pages.h"
#include "plugin/records/configuration_layer.h"
#include "platform/ui/cursor_resources.h"
#include "plugin/records/document_records.h"
#include "plugin/entry/host_text.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_resources.h"
#include "sdk/sp_access.h"
#include "plugin/entry/suite_table.h"

namespace {

constexpr int32_t kTitleRoom = 256;   // 255 characters and the NUL
constexpr int32_t kSiblingLimit = 100000;

// UTF-8 text in code page 932; empty when it cannot be converted.
void ToShiftJis(const char* utf8, char* out, int room)
{
    char16_t wide[128];
    out[0] = 0;
    int units = MultiByteToWide(kCodePageUtf8, utf8, -1, wide, 128);
    if (units == 0 || WideToMultiByte(kCodePageShiftJis, wide, units, out, room) == 0)
        out[0] = 0;
}

const char* UndoRedoText(int16_t language, bool undo)
{
    static char texts[2][2][64];
    static bool converted = false;
    if (!converted) {
        ToShiftJis("プロット領域の取り消し", texts[0][0], 64);
        ToShiftJis("プロット領域のやり直し", texts[0][1], 64);
        std::strcpy(texts[1][0], "Undo Plot Area");
        std::strcpy(texts[1][1], "Redo Plot Area");
        converted = true;
    }
    return texts[language == 0 ? 0 : 1][undo ? 0 : 1];
}

bool SameRect(const IntRect& a, const IntRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void DrawRect(AIDrawingContext context, const IntRect& r)
{
    sAIDocumentView->MoveContextTo(context, r.left, r.top);
    sAIDocumentView->LineContextTo(context, r.right, r.top);
    sAIDocumentView->LineContextTo(context, r.right, r.bottom);
    sAIDocumentView->LineContextTo(context, r.left, r.bottom);
    sAIDocumentView->LineContextTo(context, r.left, r.top);
}

// The page or paper rectangle in view pixels: left and top from its (left, top) corner,
// right and bottom from its (right, bottom) corner.
bool ToPixels(AIDocumentViewHandle view, const PlotAreaRect& rect, IntRect* pixels)
{
    const AIRealPoint topLeft = {rect.left, rect.top};
    const AIRealPoint bottomRight = {rect.right, rect.bottom};
    AIPoint a = {};
    AIPoint b = {};
    if (sAIDocumentView->ArtworkPointToViewPoint(view, &topLeft, &a) != kNoErr ||
        sAIDocumentView->ArtworkPointToViewPoint(view, &bottomRight, &b) != kNoErr)
        return false;
    *pixels = IntRect{a.h, a.v, b.h, b.v};
    return true;
}

}  // namespace

bool IsPlotAreaTool(const AIToolMessage* message) { return g != nullptr && message->tool == g->ahTool[0]; }

void SetPlotAreaUndoTexts()
{
    AIUnicodeStringRef undo = nullptr;
    AIUnicodeStringRef redo = nullptr;
    if (MakeHostString(PlotAreaUndoText(g->iLanguage), kAIShiftJisCharacterEncoding, &undo) == kNoErr &&
        MakeHostString(PlotAreaRedoText(g->iLanguage), kAIShiftJisCharacterEncoding, &redo) == kNoErr)
        sAIUndo->SetUndoText(undo, redo);
    if (undo != nullptr)
        DisposeHostString(undo);
    if (redo != nullptr)
        DisposeHostString(redo);
}

const char* PlotAreaUndoText(int16_t language) { return UndoRedoText(language, true); }
const char* PlotAreaRedoText(int16_t language) { return UndoRedoText(language, false); }

void TrackPlotArea(AIToolMessage* message)
{
    DrawPlotAreaFeedback();
    SetToolCursor(message->d.self, kPlotAreaCursorResource);
}

ASErr SetToolCursor(SPPluginRef self, int cursorId)
{
    SPAccessRef access = nullptr;
    void* module = nullptr;
    ASErr err = sSPAccess->GetPluginAccess(self, &access);
    if (err == kNoErr)
        err = sSPAccess->GetAccessModule(access, &module);
    if (err == kNoErr)
        SetCursorFromResource(ModuleResources(module), cursorId);
    return err;
}

void DrawPlotAreaFeedback()
{
    AIDocumentViewHandle view = nullptr;
    if (sAIDocumentView->GetNthDocumentView(0, &view) != kNoErr)
        return;
    AIWindowHandle canvas = FindDocumentCanvasWindow();
    if (canvas == nullptr)
        return;
    AIDrawingContext context = nullptr;
    if (sAIDocumentView->GetWindowContext(canvas, &context) != kNoErr)
        return;
    sAIDocumentView->SetContextPen(context, 1, 0x000000);
    int32_t previousOp = kRasterOpCopyPen;
    sAIDocumentView->SetContextRasterOp(context, kRasterOpNot, &previousOp);
    PlotAreaRect paper = {};
    PlotAreaRect page = {};
    IntRect pagePixels = {};
    IntRect paperPixels = {};
    // without a page record (or its pixels) there is nothing to show: the old band stays
    if (g->wTrackState == 1 && ComputePlotAreaRects(g->ptCursor, &paper, &page) &&
        ToPixels(view, page, &pagePixels) && ToPixels(view, paper, &paperPixels)) {
        if (g->fBandDrawn == 1) {
            DrawRect(context, g->rBandPage);
            if (!SameRect(g->rBandPaper, g->rBandPage))
                DrawRect(context, g->rBandPaper);
        }
        DrawRect(context, pagePixels);
        if (!SameRect(paperPixels, pagePixels))
            DrawRect(context, paperPixels);
        g->fBandDrawn = 1;
        g->rBandPage = pagePixels;
        g->rBandPaper = paperPixels;
    }
    sAIDocumentView->SetContextRasterOp(context, previousOp, nullptr);
    sAIDocumentView->ReleaseWindowContext(context);
}

void ResetPlotAreaTracking()
{
    g->wTrackState = 0;
    g->ptCursor = RealPoint{0, 0};
    g->fBandDrawn = 0;
    g->rBandPage = IntRect{0, 0, 0, 0};
    g->rBandPaper = IntRect{0, 0, 0, 0};
}

void EndPlotAreaTracking()
{
    g->wTrackState = 0;
    g->ptCursor = RealPoint{0, 0};
}

int32_t CountFollowingSiblings(AIWindowHandle window)
{
    int32_t count = 0;
    AIWindowHandle next = nullptr;
    while (window != nullptr && count < kSiblingLimit && sAIDocumentView->GetNextWindow(window, &next) == kNoErr &&
           next != nullptr) {
        ++count;
        window = next;
    }
    return count;
}

AIWindowHandle FindDocumentCanvasWindow()
{
    AIWindowHandle window = nullptr;
    if (sAIDocumentView->GetTopWindow(&window) != kNoErr)
        return nullptr;
    char title[kTitleRoom];
    for (int32_t i = 0; window != nullptr && i < kSiblingLimit; ++i) {
        if (sAIDocumentView->GetWindowTitle(window, title, kTitleRoom) == kNoErr && std::strstr(title, " @ "))
            break;
        AIWindowHandle next = nullptr;
        if (sAIDocumentView->GetNextWindow(window, &next) != kNoErr)
            return nullptr;
        window = next;
    }
    AIWindowHandle canvas = nullptr;
    if (window == nullptr || sAIDocumentView->GetDocumentViewCanvas(nullptr, &canvas) != kNoErr || canvas == nullptr)
        return nullptr;
    // the view's canvas counts only as one of the document window's panes
    AIWindowHandle pane = nullptr;
    if (sAIDocumentView->GetFirstChildWindow(window, &pane) != kNoErr || pane == nullptr)
        return nullptr;
    for (int32_t panes = CountFollowingSiblings(pane) + 1; panes > 0 && pane != nullptr; --panes) {
        if (pane == canvas)
            return canvas;
        if (sAIDocumentView->GetNextWindow(pane, &pane) != kNoErr)
            return nullptr;
    }
    return nullptr;
}
