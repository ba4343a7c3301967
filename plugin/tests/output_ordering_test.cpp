// The orderings of a chunk and the cut frame over the real host's document: weighted
// distances, the shared quicksort, the nearest-neighbour walk, the cutter order's groups,
// holes and clusters, cancels, and the frame margins in millimetres.
#include "plugin/conversion/output_ordering.h"

#include "plugin/tests/work_test_host.h"

#include <cmath>
#include <map>
#include <set>

namespace {

using namespace host;
using worktest::WorkHost;

class Ordering : public WorkHost {
protected:
    Art* Named(Art* art, const std::string& name)
    {
        art->name = name;
        return art;
    }
    Art* Box(const std::string& name, double left, double bottom, double right, double top)
    {
        return Named(Rect(left, bottom, right, top), name);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (Art* art : Rows()) out.push_back(art ? art->name : "(none)");
        return out;
    }
    std::multiset<Art*> RowSet() const
    {
        std::vector<Art*> rows = Rows();
        return std::multiset<Art*>(rows.begin(), rows.end());
    }
};

// --- distances ---

TEST_F(Ordering, OneAxisCountsDouble)
{
    struct Case {
        int16_t axis;
        RealPoint b;
        double expected;
    };
    const Case cases[] = {
        {0, {0, 10}, 20}, {0, {15, 0}, 15}, {0, {3, 2}, 5},
        {1, {0, 10}, 10}, {1, {15, 0}, 30}, {1, {2, 3}, 5},
    };
    for (const Case& c : cases) {
        g->fSortAxis = c.axis;
        RealPoint a{0, 0};
        EXPECT_DOUBLE_EQ(MeasureWeightedDistance(&a, &c.b), c.expected) << c.axis << " " << c.b.h << "," << c.b.v;
    }
    RealPoint s1{0, 5}, s2{10, 5}, p{4, 0};
    g->fSortAxis = 0;
    EXPECT_DOUBLE_EQ(MeasureWeightedDistanceToSegment(&s1, &s2, &p), 10);
    g->fSortAxis = 1;
    EXPECT_DOUBLE_EQ(MeasureWeightedDistanceToSegment(&s1, &s2, &p), 5);
}

TEST_F(Ordering, AnOriginInsideBoundsMeasuresToTheNearestEdge)
{
    const AIRealRect r{0, 50, 100, 0};
    RealPoint inside{10, 20};
    g->fSortAxis = 0;
    EXPECT_DOUBLE_EQ(MeasureWeightedDistanceToRect(&inside, &r), 10);
    g->fSortAxis = 1;
    EXPECT_DOUBLE_EQ(MeasureWeightedDistanceToRect(&inside, &r), 20);
    RealPoint outside{-3, 54};  // beyond the top left corner
    g->fSortAxis = 0;
    EXPECT_DOUBLE_EQ(MeasureWeightedDistanceToRect(&outside, &r), std::sqrt(9.0 + 64.0));
}

// --- the object sort ---

TEST_F(Ordering, PortraitWeighsUpAndLandscapeAcross)
{
    for (int16_t axis : {0, 1}) {
        SCOPED_TRACE(axis);
        g->pMainArtList->iCount = 0;
        Add(Box("up", -1, 9, 1, 11));
        Add(Box("right", 14, -1, 16, 1));
        g->fSortAxis = axis;
        ASSERT_EQ(SortByOriginDistance(g->pMainArtList), kNoErr);
        EXPECT_EQ(Names(), axis == 0 ? (std::vector<std::string>{"right", "up"})
                                     : (std::vector<std::string>{"up", "right"}));
    }
}

TEST_F(Ordering, ObjectSortIsAscendingFromTheRulerOrigin)
{
    SetHostRulerOrigin(AIRealPoint{100, 0});
    Add(Box("d30", 130, 0, 140, 10));
    Add(Box("d10", 90, 10, 110, 20));   // 5 up, weighed 10... its bottom edge at v 10 gives 20
    Add(Box("d0", 95, -5, 105, 5));     // the origin inside: 5 to the nearest side
    Add(Box("d60", 40, 0, 50, 10));
    Add(Named(Polygon({}, false), "nothing"));  // draws nothing: unreadable bounds sort first
    ASSERT_EQ(SortByOriginDistance(g->pMainArtList), kNoErr);
    EXPECT_EQ(g->ptSortOrigin.h, 100);
    EXPECT_EQ(Names(), (std::vector<std::string>{"nothing", "d0", "d10", "d30", "d60"}));
}

TEST_F(Ordering, EqualKeysMayChangePlaces)
{
    // The middle row becomes the pivot and equal keys stay right of it.
    Add(Box("a", 10, 10, 20, 20));
    Add(Box("b", 10, 10, 20, 20));
    Add(Box("c", 10, 10, 20, 20));
    ASSERT_EQ(SortByOriginDistance(g->pMainArtList), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a", "c"}));
}

// --- the vector sort ---

TEST_F(Ordering, VectorSortTiesKeepTheEarlierCandidate)
{
    for (bool leftFirst : {false, true}) {
        SCOPED_TRACE(leftFirst);
        g->pMainArtList->iCount = 0;
        Art* right = Named(Polygon({{10, 0}, {10, 50}}, false), "right");
        Art* left = Named(Polygon({{-10, 0}, {-10, 50}}, false), "left");
        Add(leftFirst ? left : right);
        Add(leftFirst ? right : left);
        ASSERT_EQ(SortByNearestNeighbour(g->pMainArtList), kNoErr);
        EXPECT_EQ(Names().front(), leftFirst ? "left" : "right");
    }
}

TEST_F(Ordering, AClosedPathEndsAtItsFirstAnchor)
{
    Add(Named(Polygon({{1, 4}, {1, 5}}, false), "fromTopCorner"));
    Add(Named(Polygon({{1, 0}, {5, 0}, {5, 4}, {1, 4}}, true), "square"));
    Add(Named(Polygon({{2, 0}, {3, 0}}, false), "fromFirstAnchor"));
    ASSERT_EQ(SortByNearestNeighbour(g->pMainArtList), kNoErr);
    // From the square's last anchor (1, 4) the first path would be nearer.
    EXPECT_EQ(Names(), (std::vector<std::string>{"square", "fromFirstAnchor", "fromTopCorner"}));
}

TEST_F(Ordering, ATextFrameStartsAndEndsAtItsBoundsCentre)
{
    Art* text = Named(Text("Label", AIRealPoint{200, 100}, 24), "text");
    AIRealRect r = Bounds(text);
    const AIRealPoint centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetHostRulerOrigin(centre);
    Add(Named(Polygon({{200, 100}, {190, 90}}, false), "atAnchor"));
    Add(text);
    Add(Named(Polygon({{centre.h + 1, centre.v}, {centre.h + 1, centre.v + 50}}, false), "nearCentre"));
    ASSERT_EQ(SortByNearestNeighbour(g->pMainArtList), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"text", "nearCentre", "atAnchor"}));
}

