#include "plugin/hpgl/path_emission.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "sdk/ai_art.h"
#include "sdk/ai_path.h"
#include "sdk/ai_path_style.h"
#include "sdk/ai_real_math.h"
#include "plugin/conversion/art_lists.h"
#include "sdk/ate_classes.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/hpgl/pen_writer.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/hpgl/text_label_emitter.h"
#include "plugin/entry/run_services.h"

constexpr int kMaxDashLengths = 6;
// Deeper nesting than any drawing has: a broken tree is cut here.
constexpr int kMaxEmitDepth = 200;

int16_t GetToolClass(int16_t type)
{
    if (type >= 1 && type <= 6)
        return kToolClassPen;
    if (type == 8)
        return kToolClassNeedle;
    if (type == 7 || (type >= 9 && type <= 11))
        return kToolClassCutter;
    return kToolClassPen;
}

ASErr EmitArtList()
{
    const ArtList* list = g->pMainArtList;
    if (list == nullptr)
        return kNoErr;
    const int32_t n = list->iCount;
    for (int32_t i = 0; i < n; ++i) {
        // A failing object is left out; the rest of the list still goes to the plotter.
        EmitArtObject(list->aEntry[i].hArt, list->aEntry[i].wTool);
        const float done = static_cast<float>(i + 1) / static_cast<float>(n);
        SetProgressPercent(static_cast<int16_t>(std::trunc(static_cast<double>(done) * 100 + 0.5)));
        CheckUserCancel();
        if (g->fAbort)
            break;
    }
    return kNoErr;
}

static bool Perforates(int16_t slot)
{
    const Perforation& p = g->conversion.perforation;
    return p.fDottedCut && p.wCutTool == slot + 1 && p.wCutLength > 0 && p.wGapLength > 0;
}

static ASErr EmitObject(AIArtHandle art, int16_t slot, int depth)
{
    if (depth > kMaxEmitDepth)
        return kNoErr;
    ASInt16 type = kArtTypeUnknown;
    ASErr result = sAIArt->GetArtType(art, &type);
    if (result != kNoErr)
        return result;
    EmitterState& e = g->emitter;
    if (slot != e.wCurrentPen) {
        e.wCurrentPen = slot;
        char text[16];
        std::snprintf(text, sizeof text, "SP%d;", slot + 1);
        WritePlotString(text);
    }
    switch (type) {
    case kArtTypeGroup:
    case kArtTypeCompoundPath: {
        AIArtHandle child = nullptr;
        result = sAIArt->GetArtFirstChild(art, &child);
        while (result == kNoErr && child != nullptr) {
            EmitObject(child, slot, depth + 1);
            AIArtHandle next = nullptr;
            result = sAIArt->GetArtSibling(child, &next);
            child = next;
        }
        return result;
    }
    case kArtTypePath:
        e.iObjectCount++;
        return EmitPath(art, Perforates(slot) ? 1 : 0);
    case kArtTypeTextFrame:
        e.iObjectCount++;
        // A failing text-engine call loses this frame only.
        try {
            return EmitTextFrame(art);
        } catch (const ATE::Exception& failure) {
            return failure.error;
        }
    default:
        return kNoErr;
    }
}

ASErr EmitArtObject(AIArtHandle art, int16_t slot)
{
    return EmitObject(art, slot, 0);
}

static bool FiniteSegment(const AIPathSegment& s)
{
    return std::isfinite(s.ptAnchor.h) && std::isfinite(s.ptAnchor.v) && std::isfinite(s.ptIn.h) &&
           std::isfinite(s.ptIn.v) && std::isfinite(s.ptOut.h) && std::isfinite(s.ptOut.v);
}

// The path's dash pattern, or the perforation, in plotter units.
static void SetUpDashTable(const AIPathStyle& style, bool styleRead, int16_t perforate)
{
    DashTable& dash = g->emitter.dash;
    const Perforation& perf = g->conversion.perforation;
    dash.iDashIndex = 0;
    if (perforate) {
        dash.fDashing = 1;
        dash.fPerforating = 1;
        dash.wDashCount = 2;
        dash.aDashLength[0] = perf.wCutLength;
        dash.aDashLength[1] = perf.wGapLength;
        dash.iDashRemain = perf.wCutLength;
        return;
    }
    dash.fPerforating = 0;
    dash.fDashing = 0;
    dash.wDashCount = 0;
    dash.iDashRemain = 0;
    if (!styleRead || !style.fStrokePaint || style.dashCount < 1)
        return;
    // The table holds six lengths; a longer pattern keeps its first six.
    const int count = style.dashCount < kMaxDashLengths ? style.dashCount : kMaxDashLengths;
    bool advances = false;
    for (int i = 0; i < count; ++i) {
        dash.aDashLength[i] = PointsToPlotterUnits(style.dashValues[i]);
        advances = advances || dash.aDashLength[i] > 0;
    }
    // Lengths that all round to nothing would never finish a segment: the path is solid.
    if (!advances)
        return;
    dash.fDashing = 1;
    dash.wDashCount = static_cast<int16_t>(count);
    dash.iDashRemain = dash.aDashLength[0];
}

