#include "plugin/hpgl/geometry.h"

#include <cmath>
#include <cstring>

#include "sdk/ai_real_math.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"

namespace {

constexpr double kBoxSlack = 0.0001;
constexpr double kLengthTolerance = 0.0002;

// Bounds inclusive; the box of a-b widened by slack on every side.
bool InSegmentBox(const RealPoint* p, const RealPoint* a, const RealPoint* b, double slack)
{
    return p->h >= MinReal(a->h, b->h) - slack && p->h <= MaxReal(a->h, b->h) + slack &&
           p->v >= MinReal(a->v, b->v) - slack && p->v <= MaxReal(a->v, b->v) + slack;
}

bool SamePoint(const RealPoint* a, const RealPoint* b)
{
    return a->h == b->h && a->v == b->v;
}

// The foot of the perpendicular from p on the line a-b (a and b distinct); false when the
// two lines do not meet in a finite point.
bool FootOfPerpendicular(const RealPoint* p, const RealPoint* a, const RealPoint* b, RealPoint* foot)
{
    if (a->h == b->h) {
        *foot = RealPoint{a->h, p->v};
        return true;
    }
    if (a->v == b->v) {
        *foot = RealPoint{p->h, a->v};
        return true;
    }
    const double m = (b->v - a->v) / (b->h - a->h);
    const double c = a->v - m * a->h;
    const double mp = (a->h - b->h) / (b->v - a->v);
    const double cp = p->v - mp * p->h;
    if (mp - m == 0)
        return false;
    foot->h = (c - cp) / (mp - m);
    foot->v = foot->h * m + c;
    return std::isfinite(foot->h) && std::isfinite(foot->v);
}

struct Line {
    bool vertical;
    double m;
    double c;
};

// Slope of p-q and its intercept through the point `through`; a vertical line has slope 0.
Line LineOf(const RealPoint* p, const RealPoint* q, const RealPoint* through)
{
    Line line = {p->h == q->h, 0.0, 0.0};
    if (!line.vertical) {
        line.m = (q->v - p->v) / (q->h - p->h);
        line.c = through->v - line.m * through->h;
    }
    return line;
}

// The cubic's four control points.
void ControlPoints(const PathSegment* s1, const PathSegment* s2, RealPoint pt[4])
{
    pt[0] = s1->ptAnchor;
    pt[1] = s1->ptOut;
    pt[2] = s2->ptIn;
    pt[3] = s2->ptAnchor;
}

} // namespace

double MaxReal(double a, double b) { return a > b ? a : b; }
double MinReal(double a, double b) { return a < b ? a : b; }
int32_t MaxInt(int32_t a, int32_t b) { return a > b ? a : b; }
int32_t MinInt(int32_t a, int32_t b) { return a < b ? a : b; }
double AbsReal(double x) { return x >= 0 ? x : -x; }

// The one value without a positive counterpart gives the largest positive value.
int32_t AbsInt(int32_t x)
{
    if (x == INT32_MIN)
        return INT32_MAX;
    return x >= 0 ? x : -x;
}

int16_t SignOfReal(double x) { return x < 0 ? -1 : 1; }
// The bound is stored in single precision: values written 0.0001 apart are not near.
int16_t NearlyEqual(double a, double b)
{
    return AbsReal(a - b) < static_cast<double>(0.0001f) ? 1 : 0;
}
double ArcTangent2(double a, double b) { return std::atan2(a, b); }
double SinReal(double x) { return std::sin(x); }
double CosReal(double x) { return std::cos(x); }
double SqrtReal(double x) { return std::sqrt(x); }

double RealPower(double x, int16_t n)
{
    double result = 1.0;
    for (int16_t i = 0; i < n; ++i)
        result *= x;
    return result;
}

