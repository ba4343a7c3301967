// The temporary and plotting layers, the copies of a chunk's objects in them, the tool
// carried through the stroke width and the overlap union, over the real host's document.
#include "plugin/conversion/work_layers.h"

#include "plugin/tests/work_test_host.h"

#include <cmath>
#include <cstring>

namespace {

using namespace host;
using worktest::WorkHost;

class WorkLayers : public WorkHost {
protected:
    Layer* Titled(const char* title) { return FindLayerByTitle(*doc_, title); }
    Layer* Temporary() { return Titled("TRAVEX-Pro Temporally Layer"); }
    Layer* Plotting() { return Titled("TRAVEX-Pro Plotting Layer"); }
};

// --- building the layers and the copies ---

TEST_F(WorkLayers, BuildMakesBothLayersBelowAllAndCopiesTheRows)
{
    Art* path = Rect(0, 0, 10, 10);
    path->style.strokeWidth = 2.5;
    Add(path, 4);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    ASSERT_NE(Temporary(), nullptr);
    ASSERT_NE(Plotting(), nullptr);
    EXPECT_EQ(doc_->layers.size(), 3u);
    EXPECT_EQ(doc_->layers[0], layer_);  // the user's layer stays on top
    for (Layer* own : {Temporary(), Plotting()}) {
        EXPECT_TRUE(own->fVisible);
        EXPECT_TRUE(own->fEditable);
    }
    EXPECT_EQ(FromHandle(g->hWorkGroup), Temporary()->group);
    EXPECT_EQ(FromHandle(g->hPlotGroup), Plotting()->group);
    std::vector<Art*> rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0], path);
    EXPECT_EQ(rows[0]->parent, Temporary()->group);
    EXPECT_EQ(rows[0]->segments.size(), 4u);
    EXPECT_TRUE(rows[0]->fClosed);
    EXPECT_EQ(rows[0]->style.strokeWidth, 2.5);
    EXPECT_EQ(g->pMainArtList->aEntry[0].wTool, 4);
    EXPECT_EQ(Live(Top()).size(), 1u);  // the user's art is untouched

    // A second build replaces the temporary layer and keeps the one plotting layer.
    Layer* firstTemporary = Temporary();
    Layer* firstPlotting = Plotting();
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    EXPECT_TRUE(firstTemporary->fDisposed);
    EXPECT_EQ(Plotting(), firstPlotting);
    EXPECT_EQ(doc_->layers.size(), 3u);
}

TEST_F(WorkLayers, GroupsAreFlattenedAndCompoundPathsStayOneRow)
{
    Art* group = Container(ArtType::Group);
    Rect(0, 0, 1, 1, group);
    Rect(2, 0, 3, 1, group);
    Art* inner = Container(ArtType::Group, group);
    Rect(4, 0, 5, 1, inner);
    Art* compound = Container(ArtType::CompoundPath);
    for (int k = 0; k < 3; ++k) Rect(10 + k * 2, 0, 11 + k * 2, 1, compound);
    Add(group, 1);
    Add(compound, 2);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    std::vector<Art*> rows = Rows();
    ASSERT_EQ(rows.size(), 4u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[k]->type, ArtType::Path);
        EXPECT_EQ(g->pMainArtList->aEntry[k].wTool, 1);
    }
    EXPECT_EQ(rows[0]->segments[0].ptAnchor.h, 0);
    EXPECT_EQ(rows[2]->segments[0].ptAnchor.h, 4);
    EXPECT_EQ(rows[3]->type, ArtType::CompoundPath);
    EXPECT_EQ(Live(rows[3]).size(), 3u);
    for (Art* art : Live(Temporary()->group)) EXPECT_NE(art->type, ArtType::Group);
    EXPECT_EQ(Live(Temporary()->group).size(), 4u);
}