TEST_F(Ordering, RowsTheWalkCannotPlaceFollowInTheirFormerOrder)
{
    Art* group = Named(Container(ArtType::Group), "group");
    Rect(0, 0, 1, 1, group);
    Art* compound = Named(Container(ArtType::CompoundPath), "compound");
    Rect(0, 0, 1, 1, compound);
    Add(group);
    Add(Named(Polygon({{40000, 0}, {40001, 0}}, false), "far"));
    Add(Named(Polygon({{5, 0}, {6, 0}}, false), "second"));
    Add(compound);
    Art* first = Named(Polygon({{1, 0}, {2, 0}}, false), "first");
    Add(first);
    Add(first, 3);  // the same art twice is still two rows
    ASSERT_EQ(SortByNearestNeighbour(g->pMainArtList), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"first", "first", "second", "group", "far", "compound"}));
    EXPECT_EQ(g->pMainArtList->aEntry[0].wTool, 0);
    EXPECT_EQ(g->pMainArtList->aEntry[1].wTool, 3);
    for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) EXPECT_EQ(g->pMainArtList->aEntry[i].iTag, 0);
}

// --- the cutter order ---

TEST_F(Ordering, AStraightLineStillOverlapsWhatItCrosses)
{
    Art* line = Named(Polygon({{5, -5}, {5, 15}}, false), "line");
    Art* box = Box("box", 0, 0, 10, 10);
    Art* away = Box("away", 100, 100, 110, 110);
    Add(away);
    Add(line);
    Add(box);
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(line->parent, box->parent);
    EXPECT_NE(line->parent, Top());
    EXPECT_EQ(line->parent->type, ArtType::Group);
    EXPECT_EQ(away->parent, Top());
    EXPECT_EQ(Names().back(), "away");
    for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) EXPECT_EQ(g->pMainArtList->aEntry[i].iTag, 0);
}