// Half away from zero; values beyond the 32-bit range stop at its ends, NaN gives 0.
int32_t RoundToInt(double x)
{
    const double r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
    if (std::isnan(r))
        return 0;
    if (r >= 2147483647.0)
        return INT32_MAX;
    if (r <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(r);
}

void CopyRealPoint(const RealPoint* source, RealPoint* destination)
{
    destination->h = source->h;
    destination->v = source->v;
}

// The rounding goes through memory: g++ 12 drops a paired double-float-double round trip
// when it vectorises two neighbouring coordinates.
double RoundToSingle(double x)
{
    volatile float rounded = static_cast<float>(x);
    return rounded;
}

void CopyPointRoundedToFloat(const RealPoint* source, RealPoint* destination)
{
    destination->h = RoundToSingle(source->h);
    destination->v = RoundToSingle(source->v);
}

double MeasureDirection(const RealPoint* from, const RealPoint* to)
{
    return std::atan2(to->v - from->v, to->h - from->h);
}

double MeasureDistance(const RealPoint* a, const RealPoint* b)
{
    const double dh = b->h - a->h;
    const double dv = b->v - a->v;
    return std::sqrt(dh * dh + dv * dv);
}

void StepAlongDirection(RealPoint* point, double dh, double dv, double length)
{
    const double angle = std::atan2(dv, dh);
    point->h += length * std::cos(angle);
    point->v += length * std::sin(angle);
}

uint64_t PackPlotPoint(PlotPoint point)
{
    return static_cast<uint64_t>(static_cast<uint32_t>(point.x)) |
           (static_cast<uint64_t>(static_cast<uint32_t>(point.y)) << 32);
}

int16_t EqualIntPoints(PlotPoint a, PlotPoint b)
{
    return (a.x == b.x && a.y == b.y) ? 1 : 0;
}

// Sums wrap around in 32 bits as the plotter words do.
int32_t OffsetIntPoint(uint64_t offset, PlotPoint* point)
{
    const uint32_t dx = static_cast<uint32_t>(offset & 0xFFFFFFFFu);
    const uint32_t dy = static_cast<uint32_t>(offset >> 32);
    point->x = static_cast<int32_t>(static_cast<uint32_t>(point->x) + dx);
    point->y = static_cast<int32_t>(static_cast<uint32_t>(point->y) + dy);
    return point->y;
}

void SetIntRect(IntRect* rect, int32_t top, int32_t left, int32_t bottom, int32_t right)
{
    rect->left = left;
    rect->top = top;
    rect->right = right;
    rect->bottom = bottom;
}

PlotPoint SetIntPair(PlotPoint* pair, int32_t a, int32_t b)
{
    pair->x = a;
    pair->y = b;
    return *pair;
}

int16_t RectsOverlap(const AIRealRect* a, const AIRealRect* b, AIRealRect* scratch)
{
    *scratch = AIRealRect{0, 0, 0, 0};
    sAIRealMath->AIRealRectIntersect(a, b, scratch);
    return sAIRealMath->AIRealRectEmpty(scratch) ? 0 : 1;
}

int16_t IntersectSegments(const RealPoint* p1, const RealPoint* p2, const RealPoint* p3,
                          const RealPoint* p4, RealPoint* out)
{
    const Line l1 = LineOf(p1, p2, p2);
    const Line l2 = LineOf(p3, p4, p4);
    RealPoint x;
    if (l1.vertical && !l2.vertical) {
        x.h = p2->h;
        x.v = x.h * l2.m + l2.c;
    } else if (!l1.vertical && l2.vertical) {
        x.h = p4->h;
        x.v = x.h * l1.m + l1.c;
    } else if (l1.m != l2.m) {
        x.h = (l1.c - l2.c) / (l2.m - l1.m);
        x.v = x.h * l1.m + l1.c;
    } else {
        *out = *p4;
        return 0;
    }
    *out = x;
    return (InSegmentBox(&x, p1, p2, kBoxSlack) && InSegmentBox(&x, p3, p4, kBoxSlack)) ? 1 : 0;
}

int16_t IntersectLines(const RealPoint* a1, const RealPoint* a2, const RealPoint* a3,
                       const RealPoint* b1, const RealPoint* b2, const RealPoint* b3, RealPoint* out)
{
    const Line la = LineOf(a1, a2, a3);
    const Line lb = LineOf(b1, b2, b3);
    RealPoint x;
    if (la.vertical && !lb.vertical) {
        x.h = a3->h;
        x.v = x.h * lb.m + lb.c;
    } else if (!la.vertical && lb.vertical) {
        x.h = b3->h;
        x.v = x.h * la.m + la.c;
    } else if (!la.vertical && la.m != lb.m) {
        x.h = (la.c - lb.c) / (lb.m - la.m);
        x.v = x.h * la.m + la.c;
    } else {
        *out = *b3;
        return 0;
    }
    *out = x;
    return 1;
}

double MeasurePointToSegment(const RealPoint* a, const RealPoint* b, const RealPoint* point,
                             RealPoint* nearest)
{
    RealPoint best = *a;
    double distance;
    RealPoint foot;
    if (SamePoint(a, b)) {
        distance = MeasureDistance(point, a);
    } else if (FootOfPerpendicular(point, a, b, &foot) && InSegmentBox(&foot, a, b, 0.0)) {
        best = foot;
        distance = MeasureDistance(point, &foot);
    } else {
        distance = MeasureDistance(point, a);
        const double toB = MeasureDistance(point, b);
        if (toB < distance) {
            distance = toB;
            best = *b;
        }
    }
    if (nearest)
        *nearest = best;
    return distance;
}

int16_t ProjectPointOnSegment(RealPoint* point, const RealPoint* a, const RealPoint* b,
                              double tolerance)
{
    if (!InSegmentBox(point, a, b, tolerance))
        return 0;
    if (SamePoint(a, b)) {
        *point = *a;
        return 1;
    }
    RealPoint foot;
    if (!FootOfPerpendicular(point, a, b, &foot))
        return 0;
    foot.h = MaxReal(MinReal(a->h, b->h), MinReal(foot.h, MaxReal(a->h, b->h)));
    foot.v = MaxReal(MinReal(a->v, b->v), MinReal(foot.v, MaxReal(a->v, b->v)));
    if (MeasureDistance(&foot, point) < tolerance) {
        *point = foot;
        return 1;
    }
    return 0;
}

namespace {

void FillBezierPair(double* a, double* b, int n)
{
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        a[i] = RealPower(1 - t, 3);
        b[i] = t * RealPower(t - 1, 2) * 3;
    }
    a[0] = 1;
    b[0] = 0;
    a[n] = 0;
    b[n] = 0;
}

} // namespace

