// The unite on Clipper: merged outlines, holes, stroke widths carried, bad input left alone.
#include "host/unite/pathfinder_unite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

AIPathSegment Corner(double h, double v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; }

// An axis-aligned square, counter-clockwise unless clockwise is asked for.
UniteContour Square(double left, double bottom, double size, bool clockwise = false)
{
    UniteContour c;
    c.segments = {Corner(left, bottom), Corner(left + size, bottom),
                  Corner(left + size, bottom + size), Corner(left, bottom + size)};
    if (clockwise) std::swap(c.segments[1], c.segments[3]);
    return c;
}

UniteContour Rect(double left, double bottom, double right, double top)
{
    UniteContour c;
    c.segments = {Corner(left, bottom), Corner(right, bottom), Corner(right, top),
                  Corner(left, top)};
    return c;
}

// A circle of four cubics.
UniteContour Circle(double ch, double cv, double r)
{
    const double k = 0.5522847498 * r;
    UniteContour c;
    c.segments = {
        AIPathSegment{{ch + r, cv}, {ch + r, cv - k}, {ch + r, cv + k}, false},
        AIPathSegment{{ch, cv + r}, {ch + k, cv + r}, {ch - k, cv + r}, false},
        AIPathSegment{{ch - r, cv}, {ch - r, cv + k}, {ch - r, cv - k}, false},
        AIPathSegment{{ch, cv - r}, {ch - k, cv - r}, {ch + k, cv - r}, false},
    };
    return c;
}

UniteShape Shape(std::vector<UniteContour> contours, double width, int index)
{
    return UniteShape{std::move(contours), width, index};
}

// Signed area of a contour's anchors (straight results only).
double Area(const UniteContour& c)
{
    double a = 0;
    size_t n = c.segments.size();
    for (size_t i = 0; i < n; ++i) {
        AIRealPoint p = c.segments[i].ptAnchor, q = c.segments[(i + 1) % n].ptAnchor;
        a += p.h * q.v - q.h * p.v;
    }
    return a / 2;
}

double ShapeArea(const UniteResultShape& s)
{
    double a = 0;
    for (const UniteContour& c : s.contours) a += Area(c);
    return a;
}

UniteReport Unite(const std::vector<UniteShape>& shapes)
{
    UniteReport report;
    EXPECT_EQ(UniteShapes(shapes, UniteOptions{}, &report), kNoErr);
    return report;
}

bool SameContours(const std::vector<UniteContour>& a, const std::vector<UniteContour>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].segments.size() != b[i].segments.size() || a[i].fClosed != b[i].fClosed)
            return false;
        for (size_t s = 0; s < a[i].segments.size(); ++s) {
            const AIPathSegment &x = a[i].segments[s], &y = b[i].segments[s];
            if (x.ptAnchor.h != y.ptAnchor.h || x.ptAnchor.v != y.ptAnchor.v ||
                x.ptIn.h != y.ptIn.h || x.ptIn.v != y.ptIn.v || x.ptOut.h != y.ptOut.h ||
                x.ptOut.v != y.ptOut.v)
                return false;
        }
    }
    return true;
}

