// The configuration layer in a real host document: the two rectangles from the page record,
// the layer's flags and paths, the origin read back from them, and the page record lookup.
#include "plugin/records/configuration_layer.h"

#include "plugin/records/document_records.h"
#include "plugin/tests/plot_area_test_host.h"

#include <gtest/gtest.h>

namespace {

using plotareatest::Page;

struct RectCase {
    const char* name;
    int32_t scale;
    PageRect page;    // millimetres: top, left, right, bottom
    PageRect paper;
    RealPoint origin;
    PlotAreaRect wantPage;   // points: top, left, right, bottom
    PlotAreaRect wantPaper;
};

const RectCase kRectCases[] = {
    {"A4 at 100 %", 10000, {0, 0, 210, 297}, {-15, -15, 225, 312}, {100, 200},
     {1041, 100, 695, 200}, {1083, 57, 737, 157}},
    {"A4 at 200 % halves the factor", 20000, {0, 0, 210, 297}, {-15, -15, 225, 312}, {100, 200},
     {620, 100, 397, 200}, {641, 78, 418, 178}},
    {"negative values truncate toward zero", 5000, {10, 20, 100, 50}, {0, 0, 120, 60}, {-50.5, -30.25},
     {140, 62, 516, -87}, {196, -50, 629, -144}},
};

class ConfigurationLayer : public plotareatest::PlotAreaHost {};

void ExpectRect(const PlotAreaRect& got, const PlotAreaRect& want, const std::string& label)
{
    EXPECT_EQ(got.top, want.top) << label;
    EXPECT_EQ(got.left, want.left) << label;
    EXPECT_EQ(got.right, want.right) << label;
    EXPECT_EQ(got.bottom, want.bottom) << label;
}

TEST_F(ConfigurationLayer, RectanglesFromThePageRecordAroundTheOrigin)
{
    for (const RectCase& c : kRectCases) {
        SetRegistryPage(Page(c.scale, c.page, c.paper));
        PlotAreaRect paper = {};
        PlotAreaRect page = {};
        ASSERT_TRUE(ComputePlotAreaRects(c.origin, &paper, &page)) << c.name;
        ExpectRect(page, c.wantPage, std::string(c.name) + ": page");
        ExpectRect(paper, c.wantPaper, std::string(c.name) + ": paper");
        ASSERT_NE(g->pPageSetup, nullptr);
        EXPECT_EQ(g->pPageSetup->Scale, c.scale) << "the fresh record stays held";
    }
}

TEST_F(ConfigurationLayer, ScaleNotPositiveOrOutOfRangeLeavesTheRectanglesAsTheyWere)
{
    const struct {
        const char* name;
        int32_t scale;
        PageRect page;
    } cases[] = {
        {"scale 0", 0, {0, 0, 210, 297}},
        {"negative scale", -10000, {0, 0, 210, 297}},
        {"corners beyond 32 bits", 1, {0, 0, 2000000000, 297}},
    };
    for (const auto& c : cases) {
        SetRegistryPage(Page(c.scale, c.page, c.page));
        const PlotAreaRect before = {7, 8, 9, 10};
        PlotAreaRect paper = before;
        PlotAreaRect page = before;
        EXPECT_FALSE(ComputePlotAreaRects(RealPoint{100, 200}, &paper, &page)) << c.name;
        ExpectRect(page, before, std::string(c.name) + ": page");
        ExpectRect(paper, before, std::string(c.name) + ": paper");
    }
}

TEST_F(ConfigurationLayer, BuiltBelowAllLockedNotPrintedWithTwoClosedRectangles)
{
    AILayerHandle current = nullptr;
    ASSERT_EQ(sAILayer->GetCurrentLayer(&current), kNoErr);
    g->rPaperArea = PlotAreaRect{1083, 57, 737, 157};
    g->rPageArea = PlotAreaRect{1041, 100, 695, 200};
    BuildConfigurationLayer(1);

    host::Layer* layer = ConfigLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(host::NthLayer(*doc_, host::CountLayers(*doc_) - 1), layer) << "below all";
    EXPECT_TRUE(layer->fVisible);
    EXPECT_TRUE(layer->fPreview);
    EXPECT_FALSE(layer->fEditable);
    EXPECT_FALSE(layer->fPrinted);
    AILayerHandle after = nullptr;
    ASSERT_EQ(sAILayer->GetCurrentLayer(&after), kNoErr);
    EXPECT_EQ(after, current) << "the user's layer stays current";

    std::vector<host::Art*> paths = ConfigPaths();
    ASSERT_EQ(paths.size(), 2u);
    // the paper went in first, the page on top of it
    const PlotAreaRect want[2] = {g->rPageArea, g->rPaperArea};
    for (int i = 0; i < 2; ++i) {
        host::Art* path = paths[size_t(i)];
        const PlotAreaRect& r = want[i];
        const AIRealPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        ASSERT_EQ(path->segments.size(), 4u);
        for (int s = 0; s < 4; ++s) {
            const AIPathSegment& seg = path->segments[size_t(s)];
            EXPECT_EQ(seg.ptAnchor.h, corners[s].h) << i << "/" << s;
            EXPECT_EQ(seg.ptAnchor.v, corners[s].v) << i << "/" << s;
            EXPECT_EQ(seg.ptIn.h, corners[s].h);
            EXPECT_EQ(seg.ptOut.v, corners[s].v);
            EXPECT_TRUE(seg.fCorner);
        }
        EXPECT_TRUE(path->fClosed);
        AIPathStyle style = {};
        ASSERT_EQ(sAIPathStyle->GetPathStyle(host::ToHandle(path), &style), kNoErr);
        EXPECT_FALSE(style.fFillPaint);
        EXPECT_TRUE(style.fStrokePaint);
        EXPECT_DOUBLE_EQ(style.strokeWidth, 0.1);
        EXPECT_DOUBLE_EQ(style.miterLimit, 4.0);
        EXPECT_EQ(style.dashCount, 0);
        ASInt32 selected = 1;
        ASSERT_EQ(sAIArt->GetArtUserAttr(host::ToHandle(path), kArtAttrSelected, &selected), kNoErr);
        EXPECT_EQ(selected, 0);
    }
}

TEST_F(ConfigurationLayer, RebuildReplacesThePathsAndKeepsTheRecords)
{
    SetRegistryPage(Page(10000, {0, 0, 210, 297}, {-15, -15, 225, 312}));
    ComputePlotAreaRects(RealPoint{0, 0}, &g->rPaperArea, &g->rPageArea);
    BuildConfigurationLayer(1);
    SavePageSetupToDocument();
    ComputePlotAreaRects(RealPoint{50, 60}, &g->rPaperArea, &g->rPageArea);
    BuildConfigurationLayer(1);

    std::vector<host::Art*> paths = ConfigPaths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]->segments[3].ptAnchor.h, 50);
    EXPECT_EQ(paths[0]->segments[3].ptAnchor.v, 60);
    EXPECT_EQ(CountRecords("TRVX_2"), 1);
    EXPECT_FALSE(ConfigLayer()->fEditable);

    BuildConfigurationLayer(0);
    EXPECT_TRUE(ConfigPaths().empty()) << "without rectangles the layer keeps only its records";
    EXPECT_EQ(CountRecords("TRVX_2"), 1);
}

