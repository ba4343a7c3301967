#include "plugin/records/configuration_layer.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "sdk/ai_art.h"
#include "sdk/ai_layer.h"
#include "sdk/ai_path.h"
#include "sdk/ai_path_style.h"
#include "plugin/records/document_records.h"
#include "plugin/entry/host_text.h"
#include "plugin/records/page_setup_registry.h"
#include "plugin/settings/page_setup.h"
#include "plugin/entry/suite_table.h"

namespace {

constexpr int kRectSegments = 4;

ASErr NewConfigurationLayer(AILayerHandle* layer)
{
    AILayerHandle current = nullptr;
    sAILayer->GetCurrentLayer(&current);
    ASErr err = sAILayer->InsertLayer(nullptr, kPlaceBelowAll, layer);
    if (err != kNoErr || *layer == nullptr)
        return err != kNoErr ? err : kBadParameterErr;
    SetOwnLayerTitle(*layer, kConfigurationLayer);
    // the layer the user works on stays current
    if (current != nullptr)
        sAILayer->SetCurrentLayer(current);
    sAILayer->SetLayerVisible(*layer, 1);
    sAILayer->SetLayerEditable(*layer, 1);
    sAILayer->SetLayerPreview(*layer, 1);
    sAILayer->SetLayerPrinted(*layer, 0);
    return kNoErr;
}

// The children of the layer's top group that are path art, in paint order.
std::vector<AIArtHandle> LayerPaths(AILayerHandle layer)
{
    std::vector<AIArtHandle> paths;
    AIArtHandle group = nullptr;
    if (sAIArt->GetFirstArtOfLayer(layer, &group) != kNoErr || group == nullptr)
        return paths;
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(group, &child);
    while (child != nullptr) {
        ASInt16 type = kArtTypeUnknown;
        if (sAIArt->GetArtType(child, &type) == kNoErr && type == kArtTypePath)
            paths.push_back(child);
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(child, &next) != kNoErr)
            break;
        child = next;
    }
    return paths;
}

void AddRectanglePath(AIArtHandle group, const PlotAreaRect& rect)
{
    AIArtHandle path = nullptr;
    if (sAIArt->NewArt(kArtTypePath, kPlaceInsideOnTop, group, &path) != kNoErr || path == nullptr)
        return;
    const AIRealPoint corners[kRectSegments] = {
        {rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}};
    AIPathSegment segments[kRectSegments];
    for (int i = 0; i < kRectSegments; ++i)
        segments[i] = AIPathSegment{corners[i], corners[i], corners[i], 1};
    sAIPath->SetPathSegments(path, 0, kRectSegments, segments);
    sAIPath->SetPathClosed(path, 1);
    AIPathStyle style = {};
    style.fFillPaint = 0;
    style.fillColor.kind = kStyleColorGray;
    style.fillColor.gray = 1.0;
    style.fStrokePaint = 1;
    style.strokeColor.kind = kStyleColorGray;
    style.strokeColor.gray = 1.0;
    style.strokeWidth = 0.1;
    style.miterLimit = 4.0;
    sAIPathStyle->SetPathStyle(path, &style);
    sAIArt->SetArtUserAttr(path, kArtAttrSelected, 0);
}

// Truncation toward zero to a whole 32-bit number; false beyond them.
bool Truncate(double value, double* whole)
{
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0)
        return false;
    *whole = static_cast<double>(static_cast<int32_t>(value));
    return true;
}

// One millimetre value passes through single precision before the scale.
double Scaled(int32_t millimetres, double k) { return static_cast<double>(static_cast<float>(millimetres)) * k; }

bool RectFrom(const PageRect& mm, double k, RealPoint origin, PlotAreaRect* rect)
{
    return Truncate(Scaled(mm.left, k) + origin.h, &rect->left) &&
           Truncate(-Scaled(mm.top, k) + origin.v, &rect->top) &&
           Truncate(Scaled(mm.right, k) + origin.h, &rect->right) &&
           Truncate(-Scaled(mm.bottom, k) + origin.v, &rect->bottom);
}

}  // namespace

void BuildConfigurationLayer(int16_t withRects)
{
    AILayerHandle layer = nullptr;
    FindOwnLayer(kConfigurationLayer, &layer);
    if (layer != nullptr) {
        sAILayer->SetLayerEditable(layer, 1);
        for (AIArtHandle path : LayerPaths(layer))
            sAIArt->DisposeArt(path);
    } else if (NewConfigurationLayer(&layer) != kNoErr) {
        return;
    }
    if (withRects) {
        AIArtHandle group = nullptr;
        if (sAIArt->GetFirstArtOfLayer(layer, &group) == kNoErr && group != nullptr) {
            AddRectanglePath(group, g->rPaperArea);
            AddRectanglePath(group, g->rPageArea);
        }
    }
    sAILayer->SetLayerEditable(layer, 0);
}

