#include "plugin/commands/snapping.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <memory>

#include "host/view/document_view_suite.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/plugin_globals.h"
#include "host/suites/real_math_suite.h"
#include "plugin/entry/suite_table.h"

namespace {

// The plug-in state and the host's Real Math and Document View suites, with the host's
// view back at zoom 1.
class SnappingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        globals = std::make_unique<PluginGlobals>();
        savedGlobals = g;
        savedRealMath = sAIRealMath;
        savedView = sAIDocumentView;
        g = globals.get();
        sAIRealMath = HostRealMathSuite();
        sAIDocumentView = HostDocumentViewSuite();
        ResetHostView();
        BuildBezierTables();
    }
    void TearDown() override
    {
        ResetHostView();
        g = savedGlobals;
        sAIRealMath = savedRealMath;
        sAIDocumentView = savedView;
    }

    std::unique_ptr<PluginGlobals> globals;
    PluginGlobals* savedGlobals = nullptr;
    const AIRealMathSuite* savedRealMath = nullptr;
    const AIDocumentViewSuite* savedView = nullptr;
};

void MakeCubic(RealPoint p0, RealPoint p1, RealPoint p2, RealPoint p3, PathSegment* s1,
               PathSegment* s2)
{
    *s1 = PathSegment{p0, p0, p1, 0};
    *s2 = PathSegment{p3, p2, p3, 0};
}

double Degrees(double d) { return d * M_PI / 180.0; }

// A circular arc about the origin from angle a0 to a1 with handles 0.55228 r long.
void MakeArc(double r, double a0, double a1, PathSegment* s1, PathSegment* s2)
{
    const double turn = a1 > a0 ? 1 : -1;
    const double k = 0.55228 * r * turn;
    const RealPoint p0 = {r * std::cos(a0), r * std::sin(a0)};
    const RealPoint p3 = {r * std::cos(a1), r * std::sin(a1)};
    MakeCubic(p0, {p0.h - k * std::sin(a0), p0.v + k * std::cos(a0)},
              {p3.h + k * std::sin(a1), p3.v - k * std::cos(a1)}, p3, s1, s2);
}

RealPoint Polar(double r, double degrees)
{
    return RealPoint{r * std::cos(Degrees(degrees)), r * std::sin(Degrees(degrees))};
}

bool IsSingle(double x) { return static_cast<double>(static_cast<float>(x)) == x; }

// A curve that is no circular arc: its handle ratio is 0.6 over a wide sweep.
void MakeBow(PathSegment* s1, PathSegment* s2)
{
    MakeCubic({0, 0}, {30, 60}, {70, 60}, {100, 0}, s1, s2);
}