// A path of four corners appended at the bottom of the configuration layer's group.
void AddPath(AILayerHandle layer, AIRealRect r)
{
    AIArtHandle group = nullptr;
    ASSERT_EQ(sAIArt->GetFirstArtOfLayer(layer, &group), kNoErr);
    AIArtHandle path = nullptr;
    ASSERT_EQ(sAIArt->NewArt(kArtTypePath, kPlaceInsideOnBottom, group, &path), kNoErr);
    const AIRealPoint c[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    AIPathSegment segments[4];
    for (int i = 0; i < 4; ++i) segments[i] = AIPathSegment{c[i], c[i], c[i], 1};
    ASSERT_EQ(sAIPath->SetPathSegments(path, 0, 4, segments), kNoErr);
}

TEST_F(ConfigurationLayer, OriginFromTheTwoRectangles)
{
    // left, top, right, bottom in points
    const AIRealRect tall = {0, 500, 300, 0};
    const AIRealRect shortA = {20, 480, 280, 100};   // height 380, width 260
    const AIRealRect shortB = {30, 470, 290, 90};    // same height as shortA
    const struct {
        const char* name;
        std::vector<AIRealRect> paths;   // in the group's order
        int16_t taller;
        int16_t horizontal;
        int32_t pageNo;
        RealPoint want;
    } cases[] = {
        {"no rectangle", {}, 0, 0, 1, {0, 0}},
        {"one rectangle", {shortA}, 0, 0, 1, {0, 0}},
        {"three rectangles", {shortA, tall, shortB}, 0, 0, 1, {0, 0}},
        {"shorter first", {shortA, tall}, 0, 0, 1, {20, 100}},
        {"shorter second", {tall, shortA}, 0, 0, 1, {20, 100}},
        {"equal heights take the second", {shortA, shortB}, 0, 0, 1, {30, 90}},
        {"taller asked for", {shortA, tall}, 1, 0, 1, {0, 0}},
        {"taller asked for, equal heights take the first", {shortA, shortB}, 1, 0, 1, {20, 100}},
        {"page 3 in portrait: two page heights up", {tall, shortA}, 0, 0, 3, {20, 100 + 2 * 380}},
        {"page 2 in landscape: one page width right", {tall, shortA}, 0, 1, 2, {20 + 260, 100}},
        {"taller chosen, pages step by the shorter", {tall, shortA}, 1, 0, 2, {0, 380}},
    };
    for (const auto& c : cases) {
        doc_ = onhost::LoadDrawing("origin", onhost::Drawing(""));
        BuildConfigurationLayer(0);
        AILayerHandle layer = host::ToHandle(ConfigLayer());
        for (const AIRealRect& r : c.paths) AddPath(layer, r);
        RealPoint origin = {-1, -1};
        GetPlotAreaOrigin(&origin, c.taller, c.horizontal, c.pageNo);
        EXPECT_EQ(origin.h, c.want.h) << c.name;
        EXPECT_EQ(origin.v, c.want.v) << c.name;
        EXPECT_TRUE(ConfigLayer()->fEditable) << c.name << ": the layer stays unlocked";
    }
}

TEST_F(ConfigurationLayer, NoLayerOrAHandDeletedPageRectangleGivesTheZeroOrigin)
{
    RealPoint origin = {-1, -1};
    GetPlotAreaOrigin(&origin, 0, 0, 1);
    EXPECT_EQ(origin.h, 0);
    EXPECT_EQ(origin.v, 0);
    EXPECT_EQ(ConfigLayer(), nullptr);

    SetRegistryPage(Page(10000, {0, 0, 210, 297}, {-15, -15, 225, 312}));
    ComputePlotAreaRects(RealPoint{100, 200}, &g->rPaperArea, &g->rPageArea);
    BuildConfigurationLayer(1);
    GetPlotAreaOrigin(&origin, 0, 0, 1);
    EXPECT_EQ(origin.h, 100);
    EXPECT_EQ(origin.v, 200);

    // the user unlocks the layer and deletes the page rectangle
    ASSERT_EQ(sAIArt->DisposeArt(host::ToHandle(ConfigPaths()[0])), kNoErr);
    GetPlotAreaOrigin(&origin, 0, 0, 1);
    EXPECT_EQ(origin.h, 0);
    EXPECT_EQ(origin.v, 0);
}

TEST_F(ConfigurationLayer, PageSetupIsOverlaidByTheDocumentsRecordOnEveryCall)
{
    SetRegistryPage(Page(10000, {0, 0, 210, 297}, {-15, -15, 225, 312}));
    PageSetup* page = GetPageSetup();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Scale, 10000) << "no record in the document: the registry's";

    // the document's record says 50 %
    page->Scale = 5000;
    page->rPage.right = 100;
    SavePageSetupToDocument();
    page->Scale = 12345;
    page = GetPageSetup();
    EXPECT_EQ(page->Scale, 5000);
    EXPECT_EQ(page->rPage.right, 100);

    // a record loaded fresh from the registry is overlaid as well
    std::free(g->pPageSetup);
    g->pPageSetup = nullptr;
    page = GetPageSetup();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Scale, 5000);
}

