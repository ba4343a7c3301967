// Work layers, copies of a chunk's objects, and the overlap union of the cutter class.
#include "plugin/conversion/work_layers.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sdk/ai_art.h"
#include "sdk/ai_layer.h"
#include "sdk/ai_path.h"
#include "sdk/ai_path_style.h"
#include "sdk/ai_real_math.h"
#include "sdk/ai_text_frame.h"
#include "sdk/ate_classes.h"
#include "plugin/records/document_records.h"
#include "plugin/entry/host_text.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"

const double TextOutlineThresholds[8] = {6, 10, 12, 14, 18, 24, 48, 32000};

namespace {

constexpr int16_t kMaxSelectedShapes = 256;
constexpr double kJoinDistance = 0.1;

ASErr InsertOwnLayer(OwnLayer which, AILayerHandle* layer)
{
    ASErr err = sAILayer->InsertLayer(nullptr, kPlaceBelowAll, layer);
    if (err != kNoErr)
        return err;
    return SetOwnLayerTitle(*layer, which);
}

ASErr OpenLayer(AILayerHandle layer, AIArtHandle* group)
{
    sAILayer->SetLayerVisible(layer, 1);
    sAILayer->SetLayerEditable(layer, 1);
    return sAIArt->GetFirstArtOfLayer(layer, group);
}

bool HasMatrix(const double* matrix)
{
    return matrix && (matrix[0] != 0 || matrix[1] != 0 || matrix[2] != 0 || matrix[3] != 0);
}

void PlacePoint(AIRealPoint* p, const double* matrix, RealPoint offset)
{
    p->h += offset.h;
    p->v += offset.v;
    if (HasMatrix(matrix))
        sAIRealMath->AIRealMatrixXformPoint(reinterpret_cast<const AIRealMatrix*>(matrix), p, p);
}

bool IsFinitePoint(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

// A path is copied whole or not at all: a part of it would plot what the user never drew.
void CopyPath(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool, const double* matrix,
              RealPoint offset)
{
    ASInt16 count = 0;
    ASBoolean closed = 0;
    AIPathStyle style{};
    sAIPath->GetPathSegmentCount(art, &count);
    sAIPath->GetPathClosed(art, &closed);
    ASErr styleErr = sAIPathStyle->GetPathStyle(art, &style);
    std::vector<AIPathSegment> segments(static_cast<size_t>(count > 0 ? count : 0));
    for (ASInt16 s = 0; s < count; ++s) {
        AIPathSegment& segment = segments[static_cast<size_t>(s)];
        sAIPath->GetPathSegments(art, s, 1, &segment);
        PlacePoint(&segment.ptAnchor, matrix, offset);
        PlacePoint(&segment.ptIn, matrix, offset);
        PlacePoint(&segment.ptOut, matrix, offset);
        // A coordinate that is not a number has no place on the page.
        if (!IsFinitePoint(segment.ptAnchor) || !IsFinitePoint(segment.ptIn) || !IsFinitePoint(segment.ptOut))
            return;
    }
    AIArtHandle copy = nullptr;
    if (sAIArt->NewArt(kArtTypePath, kPlaceInsideOnTop, target, &copy) != kNoErr || !copy)
        return;
    for (ASInt16 s = 0; s < count; ++s) {
        if (sAIPath->SetPathSegments(copy, s, 1, &segments[static_cast<size_t>(s)]) != kNoErr) {
            sAIArt->DisposeArt(copy);
            return;
        }
    }
    if (styleErr == kNoErr)
        sAIPathStyle->SetPathStyle(copy, &style);
    sAIPath->SetPathClosed(copy, closed);
    if (list)
        AddArtEntry(list, copy, wTool, nullptr);
}

void CopyChildren(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool, const double* matrix,
                  RealPoint offset)
{
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(art, &child);
    while (child) {
        CopyArtToGroup(list, target, child, wTool, matrix, offset);
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(child, &next) != kNoErr)
            break;
        child = next;
    }
}

void Duplicate(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool)
{
    AIArtHandle copy = nullptr;
    if (sAIArt->DuplicateArt(art, kPlaceInsideOnTop, target, &copy) == kNoErr && copy && list)
        AddArtEntry(list, copy, wTool, nullptr);
}

// The font size of the text's first character, single precision; false when unreadable.
bool FirstCharacterSize(AIArtHandle art, float* size)
{
    try {
        ATE::TextRangeRef ref = nullptr;
        ATE::Check(sAITextFrame->GetATETextRange(art, &ref));
        ATE::ITextRange range(ref);
        ASInt32 start = range.GetStart();
        if (range.GetEnd() <= start)
            return false;
        range.SetRange(start, start + 1);
        ATE::ICharFeatures features = range.GetCharFeatures();
        *size = static_cast<float>(features.GetFontSize());
        return true;
    } catch (const ATE::Exception&) {
        return false;
    }
}

double OutlineThreshold()
{
    int16_t index = g->pPlotSettings ? g->pPlotSettings->wOutlineSize : 7;
    // Sizes outside the table keep text as text, as the largest entry does.
    if (index < 0 || index > 7)
        index = 7;
    return TextOutlineThresholds[index];
}

void CopyText(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool, const double* matrix,
              RealPoint offset)
{
    float size = 0;
    if (FirstCharacterSize(art, &size) && size >= OutlineThreshold()) {
        AIArtHandle outline = nullptr;
        if (sAITextFrame->CreateOutline && sAITextFrame->CreateOutline(art, &outline) == kNoErr && outline) {
            CopyArtToGroup(list, target, outline, wTool, matrix, offset);
            sAIArt->DisposeArt(outline);
        }
        return;
    }
    Duplicate(list, target, art, wTool);
}

ASErr ReadStrokeTool(AIArtHandle art, int16_t* tool)
{
    AIPathStyle style{};
    ASErr err = sAIPathStyle->GetPathStyle(art, &style);
    *tool = err == kNoErr ? ToolFromStrokeWidth(style.strokeWidth) : 0;
    return err;
}

ASErr CollectByWidth(AIArtHandle art, bool fEnterCompounds)
{
    ASInt16 type = 0;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err != kNoErr)
        return err;
    if (type == kArtTypeGroup || (type == kArtTypeCompoundPath && fEnterCompounds)) {
        AIArtHandle child = nullptr;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child) {
            err = CollectByWidth(child, fEnterCompounds);
            if (err != kNoErr)
                break;
            err = sAIArt->GetArtSibling(child, &child);
        }
        return err;
    }
    if (type == kArtTypePath || type == kArtTypeCompoundPath) {
        int16_t tool = 0;
        err = ReadStrokeTool(art, &tool);
        AddArtEntry(g->pMainArtList, art, tool, nullptr);
    }
    return err;
}

