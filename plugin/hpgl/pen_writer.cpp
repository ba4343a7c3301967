#include "plugin/hpgl/pen_writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sdk/ai_art.h"
#include "sdk/ai_path.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"

// More dash pieces than this on one move means broken geometry: the move is drawn solid.
constexpr double kMaxDashPieces = 1000000.0;

void TransformPoint(RealPoint* point)
{
    const ConversionState& c = g->conversion;
    if (g->fRotate) {
        const double left = c.rPageBounds.left;
        const double bottom = c.rPageBounds.bottom;
        const RealPoint p = *point;
        point->h = left + c.iPageHeightPt - (p.v - bottom);
        point->v = bottom + (p.h - left);
    }
    if (c.dScaleX != 0) {
        point->h = static_cast<double>(static_cast<float>(point->h)) * c.dScaleX;
        point->v = static_cast<double>(static_cast<float>(point->v)) * c.dScaleY;
    }
}

int32_t PointsToPlotterUnits(double coordinate)
{
    const double units = coordinate * kMmPerInch / kPointsPerInch * static_cast<double>(g->conversion.wUnitsPerMm);
    const double rounded = static_cast<double>(static_cast<float>(units)) + 0.5;
    // Coordinates far off the page must not overflow the 32-bit cast.
    if (std::isnan(rounded))
        return 0;
    if (rounded >= 2147483647.0)
        return 2147483647;
    if (rounded <= -2147483647.0)
        return -2147483647;
    return static_cast<int32_t>(rounded);
}

int32_t RotatePlotterPoint(PlotPoint* point)
{
    const int32_t x = point->x;
    point->x = point->y;
    point->y = static_cast<int32_t>(0u - static_cast<uint32_t>(x));
    return point->y;
}

int32_t OffsetPlotterPoint(PlotPoint* point, int32_t dx, int32_t dy)
{
    point->x = static_cast<int32_t>(static_cast<uint32_t>(point->x) + static_cast<uint32_t>(dx));
    point->y = static_cast<int32_t>(static_cast<uint32_t>(point->y) + static_cast<uint32_t>(dy));
    return point->y;
}

static PlotPoint ToPlotterPoint(const RealPoint* point)
{
    RealPoint p = *point;
    TransformPoint(&p);
    PlotPoint result = {PointsToPlotterUnits(p.h), PointsToPlotterUnits(p.v)};
    RotatePlotterPoint(&result);
    return result;
}

void EmitMoveTo(const RealPoint* point)
{
    PlotPoint p = ToPlotterPoint(point);
    if (EqualIntPoints(p, g->emitter.ptLastPen))
        return;
    g->emitter.ptLastPen = p;
    const OriginOffset& o = g->conversion.originOffset;
    OffsetPlotterPoint(&p, o.iDx, o.iDy);
    ClipAndEmit(0, 0, 0, p, 0);
}

void EmitDrawTo(const RealPoint* point)
{
    PlotPoint p = ToPlotterPoint(point);
    if (EqualIntPoints(p, g->emitter.ptLastPen))
        return;
    if (g->emitter.dash.fDashing) {
        const PlotPoint from = g->emitter.ptLastPen;
        g->emitter.ptLastPen = p;
        WalkDashPattern(from, p);
        return;
    }
    g->emitter.ptLastPen = p;
    const OriginOffset& o = g->conversion.originOffset;
    OffsetPlotterPoint(&p, o.iDx, o.iDy);
    ClipAndEmit(0, 0, 0, p, 1);
}

static bool InsideFrame(PlotPoint p)
{
    const PlotFrame& f = g->conversion.plotFrame;
    return f.iXMin <= p.x && p.x <= f.iXMax && f.iYMin <= p.y && p.y <= f.iYMax;
}

// The first frame edge, in the order left, top, right, bottom, that the move p-q crosses.
static bool FindFrameCrossing(PlotPoint p, PlotPoint q, PlotPoint* crossing)
{
    const PlotFrame& f = g->conversion.plotFrame;
    const RealPoint corners[5] = {
        {double(f.iXMin), double(f.iYMin)},
        {double(f.iXMin), double(f.iYMax)},
        {double(f.iXMax), double(f.iYMax)},
        {double(f.iXMax), double(f.iYMin)},
        {double(f.iXMin), double(f.iYMin)},
    };
    const RealPoint from = {double(p.x), double(p.y)};
    const RealPoint to = {double(q.x), double(q.y)};
    for (int edge = 0; edge < 4; ++edge) {
        RealPoint hit;
        if (IntersectSegments(&from, &to, &corners[edge], &corners[edge + 1], &hit) == 1) {
            crossing->x = RoundToInt(hit.h);
            crossing->y = RoundToInt(hit.v);
            return true;
        }
    }
    return false;
}