TEST_F(Ordering, AHoleIsCutBeforeTheOutlineAroundIt)
{
    Add(Box("outer", 0, 0, 100, 100));
    Add(Box("hole", 40, 40, 60, 60));
    Add(Box("island", 45, 45, 50, 50));  // inside the hole: deeper still
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"island", "hole", "outer"}));
}

TEST_F(Ordering, TheNearerClusterComesWholeBeforeTheFartherOne)
{
    Add(Box("A1", 200, 0, 220, 20));
    Add(Box("A2", 210, 10, 230, 30));
    Add(Box("C", 100, 0, 110, 10));
    Add(Box("B1", 10, 0, 30, 20));
    Add(Box("B2", 20, 10, 40, 30));
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B1", "B2", "C", "A1", "A2"}));
}

TEST_F(Ordering, MoreThan256GroupsGiveTheSameOrder)
{
    std::vector<std::string> expected;
    for (int k = 299; k >= 0; --k) {
        double h = 10 + 20 * k;
        Add(Box("Q" + std::to_string(k), h + 3, 3, h + 8, 8));
        Add(Box("P" + std::to_string(k), h, 0, h + 5, 5));
    }
    for (int k = 0; k < 300; ++k) {
        expected.push_back("P" + std::to_string(k));
        expected.push_back("Q" + std::to_string(k));
    }
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(g->groupBounds.wCount, kGroupBoundsCacheSize);
}

TEST_F(Ordering, GroupBoundsComeFromTheParentGroupThroughTheCache)
{
    Art* group = Container(ArtType::Group);
    Art* member = Rect(0, 0, 10, 10, group);
    Rect(20, 0, 30, 40, group);
    Art* loose = Rect(50, 50, 60, 60);
    g->groupBounds.wCount = 0;
    AIRealRect r;
    ASSERT_EQ(GetGroupBounds(ToHandle(Top()), ToHandle(loose), &r), kNoErr);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(g->groupBounds.wCount, 0);
    ASSERT_EQ(GetGroupBounds(ToHandle(Top()), ToHandle(member), &r), kNoErr);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.top, 40);
    ASSERT_EQ(g->groupBounds.wCount, 1);
    EXPECT_EQ(g->groupBounds.ahGroup[0], ToHandle(group));
    // A hit is answered from the cache, even after the group changed.
    Rect(0, 0, 500, 500, group);
    ASSERT_EQ(GetGroupBounds(ToHandle(Top()), ToHandle(member), &r), kNoErr);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(g->groupBounds.wCount, 1);
}

// --- the cut frame ---

TEST_F(Ordering, AFrameWithoutMarginsCutsTouchingObjectsWithItAfterTheInnerOnes)
{
    settings_.wFrameCutTool = 4;
    settings_.rFrameCutMargin = MarginRect{0, 0, 0, 0};
    SetHostRulerOrigin(AIRealPoint{25, -20});
    Add(Box("A", 0, 0, 10, 10));
    Add(Box("B", 40, 40, 50, 50));
    Add(Box("C", 20, 20, 25, 25));
    ASSERT_EQ(BuildCutFrame(), kNoErr);
    ASSERT_EQ(g->pMainArtList->iCount, 4);
    Art* frame = Named(Rows()[3], "frame");
    EXPECT_EQ(g->pMainArtList->aEntry[3].wTool, 3);
    EXPECT_TRUE(frame->fClosed);
    ASSERT_EQ(frame->segments.size(), 4u);
    const AIRealPoint corners[4] = {{0, 50}, {50, 50}, {50, 0}, {0, 0}};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(frame->segments[s].ptAnchor.h, corners[s].h);
        EXPECT_EQ(frame->segments[s].ptAnchor.v, corners[s].v);
        EXPECT_EQ(frame->segments[s].ptIn.h, corners[s].h);
        EXPECT_TRUE(frame->segments[s].fCorner);
    }
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "frame", "A", "B"}));
}