// A layer's own group is left where it is: removing the last layer is the host's to refuse.
void ClearOwnLayer(OwnLayer which, AIArtHandle* remembered)
{
    AILayerHandle layer = nullptr;
    if (FindOwnLayer(which, &layer) != kNoErr || !layer)
        return;
    if (g->pPlotSettings && g->pPlotSettings->fDebugMode) {
        sAILayer->SetLayerVisible(layer, 0);
        sAILayer->SetLayerEditable(layer, 0);
        return;
    }
    ASInt32 count = 0;
    if (sAILayer->CountLayers(&count) == kNoErr && count > 1 && sAILayer->DeleteLayer(layer) == kNoErr)
        *remembered = nullptr;
}

bool ReadPath(AIArtHandle art, std::vector<AIPathSegment>* segments, ASBoolean* closed)
{
    ASInt16 type = 0;
    ASInt16 count = 0;
    if (sAIArt->GetArtType(art, &type) != kNoErr || type != kArtTypePath)
        return false;
    if (sAIPath->GetPathSegmentCount(art, &count) != kNoErr || count < 1)
        return false;
    if (sAIPath->GetPathClosed(art, closed) != kNoErr)
        return false;
    segments->resize(static_cast<size_t>(count));
    return sAIPath->GetPathSegments(art, 0, count, segments->data()) == kNoErr;
}

bool Near(const AIRealPoint& a, const AIRealPoint& b)
{
    return std::hypot(a.h - b.h, a.v - b.v) < kJoinDistance;
}