TEST_F(SnappingTest, ViewToleranceIsTwoPixelsAtTheFirstViewsZoom)
{
    struct Case {
        double zoom;
        double expected;
    };
    const Case cases[] = {{1, 2}, {4, 0.5}, {0.25, 8}, {0, 0}, {-3, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        SetHostViewZoom(c.zoom);
        EXPECT_EQ(MeasureViewTolerance(), c.expected);
    }
    SetHostViewZoom(4);
    SetHostViewCount(0);  // no view to ask: the tolerance of 100 %
    EXPECT_EQ(MeasureViewTolerance(), 2);
}

TEST_F(SnappingTest, SnapToStraightSegmentMovesOneCoordinate)
{
    struct Case {
        const char* name;
        RealPoint a, b, p;
        int16_t expected;
        RealPoint after;
    };
    const Case cases[] = {
        {"slope 0.5 moves v", {0, 0}, {10, 5}, {4, 2.3}, 1, {4, 2}},
        {"slope -0.5 moves v", {0, 10}, {10, 5}, {4, 8.3}, 1, {4, 8}},
        {"slope 0.6 moves h", {0, 0}, {10, 6}, {5, 3.2}, 1, {5.3333335f, 3.2}},
        {"slope 0.5, v too far, h not tried", {0, 0}, {10, 5}, {4, 2.6}, 0, {4, 2.6}},
        {"slope 0.6, h too far", {0, 0}, {10, 6}, {4.3, 3.2}, 0, {4.3, 3.2}},
        {"moved coordinate in single precision", {0, 0}, {3, 1}, {1, 0.4}, 1, {1, static_cast<float>(1.0 / 3.0)}},
        {"past the end within the widened box", {0, 0}, {10, 5}, {10.4, 5.1}, 1, {10.4, 5.2f}},
        {"outside the widened box", {0, 0}, {10, 5}, {10.6, 5}, 0, {10.6, 5}},
        {"vertical", {3, 0}, {3, 10}, {3.4, 5}, 1, {3, 5}},
        {"vertical at the tolerance", {3, 0}, {3, 10}, {3.5, 5}, 0, {3.5, 5}},
        {"horizontal", {0, 2}, {10, 2}, {5, 2.3}, 1, {5, 2}},
        {"zero-length segment", {2, 2}, {2, 2}, {2.3, 2.1}, 1, {2, 2.1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint p = c.p;
        EXPECT_EQ(SnapToStraightSegment(&p, &c.a, &c.b, 0.5), c.expected);
        EXPECT_EQ(p.h, c.after.h);
        EXPECT_EQ(p.v, c.after.v);
    }
}

TEST_F(SnappingTest, SnapToCurveSegmentOnAnArcOfRadius100)
{
    struct Case {
        const char* name;
        double from, to;  // the arc's sweep in degrees
        double distance, angle;
        int16_t expected;
    };
    const Case cases[] = {
        {"100.5 away inside the sweep", 0, 90, 100.5, 45, 1},
        {"99.5 away inside the sweep", 0, 90, 99.5, 30, 1},
        {"100.52 away: beyond tol + 0.01", 0, 90, 100.52, 45, 0},
        {"outside the sweep", 0, 90, 100, -30, 0},
        {"on the sweep's start", 0, 90, 100.3, 0, 1},
        {"clockwise arc", 90, 0, 100.2, 60, 1},
        {"across the half turn, at 180", 135, 225, 100.2, 180, 1},
        {"across the half turn, at -170", 135, 225, 100.2, -170, 1},
        {"across the half turn, at 140", 135, 225, 100.2, 140, 1},
        {"across the half turn, outside at 100", 135, 225, 100.2, 100, 0},
        {"across the half turn, outside at -120", 135, 225, 100.2, -120, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeArc(100, Degrees(c.from), Degrees(c.to), &s1, &s2);
        RealPoint p = Polar(c.distance, c.angle);
        const RealPoint before = p;
        for (int16_t subdivide : {int16_t(0), int16_t(1)}) {
            p = before;
            EXPECT_EQ(SnapToCurveSegment(&p, &s1, &s2, 0.5, subdivide), c.expected);
            if (c.expected) {
                EXPECT_NEAR(std::hypot(p.h, p.v), 100, 1e-4);
                EXPECT_NEAR(std::atan2(p.v, p.h), std::atan2(before.v, before.h), 1e-6);
                EXPECT_TRUE(IsSingle(p.h));
                EXPECT_TRUE(IsSingle(p.v));
            } else {
                EXPECT_EQ(p.h, before.h);
                EXPECT_EQ(p.v, before.v);
            }
        }
    }
}

TEST_F(SnappingTest, SnapToCurveSegmentProjectsOntoTheSampledCurveOnlyWhenSubdividing)
{
    PathSegment s1, s2;
    MakeBow(&s1, &s2);
    RealPoint centre = {};
    double radius = 0;
    ASSERT_EQ(IsCircularArcSegment(&s1, &s2, &centre, &radius), 0);

    struct Case {
        const char* name;
        RealPoint p;
        int16_t expected;
    };
    const Case cases[] = {
        {"above the middle", {50, 45.3}, 1},
        {"below the middle", {50, 44.8}, 1},
        {"near the start", {0.2, 0.1}, 1},
        {"near the end", {99.9, 0.3}, 1},
        {"on a rising flank", {20, 30.4}, 1},
        {"far above", {50, 60}, 0},
        {"inside the bow", {50, 20}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint p = c.p;
        EXPECT_EQ(SnapToCurveSegment(&p, &s1, &s2, 0.5, 0), 0);
        EXPECT_EQ(p.h, c.p.h);
        EXPECT_EQ(p.v, c.p.v);

        EXPECT_EQ(SnapToCurveSegment(&p, &s1, &s2, 0.5, 1), c.expected);
        if (!c.expected) {
            EXPECT_EQ(p.h, c.p.h);
            EXPECT_EQ(p.v, c.p.v);
            continue;
        }
        // The point lands on the nearest chord of the 64-step polyline.
        double nearest = 1e9;
        RealPoint best = {};
        RealPoint prev = s1.ptAnchor;
        for (int16_t i = 1; i <= 64; ++i) {
            RealPoint next;
            EvaluateBezierPoint(&s1, &s2, 64, i, &next);
            RealPoint foot;
            const double d = MeasurePointToSegment(&prev, &next, &c.p, &foot);
            if (d < nearest) {
                nearest = d;
                best = foot;
            }
            prev = next;
        }
        EXPECT_NEAR(p.h, best.h, 1e-5);
        EXPECT_NEAR(p.v, best.v, 1e-5);
        EXPECT_TRUE(IsSingle(p.h));
        EXPECT_TRUE(IsSingle(p.v));
    }
}

TEST_F(SnappingTest, HitTestRectGrowsByTheViewTolerance)
{
    struct Case {
        double zoom;
        RealPoint p;
        int16_t expected;
    };
    const AIRealRect rect = {0, 10, 10, 0};  // left, top, right, bottom
    const Case cases[] = {
        {1, {5, 5}, 1},    {1, {11.9, 5}, 1}, {1, {12, 5}, 1},   {1, {12.1, 5}, 0},
        {1, {5, -2}, 1},   {1, {5, -2.1}, 0}, {1, {-1.9, 11.9}, 1},
        {4, {10.4, 5}, 1}, {4, {10.6, 5}, 0}, {4, {5, 10.5}, 1}, {4, {5, 10.51}, 0},
        {0, {10, 5}, 1},   {0, {10.01, 5}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " at " << c.p.h << "," << c.p.v);
        SetHostViewZoom(c.zoom);
        EXPECT_EQ(HitTestRect(&c.p, &rect), c.expected);
    }
}

TEST_F(SnappingTest, SnapToPointWithinTheViewToleranceInBothAxes)
{
    struct Case {
        double zoom;
        RealPoint p;
        int16_t expected;
    };
    const RealPoint target = {5, 5};
    const Case cases[] = {
        {1, {7, 3}, 1}, {1, {3, 7}, 1}, {1, {6.5, 5.5}, 1}, {1, {2.99, 5}, 0}, {1, {7.01, 5}, 0}, {1, {5, 2.99}, 0},
        {4, {5.5, 5.5}, 1}, {4, {5.6, 5}, 0}, {4, {5, 4.4}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " at " << c.p.h << "," << c.p.v);
        SetHostViewZoom(c.zoom);
        RealPoint p = c.p;
        EXPECT_EQ(SnapToPoint(&p, &target), c.expected);
        EXPECT_EQ(p.h, c.expected ? target.h : c.p.h);
        EXPECT_EQ(p.v, c.expected ? target.v : c.p.v);
    }
}

TEST_F(SnappingTest, HitTestsDispatchOnTheKindOfPiece)
{
    enum Piece { kStraight, kArc, kBow };
    struct Case {
        const char* name;
        int16_t (*test)(RealPoint*, const PathSegment*, const PathSegment*);
        Piece piece;
        int16_t expected;
    };
    const auto segment = [](RealPoint* p, const PathSegment* s1, const PathSegment* s2) {
        return HitTestSegment(p, s1, s2, 0);
    };
    const auto subdividing = [](RealPoint* p, const PathSegment* s1, const PathSegment* s2) {
        return HitTestSegment(p, s1, s2, 1);
    };
    const Case cases[] = {
        {"straight test, straight piece", HitTestStraightSegment, kStraight, 1},
        {"straight test, arc", HitTestStraightSegment, kArc, 0},
        {"straight test, bow", HitTestStraightSegment, kBow, 0},
        {"curve test, straight piece", HitTestCurveSegment, kStraight, 0},
        {"curve test, arc", HitTestCurveSegment, kArc, 1},
        {"curve test, bow: no subdivision", HitTestCurveSegment, kBow, 0},
        {"segment test, straight piece", segment, kStraight, 1},
        {"segment test, arc", segment, kArc, 1},
        {"segment test, bow", segment, kBow, 0},
        {"subdividing segment test, bow", subdividing, kBow, 1},
        {"subdividing segment test, straight piece", subdividing, kStraight, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        RealPoint p;
        switch (c.piece) {
        case kStraight:
            MakeCubic({0, 0}, {0, 0}, {10, 5}, {10, 5}, &s1, &s2);
            p = {4, 3};  // 1 point off at zoom 1 (tolerance 2)
            break;
        case kArc:
            MakeArc(100, 0, Degrees(90), &s1, &s2);
            p = Polar(101.5, 45);
            break;
        case kBow:
            MakeBow(&s1, &s2);
            p = {50, 46.5};
            break;
        }
        const RealPoint before = p;
        EXPECT_EQ(c.test(&p, &s1, &s2), c.expected);
        if (!c.expected) {
            EXPECT_EQ(p.h, before.h);
            EXPECT_EQ(p.v, before.v);
        } else if (c.piece == kStraight) {
            EXPECT_EQ(p.h, 4);
            EXPECT_EQ(p.v, 2);
        }
    }
    // At zoom 4 the same straight miss is beyond the tolerance of 0.5.
    SetHostViewZoom(4);
    PathSegment s1, s2;
    MakeCubic({0, 0}, {0, 0}, {10, 5}, {10, 5}, &s1, &s2);
    RealPoint p = {4, 3};
    EXPECT_EQ(HitTestSegment(&p, &s1, &s2, 1), 0);
}

TEST_F(SnappingTest, SegmentBoxMissesRect)
{
    struct Case {
        const char* name;
        RealPoint p0, p1, p2, p3;
        AIRealRect rect;  // left, top, right, bottom
        int16_t expected;
    };
    const Case cases[] = {
        // a flat box still reaches one point up and to the right
        {"above a flat segment", {0, 5}, {0, 5}, {10, 5}, {10, 5}, {2, 5.8, 4, 5.5}, 0},
        {"right of a flat segment", {0, 5}, {0, 5}, {10, 5}, {10, 5}, {10.5, 5.8, 10.9, 5.2}, 0},
        {"beyond the raised right side", {0, 5}, {0, 5}, {10, 5}, {10, 5}, {11.5, 5.8, 12, 5.2}, 1},
        {"below a flat segment", {0, 5}, {0, 5}, {10, 5}, {10, 5}, {2, 4.9, 4, 4}, 1},
        {"left of the box", {0, 5}, {0, 5}, {10, 5}, {10, 5}, {-3, 6, -1, 5}, 1},
        {"inside the handles' box, off the curve", {100, 0}, {100, 55}, {55, 100}, {0, 100}, {90, 95, 95, 90}, 0},
        {"apart from the curve's box", {100, 0}, {100, 55}, {55, 100}, {0, 100}, {102, 50, 110, 40}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeCubic(c.p0, c.p1, c.p2, c.p3, &s1, &s2);
        EXPECT_EQ(SegmentBoxMissesRect(&s1, &s2, &c.rect), c.expected);
    }
}

TEST_F(SnappingTest, DegenerateCurvesSnapWithoutDividingByZero)
{
    struct Case {
        const char* name;
        RealPoint p0, p1, p2, p3;
    };
    const Case cases[] = {
        {"one point", {3, 3}, {3, 3}, {3, 3}, {3, 3}},
        {"sloped line with handles on it", {0, 0}, {1, 1}, {2, 2}, {3, 3}},
        {"vertical line with handles on it", {0, 0}, {0, 1}, {0, 2}, {0, 3}},
        {"closed loop on one anchor", {0, 0}, {10, 10}, {-10, 10}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeCubic(c.p0, c.p1, c.p2, c.p3, &s1, &s2);
        std::feclearexcept(FE_ALL_EXCEPT);
        RealPoint p = {c.p0.h + 0.1, c.p0.v + 0.1};
        const int16_t snapped = SnapToCurveSegment(&p, &s1, &s2, 0.5, 1);
        RealPoint q = p;
        HitTestSegment(&q, &s1, &s2, 1);
        const AIRealRect unit = {0, 1, 1, 0};
        SegmentBoxMissesRect(&s1, &s2, &unit);
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
        EXPECT_EQ(snapped, 1);
        EXPECT_TRUE(std::isfinite(p.h) && std::isfinite(p.v));
    }
    SetHostViewZoom(0);
    std::feclearexcept(FE_ALL_EXCEPT);
    const RealPoint inside = {0.5, 0.5};
    const AIRealRect unit = {0, 1, 1, 0};
    EXPECT_EQ(HitTestRect(&inside, &unit), 1);
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO));
}

} // namespace
