#include "plugin/hpgl/geometry.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "plugin/entry/plugin_globals.h"
#include "host/suites/real_math_suite.h"
#include "plugin/entry/suite_table.h"

namespace {

// The plug-in state and the host's Real Math suite as a message would hand them over.
class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        globals = std::make_unique<PluginGlobals>();
        savedGlobals = g;
        savedRealMath = sAIRealMath;
        g = globals.get();
        sAIRealMath = HostRealMathSuite();
        BuildBezierTables();
    }
    void TearDown() override
    {
        g = savedGlobals;
        sAIRealMath = savedRealMath;
    }

    std::unique_ptr<PluginGlobals> globals;
    PluginGlobals* savedGlobals = nullptr;
    const AIRealMathSuite* savedRealMath = nullptr;
};

PathSegment Segment(RealPoint anchor, RealPoint in, RealPoint out)
{
    PathSegment s{};
    s.ptAnchor = anchor;
    s.ptIn = in;
    s.ptOut = out;
    return s;
}

// The cubic P0 P1 P2 P3 as the two path segments that carry it.
void MakeCubic(RealPoint p0, RealPoint p1, RealPoint p2, RealPoint p3, PathSegment* s1,
               PathSegment* s2)
{
    *s1 = Segment(p0, p0, p1);
    *s2 = Segment(p3, p2, p3);
}

// A circular arc about c from angle a0 to a1 whose handles are ratio times the radius.
void MakeArc(RealPoint c, double r, double a0, double a1, double ratio, PathSegment* s1,
             PathSegment* s2)
{
    const double turn = a1 > a0 ? 1 : -1;
    const RealPoint p0 = {c.h + r * std::cos(a0), c.v + r * std::sin(a0)};
    const RealPoint p3 = {c.h + r * std::cos(a1), c.v + r * std::sin(a1)};
    const RealPoint p1 = {p0.h - turn * ratio * r * std::sin(a0), p0.v + turn * ratio * r * std::cos(a0)};
    const RealPoint p2 = {p3.h + turn * ratio * r * std::sin(a1), p3.v - turn * ratio * r * std::cos(a1)};
    MakeCubic(p0, p1, p2, p3, s1, s2);
}

double Degrees(double d) { return d * M_PI / 180.0; }

// ---- scalars ----

