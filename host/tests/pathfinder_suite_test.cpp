// The Pathfinder suite over the document: overlapping shapes become one contour in their
// group with a source's stroke width, bad shapes stay with a note, text becomes outlines.
#include "host/suites/pathfinder_suite.h"

#include "sdk/ai_art.h"

#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/suite_registry.h"
#include "sdk/suite_names.h"
#include "host/suites/text_engine.h"
#include "host/suites/text_outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace host;

AIPathSegment Corner(double h, double v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; }

class PathfinderSuite : public ::testing::Test {
protected:
    void SetUp() override
    {
        TheSession().document = &doc;
        ASSERT_EQ(InsertLayer(doc, nullptr, Placement::BelowAll, &layer), kNoErr);
        doc.currentLayer = layer;
        ASSERT_EQ(NewArt(doc, ArtType::Group, Placement::InsideOnTop, layer->group, &group), kNoErr);
    }
    void TearDown() override { TheSession().document = nullptr; }

    Art* Polygon(const std::vector<AIRealPoint>& points, double width, bool closed = true, Art* into = nullptr)
    {
        Art* art = nullptr;
        EXPECT_EQ(NewArt(doc, ArtType::Path, Placement::InsideOnTop, into ? into : group, &art), kNoErr);
        std::vector<AIPathSegment> segments;
        for (const AIRealPoint& p : points) segments.push_back(Corner(p.h, p.v));
        SetPathSegments(art, segments);
        SetPathClosed(art, closed);
        PathStyle style;
        style.fStrokePaint = true;
        style.strokeWidth = width;
        SetPathStyle(art, style);
        return art;
    }
    Art* Square(double left, double bottom, double size, double width)
    {
        return Polygon({{left, bottom}, {left + size, bottom}, {left + size, bottom + size}, {left, bottom + size}},
                       width);
    }

    ASErr Unite(std::vector<Art*> arts)
    {
        std::vector<AIArtHandle> handles;
        for (Art* art : arts) handles.push_back(ToHandle(art));
        AIPathfinderData data{};
        data.dPrecision = 10;
        data.phArtSet = handles.data();
        data.iArtCount = int32_t(handles.size());
        AIPathfinderMessage message{};
        return HostPathfinderSuite()->UniteArt(&data, &message);
    }

    std::vector<Art*> Live() const
    {
        std::vector<Art*> out;
        for (Art* art : group->children)
            if (!art->fDisposed) out.push_back(art);
        return out;
    }

    Document doc;
    Layer* layer = nullptr;
    Art* group = nullptr;
};

TEST_F(PathfinderSuite, IsTheHostsRowForItsName)
{
    const void* table = nullptr;
    ASSERT_EQ(AcquireHostSuite(kAIPathfinderSuite, kAIPathfinderSuiteVersion, &table), kNoErr);
    EXPECT_EQ(table, HostPathfinderSuite());
    ReleaseHostSuite(kAIPathfinderSuite, kAIPathfinderSuiteVersion);
}

TEST_F(PathfinderSuite, OverlappingSquaresBecomeOneContourWithASourcesWidth)
{
    Art* a = Square(0, 0, 20, 0.1);
    Art* b = Square(10, 10, 20, 0.3);
    ASSERT_EQ(Unite({a, b}), kNoErr);
    EXPECT_TRUE(a->fDisposed);
    EXPECT_TRUE(b->fDisposed);
    std::vector<Art*> live = Live();
    ASSERT_EQ(live.size(), 1u);
    Art* united = live[0];
    EXPECT_EQ(united->type, ArtType::Path);
    EXPECT_EQ(united->parent, group);
    EXPECT_TRUE(united->fClosed);
    EXPECT_EQ(united->segments.size(), 8u);  // the outline of two overlapping squares
    EXPECT_TRUE(united->style.strokeWidth == 0.1 || united->style.strokeWidth == 0.3);
    AIRealRect r;
    ASSERT_TRUE(ArtBounds(united, r));
    EXPECT_NEAR(r.left, 0, 1e-6);
    EXPECT_NEAR(r.right, 30, 1e-6);
    EXPECT_NEAR(r.top, 30, 1e-6);
}