void BuildBezierTables()
{
    if (!g)
        return;
    BezierTables* t = &g->tables;
    FillBezierPair(t->dBezierA128, t->dBezierB128, 128);
    FillBezierPair(t->dBezierA64, t->dBezierB64, 64);
}

void EvaluateBezierPoint(const PathSegment* s1, const PathSegment* s2, int16_t steps, int16_t i,
                         RealPoint* out)
{
    const BezierTables* t = &g->tables;
    const bool fine = steps != 64;
    const int16_t n = fine ? 128 : 64;
    const double* a = fine ? t->dBezierA128 : t->dBezierA64;
    const double* b = fine ? t->dBezierB128 : t->dBezierB64;
    if (i < 0)
        i = 0;
    if (i > n)
        i = n;
    const RealPoint& p0 = s1->ptAnchor;
    const RealPoint& p1 = s1->ptOut;
    const RealPoint& p2 = s2->ptIn;
    const RealPoint& p3 = s2->ptAnchor;
    out->h = a[i] * p0.h + b[i] * p1.h + b[n - i] * p2.h + a[n - i] * p3.h;
    out->v = a[i] * p0.v + b[i] * p1.v + b[n - i] * p2.v + a[n - i] * p3.v;
}

int16_t IsStraightSegment(const PathSegment* s1, const PathSegment* s2)
{
    return (sAIRealMath->AIRealPointEqual(&s1->ptOut, &s1->ptAnchor) &&
            sAIRealMath->AIRealPointEqual(&s2->ptIn, &s2->ptAnchor)) ? 1 : 0;
}

void SimplifyPolyline(int16_t* count, RealPoint* points, double tolerance)
{
    const int16_t n = *count;
    // More points than the working copy holds: the polyline stays whole rather than cut.
    if (n < 3 || n > kMaxPolylinePoints)
        return;
    RealPoint work[kMaxPolylinePoints];
    work[0] = points[0];
    work[1] = points[1];
    int k = 1;
    double heading = MeasureDirection(&points[0], &points[1]);
    for (int i = 2; i < n; ++i) {
        const RealPoint a = work[k - 1];
        const double d = MeasureDistance(&a, &points[i]);
        const RealPoint q = {a.h + d * std::cos(heading), a.v + d * std::sin(heading)};
        if (MeasureDistance(&points[i], &q) > tolerance) {
            heading = MeasureDirection(&a, &points[i]);
            ++k;
        }
        work[k] = points[i];
    }
    *count = static_cast<int16_t>(k + 1);
    std::memcpy(points, work, sizeof(RealPoint) * static_cast<size_t>(k + 1));
}