TEST_F(WorkLayers, SymbolDefinitionsAreCentredAndPlacedByTheInstanceMatrix)
{
    // A definition of 10 by 4 points whose centre is (5, 2).
    Art* definition = NewDetachedArt(*doc_, ArtType::Group);
    Rect(0, 0, 10, 4, definition);
    struct Case {
        const char* what;
        AIRealMatrix matrix;
        AIRealRect expected;  // left, top, right, bottom
    };
    const Case cases[] = {
        {"moved", {1, 0, 0, 1, 100, 50}, {95, 52, 105, 48}},
        {"scaled", {2, 0, 0, 2, 100, 50}, {90, 54, 110, 46}},
        {"mirrored", {-1, 0, 0, 1, 100, 50}, {95, 52, 105, 48}},
        {"quarter turn", {0, 1, -1, 0, 100, 50}, {98, 55, 102, 45}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g->pMainArtList->iCount = 0;
        Add(definition, 3, &c.matrix);
        ASSERT_EQ(BuildWorkLayers(), kNoErr);
        std::vector<Art*> rows = Rows();
        ASSERT_EQ(rows.size(), 1u);
        AIRealRect r = Bounds(rows[0]);
        EXPECT_NEAR(r.left, c.expected.left, 1e-9);
        EXPECT_NEAR(r.top, c.expected.top, 1e-9);
        EXPECT_NEAR(r.right, c.expected.right, 1e-9);
        EXPECT_NEAR(r.bottom, c.expected.bottom, 1e-9);
        EXPECT_EQ(g->pMainArtList->aEntry[0].wTool, 3);
        for (double m : g->pMainArtList->aEntry[0].dMatrix) EXPECT_EQ(m, 0);
    }
    // The mirror runs the outline the other way: the first corner lands on the right.
    g->pMainArtList->iCount = 0;
    const AIRealMatrix mirror = {-1, 0, 0, 1, 100, 50};
    Add(definition, 0, &mirror);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    EXPECT_NEAR(Rows()[0]->segments[0].ptAnchor.h, 105, 1e-9);
    EXPECT_NEAR(Rows()[0]->segments[0].ptAnchor.v, 48, 1e-9);
}

TEST_F(WorkLayers, TextAtOrAboveTheOutlineSizeBecomesOutlines)
{
    struct Case {
        double size;
        int16_t outlineSize;
        bool outlined;
    };
    const Case cases[] = {
        {6, 0, true}, {5.5, 0, false}, {12, 2, true}, {11.9, 2, false},
        {48, 6, true}, {200, 7, false}, {6, 42, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " pt, outline size " << c.outlineSize);
        for (Art* art : Live(Top())) DisposeArt(art);
        g->pMainArtList->iCount = 0;
        settings_.wOutlineSize = c.outlineSize;
        Art* text = Text("HI", AIRealPoint{20, 20}, c.size);
        Add(text, 5);
        ASSERT_EQ(BuildWorkLayers(), kNoErr);
        std::vector<Art*> rows = Rows();
        if (c.outlined) {
            ASSERT_EQ(rows.size(), 2u);  // one compound path a character, no group
            for (Art* row : rows) EXPECT_EQ(row->type, ArtType::CompoundPath);
            EXPECT_EQ(g->pMainArtList->aEntry[1].wTool, 5);
        } else {
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0]->type, ArtType::TextFrame);
            EXPECT_EQ(TextContent(rows[0]), "HI");
        }
        for (Art* art : Live(Temporary()->group)) EXPECT_NE(art->type, ArtType::Group);
        EXPECT_EQ(Live(Top()).size(), 1u);  // the outline group made on the way is gone
    }
}

TEST_F(WorkLayers, OtherKindsAreDuplicated)
{
    Art* placed = Container(ArtType::Placed);
    Add(placed, 6);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Rows()[0]->type, ArtType::Placed);
    EXPECT_NE(Rows()[0], placed);
    EXPECT_EQ(Rows()[0]->parent, Temporary()->group);
}

TEST_F(WorkLayers, WithoutMemoryTheRunStopsAndTheUsersArtIsNeverTouched)
{
    Art* a = Rect(0, 0, 20, 20);
    Art* b = Rect(10, 10, 30, 30);
    a->style.strokeWidth = 1.5;
    Add(a, 3);
    Add(b, 4);
    SetListAllocator([](size_t, size_t) -> void* { return nullptr; });
    ASErr err = BuildWorkLayers();
    SetListAllocator(nullptr);
    EXPECT_EQ(err, kOutOfMemoryErr);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(UniteOverlaps(0), kNoErr);
    EXPECT_EQ(MarkToolWidths(), kNoErr);
    EXPECT_FALSE(a->fDisposed);
    EXPECT_FALSE(b->fDisposed);
    EXPECT_EQ(a->style.strokeWidth, 1.5);
    EXPECT_FALSE(a->fSelected);
    EXPECT_EQ(a->segments.size(), 4u);
}

// --- tools in stroke widths ---