void ClipAndEmit(int16_t fZf, int16_t force, int16_t tool, PlotPoint point, int16_t fPenDown)
{
    const PlotPoint q = g->emitter.ptLastClip;
    const bool qNone = q.x == kNoPlotPoint && q.y == kNoPlotPoint;
    const bool qInside = !qNone && InsideFrame(q);
    PlotPoint crossing;
    if (InsideFrame(point)) {
        // Entering the frame: the pen comes in lifted at the edge.
        if (!qNone && !qInside && FindFrameCrossing(point, q, &crossing))
            EmitPenCommand(0, 0, 0, crossing, 0);
        EmitPenCommand(fZf, force, tool, point, fPenDown);
    } else if (qInside) {
        // Leaving the frame: the move stops on the edge.
        if (FindFrameCrossing(point, q, &crossing))
            EmitPenCommand(fZf, force, tool, crossing, fPenDown);
    }
    g->emitter.ptLastClip = point;
}

static void CloseOpenList()
{
    if (g->emitter.wPdOpen > 0)
        WritePlotString(";");
    g->emitter.wPdOpen = 0;
}

// The turn at the last history point towards p, in radians with the stored constants.
static double MeasureTurn(PlotPoint h0, PlotPoint h1, PlotPoint p)
{
    const RealPoint older = {double(h0.x), double(h0.y)};
    const RealPoint corner = {double(h1.x), double(h1.y)};
    const RealPoint next = {double(p.x), double(p.y)};
    double a1 = MeasureDirection(&corner, &older);
    if (a1 < 0)
        a1 += kStoredTwoPi;
    double a2 = MeasureDirection(&corner, &next);
    if (a2 < 0)
        a2 += kStoredTwoPi;
    double d = AbsReal(a2 - a1);
    if (d > kStoredPi)
        d = kStoredTwoPi - d;
    return kStoredPi - d;
}

void DrawTraceStroke(RealPoint from, RealPoint to)
{
    if (sAIArt == nullptr || sAIPath == nullptr)
        return;
    AIArtHandle path = nullptr;
    if (sAIArt->NewArt(kArtTypePath, kPlaceInsideOnTop, g->hPlotGroup, &path) != kNoErr || path == nullptr)
        return;
    AIPathSegment segments[2] = {};
    segments[0].ptAnchor = from;
    segments[1].ptAnchor = to;
    for (AIPathSegment& s : segments) {
        s.ptIn = s.ptOut = s.ptAnchor;
        s.fCorner = 1;
    }
    sAIPath->SetPathSegments(path, 0, 2, segments);
}

// Debug mode draws every stroke into the plotting group.
static void TraceStroke(PlotPoint from, PlotPoint to)
{
    // A first stroke of the page has no start to draw from.
    if (from.x == kNoPlotPoint && from.y == kNoPlotPoint)
        return;
    DrawTraceStroke(PlotterPointToTracePoint(from), PlotterPointToTracePoint(to));
}

void EmitPenCommand(int16_t fZf, int16_t force, int16_t tool, PlotPoint point, int16_t fPenDown)
{
    EmitterState& e = g->emitter;
    char text[64];
    if (fZf) {
        CloseOpenList();
        e.wPdHistory = 0;
        if (fPenDown)
            std::snprintf(text, sizeof text, "ZF%d,%d;PD%d,%d;", force, tool, point.x, point.y);
        else
            std::snprintf(text, sizeof text, "PU%d,%d;", point.x, point.y);
    } else if (!fPenDown) {
        CloseOpenList();
        std::snprintf(text, sizeof text, "PU%d,%d;", point.x, point.y);
        e.aPdHistory[0] = point;
        e.wPdHistory = 1;
    } else if (!g->conversion.pdOptimisation.fPdJoin) {
        std::snprintf(text, sizeof text, "PD%d,%d;", point.x, point.y);
    } else {
        const PdOptimisation& pd = g->conversion.pdOptimisation;
        if (e.wPdHistory == 2) {
            const double limit = pd.wPdAngle / 180.0 * kStoredPi;
            if (MeasureTurn(e.aPdHistory[0], e.aPdHistory[1], point) > limit ||
                e.wPdOpen >= pd.wPdMaxVertices)
                CloseOpenList();
            e.aPdHistory[0] = e.aPdHistory[1];
            e.wPdHistory = 1;
        }
        if (e.wPdOpen == 0)
            std::snprintf(text, sizeof text, "PD%d,%d", point.x, point.y);
        else
            std::snprintf(text, sizeof text, ",%d,%d", point.x, point.y);
        e.aPdHistory[e.wPdHistory] = point;
        e.wPdHistory++;
        e.wPdOpen++;
    }
    WritePlotString(text);

    if (fPenDown && g->pPlotSettings != nullptr && g->pPlotSettings->fDebugMode &&
        g->hPlotGroup != nullptr)
        TraceStroke(e.ptLastWritten, point);
    e.ptLastWritten = point;
}