// Every anchor and handle finite: a broken drawing's path cannot be plotted.
static bool PathIsPlottable(AIArtHandle art, ASInt16 count)
{
    for (ASInt16 i = 0; i < count; ++i) {
        AIPathSegment s;
        if (sAIPath->GetPathSegments(art, i, 1, &s) != kNoErr || !FiniteSegment(s))
            return false;
    }
    return true;
}

ASErr EmitPath(AIArtHandle art, int16_t perforate)
{
    AIRealRect bounds = {0, 0, 0, 0};
    ASErr result = sAIArt->GetArtBounds(art, &bounds);
    if (result != kNoErr)
        return result;
    sAIRealMath->AIRealRectInset(&bounds, -1, -1);
    AIRealRect scratch;
    if (!RectsOverlap(&bounds, &g->conversion.rPageBounds, &scratch))
        return kNoErr;

    ASInt16 count = 0;
    result = sAIPath->GetPathSegmentCount(art, &count);
    if (result != kNoErr || count <= 0)
        return result;
    ASBoolean guide = 0;
    result = sAIPath->GetPathGuide(art, &guide);
    if (result != kNoErr || guide)
        return result;
    if (!PathIsPlottable(art, count))
        return kNoErr;

    AIPathStyle style = {};
    const bool styleRead = sAIPathStyle->GetPathStyle(art, &style) == kNoErr;
    SetUpDashTable(style, styleRead, perforate);
    ResetPenWriterPath();

    AIPathSegment first;
    result = sAIPath->GetPathSegments(art, 0, 1, &first);
    if (result == kNoErr) {
        EmitMoveTo(&first.ptAnchor);
        AIPathSegment previous = first;
        for (ASInt16 i = 1; i < count && result == kNoErr; ++i) {
            AIPathSegment current;
            result = sAIPath->GetPathSegments(art, i, 1, &current);
            if (result != kNoErr)
                break;
            EmitMoveTo(&previous.ptAnchor);
            EmitSegment(&previous, &current);
            previous = current;
        }
        ASBoolean closed = 0;
        if (result == kNoErr)
            result = sAIPath->GetPathClosed(art, &closed);
        if (result == kNoErr && closed) {
            EmitMoveTo(&previous.ptAnchor);
            EmitSegment(&previous, &first);
        }
    }

    if (g->emitter.dash.fPerforating) {
        const Perforation& perf = g->conversion.perforation;
        char text[32];
        std::snprintf(text, sizeof text, "ZF%d,%d;", perf.wCutPressure, perf.wCutTool);
        WritePlotString(text);
    }
    CloseJoinedList();
    // The pattern belongs to this path only.
    g->emitter.dash.fDashing = 0;
    g->emitter.dash.fPerforating = 0;
    return result;
}

void EmitSegment(const PathSegment* previous, const PathSegment* current)
{
    if (IsStraightSegment(previous, current))
        EmitDrawTo(&current->ptAnchor);
    else
        FlattenBezier(&previous->ptAnchor, &previous->ptOut, &current->ptIn, &current->ptAnchor);
}

int16_t FlattenBezier(const RealPoint* p0, const RealPoint* p1, const RealPoint* p2, const RealPoint* p3)
{
    PathSegment s1 = {};
    PathSegment s2 = {};
    s1.ptAnchor = *p0;
    s1.ptOut = *p1;
    s2.ptIn = *p2;
    s2.ptAnchor = *p3;
    RealPoint points[kMaxPolylinePoints];
    points[0] = *p0;
    for (int16_t i = 1; i < kMaxPolylinePoints - 1; ++i)
        EvaluateBezierPoint(&s1, &s2, 128, i, &points[i]);
    points[kMaxPolylinePoints - 1] = *p3;
    int16_t count = kMaxPolylinePoints;

    const PlotSettings* settings = g->pPlotSettings;
    if (settings == nullptr || settings->fLineOptOff == 0) {
        double tolerance = g->conversion.dTolerance;
        // The tolerance holds on paper, not in the drawing.
        if (settings != nullptr && settings->fErrorAdjust && g->conversion.dScaleX != 0)
            tolerance /= g->conversion.dScaleX;
        SimplifyPolyline(&count, points, tolerance);
    }
    for (int16_t i = 0; i < count; ++i) {
        RealPoint p;
        CopyPointRoundedToFloat(&points[i], &p);
        if (i == 0)
            EmitMoveTo(&p);
        else
            EmitDrawTo(&p);
    }
    return count;
}