TEST_F(WorkLayers, ToolsRideThroughTheStrokeWidthAndBack)
{
    for (int16_t tool = 0; tool <= 9; ++tool) {
        SCOPED_TRACE(tool);
        Art* path = Rect(0, 0, 1, 1);
        path->style.fStrokeOverprint = true;
        ASSERT_EQ(SetToolWidth(ToHandle(path), tool), kNoErr);
        EXPECT_DOUBLE_EQ(path->style.strokeWidth, tool / 10.0);
        EXPECT_TRUE(path->style.fStrokePaint);
        EXPECT_FALSE(path->style.fStrokeOverprint);
        g->pMainArtList->iCount = 0;
        ASSERT_EQ(CollectPathsByWidth(ToHandle(path)), kNoErr);
        ASSERT_EQ(g->pMainArtList->iCount, 1);
        EXPECT_EQ(g->pMainArtList->aEntry[0].wTool, tool);
    }
    EXPECT_EQ(ToolFromStrokeWidth(0.9), 9);
    EXPECT_EQ(ToolFromStrokeWidth(0.0), 0);
    EXPECT_EQ(ToolFromStrokeWidth(0.299999), 3);  // the 0.05 makes up for a width just short
}

TEST_F(WorkLayers, WithoutTheUnionCompoundPathsComeBackAsTheirMembers)
{
    Art* compound = Container(ArtType::CompoundPath);
    for (int k = 0; k < 3; ++k) Rect(k * 10, 0, k * 10 + 5, 5, compound);
    Art* loose = Rect(50, 0, 55, 5);
    Add(compound, 7);
    Add(loose, 2);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    ASSERT_EQ(MarkToolWidths(), kNoErr);
    g->pMainArtList->iCount = 0;
    ASSERT_EQ(CollectPathsByWidth(g->hWorkGroup), kNoErr);
    std::vector<int16_t> tools;
    for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) {
        EXPECT_EQ(FromHandle(g->pMainArtList->aEntry[i].hArt)->type, ArtType::Path);
        tools.push_back(g->pMainArtList->aEntry[i].wTool);
    }
    std::sort(tools.begin(), tools.end());
    EXPECT_EQ(tools, (std::vector<int16_t>{2, 7, 7, 7}));
}

TEST_F(WorkLayers, CollectShapesTakesCompoundPathsWhole)
{
    Art* group = Container(ArtType::Group);
    Art* compound = Container(ArtType::CompoundPath, group);
    Rect(0, 0, 1, 1, compound);
    Rect(2, 0, 3, 1, compound);
    compound->style.strokeWidth = 0.4;
    Rect(5, 0, 6, 1, group)->style.strokeWidth = 0.8;
    ASSERT_EQ(CollectShapesByWidth(ToHandle(Top())), kNoErr);
    ASSERT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Rows()[0], compound);
    EXPECT_EQ(g->pMainArtList->aEntry[0].wTool, 4);
    EXPECT_EQ(g->pMainArtList->aEntry[1].wTool, 8);
}

// --- the union ---

TEST_F(WorkLayers, OverlappingSquaresOfTwoToolsUniteIntoOneContourWithOneOfTheirTools)
{
    Add(Rect(0, 0, 20, 20), 2);
    Add(Rect(10, 10, 30, 30), 5);
    Art* open = Polygon({{100, 0}, {120, 0}, {120, 20}, {100, 20}}, false);
    Art* two = Polygon({{105, 5}, {130, 5}}, true);
    Add(open, 1);
    Add(two, 1);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    Art* openCopy = Rows()[2];
    Art* twoCopy = Rows()[3];
    ASSERT_EQ(UniteOverlaps(0), kNoErr);

    const AIPathfinderData& data = HostLastPathfinderData();
    EXPECT_EQ(data.dPrecision, 10.0);
    EXPECT_EQ(data.fRemovePoints, 0);
    EXPECT_EQ(data.fKeepUnpainted, 0);
    EXPECT_EQ(data.dMixRatio, 0.5);
    EXPECT_EQ(data.fTrapPercent, 1);
    EXPECT_EQ(data.dTrapThickness, 0.25);
    EXPECT_EQ(data.dTrapHeight, 1.0);
    EXPECT_EQ(data.dTrapAspect, 0.4);
    EXPECT_EQ(data.dTrapTint, 1.0);
    EXPECT_EQ(data.dTrapMaxTint, 0.05);
    EXPECT_EQ(data.fTrapReverse, 0);
    EXPECT_EQ(data.iArtCount, 2);  // the open path and the two-segment path stay out
    const AIPathfinderMessage& message = HostLastPathfinderMessage();
    EXPECT_EQ(message.iMessage, 0);
    EXPECT_EQ(message.pData1, nullptr);
    EXPECT_EQ(message.pData3, nullptr);
    EXPECT_EQ(doc_->currentLayer, Temporary());

    EXPECT_FALSE(openCopy->fDisposed);
    EXPECT_FALSE(openCopy->fSelected);
    EXPECT_EQ(openCopy->segments.size(), 4u);
    EXPECT_FALSE(twoCopy->fDisposed);
    EXPECT_EQ(twoCopy->segments.size(), 2u);

    g->pMainArtList->iCount = 0;
    ASSERT_EQ(CollectPathsByWidth(ToHandle(Temporary()->group)), kNoErr);
    std::vector<Art*> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    int united = 0;
    for (int32_t i = 0; i < 3; ++i) {
        const ArtEntry& row = g->pMainArtList->aEntry[i];
        if (FromHandle(row.hArt) == openCopy || FromHandle(row.hArt) == twoCopy) {
            EXPECT_EQ(row.wTool, 1);
            continue;
        }
        ++united;
        EXPECT_TRUE(row.wTool == 2 || row.wTool == 5) << row.wTool;
        AIRealRect r = Bounds(FromHandle(row.hArt));
        EXPECT_NEAR(r.left, 0, 1e-6);
        EXPECT_NEAR(r.right, 30, 1e-6);
    }
    EXPECT_EQ(united, 1);
    EXPECT_EQ(Live(Top()).size(), 4u);  // the user's own shapes are untouched
}