TEST_F(PathfinderSuite, ARingOfBarsComesBackAsACompoundPathWithItsHole)
{
    Art* bars[4] = {
        Polygon({{0, 0}, {30, 0}, {30, 5}, {0, 5}}, 0.2),
        Polygon({{0, 25}, {30, 25}, {30, 30}, {0, 30}}, 0.2),
        Polygon({{0, 0}, {5, 0}, {5, 30}, {0, 30}}, 0.2),
        Polygon({{25, 0}, {30, 0}, {30, 30}, {25, 30}}, 0.2),
    };
    ASSERT_EQ(Unite({bars[0], bars[1], bars[2], bars[3]}), kNoErr);
    std::vector<Art*> live = Live();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0]->type, ArtType::CompoundPath);
    ASSERT_EQ(live[0]->children.size(), 2u);
    for (Art* member : live[0]->children) {
        EXPECT_EQ(member->type, ArtType::Path);
        EXPECT_DOUBLE_EQ(member->style.strokeWidth, 0.2);
    }
}

TEST_F(PathfinderSuite, ShapesApartAndShapesItCannotTakeStayAsTheyWere)
{
    struct Case {
        const char* what;
        std::vector<AIRealPoint> points;
        bool closed;
    };
    const Case cases[] = {
        {"crossing itself", {{0, 0}, {20, 20}, {20, 0}, {0, 20}}, true},
        {"open", {{0, 0}, {20, 0}, {20, 20}}, false},
        {"no area", {{0, 0}, {10, 0}, {20, 0}}, true},
        {"huge", {{0, 0}, {1e12, 0}, {1e12, 1e12}, {0, 1e12}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (Art* art : Live()) DisposeArt(art);
        Art* bad = Polygon(c.points, 0.5, c.closed);
        Art* other = Square(5, 5, 10, 0.1);
        Art* apart = Square(500, 500, 10, 0.2);
        std::vector<AIPathSegment> before = bad->segments;
        ASSERT_EQ(Unite({bad, other, apart}), kNoErr);
        EXPECT_FALSE(bad->fDisposed);
        EXPECT_EQ(bad->segments.size(), before.size());
        EXPECT_FALSE(apart->fDisposed);
        EXPECT_FALSE(HostPathfinderNotes().empty());
    }
}

TEST_F(PathfinderSuite, RefusesWhatNamesNoArt)
{
    EXPECT_EQ(HostPathfinderSuite()->UniteArt(nullptr, nullptr), kBadParameterErr);
    Art* gone = Square(0, 0, 10, 0);
    DisposeArt(gone);
    EXPECT_EQ(Unite({gone}), kBadParameterErr);
    AIPathfinderData none{};
    EXPECT_EQ(HostPathfinderSuite()->UniteArt(&none, nullptr), kNoErr);
}

TEST_F(PathfinderSuite, TextOutlinesAreAGroupOfCompoundPathsAboveTheFrame)
{
    InstallTextEngine();
    AIArtHandle text = nullptr;
    ASSERT_EQ(HostTextFrameSuite()->NewPointText(kPlaceInsideOnTop, ToHandle(group), 0, AIRealPoint{10, 10}, &text),
              kNoErr);
    SetTextContent(FromHandle(text), "A B");
    AIArtHandle outline = nullptr;
    ASSERT_NE(HostTextFrameSuite()->CreateOutline, nullptr);
    ASSERT_EQ(HostTextFrameSuite()->CreateOutline(text, &outline), kNoErr);
    Art* out = FromHandle(outline);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->type, ArtType::Group);
    EXPECT_EQ(out->parent, group);
    EXPECT_EQ(PreviousSibling(FromHandle(text)), out);
    ASSERT_EQ(out->children.size(), 2u);  // the space has no ink
    for (Art* glyph : out->children) {
        EXPECT_EQ(glyph->type, ArtType::CompoundPath);
        EXPECT_FALSE(glyph->children.empty());
        AIRealRect r;
        ASSERT_TRUE(ArtBounds(glyph, r));
        EXPECT_GT(r.right, 10);
        EXPECT_LT(r.left, 40);
        EXPECT_GE(r.bottom, 9);  // capitals sit on the baseline at v 10
    }
    AIRealRect a, b;
    ASSERT_TRUE(ArtBounds(out->children[0], a));
    ASSERT_TRUE(ArtBounds(out->children[1], b));
    EXPECT_LT(a.right, b.left + 1);  // reading order: A before B
    EXPECT_FALSE(FromHandle(text)->fDisposed);

    AIArtHandle none = nullptr;
    EXPECT_EQ(CreateTextOutline(ToHandle(group), &none), kBadParameterErr);
    EXPECT_EQ(none, nullptr);
}

}  // namespace