TEST_F(Ordering, FrameMarginsAreMillimetresOnPaper)
{
    struct Case {
        double scale;
        double pointsPerMm;
    };
    const Case cases[] = {{1.0, 2.834645669291339}, {0.5, 5.669291338582678}, {2.0, 1.4173228346456694}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        for (Art* art : Live(Top())) DisposeArt(art);
        g->pMainArtList->iCount = 0;
        g->conversion.dScaleX = g->conversion.dScaleY = c.scale;
        settings_.wFrameCutTool = 1;
        settings_.rFrameCutMargin = MarginRect{1, 2, 3, 4};  // top, left, right, bottom
        Add(Box("A", 0, 0, 10, 10));
        Add(Box("B", 20, 20, 30, 30));
        ASSERT_EQ(BuildCutFrame(), kNoErr);
        ASSERT_EQ(g->pMainArtList->iCount, 3);
        Art* frame = Named(Rows()[2], "frame");
        AIRealRect r = Bounds(frame);
        EXPECT_NEAR(r.top, 30 + 1 * c.pointsPerMm, 1e-9);
        EXPECT_NEAR(r.left, 0 - 2 * c.pointsPerMm, 1e-9);
        EXPECT_NEAR(r.right, 30 + 3 * c.pointsPerMm, 1e-9);
        EXPECT_NEAR(r.bottom, 0 - 4 * c.pointsPerMm, 1e-9);
        EXPECT_EQ(g->pMainArtList->aEntry[2].wTool, 0);
        ASSERT_EQ(SortCutObjects(), kNoErr);
        EXPECT_EQ(Names().back(), "frame");  // everything lies inside it
    }
}

TEST_F(Ordering, OneFrameAroundMembersOfACompoundPath)
{
    // After the union a shape with a hole is a compound path; its members are the rows.
    settings_.wFrameCutTool = 2;
    Art* compound = Container(ArtType::CompoundPath);
    Add(Named(Rect(0, 0, 100, 100, compound), "outer"));
    Add(Named(Rect(40, 40, 60, 60, compound), "hole"));
    ASSERT_EQ(BuildCutFrame(), kNoErr);
    ASSERT_EQ(g->pMainArtList->iCount, 3);
    Art* frame = Named(Rows()[2], "frame");
    EXPECT_EQ(frame->parent, Top());
    AIRealRect r = Bounds(frame);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 100);
    ASSERT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(Names().front(), "hole");
}

// --- empty chunks and cancels ---

TEST_F(Ordering, AnEmptyChunkOrdersToNothing)
{
    size_t children = Top()->children.size();
    EXPECT_EQ(SortCutObjects(), kNoErr);
    EXPECT_EQ(BuildCutFrame(), kNoErr);
    EXPECT_EQ(SortByOriginDistance(g->pMainArtList), kNoErr);
    EXPECT_EQ(SortByNearestNeighbour(g->pMainArtList), kNoErr);
    EXPECT_EQ(g->pMainArtList->iCount, 0);
    EXPECT_EQ(Top()->children.size(), children);
    EXPECT_EQ(g->fAbort, 0);
}

TEST_F(Ordering, ACancelReturnsWithEveryRowStillThereOnce)
{
    struct Ordering {
        const char* name;
        ASErr (*run)();
    };
    const Ordering orderings[] = {
        {"object", [] { return SortByOriginDistance(g->pMainArtList); }},
        {"vector", [] { return SortByNearestNeighbour(g->pMainArtList); }},
        {"cutter", [] { return SortCutObjects(); }},
    };
    for (const Ordering& o : orderings) {
        for (int after : {1, 2, 5}) {
            SCOPED_TRACE(testing::Message() << o.name << " after " << after);
            for (Art* art : Live(Top())) DisposeArt(art);
            g->pMainArtList->iCount = 0;
            g->fAbort = 0;
            for (int k = 0; k < 12; ++k) {
                double h = (k * 37) % 100;
                Add(Rect(h, k % 3 * 5.0, h + 6, k % 3 * 5.0 + 6));
            }
            // A row without a point of its own (the cutter order takes paths only).
            if (std::string(o.name) != "cutter") Add(Rect(0, 0, 4, 4, Container(ArtType::Group)));
            std::multiset<Art*> before = RowSet();
            SetCancelAfterChecks(after);
            EXPECT_EQ(o.run(), kNoErr);
            SetCancelAfterChecks(0);
            EXPECT_EQ(g->fAbort, 1);
            EXPECT_EQ(RowSet(), before);
        }
    }
}

}  // namespace