TEST(Unite, OverlappingShapesBecomeOneContourOfTheUnionsArea)
{
    struct Case {
        const char* name;
        std::vector<UniteShape> shapes;
        double area;
    } cases[] = {
        {"two squares", {Shape({Square(0, 0, 10)}, 0.3, 1), Shape({Square(5, 5, 10)}, 0.5, 2)}, 175},
        {"opposite windings",
         {Shape({Square(0, 0, 10)}, 0.3, 1), Shape({Square(5, 5, 10, true)}, 0.5, 2)}, 175},
        {"shared edge", {Shape({Square(0, 0, 10)}, 0.3, 1), Shape({Square(10, 0, 10)}, 0.5, 2)}, 200},
        {"three in a chain",
         {Shape({Square(0, 0, 10)}, 0.1, 1), Shape({Square(8, 0, 10)}, 0.2, 2),
          Shape({Square(16, 0, 10)}, 0.3, 3)},
         260},
        {"one inside another", {Shape({Square(0, 0, 30)}, 0.3, 1), Shape({Square(10, 10, 5)}, 0.5, 2)}, 900},
        {"compound with overlapping members", {Shape({Square(0, 0, 10), Square(5, 0, 10)}, 0.4, 7)}, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniteReport report = Unite(c.shapes);
        EXPECT_TRUE(report.notes.empty());
        ASSERT_EQ(report.shapes.size(), 1u);
        const UniteResultShape& r = report.shapes[0];
        EXPECT_FALSE(r.fUnchanged);
        ASSERT_EQ(r.contours.size(), 1u);
        EXPECT_TRUE(r.contours[0].fClosed);
        EXPECT_NEAR(std::fabs(Area(r.contours[0])), c.area, 1e-6);
        EXPECT_EQ(r.sources.size(), c.shapes.size());
        for (const AIPathSegment& s : r.contours[0].segments) {
            EXPECT_TRUE(s.fCorner);
            EXPECT_EQ(s.ptIn.h, s.ptAnchor.h);
            EXPECT_EQ(s.ptOut.v, s.ptAnchor.v);
        }
    }
}

TEST(Unite, ResultCarriesTheStrokeWidthOfTheShapeCoveringMostOfIt)
{
    UniteShape big = Shape({Square(0, 0, 20)}, 0.2, 10);
    UniteShape small = Shape({Square(15, 0, 10)}, 0.7, 20);
    UniteShape twin = Shape({Square(0, 0, 20)}, 0.9, 30);
    struct Case {
        const char* name;
        std::vector<UniteShape> shapes;
        double width;
        int index;
    } cases[] = {
        {"big first", {big, small}, 0.2, 10},
        {"big last", {small, big}, 0.2, 10},
        {"equal areas: the first given", {twin, big}, 0.9, 30},
        {"equal areas, other order", {big, twin}, 0.2, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniteReport report = Unite(c.shapes);
        ASSERT_EQ(report.shapes.size(), 1u);
        EXPECT_EQ(report.shapes[0].dStrokeWidth, c.width);
        EXPECT_EQ(report.shapes[0].iIndex, c.index);
        // The tool read back from the width is the tool that went in.
        EXPECT_EQ(int(report.shapes[0].dStrokeWidth * 10 + 0.05), int(c.width * 10 + 0.05));
    }
}

TEST(Unite, DisjointShapesStayAsTheyWereCurvesAndAll)
{
    std::vector<UniteShape> shapes{Shape({Circle(0, 0, 10)}, 0.1, 1),
                                   Shape({Square(50, 50, 10)}, 0.2, 2),
                                   Shape({Circle(100, 0, 5)}, 0.3, 3)};
    UniteReport report = Unite(shapes);
    EXPECT_TRUE(report.notes.empty());
    ASSERT_EQ(report.shapes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(report.shapes[i].fUnchanged);
        EXPECT_EQ(report.shapes[i].iIndex, shapes[i].iIndex);
        EXPECT_EQ(report.shapes[i].dStrokeWidth, shapes[i].dStrokeWidth);
        EXPECT_TRUE(SameContours(report.shapes[i].contours, shapes[i].contours));
    }
}

TEST(Unite, BoxesThatMeetWithoutTheShapesMeetingStaySeparate)
{
    // Two circles whose boxes overlap at a corner while the circles are apart.
    std::vector<UniteShape> shapes{Shape({Circle(0, 0, 10)}, 0.1, 1),
                                   Shape({Circle(18, 18, 10)}, 0.2, 2)};
    UniteReport report = Unite(shapes);
    ASSERT_EQ(report.shapes.size(), 2u);
    EXPECT_TRUE(report.shapes[0].fUnchanged);
    EXPECT_TRUE(report.shapes[1].fUnchanged);
}

TEST(Unite, CurvesAreFlattenedCloselyEnough)
{
    // A circle united with itself: the polygon's area is within a thousandth of the circle's.
    UniteReport report = Unite({Shape({Circle(0, 0, 100)}, 0.1, 1), Shape({Circle(0, 0, 100)}, 0.2, 2)});
    ASSERT_EQ(report.shapes.size(), 1u);
    EXPECT_FALSE(report.shapes[0].fUnchanged);
    EXPECT_NEAR(ShapeArea(report.shapes[0]), M_PI * 100 * 100, M_PI * 100 * 100 * 1e-3);
    EXPECT_GT(report.shapes[0].contours[0].segments.size(), 32u);
}

TEST(Unite, HolesStayWithTheirOuterContour)
{
    // A 30 point square with a 10 point hole, and a square overlapping its right edge.
    UniteShape frame = Shape({Square(0, 0, 30), Square(10, 10, 10, true)}, 0.4, 1);
    UniteShape side = Shape({Rect(25, 0, 40, 10)}, 0.6, 2);
    UniteReport alone = Unite({frame});
    ASSERT_EQ(alone.shapes.size(), 1u);
    EXPECT_TRUE(alone.shapes[0].fUnchanged) << "a clean shape with a hole touches nothing";

    UniteReport report = Unite({frame, side});
    ASSERT_EQ(report.shapes.size(), 1u);
    const UniteResultShape& r = report.shapes[0];
    ASSERT_EQ(r.contours.size(), 2u);
    double outer = Area(r.contours[0]), hole = Area(r.contours[1]);
    EXPECT_NEAR(std::fabs(outer), 900 + 100, 1e-6);
    EXPECT_NEAR(std::fabs(hole), 100, 1e-6);
    EXPECT_LT(outer * hole, 0) << "the hole winds the other way";
    EXPECT_EQ(r.dStrokeWidth, 0.4);

    // A square over the hole fills it.
    UniteReport filled = Unite({frame, Shape({Square(5, 5, 20)}, 0.6, 3)});
    ASSERT_EQ(filled.shapes.size(), 1u);
    ASSERT_EQ(filled.shapes[0].contours.size(), 1u);
    EXPECT_NEAR(std::fabs(Area(filled.shapes[0].contours[0])), 900, 1e-6);
}

TEST(Unite, IslandInsideAHoleIsAShapeOfItsOwn)
{
    UniteShape frame = Shape({Square(0, 0, 30), Square(10, 10, 10, true)}, 0.4, 1);
    UniteShape island = Shape({Square(12, 12, 6)}, 0.8, 2);
    UniteShape bridge = Shape({Rect(-5, 0, 5, 5)}, 0.4, 3);  // makes the frame take part
    UniteReport report = Unite({frame, island, bridge});
    ASSERT_EQ(report.shapes.size(), 2u);
    const UniteResultShape& merged = report.shapes[0].fUnchanged ? report.shapes[1] : report.shapes[0];
    const UniteResultShape& kept = report.shapes[0].fUnchanged ? report.shapes[0] : report.shapes[1];
    EXPECT_EQ(merged.contours.size(), 2u);
    EXPECT_EQ(kept.iIndex, 2);
    EXPECT_EQ(kept.dStrokeWidth, 0.8);
}

TEST(Unite, BadShapesAreLeftAsTheyWereWithANote)
{
    UniteContour open = Square(0, 0, 10);
    open.fClosed = false;
    UniteContour twoPoints;
    twoPoints.segments = {Corner(0, 0), Corner(10, 10)};
    UniteContour onePoint;
    onePoint.segments = {Corner(3, 3), Corner(3, 3), Corner(3, 3)};
    UniteContour flat;
    flat.segments = {Corner(0, 0), Corner(5, 5), Corner(10, 10)};
    UniteContour bowTie;
    bowTie.segments = {Corner(0, 0), Corner(10, 10), Corner(10, 0), Corner(0, 20)};
    UniteContour spike;
    spike.segments = {Corner(0, 0), Corner(10, 0), Corner(10, 10), Corner(10, 20), Corner(10, 10),
                      Corner(0, 10)};
    UniteContour notFinite = Square(0, 0, 10);
    notFinite.segments[2].ptOut.h = NAN;
    UniteContour huge = Square(0, 0, 10);
    huge.segments[1].ptAnchor.h = 1e15;
    UniteContour infinite = Square(0, 0, 10);
    infinite.segments[0].ptAnchor.v = -INFINITY;
    struct Case {
        const char* name;
        std::vector<UniteContour> contours;
        const char* why;
    } cases[] = {
        {"no contours", {}, "no contours"},
        {"open", {open}, "open contour"},
        {"empty contour", {UniteContour{}}, "degenerate"},
        {"two points", {twoPoints}, "degenerate"},
        {"one point", {onePoint}, "degenerate"},
        {"collinear", {flat}, "degenerate"},
        {"bow tie", {bowTie}, "crosses itself"},
        {"spike", {spike}, "crosses itself"},
        {"not finite", {notFinite}, "out of range"},
        {"huge", {huge}, "out of range"},
        {"infinite", {infinite}, "out of range"},
        {"bad member of a compound", {Square(0, 0, 10), bowTie}, "crosses itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniteShape bad = Shape(c.contours, 0.5, 42);
        UniteShape good1 = Shape({Square(2, 2, 10)}, 0.1, 1);
        UniteShape good2 = Shape({Square(6, 6, 10)}, 0.2, 2);
        UniteReport report;
        ASSERT_EQ(UniteShapes({good1, bad, good2}, UniteOptions{}, &report), kNoErr);
        ASSERT_EQ(report.notes.size(), 1u);
        EXPECT_NE(report.notes[0].find("shape 42"), std::string::npos) << report.notes[0];
        EXPECT_NE(report.notes[0].find(c.why), std::string::npos) << report.notes[0];
        // The good shapes still unite; the bad one comes back untouched, in its place.
        ASSERT_EQ(report.shapes.size(), 2u);
        EXPECT_FALSE(report.shapes[0].fUnchanged);
        EXPECT_NEAR(std::fabs(Area(report.shapes[0].contours[0])), 164, 1e-6);
        const UniteResultShape& kept = report.shapes[1];
        EXPECT_TRUE(kept.fUnchanged);
        EXPECT_EQ(kept.iIndex, 42);
        EXPECT_EQ(kept.dStrokeWidth, 0.5);
        ASSERT_EQ(kept.contours.size(), c.contours.size());
        for (size_t i = 0; i < c.contours.size(); ++i)
            EXPECT_EQ(kept.contours[i].segments.size(), c.contours[i].segments.size());
    }
}

TEST(Unite, BadCallsAreRefusedAndNothingInNothingOut)
{
    UniteReport report;
    EXPECT_EQ(UniteShapes({}, UniteOptions{}, nullptr), kBadParameterErr);
    for (UniteOptions o : {UniteOptions{0, 1000}, UniteOptions{0.01, 0}, UniteOptions{double(NAN), 1000},
                           UniteOptions{0.01, 1e9}}) {
        EXPECT_EQ(UniteShapes({Shape({Square(0, 0, 1)}, 0, 0)}, o, &report), kBadParameterErr);
    }
    ASSERT_EQ(UniteShapes({}, UniteOptions{}, &report), kNoErr);
    EXPECT_TRUE(report.shapes.empty());
    EXPECT_TRUE(report.notes.empty());
}

}  // namespace

// A shape whose box reaches over several results is credited only to the result it lies in:
// an L inside the body of a ring reaches over an island in the ring's hole.
TEST(Unite, AShapeCountsOnlyForTheResultItLiesIn)
{
    UniteContour ell;
    ell.segments = {Corner(2, 2), Corner(38, 2), Corner(38, 8), Corner(8, 8), Corner(8, 38), Corner(2, 38)};
    UniteShape ring = Shape({Square(0, 0, 40), Square(10, 10, 20)}, 0.2, 1);
    ring.fEvenOdd = true;
    const std::vector<UniteShape> shapes = {ring, Shape({ell}, 0.9, 2), Shape({Square(15, 15, 6)}, 0.5, 3),
                                            Shape({Square(19, 15, 6)}, 0.5, 4)};
    UniteReport report = Unite(shapes);
    ASSERT_EQ(report.shapes.size(), 2u);
    const UniteResultShape& body = report.shapes[0];
    const UniteResultShape& island = report.shapes[1];
    EXPECT_EQ(body.contours.size(), 2u);
    EXPECT_EQ(body.iIndex, 1);
    EXPECT_EQ(body.sources, (std::vector<int>{1, 2}));
    EXPECT_NEAR(std::fabs(ShapeArea(body)), 1200, 1e-6);
    // The L is larger than either square of the island, but none of it lies there.
    EXPECT_EQ(island.iIndex, 3);
    EXPECT_DOUBLE_EQ(island.dStrokeWidth, 0.5);
    EXPECT_EQ(island.sources, (std::vector<int>{3, 4}));
    EXPECT_NEAR(std::fabs(ShapeArea(island)), 60, 1e-6);
}

// Outlines that share a stretch of edge are united; outlines that meet at one corner only, or
// whose boxes meet while the shapes do not, stay as they were.
TEST(Unite, TouchingOutlinesAreUnitedAndNearOnesLeftAlone)
{
    UniteContour wedge;  // its box meets the square's, the shape does not
    wedge.segments = {Corner(18, 14), Corner(32, 14), Corner(32, 0)};
    struct Case {
        const char* name;
        std::vector<UniteShape> shapes;
        size_t results;
        bool fUnchanged;
    } cases[] = {
        {"corner to corner", {Shape({Square(0, 0, 10)}, 0.1, 1), Shape({Square(10, 10, 10)}, 0.2, 2)}, 2, true},
        {"along an edge", {Shape({Square(0, 0, 10)}, 0.1, 1), Shape({Square(10, 2, 5)}, 0.2, 2)}, 1, false},
        {"boxes meet, shapes apart", {Shape({Rect(0, 0, 20, 10)}, 0.1, 1), Shape({wedge}, 0.2, 2)}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniteReport report = Unite(c.shapes);
        EXPECT_EQ(report.shapes.size(), c.results);
        for (const UniteResultShape& r : report.shapes) EXPECT_EQ(r.fUnchanged, c.fUnchanged);
    }
}