bool ComputePlotAreaRects(RealPoint origin, PlotAreaRect* paper, PlotAreaRect* page)
{
    std::free(g->pPageSetup);
    g->pPageSetup = LoadPageSetup();
    const PageSetup* setup = g->pPageSetup;
    // a scale of 0 or below has no factor: the rectangles stay as they were
    if (setup == nullptr || setup->Scale <= 0)
        return false;
    const double k = kPointsPerMm / (setup->Scale / 10000.0);
    PlotAreaRect newPage;
    PlotAreaRect newPaper;
    double d = 0;
    const float height = static_cast<float>(int64_t(setup->rPage.bottom) - setup->rPage.top);
    if (!RectFrom(setup->rPage, k, origin, &newPage) || !RectFrom(setup->rPaper, k, origin, &newPaper) ||
        !Truncate(static_cast<double>(height) * k, &d))
        return false;
    for (PlotAreaRect* rect : {&newPage, &newPaper}) {
        rect->top += d;
        rect->bottom += d;
    }
    *page = newPage;
    *paper = newPaper;
    return true;
}

void GetPlotAreaOrigin(RealPoint* origin, int16_t taller, int16_t horizontal, int32_t pageNo)
{
    *origin = RealPoint{0, 0};
    AILayerHandle layer = nullptr;
    if (FindOwnLayer(kConfigurationLayer, &layer) != kNoErr || layer == nullptr)
        return;
    sAILayer->SetLayerEditable(layer, 1);
    std::vector<AIArtHandle> paths = LayerPaths(layer);
    if (paths.size() != 2)
        return;
    AIRealRect bounds[2];
    for (int i = 0; i < 2; ++i) {
        ASInt16 count = 0;
        if (sAIPath->GetPathSegmentCount(paths[i], &count) != kNoErr || count <= 0)
            return;
        AIPathSegment segments[kRectSegments];
        const ASInt16 taken = count < kRectSegments ? count : ASInt16(kRectSegments);
        if (sAIPath->GetPathSegments(paths[i], 0, taken, segments) != kNoErr)
            return;
        AIRealRect& b = bounds[i];
        b = AIRealRect{segments[0].ptAnchor.h, segments[0].ptAnchor.v, segments[0].ptAnchor.h, segments[0].ptAnchor.v};
        for (int s = 1; s < taken; ++s) {
            const AIRealPoint& p = segments[s].ptAnchor;
            b.left = std::fmin(b.left, p.h);
            b.right = std::fmax(b.right, p.h);
            b.bottom = std::fmin(b.bottom, p.v);
            b.top = std::fmax(b.top, p.v);
        }
    }
    const bool secondTaller = bounds[1].top - bounds[1].bottom > bounds[0].top - bounds[0].bottom;
    const AIRealRect& shorter = secondTaller ? bounds[0] : bounds[1];
    const AIRealRect& chosen = taller ? (secondTaller ? bounds[1] : bounds[0]) : shorter;
    *origin = RealPoint{chosen.left, chosen.bottom};
    if (pageNo >= 2) {
        if (horizontal)
            origin->h += (pageNo - 1) * (shorter.right - shorter.left);
        else
            origin->v += (pageNo - 1) * (shorter.top - shorter.bottom);
    }
}

PageSetup* GetPageSetup()
{
    if (g->pPageSetup == nullptr)
        g->pPageSetup = LoadPageSetup();
    if (g->pPageSetup != nullptr) {
        LoadPageSetupFromDocument();
        // A record edited in the document is held to the same limits as the registry's values.
        LimitPageSetup(g->pPageSetup);
    }
    return g->pPageSetup;
}

bool PlacePlotArea(RealPoint origin)
{
    PlotAreaRect paper = g->rPaperArea;
    PlotAreaRect page = g->rPageArea;
    // A refused record must not replace the placed rectangles nor the document's record.
    if (!ComputePlotAreaRects(origin, &paper, &page))
        return false;
    g->rPaperArea = paper;
    g->rPageArea = page;
    BuildConfigurationLayer(1);
    SavePageSetupToDocument();
    return true;
}

bool ApplyPageSetupToPlotArea()
{
    AILayerHandle layer = nullptr;
    ASBoolean editable = 0;
    if (FindOwnLayer(kConfigurationLayer, &layer) == kNoErr && layer != nullptr)
        sAILayer->GetLayerEditable(layer, &editable);
    RealPoint origin = {0, 0};
    GetPlotAreaOrigin(&origin, 0, 0, 1);
    if (PlacePlotArea(origin))
        return true;
    // Finding the origin unlocked the layer; a refused record leaves it as it was.
    if (layer != nullptr)
        sAILayer->SetLayerEditable(layer, editable);
    return false;
}