double MeasureBezierLength(const PathSegment* s1, const PathSegment* s2, RealPoint* stop)
{
    const RealPoint& p0 = s1->ptAnchor;
    const RealPoint& p3 = s2->ptAnchor;
    if (IsStraightSegment(s1, s2)) {
        if (stop && ProjectPointOnSegment(stop, &p0, &p3, kLengthTolerance))
            return MeasureDistance(&p0, stop);
        return MeasureDistance(&p0, &p3);
    }
    double length = 0;
    RealPoint prev = p0;
    for (int16_t i = 1; i <= 64; ++i) {
        RealPoint next;
        EvaluateBezierPoint(s1, s2, 64, i, &next);
        if (i == 64)
            next = p3;
        if (stop && ProjectPointOnSegment(stop, &prev, &next, kLengthTolerance))
            return length + MeasureDistance(&prev, stop);
        length += MeasureDistance(&prev, &next);
        prev = next;
    }
    return length;
}

int16_t FitArcToSegment(const PathSegment* s1, const PathSegment* s2, RealPoint* centre,
                        double* radius)
{
    RealPoint pt[4];
    ControlPoints(s1, s2, pt);
    const bool flatStart = pt[0].v == pt[1].v;
    const bool flatEnd = pt[2].v == pt[3].v;
    if (flatStart && flatEnd)
        return 0;
    double m1 = 0, b1 = 0, m2 = 0, b2 = 0;
    if (!flatStart) {
        m1 = -(pt[1].h - pt[0].h) / (pt[1].v - pt[0].v);
        b1 = pt[0].v - m1 * pt[0].h;
    }
    if (!flatEnd) {
        m2 = -(pt[2].h - pt[3].h) / (pt[2].v - pt[3].v);
        b2 = pt[3].v - m2 * pt[3].h;
    }
    RealPoint z;
    if (flatStart) {
        z.h = pt[0].h;
        z.v = z.h * m2 + b2;
    } else if (flatEnd) {
        z.h = pt[3].h;
        z.v = z.h * m1 + b1;
    } else {
        // Parallel normals meet nowhere: no circle through both ends.
        if (m2 - m1 == 0)
            return 0;
        z.h = (b1 - b2) / (m2 - m1);
        z.v = z.h * m1 + b1;
    }
    if (!std::isfinite(z.h) || !std::isfinite(z.v))
        return 0;
    *centre = z;
    const double r0 = MeasureDistance(&z, &pt[0]);
    const double r3 = MeasureDistance(&z, &pt[3]);
    const double allowed = r0 > 100 ? r0 / 10000 : 0.01;
    if (AbsReal(r0 - r3) > allowed)
        return 0;
    *radius = (r0 + r3) / 2;
    return 1;
}

int16_t IsCircularArcSegment(const PathSegment* s1, const PathSegment* s2, RealPoint* centre,
                             double* radius)
{
    RealPoint pt[4];
    ControlPoints(s1, s2, pt);
    const bool upStart = pt[0].h == pt[1].h;
    const bool upEnd = pt[2].h == pt[3].h;
    if (upStart && upEnd)
        return 0;
    if (!FitArcToSegment(s1, s2, centre, radius))
        return 0;
    const Line t1 = LineOf(&pt[0], &pt[1], &pt[0]);
    const Line t2 = LineOf(&pt[2], &pt[3], &pt[2]);
    RealPoint x;
    if (upStart) {
        x.h = pt[0].h;
        x.v = x.h * t2.m + t2.c;
    } else if (upEnd) {
        x.h = pt[2].h;
        x.v = x.h * t1.m + t1.c;
    } else {
        if (t2.m - t1.m == 0)
            return 0;
        x.h = (t1.c - t2.c) / (t2.m - t1.m);
        x.v = x.h * t1.m + t1.c;
    }
    const double toStart = MeasureDistance(&x, &pt[0]);
    const double toEnd = MeasureDistance(&x, &pt[3]);
    // The tangents meet on an end point: no handle ratio to compare.
    if (toStart == 0 || toEnd == 0)
        return 0;
    const double r1 = MeasureDistance(&pt[1], &pt[0]) / toStart;
    const double r2 = MeasureDistance(&pt[2], &pt[3]) / toEnd;
    double a0 = MeasureDirection(centre, &pt[0]);
    double a3 = MeasureDirection(centre, &pt[3]);
    if (AbsReal(a3 - a0) > kStoredPi) {
        if (a3 < 0)
            a3 += kStoredTwoPi;
        else
            a0 += kStoredTwoPi;
    }
    const double k = 0.552277 + std::sin(kStoredHalfPi - AbsReal(a3 - a0)) / 8;
    return (AbsReal(r1 - k) < 0.0001 && AbsReal(r2 - k) < 0.0001) ? 1 : 0;
}