TEST_F(WorkLayers, ShapesTheUnionCannotTakeStayAsTheyWere)
{
    Art* bowtie = Polygon({{0, 0}, {20, 20}, {20, 0}, {0, 20}});
    Add(bowtie, 3);
    Add(Rect(5, 5, 15, 15), 4);
    Add(Rect(1e12, 0, 2e12, 1e12), 5);
    ASSERT_EQ(BuildWorkLayers(), kNoErr);
    Art* bowtieCopy = Rows()[0];
    Art* hugeCopy = Rows()[2];
    ASSERT_EQ(UniteOverlaps(0), kNoErr);
    EXPECT_FALSE(bowtieCopy->fDisposed);
    EXPECT_EQ(bowtieCopy->segments.size(), 4u);
    EXPECT_FALSE(hugeCopy->fDisposed);
    EXPECT_GE(HostPathfinderNotes().size(), 2u);
}

TEST_F(WorkLayers, UniteWithCollectionTakesEveryVisibleLayer)
{
    Rect(0, 0, 20, 20)->style.strokeWidth = 0.1;
    Rect(10, 10, 30, 30)->style.strokeWidth = 0.2;
    Layer* hidden = nullptr;
    ASSERT_EQ(InsertLayer(*doc_, nullptr, Placement::BelowAll, &hidden), kNoErr);
    SetLayerVisible(hidden, false);
    Art* away = nullptr;
    ASSERT_EQ(NewArt(*doc_, ArtType::Path, Placement::InsideOnTop, hidden->group, &away), kNoErr);
    SetPathSegments(away, {worktest::Corner(0, 0), worktest::Corner(30, 0), worktest::Corner(30, 30)});
    SetPathClosed(away, true);
    ASSERT_EQ(UniteOverlaps(1), kNoErr);
    EXPECT_EQ(g->pMainArtList->iCount, 2);
    EXPECT_EQ(Live(Top()).size(), 1u);
    EXPECT_FALSE(away->fDisposed);
}

// --- clearing ---

