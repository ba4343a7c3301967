#include "plugin/commands/snapping.h"

#include <cmath>

#include "sdk/ai_document_view.h"
#include "sdk/ai_real_math.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/suite_table.h"

namespace {

// The angle a lies in [lo, hi], directly or one stored turn away.
bool AngleInSweep(double a, double lo, double hi)
{
    if (lo <= a && a <= hi)
        return true;
    if (a < 0) {
        const double turned = a + kStoredTwoPi;
        return lo <= turned && turned <= hi;
    }
    if (a > 0) {
        const double turned = a - kStoredTwoPi;
        return lo <= turned && turned <= hi;
    }
    return false;
}

int16_t SnapToArc(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                  const RealPoint* centre, double radius, double tolerance)
{
    if (!(AbsReal(radius - MeasureDistance(centre, point)) < tolerance + 0.01))
        return 0;
    double a0 = MeasureDirection(centre, &s1->ptAnchor);
    double a1 = MeasureDirection(centre, &s2->ptAnchor);
    if (AbsReal(a1 - a0) > kStoredPi) {
        if (a1 < 0)
            a1 += kStoredTwoPi;
        else
            a0 += kStoredTwoPi;
    }
    if (a0 > a1) {
        const double swap = a0;
        a0 = a1;
        a1 = swap;
    }
    const double ap = MeasureDirection(centre, point);
    if (!AngleInSweep(ap, a0, a1))
        return 0;
    point->h = RoundToSingle(centre->h + radius * std::cos(ap));
    point->v = RoundToSingle(centre->v + radius * std::sin(ap));
    return 1;
}

// Projects onto the 64-chord polyline of the curve, odd chords first, halves second.
int16_t SnapToSampledCurve(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                           double tolerance)
{
    RealPoint k[65];
    for (int16_t i = 0; i <= 64; ++i)
        EvaluateBezierPoint(s1, s2, 64, i, &k[i]);
    int prev = 0;
    for (int i = 1; i <= 64; i = (i == 63) ? 64 : i + 2) {
        RealPoint trial = *point;
        if (ProjectPointOnSegment(&trial, &k[prev], &k[i], tolerance)) {
            RealPoint first = *point;
            RealPoint second = *point;
            double dFirst = 32000;
            double dSecond = 32000;
            if (ProjectPointOnSegment(&first, &k[prev], &k[i - 1], tolerance))
                dFirst = MeasureDistance(&first, point);
            if (ProjectPointOnSegment(&second, &k[i - 1], &k[i], tolerance))
                dSecond = MeasureDistance(&second, point);
            const RealPoint& best = dFirst < dSecond ? first : second;
            point->h = RoundToSingle(best.h);
            point->v = RoundToSingle(best.v);
            return 1;
        }
        prev = i;
    }
    return 0;
}

} // namespace

double MeasureViewTolerance()
{
    // Without a view to ask, the tolerance is that of 100 %.
    AIReal zoom = 1.0;
    AIDocumentViewHandle view = nullptr;
    if (sAIDocumentView->GetNthDocumentView(0, &view) == kNoErr) {
        AIReal asked = 0;
        if (sAIDocumentView->GetDocumentViewZoom(view, &asked) == kNoErr)
            zoom = asked;
    }
    return zoom > 0 ? 2 / zoom : -2 * zoom;
}

int16_t SnapToStraightSegment(RealPoint* point, const RealPoint* a, const RealPoint* b,
                              double tolerance)
{
    if (point->h < MinReal(a->h, b->h) - tolerance || point->h > MaxReal(a->h, b->h) + tolerance ||
        point->v < MinReal(a->v, b->v) - tolerance || point->v > MaxReal(a->v, b->v) + tolerance)
        return 0;
    if (a->h != b->h && a->v != b->v) {
        const double m = (b->v - a->v) / (b->h - a->h);
        if (AbsReal(m) <= 0.5) {
            const double v = a->v + (point->h - a->h) * m;
            if (AbsReal(v - point->v) < tolerance) {
                point->v = RoundToSingle(v);
                return 1;
            }
        } else {
            const double h = a->h + (point->v - a->v) / m;
            if (AbsReal(h - point->h) < tolerance) {
                point->h = RoundToSingle(h);
                return 1;
            }
        }
        return 0;
    }
    if (a->h == b->h && AbsReal(a->h - point->h) < tolerance) {
        point->h = RoundToSingle(a->h);
        return 1;
    }
    if (a->v == b->v && AbsReal(b->v - point->v) < tolerance) {
        point->v = RoundToSingle(a->v);
        return 1;
    }
    return 0;
}

int16_t SnapToCurveSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                           double tolerance, int16_t subdivide)
{
    RealPoint centre;
    double radius = 0;
    if (IsCircularArcSegment(s1, s2, &centre, &radius))
        return SnapToArc(point, s1, s2, &centre, radius, tolerance);
    if (!subdivide)
        return 0;
    return SnapToSampledCurve(point, s1, s2, tolerance);
}

int16_t HitTestRect(const RealPoint* point, const AIRealRect* rect)
{
    const double tolerance = RoundToSingle(MeasureViewTolerance());
    AIRealRect grown = *rect;
    sAIRealMath->AIRealRectInset(&grown, -tolerance, -tolerance);
    return sAIRealMath->AIRealPointInRect(point, &grown) ? 1 : 0;
}

int16_t SnapToPoint(RealPoint* point, const RealPoint* target)
{
    const double tolerance = MeasureViewTolerance();
    if (target->h - tolerance <= point->h && point->h <= target->h + tolerance &&
        target->v - tolerance <= point->v && point->v <= target->v + tolerance) {
        *point = *target;
        return 1;
    }
    return 0;
}

int16_t HitTestStraightSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2)
{
    if (!IsStraightSegment(s1, s2))
        return 0;
    return SnapToStraightSegment(point, &s1->ptAnchor, &s2->ptAnchor, MeasureViewTolerance());
}

int16_t HitTestCurveSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2)
{
    if (IsStraightSegment(s1, s2))
        return 0;
    return SnapToCurveSegment(point, s1, s2, MeasureViewTolerance(), 0);
}

int16_t HitTestSegment(RealPoint* point, const PathSegment* s1, const PathSegment* s2,
                       int16_t subdivide)
{
    const double tolerance = MeasureViewTolerance();
    if (IsStraightSegment(s1, s2))
        return SnapToStraightSegment(point, &s1->ptAnchor, &s2->ptAnchor, tolerance);
    return SnapToCurveSegment(point, s1, s2, tolerance, subdivide);
}

int16_t SegmentBoxMissesRect(const PathSegment* s1, const PathSegment* s2, const AIRealRect* rect)
{
    const RealPoint pt[4] = {s1->ptAnchor, s1->ptOut, s2->ptIn, s2->ptAnchor};
    AIRealRect box = {pt[0].h, pt[0].v, pt[0].h, pt[0].v};
    for (const RealPoint& p : pt) {
        box.left = MinReal(box.left, p.h);
        box.right = MaxReal(box.right, p.h);
        box.bottom = MinReal(box.bottom, p.v);
        box.top = MaxReal(box.top, p.v);
    }
    box.right = sAIRealMath->AIRealAdd(box.right, 1);
    box.top = sAIRealMath->AIRealAdd(box.top, 1);
    AIRealRect scratch;
    return RectsOverlap(&box, rect, &scratch) ? 0 : 1;
}