TEST(GeometryScalars, RoundToIntIsHalfAwayFromZero)
{
    struct Case {
        double x;
        int32_t expected;
    };
    const Case cases[] = {
        {2.5, 3}, {-2.5, -3}, {-0.4, 0}, {0.4, 0}, {0.5, 1}, {-0.5, -1},
        {1.49, 1}, {-1.49, -1}, {0.0, 0}, {2147483646.4, 2147483646},
        // beyond the 32-bit range the result stops at its ends instead of wrapping
        {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {NAN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(RoundToInt(c.x), c.expected);
    }
}

TEST(GeometryScalars, RealPowerMultipliesNTimesAndIsOneForNoneOrNegative)
{
    struct Case {
        double x;
        int16_t n;
        double expected;
    };
    const Case cases[] = {
        {2, 3, 8}, {-2, 3, -8}, {0.5, 3, 0.125}, {7, 1, 7},
        {5, 0, 1}, {5, -2, 1}, {0, 0, 1}, {0, 2, 0}, {-3, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "^" << c.n);
        EXPECT_EQ(RealPower(c.x, c.n), c.expected);
    }
}

TEST(GeometryScalars, NearlyEqualIsStrict)
{
    struct Case {
        double a;
        double b;
        int16_t expected;
    };
    const Case cases[] = {
        {1.0, 1.0001, 0},    // written 0.0001 apart: not near
        {0.0, 0.0001, 0},
        {1.0, 1.00009, 1},
        {5.0, 5.0, 1},
        {-1.0, -1.0002, 0},
        {-1.0, -0.99995, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " ~ " << c.b);
        EXPECT_EQ(NearlyEqual(c.a, c.b), c.expected);
        EXPECT_EQ(NearlyEqual(c.b, c.a), c.expected);
    }
}

TEST(GeometryScalars, SignsAbsolutesAndExtremes)
{
    EXPECT_EQ(SignOfReal(0.0), 1);
    EXPECT_EQ(SignOfReal(-0.0), 1);
    EXPECT_EQ(SignOfReal(-1e-300), -1);
    EXPECT_EQ(SignOfReal(3.0), 1);
    EXPECT_EQ(AbsReal(-2.5), 2.5);
    EXPECT_EQ(AbsInt(-7), 7);
    EXPECT_EQ(AbsInt(INT32_MIN), INT32_MAX);
    EXPECT_EQ(MaxReal(-1, 2), 2);
    EXPECT_EQ(MinReal(-1, 2), -1);
    EXPECT_EQ(MaxInt(-5, -6), -5);
    EXPECT_EQ(MinInt(-5, -6), -6);
    EXPECT_EQ(ArcTangent2(1, 0), std::atan2(1.0, 0.0));
}

// ---- points and rectangles ----

TEST(GeometryPoints, DirectionDistanceAndStep)
{
    const RealPoint o = {1, 1};
    const RealPoint east = {5, 1};
    const RealPoint west = {-3, 1};
    const RealPoint far = {4, 5};
    EXPECT_EQ(MeasureDirection(&o, &east), 0.0);
    EXPECT_DOUBLE_EQ(MeasureDirection(&o, &west), M_PI);
    EXPECT_EQ(MeasureDistance(&o, &far), 5.0);

    RealPoint p = {0, 0};
    StepAlongDirection(&p, 3, 4, 10);
    EXPECT_NEAR(p.h, 6, 1e-12);
    EXPECT_NEAR(p.v, 8, 1e-12);
}

TEST(GeometryPoints, CopiesRoundToSinglePrecisionOnlyWhenAsked)
{
    const RealPoint src = {0.1, -1.0 / 3.0};
    RealPoint exact = {};
    RealPoint rounded = {};
    CopyRealPoint(&src, &exact);
    CopyPointRoundedToFloat(&src, &rounded);
    EXPECT_EQ(exact.h, 0.1);
    EXPECT_EQ(exact.v, -1.0 / 3.0);
    EXPECT_EQ(rounded.h, static_cast<double>(0.1f));
    EXPECT_EQ(rounded.v, static_cast<double>(static_cast<float>(-1.0 / 3.0)));
    EXPECT_NE(rounded.h, 0.1);
}

TEST(GeometryPoints, IntegerPointsAndRectangles)
{
    PlotPoint p = {10, 10};
    EXPECT_EQ(OffsetIntPoint(PackPlotPoint(PlotPoint{-15, 7}), &p), 17);
    EXPECT_EQ(p.x, -5);
    EXPECT_EQ(p.y, 17);
    EXPECT_EQ(EqualIntPoints(PlotPoint{-5, 17}, p), 1);
    EXPECT_EQ(EqualIntPoints(PlotPoint{-5, 16}, p), 0);
    EXPECT_EQ(EqualIntPoints(PlotPoint{17, -5}, p), 0);

    IntRect r = {};
    SetIntRect(&r, 1, 2, 3, 4);  // top, left, bottom, right
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right, 4);
    EXPECT_EQ(r.bottom, 3);

    PlotPoint pair = {};
    const PlotPoint back = SetIntPair(&pair, 8, -9);
    EXPECT_EQ(pair.x, 8);
    EXPECT_EQ(pair.y, -9);
    EXPECT_EQ(back.x, 8);
    EXPECT_EQ(back.y, -9);
}

TEST_F(GeometryTest, RectsOverlapNeedsACommonArea)
{
    struct Case {
        const char* name;
        AIRealRect b;
        int16_t expected;
    };
    const AIRealRect a = {0, 10, 10, 0};  // left, top, right, bottom
    const Case cases[] = {
        {"crossing", {5, 15, 15, 5}, 1},
        {"inside", {2, 8, 8, 2}, 1},
        {"touching at the right edge", {10, 10, 20, 0}, 0},
        {"touching at the top edge", {0, 20, 10, 10}, 0},
        {"apart", {20, 30, 30, 20}, 0},
        {"flat line across", {-5, 5, 15, 5}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AIRealRect scratch = {1, 2, 3, 4};
        EXPECT_EQ(RectsOverlap(&a, &c.b, &scratch), c.expected);
        EXPECT_EQ(RectsOverlap(&c.b, &a, &scratch), c.expected);
    }
    AIRealRect scratch = {};
    const AIRealRect b = {5, 15, 15, 5};
    RectsOverlap(&a, &b, &scratch);
    EXPECT_EQ(scratch.left, 5);
    EXPECT_EQ(scratch.top, 10);
    EXPECT_EQ(scratch.right, 10);
    EXPECT_EQ(scratch.bottom, 5);
}

// ---- lines and segments ----

TEST(GeometryLines, IntersectSegments)
{
    struct Case {
        const char* name;
        RealPoint p1, p2, p3, p4;
        int16_t expected;
        RealPoint out;
    };
    const Case cases[] = {
        {"crossing", {0, 0}, {10, 10}, {0, 10}, {10, 0}, 1, {5, 5}},
        {"meeting at an end point", {0, 0}, {10, 10}, {10, 10}, {20, 0}, 1, {10, 10}},
        {"first vertical", {5, -5}, {5, 5}, {0, 0}, {10, 0}, 1, {5, 0}},
        {"second vertical at the end", {0, 0}, {10, 0}, {10, -5}, {10, 5}, 1, {10, 0}},
        {"within the widening", {0, 0}, {10, 0}, {10.00005, -5}, {10.00005, 5}, 1, {10.00005, 0}},
        {"beyond the widening", {0, 0}, {10, 0}, {10.0002, -5}, {10.0002, 5}, 0, {10.0002, 0}},
        {"lines meet outside the second", {0, 0}, {10, 10}, {20, 0}, {15, 5}, 0, {10, 10}},
        {"parallel", {0, 0}, {10, 0}, {0, 5}, {10, 5}, 0, {10, 5}},
        {"collinear overlapping", {0, 0}, {10, 10}, {5, 5}, {15, 15}, 0, {15, 15}},
        {"both vertical", {0, 0}, {0, 10}, {5, 0}, {5, 10}, 0, {5, 10}},
        {"both vertical on one line", {0, 0}, {0, 10}, {0, 5}, {0, 20}, 0, {0, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint out = {-99, -99};
        EXPECT_EQ(IntersectSegments(&c.p1, &c.p2, &c.p3, &c.p4, &out), c.expected);
        EXPECT_NEAR(out.h, c.out.h, 1e-9);
        EXPECT_NEAR(out.v, c.out.v, 1e-9);
    }
}

TEST(GeometryLines, IntersectLinesThroughGivenPoints)
{
    struct Case {
        const char* name;
        RealPoint a1, a2, a3, b1, b2, b3;
        int16_t expected;
        RealPoint out;
    };
    const Case cases[] = {
        // v = h + 2 and v = -h
        {"sloped", {0, 0}, {1, 1}, {0, 2}, {0, 0}, {1, -1}, {0, 0}, 1, {-1, 1}},
        {"A vertical", {0, 0}, {0, 1}, {3, 0}, {0, 0}, {1, -1}, {0, 0}, 1, {3, -3}},
        {"B vertical", {0, 0}, {1, 1}, {0, 2}, {7, 7}, {7, 9}, {-4, 0}, 1, {-4, -2}},
        {"parallel", {0, 0}, {1, 1}, {0, 2}, {5, 5}, {6, 6}, {9, 1}, 0, {9, 1}},
        {"both vertical", {0, 0}, {0, 1}, {3, 0}, {1, 1}, {1, 2}, {8, 8}, 0, {8, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint out = {-99, -99};
        EXPECT_EQ(IntersectLines(&c.a1, &c.a2, &c.a3, &c.b1, &c.b2, &c.b3, &out), c.expected);
        EXPECT_NEAR(out.h, c.out.h, 1e-12);
        EXPECT_NEAR(out.v, c.out.v, 1e-12);
    }
}

TEST(GeometryLines, MeasurePointToSegment)
{
    struct Case {
        const char* name;
        RealPoint a, b, p;
        double distance;
        RealPoint nearest;
    };
    const Case cases[] = {
        {"foot inside", {0, 0}, {10, 0}, {5, 3}, 3, {5, 0}},
        {"foot on a vertical", {2, 0}, {2, 10}, {6, 4}, 4, {2, 4}},
        {"foot on a slope", {0, 0}, {10, 10}, {0, 10}, std::sqrt(50.0), {5, 5}},
        {"beyond b", {0, 0}, {10, 0}, {13, 4}, 5, {10, 0}},
        {"beyond a", {0, 0}, {10, 0}, {-3, -4}, 5, {0, 0}},
        {"beyond b on a slope", {0, 0}, {10, 10}, {13, 14}, 5, {10, 10}},
        {"foot at the end", {0, 0}, {10, 0}, {10, 7}, 7, {10, 0}},
        {"coincident ends give a", {3, 3}, {3, 3}, {6, 7}, 5, {3, 3}},
        {"on the segment", {0, 0}, {10, 0}, {4, 0}, 0, {4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint nearest = {-99, -99};
        EXPECT_NEAR(MeasurePointToSegment(&c.a, &c.b, &c.p, &nearest), c.distance, 1e-12);
        EXPECT_NEAR(nearest.h, c.nearest.h, 1e-12);
        EXPECT_NEAR(nearest.v, c.nearest.v, 1e-12);
        EXPECT_NEAR(MeasurePointToSegment(&c.a, &c.b, &c.p, nullptr), c.distance, 1e-12);
    }
}

TEST(GeometryLines, NearerEndWinsByAHair)
{
    const RealPoint a = {0, 0};
    const RealPoint b = {10, 0};
    struct Case {
        RealPoint p;
        double nearestH;
    };
    const Case cases[] = {{{5.000001, 50}, 5.000001}, {{10.000001, 50}, 10}, {{-0.000001, 50}, 0}};
    for (const Case& c : cases) {
        RealPoint nearest = {};
        MeasurePointToSegment(&a, &b, &c.p, &nearest);
        EXPECT_EQ(nearest.h, c.nearestH);
    }
}

TEST(GeometryLines, ProjectPointOnSegment)
{
    struct Case {
        const char* name;
        RealPoint p, a, b;
        double tol;
        int16_t expected;
        RealPoint after;
    };
    const Case cases[] = {
        {"near the middle", {5, 0.5}, {0, 0}, {10, 0}, 1, 1, {5, 0}},
        {"beyond the end, foot clamped", {10.5, 0.3}, {0, 0}, {10, 0}, 1, 1, {10, 0}},
        {"beyond the end, clamped foot too far", {10.9, 0.9}, {0, 0}, {10, 0}, 1, 0, {10.9, 0.9}},
        {"outside the widened box", {12, 0}, {0, 0}, {10, 0}, 1, 0, {12, 0}},
        {"distance equal to the tolerance", {5, 1}, {0, 0}, {10, 0}, 1, 0, {5, 1}},
        {"vertical segment", {2.5, 4}, {2, 0}, {2, 10}, 1, 1, {2, 4}},
        {"sloped segment", {6, 4}, {0, 0}, {10, 10}, 2, 1, {5, 5}},
        {"coincident ends", {0.5, 0.5}, {0, 0}, {0, 0}, 1, 1, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealPoint p = c.p;
        EXPECT_EQ(ProjectPointOnSegment(&p, &c.a, &c.b, c.tol), c.expected);
        EXPECT_NEAR(p.h, c.after.h, 1e-12);
        EXPECT_NEAR(p.v, c.after.v, 1e-12);
    }
}

// ---- curve tables ----

TEST_F(GeometryTest, BezierTablesHoldTheBasisWeights)
{
    struct Case {
        const char* name;
        const double* table;
        int index;
        double expected;
    };
    const BezierTables& t = g->tables;
    const Case cases[] = {
        {"A128[64]", t.dBezierA128, 64, 0.125},
        {"B128[64]", t.dBezierB128, 64, 0.375},
        {"A128[32]", t.dBezierA128, 32, 0.421875},  // t = 1/4: (3/4)^3
        {"B128[32]", t.dBezierB128, 32, 0.421875},  // 3 (1/4) (3/4)^2
        {"A128[96]", t.dBezierA128, 96, 0.015625},
        {"B128[96]", t.dBezierB128, 96, 0.140625},
        {"A128[0]", t.dBezierA128, 0, 1},
        {"B128[0]", t.dBezierB128, 0, 0},
        {"A128[128]", t.dBezierA128, 128, 0},
        {"B128[128]", t.dBezierB128, 128, 0},
        {"A64[32]", t.dBezierA64, 32, 0.125},
        {"B64[32]", t.dBezierB64, 32, 0.375},
        {"A64[16]", t.dBezierA64, 16, 0.421875},
        {"B64[48]", t.dBezierB64, 48, 0.140625},
        {"A64[0]", t.dBezierA64, 0, 1},
        {"B64[0]", t.dBezierB64, 0, 0},
        {"A64[64]", t.dBezierA64, 64, 0},
        {"B64[64]", t.dBezierB64, 64, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.table[c.index], c.expected);
    }
    // The four weights of every step sum to one.
    for (int i = 0; i <= 128; ++i)
        EXPECT_NEAR(t.dBezierA128[i] + t.dBezierB128[i] + t.dBezierB128[128 - i] + t.dBezierA128[128 - i], 1.0, 1e-15) << i;
    for (int i = 0; i <= 64; ++i)
        EXPECT_NEAR(t.dBezierA64[i] + t.dBezierB64[i] + t.dBezierB64[64 - i] + t.dBezierA64[64 - i], 1.0, 1e-15) << i;
}

TEST_F(GeometryTest, BezierTablesAreWholeOverAnUnclearedBlock)
{
    // The globals block comes from the host uncleared: every entry must be written.
    std::memset(&g->tables, 0x7f, sizeof(g->tables));
    BuildBezierTables();
    const BezierTables& t = g->tables;
    EXPECT_EQ(t.dBezierA128[0], 1);
    EXPECT_EQ(t.dBezierB128[0], 0);
    EXPECT_EQ(t.dBezierA128[128], 0);
    EXPECT_EQ(t.dBezierB128[128], 0);
    EXPECT_EQ(t.dBezierA64[0], 1);
    EXPECT_EQ(t.dBezierB64[0], 0);
    EXPECT_EQ(t.dBezierA64[64], 0);
    EXPECT_EQ(t.dBezierB64[64], 0);
    EXPECT_EQ(t.dBezierA128[64], 0.125);
    EXPECT_EQ(t.dBezierB64[32], 0.375);
}

TEST_F(GeometryTest, EvaluatedCurveStartsAndEndsExactlyOnItsAnchors)
{
    PathSegment s1, s2;
    MakeCubic({0.1, 0.7}, {30.3, 60.9}, {70.7, 60.1}, {100.3, -0.3}, &s1, &s2);
    for (int16_t steps : {int16_t(64), int16_t(128)}) {
        SCOPED_TRACE(steps);
        RealPoint p = {};
        EvaluateBezierPoint(&s1, &s2, steps, 0, &p);
        EXPECT_EQ(p.h, 0.1);
        EXPECT_EQ(p.v, 0.7);
        EvaluateBezierPoint(&s1, &s2, steps, steps, &p);
        EXPECT_EQ(p.h, 100.3);
        EXPECT_EQ(p.v, -0.3);
        EvaluateBezierPoint(&s1, &s2, steps, static_cast<int16_t>(steps / 2), &p);
        EXPECT_DOUBLE_EQ(p.h, 0.125 * 0.1 + 0.375 * 30.3 + 0.375 * 70.7 + 0.125 * 100.3);
        EXPECT_DOUBLE_EQ(p.v, 0.125 * 0.7 + 0.375 * 60.9 + 0.375 * 60.1 + 0.125 * -0.3);
        // an index outside the table stays on its end
        EvaluateBezierPoint(&s1, &s2, steps, static_cast<int16_t>(steps + 5), &p);
        EXPECT_EQ(p.h, 100.3);
    }
}

// ---- polyline thinning ----

struct PolylineCase {
    const char* name;
    std::vector<RealPoint> in;
    double tol;
    std::vector<RealPoint> out;
};

TEST(GeometryPolyline, SimplifyPolyline)
{
    const double rootTen = std::sqrt(10.0);
    const PolylineCase cases[] = {
        {"two points stay", {{0, 0}, {5, 5}}, 0.1, {{0, 0}, {5, 5}}},
        {"one point stays", {{3, 3}}, 0.1, {{3, 3}}},
        {"collinear run keeps its ends", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}, 0.01, {{0, 0}, {4, 4}}},
        // (4,3) lies sqrt(10) from the point 5 along the heading from (0,0)
        {"deviation equal to the tolerance replaces", {{0, 0}, {1, 0}, {4, 3}}, rootTen, {{0, 0}, {4, 3}}},
        {"deviation above the tolerance starts a run", {{0, 0}, {1, 0}, {4, 3}}, rootTen * (1 - 1e-12),
         {{0, 0}, {1, 0}, {4, 3}}},
        {"within the tolerance of the heading", {{0, 0}, {10, 0}, {20, 0.05}, {30, 0}}, 0.1, {{0, 0}, {30, 0}}},
        {"coincident points", {{1, 1}, {1, 1}, {1, 1}, {1, 1}}, 0.1, {{1, 1}, {1, 1}}},
    };
    for (const PolylineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RealPoint> pts = c.in;
        int16_t n = static_cast<int16_t>(pts.size());
        SimplifyPolyline(&n, pts.data(), c.tol);
        ASSERT_EQ(n, static_cast<int16_t>(c.out.size()));
        for (int16_t i = 0; i < n; ++i) {
            EXPECT_EQ(pts[i].h, c.out[i].h) << i;
            EXPECT_EQ(pts[i].v, c.out[i].v) << i;
        }
    }
}

TEST(GeometryPolyline, CornerSurvivesWithBothEnds)
{
    std::vector<RealPoint> pts = {{0, 0}, {10, 0}, {20, 0}, {20, 10}, {20, 20}};
    int16_t n = static_cast<int16_t>(pts.size());
    SimplifyPolyline(&n, pts.data(), 0.1);
    ASSERT_GE(n, 3);
    EXPECT_EQ(pts[0].h, 0);
    EXPECT_EQ(pts[1].h, 20);
    EXPECT_EQ(pts[1].v, 0);
    EXPECT_EQ(pts[n - 1].h, 20);
    EXPECT_EQ(pts[n - 1].v, 20);
}

TEST(GeometryPolyline, LongestPolylineIsThinnedAndLongerOnesAreLeftWhole)
{
    for (int count : {129, 130, 400}) {
        SCOPED_TRACE(count);
        std::vector<RealPoint> pts;
        for (int i = 0; i < count; ++i)
            pts.push_back({static_cast<double>(i), static_cast<double>(2 * i)});
        const std::vector<RealPoint> original = pts;
        int16_t n = static_cast<int16_t>(count);
        SimplifyPolyline(&n, pts.data(), 0.01);
        if (count <= kMaxPolylinePoints) {
            ASSERT_EQ(n, 2);
            EXPECT_EQ(pts[1].h, count - 1);
        } else {
            ASSERT_EQ(n, count);
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(pts[i].h, original[i].h) << i;
        }
    }
    int16_t negative = -4;
    RealPoint one = {1, 1};
    SimplifyPolyline(&negative, &one, 0.1);
    EXPECT_EQ(negative, -4);
}

// ---- curve length ----

TEST_F(GeometryTest, MeasureBezierLengthOfStraightSegments)
{
    PathSegment s1, s2;
    MakeCubic({0, 0}, {0, 0}, {30, 40}, {30, 40}, &s1, &s2);
    EXPECT_EQ(MeasureBezierLength(&s1, &s2, nullptr), 50);

    RealPoint stop = {15, 20};
    EXPECT_EQ(MeasureBezierLength(&s1, &s2, &stop), 25);
    RealPoint offChord = {15, 25};
    EXPECT_EQ(MeasureBezierLength(&s1, &s2, &offChord), 50);
    EXPECT_EQ(offChord.v, 25);

    // Handles off their anchors make it a curve, walked chord by chord along the same line.
    MakeCubic({0, 0}, {3, 4}, {27, 36}, {30, 40}, &s1, &s2);
    EXPECT_NEAR(MeasureBezierLength(&s1, &s2, nullptr), 50, 1e-9);
}

TEST_F(GeometryTest, MeasureBezierLengthWalksTheCurveToTheStopPoint)
{
    PathSegment s1, s2;
    MakeCubic({100, 0}, {100, 55.228}, {55.228, 100}, {0, 100}, &s1, &s2);
    const double whole = MeasureBezierLength(&s1, &s2, nullptr);
    EXPECT_NEAR(whole, 157.0975, 0.001);  // the cubic runs a little outside the circle

    RealPoint middle = {};
    EvaluateBezierPoint(&s1, &s2, 64, 32, &middle);
    EXPECT_NEAR(MeasureBezierLength(&s1, &s2, &middle), whole / 2, 1e-9);

    RealPoint end = {0, 100};
    EXPECT_NEAR(MeasureBezierLength(&s1, &s2, &end), whole, 1e-9);
    RealPoint start = {100, 0};
    EXPECT_EQ(MeasureBezierLength(&s1, &s2, &start), 0);
}

// ---- arcs ----

TEST_F(GeometryTest, FitArcToSegmentAllowsARelativeDifferenceAboveRadius100)
{
    struct Case {
        const char* name;
        double r;
        double endDifference;
        int16_t expected;
    };
    const Case cases[] = {
        {"radius 1000, 0.0999 apart", 1000, 0.0999, 1},
        {"radius 1000, 0.1001 apart", 1000, 0.1001, 0},
        {"radius 1250, exactly its bound", 1250, 0.125, 1},
        {"radius 50, 0.02 apart", 50, 0.02, 0},
        {"radius 50, 0.005 apart", 50, 0.005, 1},
        {"radius 50, exact", 50, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double end = c.r + c.endDifference;
        PathSegment s1, s2;
        MakeCubic({c.r, 0}, {c.r, 0.55228 * c.r}, {0.55228 * c.r, end}, {0, end}, &s1, &s2);
        RealPoint centre = {99, 99};
        double radius = -1;
        EXPECT_EQ(FitArcToSegment(&s1, &s2, &centre, &radius), c.expected);
        EXPECT_EQ(centre.h, 0);
        EXPECT_EQ(centre.v, 0);
        if (c.expected)
            EXPECT_DOUBLE_EQ(radius, (c.r + end) / 2);
        else
            EXPECT_EQ(radius, -1);
    }
}

TEST_F(GeometryTest, FitArcToSegmentFindsTheCentreOfTurnedArcs)
{
    PathSegment s1, s2;
    MakeArc({20, -10}, 80, Degrees(30), Degrees(120), 0.55228, &s1, &s2);
    RealPoint centre = {};
    double radius = 0;
    ASSERT_EQ(FitArcToSegment(&s1, &s2, &centre, &radius), 1);
    EXPECT_NEAR(centre.h, 20, 1e-9);
    EXPECT_NEAR(centre.v, -10, 1e-9);
    EXPECT_NEAR(radius, 80, 1e-9);

    MakeCubic({0, 0}, {5, 0}, {10, 0}, {15, 0}, &s1, &s2);  // both tangents horizontal
    EXPECT_EQ(FitArcToSegment(&s1, &s2, &centre, &radius), 0);
}

TEST_F(GeometryTest, IsCircularArcSegmentComparesTheHandleRatio)
{
    struct Case {
        const char* name;
        double startRatio;
        double endRatio;
        int16_t expected;
    };
    const Case cases[] = {
        {"0.55228 r", 0.55228, 0.55228, 1},
        {"0.5523 r", 0.5523, 0.5523, 1},
        {"0.5525 r", 0.5525, 0.5525, 0},
        {"0.552 r", 0.552, 0.552, 0},
        {"half the radius", 0.5, 0.5, 0},
        {"only the start handle right", 0.55228, 0.5, 0},
        {"only the end handle right", 0.5, 0.55228, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeCubic({100, 0}, {100, c.startRatio * 100}, {c.endRatio * 100, 100}, {0, 100}, &s1, &s2);
        RealPoint centre = {};
        double radius = 0;
        EXPECT_EQ(IsCircularArcSegment(&s1, &s2, &centre, &radius), c.expected);
        if (c.expected) {
            EXPECT_EQ(centre.h, 0);
            EXPECT_EQ(centre.v, 0);
            EXPECT_EQ(radius, 100);
        }
    }
}

TEST_F(GeometryTest, IsCircularArcSegmentForQuarterTurnsInAnyPlace)
{
    struct Case {
        const char* name;
        double from;
        double to;
        int16_t expected;
    };
    const Case cases[] = {
        {"30 to 120 degrees", 30, 120, 1},
        {"clockwise 120 to 30", 120, 30, 1},
        {"across the half turn, 135 to 225", 135, 225, 1},
        {"below, -170 to -80", -170, -80, 1},
        {"a sixth of a turn", 0, 60, 0},  // the ratio rule is tuned for a quarter turn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeArc({-40, 25}, 60, Degrees(c.from), Degrees(c.to), 0.55228, &s1, &s2);
        RealPoint centre = {};
        double radius = 0;
        EXPECT_EQ(IsCircularArcSegment(&s1, &s2, &centre, &radius), c.expected);
        if (c.expected) {
            EXPECT_NEAR(centre.h, -40, 1e-9);
            EXPECT_NEAR(centre.v, 25, 1e-9);
            EXPECT_NEAR(radius, 60, 1e-9);
        }
    }
    PathSegment s1, s2;
    MakeCubic({0, 0}, {0, 10}, {5, 10}, {5, 0}, &s1, &s2);  // both handles vertical
    RealPoint centre = {};
    double radius = 0;
    EXPECT_EQ(IsCircularArcSegment(&s1, &s2, &centre, &radius), 0);
}

// ---- degenerate input ----

struct DegenerateCurve {
    const char* name;
    RealPoint p0, p1, p2, p3;
};

const DegenerateCurve kDegenerateCurves[] = {
    {"all four points equal", {3, 3}, {3, 3}, {3, 3}, {3, 3}},
    {"sloped line with handles on it", {0, 0}, {1, 1}, {2, 2}, {3, 3}},
    {"vertical line with handles on it", {0, 0}, {0, 1}, {0, 2}, {0, 3}},
    {"horizontal line with handles on it", {0, 0}, {1, 0}, {2, 0}, {3, 0}},
    {"closed loop on one anchor", {0, 0}, {10, 10}, {-10, 10}, {0, 0}},
    {"start handle on its anchor", {0, 0}, {0, 0}, {10, 10}, {10, 0}},
    {"handles crossed back onto the anchors", {0, 0}, {10, 0}, {0, 0}, {10, 0}},
};

bool Finite(const RealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

TEST_F(GeometryTest, DegenerateCurvesNeverDivideByZero)
{
    for (const DegenerateCurve& c : kDegenerateCurves) {
        SCOPED_TRACE(c.name);
        PathSegment s1, s2;
        MakeCubic(c.p0, c.p1, c.p2, c.p3, &s1, &s2);
        std::feclearexcept(FE_ALL_EXCEPT);
        RealPoint centre = {};
        double radius = 0;
        const int16_t fit = FitArcToSegment(&s1, &s2, &centre, &radius);
        const int16_t arc = IsCircularArcSegment(&s1, &s2, &centre, &radius);
        RealPoint stop = c.p0;
        const double length = MeasureBezierLength(&s1, &s2, &stop);
        const double whole = MeasureBezierLength(&s1, &s2, nullptr);
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
        EXPECT_TRUE(std::isfinite(length));
        EXPECT_TRUE(std::isfinite(whole));
        if (fit) {
            EXPECT_TRUE(Finite(centre));
            EXPECT_TRUE(std::isfinite(radius));
        }
        EXPECT_EQ(arc, 0);
    }
}

TEST(GeometryDegenerate, CoincidentPointsNeverDivideByZero)
{
    const RealPoint same = {2, 2};
    const RealPoint other = {5, 7};
    struct Case {
        const char* name;
        RealPoint a, b, p;
    };
    const Case cases[] = {
        {"zero-length segment", same, same, other},
        {"point on the zero-length segment", same, same, same},
        {"zero-length vertical neighbour", same, {2, 9}, same},
        {"tiny slope", {0, 0}, {1e300, 1e-300}, {5, 5}},
        {"steep slope", {0, 0}, {1e-300, 1e300}, {5, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::feclearexcept(FE_ALL_EXCEPT);
        RealPoint nearest = {};
        const double d = MeasurePointToSegment(&c.a, &c.b, &c.p, &nearest);
        RealPoint projected = c.p;
        ProjectPointOnSegment(&projected, &c.a, &c.b, 1.0);
        RealPoint crossing = {};
        IntersectSegments(&c.a, &c.b, &c.a, &c.b, &crossing);
        IntersectSegments(&c.a, &c.a, &c.b, &c.b, &crossing);
        IntersectLines(&c.a, &c.a, &c.p, &c.b, &c.b, &c.p, &crossing);
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO));
        EXPECT_TRUE(std::isfinite(d));
        EXPECT_TRUE(Finite(nearest));
        EXPECT_TRUE(Finite(projected));
    }
}

} // namespace