TEST_F(WorkLayers, ClearRemovesBothLayersOrInDebugModeHidesAndLocksThem)
{
    for (int16_t debug : {0, 1}) {
        SCOPED_TRACE(debug);
        settings_.fDebugMode = debug;
        Add(Rect(0, 0, 5, 5), 0);
        ASSERT_EQ(BuildWorkLayers(), kNoErr);
        Art* trace = nullptr;
        ASSERT_EQ(NewArt(*doc_, ArtType::Path, Placement::InsideOnTop, FromHandle(g->hPlotGroup), &trace), kNoErr);
        ASSERT_EQ(ClearWorkLayers(), kNoErr);
        EXPECT_EQ(g->pMainArtList->iCount, 0);
        EXPECT_EQ(g->pMainArtList->aEntry[0].hArt, nullptr);
        if (debug) {
            ASSERT_NE(Temporary(), nullptr);
            ASSERT_NE(Plotting(), nullptr);
            for (Layer* own : {Temporary(), Plotting()}) {
                EXPECT_FALSE(own->fVisible);
                EXPECT_FALSE(own->fEditable);
            }
            EXPECT_FALSE(trace->fDisposed);
            EXPECT_EQ(Live(Temporary()->group).size(), 1u);
            // The next chunk opens the plotting layer again and keeps its trace.
            Add(Rect(0, 0, 5, 5), 0);
            ASSERT_EQ(BuildWorkLayers(), kNoErr);
            EXPECT_TRUE(Plotting()->fVisible);
            EXPECT_TRUE(Plotting()->fEditable);
            EXPECT_EQ(trace->parent, Plotting()->group);
            EXPECT_FALSE(trace->fDisposed);
        } else {
            EXPECT_EQ(Temporary(), nullptr);
            EXPECT_EQ(Plotting(), nullptr);
            EXPECT_EQ(doc_->layers.size(), 1u);
        }
    }
}

TEST_F(WorkLayers, ClearNeverDeletesTheLastLayer)
{
    SetLayerTitle(layer_, "TRAVEX-Pro Temporally Layer");
    ASSERT_EQ(ClearWorkLayers(), kNoErr);
    ASSERT_EQ(doc_->layers.size(), 1u);
    EXPECT_FALSE(layer_->fDisposed);
}

// --- the pathfinder records and the helpers the conversion does not use ---

TEST_F(WorkLayers, TheMessageRecordStartsZeroed)
{
    AIPathfinderMessage message;
    std::memset(&message, 0xAB, sizeof message);
    int dummy = 0;
    EXPECT_EQ(SetPathfinderMessage(&message, 7, &dummy, nullptr, &dummy), &message);
    EXPECT_EQ(message.iMessage, 7);
    EXPECT_EQ(message.pData1, &dummy);
    EXPECT_EQ(InitPathfinderMessage(&message), &message);
    EXPECT_EQ(message.iMessage, 0);
    EXPECT_EQ(message.pData1, nullptr);
    EXPECT_EQ(message.pData2, nullptr);
    EXPECT_EQ(message.pData3, nullptr);
}

TEST_F(WorkLayers, OpenPathsWhoseEndsMeetAreJoinedAndClosed)
{
    Art* a = Polygon({{0, 0}, {10, 0}}, false);
    Art* b = Polygon({{10.05, 0}, {10, 10}}, false);      // starts where a ends
    Art* c = Polygon({{0, 0.02}, {0, 10}, {10, 10.01}}, false);  // ends where b ends: reversed
    Art* apart = Polygon({{50, 50}, {60, 60}}, false);
    Add(a);
    Add(b);
    Add(c);
    Add(apart);
    ASSERT_EQ(JoinOpenPaths(g->pMainArtList), kNoErr);
    std::vector<Art*> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], a);
    EXPECT_EQ(rows[1], apart);
    EXPECT_TRUE(b->fDisposed);
    EXPECT_TRUE(c->fDisposed);
    EXPECT_TRUE(a->fClosed);
    ASSERT_EQ(a->segments.size(), 6u);  // 2 + 2 + 3, less the repeat of the first anchor
    EXPECT_EQ(a->segments[2].ptAnchor.h, 10.05);  // b follows a
    EXPECT_EQ(a->segments[4].ptAnchor.v, 10.01);  // then c from its end
    EXPECT_EQ(a->segments[5].ptAnchor.h, 0);
    EXPECT_EQ(a->segments[5].ptAnchor.v, 10);
    EXPECT_FALSE(apart->fClosed);
}

TEST_F(WorkLayers, SelectedShapesAreGatheredUpTo256)
{
    Art* group = Container(ArtType::Group);
    for (int k = 0; k < 600; ++k) Rect(k, 0, k + 1, 1, group)->fSelected = k % 2 == 0;
    Art* compound = Container(ArtType::CompoundPath);
    Rect(0, 5, 1, 6, compound);
    compound->fSelected = true;
    std::vector<AIArtHandle> arts(600);
    int16_t count = 0;
    ASSERT_EQ(CollectSelectedShapes(ToHandle(compound), arts.data(), &count), kNoErr);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(CollectSelectedShapes(ToHandle(Top()), arts.data(), &count), kNoErr);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(FromHandle(arts[1])->segments[0].ptAnchor.h, 0);
    EXPECT_EQ(FromHandle(arts[2])->segments[0].ptAnchor.h, 2);
}

}  // namespace