void WalkDashPattern(PlotPoint from, PlotPoint to)
{
    DashTable& dash = g->emitter.dash;
    const OriginOffset& o = g->conversion.originOffset;
    const Perforation& perf = g->conversion.perforation;

    const int count = dash.wDashCount < 6 ? dash.wDashCount : 6;
    double cycle = 0;
    for (int i = 0; i < count; ++i)
        cycle += dash.aDashLength[i] > 0 ? dash.aDashLength[i] : 0;
    const RealPoint a = {double(from.x), double(from.y)};
    const RealPoint b = {double(to.x), double(to.y)};
    double length = MeasureDistance(&a, &b);
    if (cycle <= 0 || length / cycle * count > kMaxDashPieces) {
        // A pattern without a positive length would never reach the end: draw solid.
        OffsetPlotterPoint(&to, o.iDx, o.iDy);
        ClipAndEmit(0, 0, 0, to, 1);
        return;
    }

    const double dh = b.h - a.h;
    const double dv = b.v - a.v;
    double step = dash.iDashRemain > 0 ? dash.iDashRemain : 0;
    RealPoint position = a;
    for (;;) {
        bool last = false;
        if (step >= length) {
            dash.iDashRemain = static_cast<int32_t>(step - length);
            step = length;
            last = true;
        } else {
            length -= step;
        }
        StepAlongDirection(&position, dh, dv, step);
        PlotPoint p = {static_cast<int32_t>(std::trunc(position.h + 0.5)),
                       static_cast<int32_t>(std::trunc(position.v + 0.5))};
        OffsetPlotterPoint(&p, o.iDx, o.iDy);

        const bool drawing = dash.iDashIndex % 2 == 0;
        if (!dash.fPerforating)
            ClipAndEmit(0, 0, 0, p, drawing ? 1 : 0);
        else if (drawing)
            ClipAndEmit(1, perf.wCutPressure, perf.wCutTool, p, 1);
        else if (perf.wGapPressure > 0)
            ClipAndEmit(1, perf.wGapPressure, perf.wCutTool, p, 1);
        else
            ClipAndEmit(0, 0, 0, p, 0);

        if (last)
            break;
        dash.iDashIndex++;
        const int32_t next = dash.aDashLength[dash.iDashIndex % count];
        step = next > 0 ? next : 0;
    }
}

// Only the first failure of a run is kept: it is the one that truncated the file.
void NoteWriteFailure(int error)
{
    if (g->conversion.iWriteFailure == 0)
        g->conversion.iWriteFailure = error != 0 ? error : -1;
}

int32_t WritePlotString(const char* text)
{
    if (text == nullptr)
        return 0;
    if (g->hPlotDataFile == nullptr) {
        NoteWriteFailure(EBADF);
        return 0;
    }
    const size_t length = std::strlen(text);
    errno = 0;
    // A buffered write may fail on an earlier command's flush: the error flag tells.
    if (std::fwrite(text, 1, length, g->hPlotDataFile) != length || std::ferror(g->hPlotDataFile)) {
        NoteWriteFailure(errno);
        return 0;
    }
    return static_cast<int32_t>(length);
}

void SetPdOptimisation(int32_t iPdOptimize)
{
    const uint32_t packed = static_cast<uint32_t>(iPdOptimize > 0 ? iPdOptimize : kDefaultPdOptimize);
    PdOptimisation& pd = g->conversion.pdOptimisation;
    pd.fPdJoin = static_cast<int16_t>((packed >> 24) & 0xFF);
    pd.wPdAngle = static_cast<int16_t>((packed >> 16) & 0xFF);
    pd.wPdMaxVertices = static_cast<int16_t>(packed & 0xFFFF);
}

void ResetPenWriterPage()
{
    g->emitter.ptLastPen = {kNoLastPen, kNoLastPen};
    g->emitter.ptLastWritten = {kNoPlotPoint, kNoPlotPoint};
    g->emitter.ptLastClip = {kNoPlotPoint, kNoPlotPoint};
}

void ResetPenWriterPath()
{
    EmitterState& e = g->emitter;
    e.ptLastClip = {kNoPlotPoint, kNoPlotPoint};
    e.wPdHistory = 0;
    e.wPdOpen = 0;
    e.aPdHistory[0] = {kNoPlotPoint, kNoPlotPoint};
    e.aPdHistory[1] = {kNoPlotPoint, kNoPlotPoint};
}

void CloseJoinedList()
{
    CloseOpenList();
}

RealPoint PlotterPointToTracePoint(PlotPoint point)
{
    const OriginOffset& o = g->conversion.originOffset;
    const double x = static_cast<double>(point.x) - o.iDx;
    const double y = static_cast<double>(point.y) - o.iDy;
    const double upm = g->conversion.wUnitsPerMm;
    RealPoint result = {0, 0};
    if (upm <= 0)
        return result;
    result.h = -y / upm * kPointsPerMm;
    result.v = x / upm * kPointsPerMm;
    return result;
}