TEST_F(ConfigurationLayer, NewPageSetupKeepsThePlotAreasPlace)
{
    SetRegistryPage(Page(10000, {0, 0, 210, 297}, {-15, -15, 225, 312}));
    ApplyPageSetupToPlotArea();
    ASSERT_EQ(ConfigPaths().size(), 2u);
    EXPECT_EQ(ConfigPaths()[0]->segments[3].ptAnchor.h, 0) << "no plot area before: at (0, 0)";
    EXPECT_EQ(ConfigPaths()[0]->segments[3].ptAnchor.v, 0);

    ComputePlotAreaRects(RealPoint{100, 200}, &g->rPaperArea, &g->rPageArea);
    BuildConfigurationLayer(1);
    SetRegistryPage(Page(20000, {0, 0, 210, 297}, {-15, -15, 225, 312}));
    ApplyPageSetupToPlotArea();
    std::vector<host::Art*> paths = ConfigPaths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]->segments[3].ptAnchor.h, 100);
    EXPECT_EQ(paths[0]->segments[3].ptAnchor.v, 200);
    EXPECT_EQ(paths[0]->segments[1].ptAnchor.h, 397);
    EXPECT_EQ(paths[0]->segments[1].ptAnchor.v, 620);
    EXPECT_EQ(CountRecords("TRVX_2"), 1);
    EXPECT_FALSE(ConfigLayer()->fEditable);
}

}  // namespace
