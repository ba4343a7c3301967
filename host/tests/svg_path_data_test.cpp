// Path data of every command to cubic segments, in SVG user units.
#include "host/svg/svg_source.h"

#include <gtest/gtest.h>

#include <cmath>

using host::ParseSvgPathData;
using host::SvgSubpath;

namespace {

struct Seg {
    double x, y;             // anchor
    double inX, inY;         // in handle
    double outX, outY;       // out handle
};

Seg C(double x, double y) { return Seg{x, y, x, y, x, y}; }

struct PathCase {
    const char* name;
    const char* data;
    std::vector<std::vector<Seg>> subpaths;
    std::vector<bool> closed;
};

void ExpectSegments(const SvgSubpath& got, const std::vector<Seg>& want, const std::string& where)
{
    ASSERT_EQ(got.segments.size(), want.size()) << where;
    for (size_t i = 0; i < want.size(); ++i) {
        const AIPathSegment& s = got.segments[i];
        std::string at = where + " segment " + std::to_string(i);
        EXPECT_NEAR(s.ptAnchor.h, want[i].x, 1e-9) << at;
        EXPECT_NEAR(s.ptAnchor.v, want[i].y, 1e-9) << at;
        EXPECT_NEAR(s.ptIn.h, want[i].inX, 1e-9) << at;
        EXPECT_NEAR(s.ptIn.v, want[i].inY, 1e-9) << at;
        EXPECT_NEAR(s.ptOut.h, want[i].outX, 1e-9) << at;
        EXPECT_NEAR(s.ptOut.v, want[i].outY, 1e-9) << at;
    }
}

TEST(SvgPathData, EveryCommandGivesItsSegments)
{
    const PathCase cases[] = {
        {"absolute lines", "M 10 20 L 30 40", {{C(10, 20), C(30, 40)}}, {false}},
        {"relative lines", "m 10 20 l 5 5 l -10 0", {{C(10, 20), C(15, 25), C(5, 25)}}, {false}},
        {"implicit line-tos after moveto", "M1,2 3,4 5,6", {{C(1, 2), C(3, 4), C(5, 6)}}, {false}},
        {"implicit relative line-tos", "m1,2 3,4 5,6", {{C(1, 2), C(4, 6), C(9, 12)}}, {false}},
        {"horizontal and vertical", "M 0 0 H 10 V 5 h -4 v -2", {{C(0, 0), C(10, 0), C(10, 5), C(6, 5), C(6, 3)}}, {false}},
        {"repeated horizontal", "M0 0 H 1 2 3", {{C(0, 0), C(1, 0), C(2, 0), C(3, 0)}}, {false}},
        {"cubic", "M 0 0 C 1 2 3 4 5 6", {{{0, 0, 0, 0, 1, 2}, {5, 6, 3, 4, 5, 6}}}, {false}},
        {"relative cubic", "M 10 10 c 1 2 3 4 5 6", {{{10, 10, 10, 10, 11, 12}, {15, 16, 13, 14, 15, 16}}}, {false}},
        {"smooth cubic reflects the last control", "M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0",
         {{{0, 0, 0, 0, 0, 10}, {10, 0, 10, 10, 10, -10}, {20, 0, 20, -10, 20, 0}}}, {false}},
        {"smooth cubic after a line uses the current point", "M 0 0 L 10 0 S 20 10 30 0",
         {{C(0, 0), {10, 0, 10, 0, 10, 0}, {30, 0, 20, 10, 30, 0}}}, {false}},
        {"relative smooth cubic", "M 0 0 c 0 10 10 10 10 0 s 10 -10 10 0",
         {{{0, 0, 0, 0, 0, 10}, {10, 0, 10, 10, 10, -10}, {20, 0, 20, -10, 20, 0}}}, {false}},
        // A quadratic with control Q becomes a cubic with controls 2/3 of the way to Q.
        {"quadratic", "M 0 0 Q 30 30 60 0", {{{0, 0, 0, 0, 20, 20}, {60, 0, 40, 20, 60, 0}}}, {false}},
        {"relative quadratic", "M 0 0 q 30 30 60 0", {{{0, 0, 0, 0, 20, 20}, {60, 0, 40, 20, 60, 0}}}, {false}},
        {"smooth quadratic reflects the control", "M 0 0 Q 30 30 60 0 T 120 0",
         {{{0, 0, 0, 0, 20, 20}, {60, 0, 40, 20, 80, -20}, {120, 0, 100, -20, 120, 0}}}, {false}},
        {"relative smooth quadratic", "M 0 0 q 30 30 60 0 t 60 0",
         {{{0, 0, 0, 0, 20, 20}, {60, 0, 40, 20, 80, -20}, {120, 0, 100, -20, 120, 0}}}, {false}},
        {"closing drops a repeated start", "M 0 0 L 10 0 L 10 10 L 0 0 Z", {{C(0, 0), C(10, 0), C(10, 10)}}, {true}},
        {"closing keeps the curve into the start", "M 0 0 L 10 0 C 10 5 5 10 0 0 z",
         {{{0, 0, 5, 10, 0, 0}, {10, 0, 10, 0, 10, 5}}}, {true}},
        {"two subpaths", "M 0 0 L 1 1 Z M 5 5 L 6 6", {{C(0, 0), C(1, 1)}, {C(5, 5), C(6, 6)}}, {true, false}},
        {"relative move after close starts from the closed start", "M 10 10 l 5 0 z m 1 1 l 1 0",
         {{C(10, 10), C(15, 10)}, {C(11, 11), C(12, 11)}}, {true, false}},
        {"drawing after close starts at the start", "M 10 10 L 20 10 Z L 10 20",
         {{C(10, 10), C(20, 10)}, {C(10, 10), C(10, 20)}}, {true, false}},
        {"compact numbers", "M1.5.5L-1-2l1e1,2E-1", {{C(1.5, 0.5), C(-1, -2), C(9, -1.8)}}, {false}},
        {"arc of zero radius is a line", "M 0 0 A 0 5 0 0 1 10 0", {{C(0, 0), C(10, 0)}}, {false}},
        {"empty data", "", {}, {}},
    };
    for (const PathCase& c : cases) {
        std::vector<SvgSubpath> subpaths;
        std::string error;
        EXPECT_TRUE(ParseSvgPathData(c.data, subpaths, error)) << c.name << ": " << error;
        ASSERT_EQ(subpaths.size(), c.subpaths.size()) << c.name;
        for (size_t i = 0; i < subpaths.size(); ++i) {
            ExpectSegments(subpaths[i], c.subpaths[i], std::string(c.name) + " subpath " + std::to_string(i));
            EXPECT_EQ(subpaths[i].fClosed, c.closed[i]) << c.name;
        }
    }
}

TEST(SvgPathData, BadDataKeepsWhatCameBeforeTheError)
{
    const struct {
        const char* data;
        size_t segmentsKept;
    } cases[] = {
        {"L 10 10", 0},
        {"M 0 0 L 10", 1},
        {"M 0 0 L 10 10 X 5 5", 2},
        {"M 0 0 A 10 10 0 2 1 20 0", 1},  // flags are 0 or 1
        {"M 0 0 Z 5 5", 1},
        // Sums and reflections beyond the range of numbers end the data before them.
        {"M 0 0 l 1e308 0 l 1e308 0", 2},
        {"M 1e308 0 m 1e308 0", 1},
        {"M 0 0 C 1 1 2 2 1e308 0 S 1 1 -1e308 0", 2},
        {"M 0 0 Q 0 0 1e308 0 T -1e308 0", 2},
    };
    for (const auto& c : cases) {
        std::vector<SvgSubpath> subpaths;
        std::string error;
        EXPECT_FALSE(ParseSvgPathData(c.data, subpaths, error)) << c.data;
        EXPECT_NE(error.find("offset"), std::string::npos) << c.data << ": " << error;
        size_t kept = subpaths.empty() ? 0 : subpaths.back().segments.size();
        EXPECT_EQ(kept, c.segmentsKept) << c.data;
        for (const SvgSubpath& sub : subpaths)
            for (const AIPathSegment& seg : sub.segments)
                for (const AIRealPoint& p : {seg.ptAnchor, seg.ptIn, seg.ptOut})
                    EXPECT_TRUE(std::isfinite(p.h) && std::isfinite(p.v)) << c.data;
    }
}

// Arcs whose ellipse cannot be worked out in numbers (radii or ends near the largest double)
// are straight lines to their ends, and no point is out of range.
TEST(SvgPathData, ArcsBeyondTheRangeOfNumbersAreStraight)
{
    for (const char* data : {"M 0 0 A 1e308 1e308 0 0 1 1e308 1e308", "M0 30 h5 25 a-30 0 1 000 0 1 01 00 1  01e308 0 1e308"}) {
        std::vector<SvgSubpath> subpaths;
        std::string error;
        ParseSvgPathData(data, subpaths, error);
        ASSERT_FALSE(subpaths.empty()) << data;
        for (const SvgSubpath& sub : subpaths)
            for (const AIPathSegment& seg : sub.segments)
                for (const AIRealPoint& p : {seg.ptAnchor, seg.ptIn, seg.ptOut})
                    EXPECT_TRUE(std::isfinite(p.h) && std::isfinite(p.v)) << data;
    }
}

// Arcs: the end points exact, every piece at most a quarter turn, and the curve on the ellipse.
TEST(SvgPathData, ArcsFollowTheirEllipse)
{
    const double k = 4.0 / 3.0 * std::tan(M_PI / 8);  // quarter-circle handle of a unit circle
    const struct {
        const char* name;
        const char* data;
        double cx, cy, rx, ry;  // the ellipse (axis-aligned here)
        size_t segments;
        double midX, midY;      // the anchor half-way
    } cases[] = {
        // Sweep 1 goes with growing angle, which in SVG's downward y is clockwise on screen.
        {"upper half, sweep 1", "M 0 0 A 10 10 0 0 1 20 0", 10, 0, 10, 10, 3, 10, -10},
        {"lower half, sweep 0", "M 0 0 A 10 10 0 0 0 20 0", 10, 0, 10, 10, 3, 10, 10},
        {"radii too small are scaled up", "M 0 0 A 1 1 0 0 1 10 0", 5, 0, 5, 5, 3, 5, -5},
        {"relative arc", "M 100 100 a 10 10 0 0 1 20 0", 110, 100, 10, 10, 3, 110, 90},
        {"ellipse", "M 0 0 A 20 10 0 0 1 40 0", 20, 0, 20, 10, 3, 20, -10},
        {"compact flags", "M0 0A10 10 0 0120 0", 10, 0, 10, 10, 3, 10, -10},
    };
    for (const auto& c : cases) {
        std::vector<SvgSubpath> subpaths;
        std::string error;
        ASSERT_TRUE(ParseSvgPathData(c.data, subpaths, error)) << c.name << ": " << error;
        ASSERT_EQ(subpaths.size(), 1u) << c.name;
        const auto& segs = subpaths[0].segments;
        ASSERT_EQ(segs.size(), c.segments) << c.name;
        EXPECT_NEAR(segs[1].ptAnchor.h, c.midX, 1e-9) << c.name;
        EXPECT_NEAR(segs[1].ptAnchor.v, c.midY, 1e-9) << c.name;
        EXPECT_NEAR(segs.back().ptAnchor.h, c.cx + c.rx, 1e-9) << c.name;
        EXPECT_NEAR(segs.back().ptAnchor.v, c.cy, 1e-9) << c.name;
        for (size_t i = 0; i + 1 < segs.size(); ++i) {
            for (double t : {0.25, 0.5, 0.75}) {
                double u = 1 - t;
                auto at = [&](double a, double b, double c2, double d) {
                    return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c2 + t * t * t * d;
                };
                double x = at(segs[i].ptAnchor.h, segs[i].ptOut.h, segs[i + 1].ptIn.h, segs[i + 1].ptAnchor.h);
                double y = at(segs[i].ptAnchor.v, segs[i].ptOut.v, segs[i + 1].ptIn.v, segs[i + 1].ptAnchor.v);
                double r = std::hypot((x - c.cx) / c.rx, (y - c.cy) / c.ry);
                EXPECT_NEAR(r, 1.0, 3e-4) << c.name << " piece " << i << " t " << t;
            }
        }
    }
    // The first quarter of the upper half circle leaves the start straight up the screen.
    std::vector<SvgSubpath> subpaths;
    std::string error;
    ASSERT_TRUE(ParseSvgPathData("M 0 0 A 10 10 0 0 1 20 0", subpaths, error));
    EXPECT_NEAR(subpaths[0].segments[0].ptOut.h, 0, 1e-9);
    EXPECT_NEAR(subpaths[0].segments[0].ptOut.v, -10 * k, 1e-9);
    EXPECT_FALSE(subpaths[0].segments[1].fCorner);
}

// Arcs between points near the largest numbers: every coordinate a number, the arc still on
// its circle (the centre's squares overflow a double, not the reader).
TEST(SvgPathData, ArcsBetweenFarPointsKeepTheirCircle)
{
    const struct {
        const char* name;
        const char* data;
        double cx, cy, r;  // the circle, radius relative to the anchors' distance
        AIRealPoint end;
    } cases[] = {
        {"half circle to 1e300, 1e300", "M 0 0 A 1 1 0 0 1 1e300 1e300", 5e299, 5e299, 5e299 * M_SQRT2, {1e300, 1e300}},
        {"half circle across the range", "M -1e308 0 A 1 1 0 0 1 1e308 0", 0, 0, 1e308, {1e308, 0}},
        {"radii near the largest", "M 0 0 A 1e308 1e308 0 0 1 2e307 0", 1e307, -9.9498743710662e307, 1e308, {2e307, 0}},
    };
    for (const auto& c : cases) {
        std::vector<SvgSubpath> subpaths;
        std::string error;
        ASSERT_TRUE(ParseSvgPathData(c.data, subpaths, error)) << c.name << ": " << error;
        ASSERT_EQ(subpaths.size(), 1u) << c.name;
        const auto& segs = subpaths[0].segments;
        ASSERT_GE(segs.size(), 2u) << c.name;
        for (const AIPathSegment& s : segs)
            for (double v : {s.ptAnchor.h, s.ptAnchor.v, s.ptIn.h, s.ptIn.v, s.ptOut.h, s.ptOut.v})
                ASSERT_TRUE(std::isfinite(v)) << c.name;
        EXPECT_EQ(segs.back().ptAnchor.h, c.end.h) << c.name;
        EXPECT_EQ(segs.back().ptAnchor.v, c.end.v) << c.name;
        for (const AIPathSegment& s : segs) {
            double d = std::hypot((s.ptAnchor.h - c.cx) / c.r, (s.ptAnchor.v - c.cy) / c.r);
            EXPECT_NEAR(d, 1.0, 1e-9) << c.name;
        }
    }
    // Half-way round from (0, 0) to (1e300, 1e300) is the corner (1e300, 0), to the last digits.
    std::vector<SvgSubpath> subpaths;
    std::string error;
    ASSERT_TRUE(ParseSvgPathData("M 0 0 A 1 1 0 0 1 1e300 1e300", subpaths, error)) << error;
    ASSERT_EQ(subpaths[0].segments.size(), 3u);
    EXPECT_NEAR(subpaths[0].segments[1].ptAnchor.h, 1e300, 1e288);
    EXPECT_NEAR(subpaths[0].segments[1].ptAnchor.v, 0, 1e288);
}

TEST(SvgPathData, LargeArcTakesTheLongWayRound)
{
    // From (10,0) to (0,10) on the circle of radius 10 about the origin: three quarters.
    std::vector<SvgSubpath> small, large;
    std::string error;
    ASSERT_TRUE(ParseSvgPathData("M 10 0 A 10 10 0 0 1 0 10", small, error));
    ASSERT_TRUE(ParseSvgPathData("M 10 0 A 10 10 0 1 0 0 10", large, error));
    EXPECT_EQ(small[0].segments.size(), 2u);
    EXPECT_EQ(large[0].segments.size(), 4u);
    EXPECT_NEAR(large[0].segments[1].ptAnchor.h, 0, 1e-9);
    EXPECT_NEAR(large[0].segments[1].ptAnchor.v, -10, 1e-9);
    EXPECT_NEAR(large[0].segments[2].ptAnchor.h, -10, 1e-9);
    EXPECT_NEAR(large[0].segments[2].ptAnchor.v, 0, 1e-9);
}

TEST(SvgPathData, RotatedArcEndsWhereItShould)
{
    // A 2:1 ellipse turned by 90 degrees joining its two ends of the long axis.
    std::vector<SvgSubpath> subpaths;
    std::string error;
    ASSERT_TRUE(ParseSvgPathData("M 0 0 A 20 10 90 0 1 0 40", subpaths, error));
    const auto& segs = subpaths[0].segments;
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_NEAR(segs[1].ptAnchor.h, 10, 1e-9);  // half-way: the end of the short axis
    EXPECT_NEAR(segs[1].ptAnchor.v, 20, 1e-9);
    EXPECT_NEAR(segs[2].ptAnchor.h, 0, 1e-12);
    EXPECT_NEAR(segs[2].ptAnchor.v, 40, 1e-12);
}

TEST(SvgPathData, CornerFlagsTellSmoothFromSharp)
{
    std::vector<SvgSubpath> subpaths;
    std::string error;
    ASSERT_TRUE(ParseSvgPathData("M 0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0 C 20 -5 30 0 30 0", subpaths, error));
    const auto& segs = subpaths[0].segments;
    EXPECT_TRUE(segs[0].fCorner);   // no in handle
    EXPECT_FALSE(segs[1].fCorner);  // handles on one line through the anchor
    EXPECT_TRUE(segs[2].fCorner);   // both handles on the same side
}

TEST(SvgPathData, FormattedDataReadsBackTheSame)
{
    const std::vector<std::vector<AIPathSegment>> lists = {
        {
            {{0, 0}, {0, 0}, {5, 10}, true},
            {{10, 0}, {10, 5}, {10, 0}, true},
            {{10, -10}, {10, -10}, {10, -10}, true},
        },
        // The last anchor on the first, all straight: closed, it still has its three anchors.
        {
            {{0, 0}, {0, 0}, {0, 0}, true},
            {{10, 0}, {10, 0}, {10, 0}, true},
            {{0, 0}, {0, 0}, {0, 0}, true},
        },
        // One anchor alone.
        {
            {{3, 4}, {3, 4}, {3, 4}, true},
        },
    };
    AIRealMatrix identity{1, 0, 0, 1, 0, 0};
    for (const std::vector<AIPathSegment>& segs : lists) {
        for (bool closed : {false, true}) {
            std::string d = host::FormatSvgPathData(segs, closed, identity);
            std::vector<SvgSubpath> back;
            std::string error;
            ASSERT_TRUE(ParseSvgPathData(d.c_str(), back, error)) << d;
            ASSERT_EQ(back.size(), 1u);
            EXPECT_EQ(back[0].fClosed, closed) << d;
            ASSERT_EQ(back[0].segments.size(), segs.size()) << d;
            for (size_t i = 0; i < segs.size(); ++i) {
                EXPECT_DOUBLE_EQ(back[0].segments[i].ptAnchor.h, segs[i].ptAnchor.h) << d;
                EXPECT_DOUBLE_EQ(back[0].segments[i].ptAnchor.v, segs[i].ptAnchor.v) << d;
                EXPECT_DOUBLE_EQ(back[0].segments[i].ptOut.h, segs[i].ptOut.h) << d;
                EXPECT_DOUBLE_EQ(back[0].segments[i].ptIn.v, segs[i].ptIn.v) << d;
            }
        }
    }
}

}  // namespace