// One joining pass; true when it joined a pair.
bool JoinPass(ArtList* list)
{
    std::vector<AIPathSegment> p;
    std::vector<AIPathSegment> q;
    for (int32_t i = 0; i < list->iCount; ++i) {
        ASBoolean closed = 0;
        if (!ReadPath(list->aEntry[i].hArt, &p, &closed) || closed)
            continue;
        for (int pass = 0; pass < 2; ++pass) {
            for (int32_t j = 0; j < list->iCount; ++j) {
                ASBoolean qClosed = 0;
                if (j == i || list->aEntry[j].hArt == list->aEntry[i].hArt ||
                    !ReadPath(list->aEntry[j].hArt, &q, &qClosed) || qClosed)
                    continue;
                const bool fForward = pass == 0;
                const AIRealPoint& meet = fForward ? q.front().ptAnchor : q.back().ptAnchor;
                if (!Near(p.back().ptAnchor, meet) || p.size() + q.size() > 32767)
                    continue;
                if (!fForward) {
                    std::vector<AIPathSegment> reversed(q.rbegin(), q.rend());
                    for (AIPathSegment& s : reversed)
                        std::swap(s.ptIn, s.ptOut);
                    q = reversed;
                }
                const ASInt16 first = static_cast<ASInt16>(p.size());
                if (sAIPath->SetPathSegments(list->aEntry[i].hArt, first, static_cast<ASInt16>(q.size()), q.data()) != kNoErr)
                    continue;
                sAIArt->DisposeArt(list->aEntry[j].hArt);
                RemoveArtEntry(list, j);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int16_t ToolFromStrokeWidth(double width)
{
    return static_cast<int16_t>(static_cast<int>(width * 10 + 0.05));
}

ASErr BuildWorkLayers()
{
    AILayerHandle layer = nullptr;
    ASErr err = FindOwnLayer(kTemporallyLayer, &layer);
    if (err == kNoErr && layer)
        sAILayer->DeleteLayer(layer);
    layer = nullptr;
    err = InsertOwnLayer(kTemporallyLayer, &layer);
    g->hWorkGroup = nullptr;
    if (layer)
        OpenLayer(layer, &g->hWorkGroup);

    AILayerHandle plotting = nullptr;
    FindOwnLayer(kPlottingLayer, &plotting);
    if (!plotting)
        InsertOwnLayer(kPlottingLayer, &plotting);
    if (plotting)
        OpenLayer(plotting, &g->hPlotGroup);

    ArtList* old = g->pMainArtList;
    ArtList* copies = NewArtList();
    if (!copies) {
        // Going on would mark and unite the user's own objects in place.
        if (old)
            old->iCount = 0;
        return EndRunWithoutMemory();
    }
    if (old) {
        for (int32_t i = 0; i < old->iCount; ++i) {
            const ArtEntry& row = old->aEntry[i];
            if (!row.hArt)
                continue;
            RealPoint offset{0, 0};
            if (HasMatrix(row.dMatrix)) {
                AIRealRect bounds;
                // A symbol's definition is centred on the origin before the instance matrix.
                if (sAIArt->GetArtBounds(row.hArt, &bounds) == kNoErr)
                    offset = RealPoint{-(bounds.left + bounds.right) / 2, -(bounds.top + bounds.bottom) / 2};
            }
            CopyArtToGroup(copies, g->hWorkGroup, row.hArt, row.wTool, row.dMatrix, offset);
        }
    }
    DisposeArtList(old);
    g->pMainArtList = copies;
    // A list of copies that could not grow has ended the run.
    return g->conversion.iRunFailure != 0 ? g->conversion.iRunFailure : kNoErr;
}

void CopyArtToGroup(ArtList* list, AIArtHandle target, AIArtHandle art, int16_t wTool, const double* matrix,
                    RealPoint offset)
{
    ASInt16 type = 0;
    if (sAIArt->GetArtType(art, &type) != kNoErr)
        return;
    switch (type) {
    case kArtTypePath:
        CopyPath(list, target, art, wTool, matrix, offset);
        break;
    case kArtTypeGroup:
        CopyChildren(list, target, art, wTool, matrix, offset);
        break;
    case kArtTypeCompoundPath: {
        AIArtHandle compound = nullptr;
        if (sAIArt->NewArt(kArtTypeCompoundPath, kPlaceInsideOnTop, target, &compound) != kNoErr || !compound)
            return;
        AIPathStyle style{};
        if (sAIPathStyle->GetPathStyle(art, &style) == kNoErr)
            sAIPathStyle->SetPathStyle(compound, &style);
        CopyChildren(nullptr, compound, art, wTool, matrix, offset);
        if (list)
            AddArtEntry(list, compound, wTool, nullptr);
        break;
    }
    case kArtTypeTextFrame:
        CopyText(list, target, art, wTool, matrix, offset);
        break;
    default:
        Duplicate(list, target, art, wTool);
        break;
    }
}

ASErr SetToolWidth(AIArtHandle art, int16_t wTool)
{
    ASInt16 type = 0;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err != kNoErr)
        return err;
    if (type == kArtTypePath) {
        AIPathStyle style{};
        err = sAIPathStyle->GetPathStyle(art, &style);
        if (err != kNoErr)
            return err;
        style.fStrokePaint = 1;
        style.fStrokeOverprint = 0;
        style.strokeWidth = wTool / 10.0;
        return sAIPathStyle->SetPathStyle(art, &style);
    }
    if (type == kArtTypeGroup || type == kArtTypeCompoundPath) {
        AIArtHandle child = nullptr;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child) {
            err = SetToolWidth(child, wTool);
            if (err != kNoErr)
                break;
            err = sAIArt->GetArtSibling(child, &child);
        }
    }
    return err;
}

ASErr MarkToolWidths()
{
    ArtList* list = g->pMainArtList;
    for (int32_t i = 0; i < list->iCount; ++i)
        if (list->aEntry[i].hArt)
            SetToolWidth(list->aEntry[i].hArt, list->aEntry[i].wTool);
    return kNoErr;
}

ASErr CollectPathsByWidth(AIArtHandle art) { return CollectByWidth(art, true); }

ASErr CollectShapesByWidth(AIArtHandle art) { return CollectByWidth(art, false); }

AIPathfinderMessage* SetPathfinderMessage(AIPathfinderMessage* message, int32_t value, void* p1, void* p2,
                                          void* p3)
{
    message->iMessage = value;
    message->pData1 = p1;
    message->pData2 = p2;
    message->pData3 = p3;
    return message;
}

AIPathfinderMessage* InitPathfinderMessage(AIPathfinderMessage* message)
{
    return SetPathfinderMessage(message, 0, nullptr, nullptr, nullptr);
}

void FillPathfinderData(AIPathfinderData* data, AIArtHandle* arts, int32_t count)
{
    std::memset(data, 0, sizeof *data);
    data->dPrecision = 10.0;
    data->fRemovePoints = 0;
    data->fKeepUnpainted = 0;
    data->dMixRatio = 0.5;
    data->fTrapPercent = 1;
    data->dTrapThickness = 0.25;
    data->dTrapHeight = 1.0;
    data->dTrapAspect = 0.4;
    data->dTrapTint = 1.0;
    data->dTrapMaxTint = 0.05;
    data->fTrapReverse = 0;
    data->iReserved1 = 0;
    data->phArtSet = arts;
    data->iArtCount = count;
    data->iReserved2 = 0;
}

ASErr UniteOverlaps(int16_t fCollect)
{
    ArtList* list = g->pMainArtList;
    AIPathfinderMessage message;
    InitPathfinderMessage(&message);
    ASErr err = kNoErr;
    if (fCollect) {
        ASInt32 layers = 0;
        err = sAILayer->CountLayers(&layers);
        for (ASInt32 n = 0; err == kNoErr && n < layers; ++n) {
            AILayerHandle layer = nullptr;
            ASBoolean visible = 0;
            AIArtHandle group = nullptr;
            err = sAILayer->GetNthLayer(n, &layer);
            if (err == kNoErr)
                err = sAILayer->GetLayerVisible(layer, &visible);
            if (err == kNoErr && visible) {
                err = sAIArt->GetFirstArtOfLayer(layer, &group);
                if (err == kNoErr)
                    err = CollectShapesByWidth(group);
            }
        }
        if (err != kNoErr)
            return err;
    }

    auto* arts = static_cast<AIArtHandle*>(AllocateListBlock(static_cast<size_t>(list->iCount) + 1, sizeof(AIArtHandle)));
    if (!arts)
        return EndRunWithoutMemory();

    ASInt32 layers = 0;
    if (sAILayer->CountLayers(&layers) == kNoErr) {
        for (ASInt32 n = 0; n < layers; ++n) {
            AILayerHandle layer = nullptr;
            if (sAILayer->GetNthLayer(n, &layer) != kNoErr)
                break;
            sAILayer->DeselectArtOnLayer(layer);
        }
    }
    AILayerHandle workLayer = nullptr;
    if (g->hWorkGroup && sAIArt->GetLayerOfArt(g->hWorkGroup, &workLayer) == kNoErr && workLayer)
        sAILayer->SetCurrentLayer(workLayer);

    for (int32_t i = 0; i < list->iCount; ++i)
        SetToolWidth(list->aEntry[i].hArt, list->aEntry[i].wTool);

    int32_t count = 0;
    for (int32_t i = 0; i < list->iCount && err == kNoErr; ++i) {
        AIArtHandle art = list->aEntry[i].hArt;
        if (!art)
            continue;
        ASInt16 type = 0;
        err = sAIArt->GetArtType(art, &type);
        if (err != kNoErr)
            break;
        if (type == kArtTypePath) {
            // An open path or one of two segments or fewer has no area to unite.
            ASBoolean closed = 0;
            ASInt16 segments = 0;
            err = sAIPath->GetPathClosed(art, &closed);
            if (err == kNoErr)
                err = sAIPath->GetPathSegmentCount(art, &segments);
            if (err != kNoErr || !closed || segments <= 2)
                continue;
        }
        sAIArt->SetArtUserAttr(art, kArtAttrSelected, kArtAttrSelected);
        arts[count++] = art;
    }
    if (err == kNoErr && count > 0) {
        AIPathfinderData data;
        FillPathfinderData(&data, arts, count);
        err = sAIPathfinder->UniteArt(&data, &message);
    }
    std::free(arts);
    return err;
}

ASErr ClearWorkLayers()
{
    ClearOwnLayer(kTemporallyLayer, &g->hWorkGroup);
    ClearOwnLayer(kPlottingLayer, &g->hPlotGroup);
    ArtList* list = g->pMainArtList;
    if (list) {
        for (int32_t i = 0; i < list->iCount; ++i)
            std::memset(&list->aEntry[i], 0, sizeof(ArtEntry));
        list->iCount = 0;
    }
    return kNoErr;
}

ASErr JoinOpenPaths(ArtList* list)
{
    if (!list)
        return kNoErr;
    while (JoinPass(list)) {
    }
    std::vector<AIPathSegment> p;
    for (int32_t i = 0; i < list->iCount; ++i) {
        ASBoolean closed = 0;
        if (!ReadPath(list->aEntry[i].hArt, &p, &closed) || closed || p.size() < 2)
            continue;
        if (!Near(p.front().ptAnchor, p.back().ptAnchor))
            continue;
        // The last anchor repeats the first: its incoming handle moves to the first one.
        AIPathSegment first = p.front();
        first.ptIn = p.back().ptIn;
        AIArtHandle art = list->aEntry[i].hArt;
        sAIPath->SetPathSegmentCount(art, static_cast<ASInt16>(p.size() - 1));
        sAIPath->SetPathSegments(art, 0, 1, &first);
        sAIPath->SetPathClosed(art, 1);
    }
    return kNoErr;
}

ASErr CollectSelectedShapes(AIArtHandle art, AIArtHandle* arts, int16_t* count)
{
    ASInt16 type = 0;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err != kNoErr)
        return err;
    if (type == kArtTypeGroup) {
        AIArtHandle child = nullptr;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child) {
            err = CollectSelectedShapes(child, arts, count);
            if (err != kNoErr)
                break;
            err = sAIArt->GetArtSibling(child, &child);
        }
        return err;
    }
    if (type == kArtTypePath || type == kArtTypeCompoundPath) {
        ASInt32 attr = 0;
        err = sAIArt->GetArtUserAttr(art, kArtAttrSelected, &attr);
        if (err == kNoErr && (attr & kArtAttrSelected) && *count < kMaxSelectedShapes)
            arts[(*count)++] = art;
    }
    return err;
}
