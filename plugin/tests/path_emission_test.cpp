// Paths of a drawing emitted as HP-GL through the real host. Expected streams are worked out
// by hand: at 40 units per millimetre a point is 25.4 / 72 x 40 = 14.111 units (9 points
// are 127 units, 72 points 1016), the axis turn writes artwork (h, v) as (v, -h), and the
// drawing's artwork v is 200 - y. The host lists an SVG element written later first.
#include "plugin/hpgl/path_emission.h"

#include "plugin/tests/emission_test_host.h"
#include "tests/support/plugin_on_host.h"
#include "plugin/entry/run_services.h"
#include "host/svg/svg_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

using emissiontest::EmissionHost;

class PathEmission : public EmissionHost {
protected:
    void Perforate(int16_t tool, int16_t gapForce, int16_t cutLength = 100)
    {
        g->conversion.perforation = Perforation{1, tool, 80, gapForce, cutLength, 50};
    }
    void AddRow(const std::string& name, int16_t slot)
    {
        ASSERT_EQ(AddArtEntry(g->pMainArtList, Handle(name), slot, nullptr), kNoErr);
    }
    static int Count(const std::string& bytes, const std::string& what)
    {
        int n = 0;
        for (size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1)) ++n;
        return n;
    }
};

// (72, 72) (144, 72) (144, 144) (72, 144), closed.
const char* const kSquare = "<path id=\"sq\" d=\"M72 128 L144 128 L144 56 L72 56 Z\"/>";
const char* const kSquareBytes = "PU1016,-1016;PD1016,-2032;PD2032,-2032;PD2032,-1016;PD1016,-1016;";
// (0, 0) to (0, 72)
const char* const kLine = "<path id=\"ln\" d=\"M0 200 L0 128\"/>";
const char* const kLineBytes = "PU0,0;PD1016,0;";

TEST_F(PathEmission, ToolClassOfEachType)
{
    const std::pair<int16_t, int16_t> cases[] = {{0, 1},  {1, 1},  {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1},
                                                 {7, 3},  {8, 2},  {9, 3}, {10, 3}, {11, 3}, {12, 1},
                                                 {-1, 1}, {300, 1}};
    for (auto [type, toolClass] : cases) EXPECT_EQ(GetToolClass(type), toolClass) << type;
}

TEST_F(PathEmission, ClosedSquareIsOnePenUpAndFourDraws)
{
    struct Case {
        const char* name;
        int32_t pdOptimize;
    } cases[] = {
        {"joining off", 0},
        {"joining on, every corner a right angle", 0x011E0200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPlotDataFile();
        g->emitter.wCurrentPen = -1;
        ResetPenWriterPage();
        SetPdOptimisation(c.pdOptimize);
        EXPECT_EQ(EmitLayer(std::string("<g id=\"l\">") + kSquare + "</g>"), std::string("SP1;") + kSquareBytes);
    }
}

TEST_F(PathEmission, JoinedListsEndWithTheirPath)
{
    // (0,0) (0,9) (0,18) (9,18): straight on, then a right angle.
    SetPdOptimisation(0x011E0200);
    const std::string path = "d=\"M0 200 L0 191 L0 182 L9 182\"/>";
    EXPECT_EQ(EmitLayer("<g id=\"l\"><path id=\"a\" " + path + "<path id=\"b\" " + path + "</g>"),
              "SP1;PU0,0;PD127,0,254,0;PD254,-127;PU0,0;PD127,0,254,0;PD254,-127;");
}

TEST_F(PathEmission, PenSelectedForTheFirstObjectAndEachToolChange)
{
    Load(std::string("<g id=\"l\">") + kSquare + kLine + "<path id=\"gone\" d=\"M1 1 L2 2\"/></g>");
    host::DisposeArt(Find("gone"));
    AddRow("sq", 0);
    AddRow("gone", 1);  // the host refuses it; the list goes on
    AddRow("ln", 0);
    AddRow("ln", 2);
    AddRow("sq", 0);
    EXPECT_EQ(EmitArtList(), kNoErr);
    EXPECT_EQ(Written(), std::string("SP1;") + kSquareBytes + kLineBytes + "SP3;" + kLineBytes + "SP1;" + kSquareBytes);
    EXPECT_EQ(g->emitter.iObjectCount, 4);
}

TEST_F(PathEmission, GroupsAndCompoundPathsEmitTheirMembers)
{
    EXPECT_EQ(EmitLayer("<g id=\"l\"><g id=\"g\"><g id=\"empty\"/>" + std::string(kLine) +
                        "</g><path id=\"cp\" d=\"M0 200 L0 191 M0 182 L9 182\"/></g>"),
              // the compound path's members in their own order, then the group's line
              "SP1;PU0,0;PD127,0;PU254,0;PD254,-127;" + std::string(kLineBytes));
    EXPECT_EQ(g->emitter.iObjectCount, 3);
}

TEST_F(PathEmission, DashPatternCarriesIntoTheNextSegment)
{
    // 10 and 5 points are 141 and 71 units. (-30, 0) (-30, 21.26) (-8.74, 21.26) become
    // (0, 422) (300, 422) (300, 122): 300 units each way.
    g->conversion.rPageBounds = AIRealRect{-100, 200, 400, 0};
    EXPECT_EQ(EmitLayer("<g id=\"l\"><path id=\"p\" d=\"M-30 200 L-30 178.74 L-8.74 178.74\" "
                        "style=\"fill:none;stroke:#000;stroke-dasharray:10,5\"/></g>"),
              "SP1;PU0,422;PD141,422;PU212,422;PD300,422;"   // 53 of the second dash left
              "PD300,369;PU300,298;PD300,157;PU300,122;");
    EXPECT_EQ(g->emitter.dash.iDashRemain, 36);
    EXPECT_EQ(g->emitter.dash.iDashIndex, 5);
}

TEST_F(PathEmission, DashPatternSetUp)
{
    struct Case {
        const char* name;
        const char* style;
        std::string bytes;
    } cases[] = {
        // (0,0) to (0,60): 847 units along x
        {"more than six lengths keep the first six", "stroke:#000;stroke-dasharray:10,5,10,5,10,5,20,20",
         "SP1;PU0,0;PD141,0;PU212,0;PD353,0;PU424,0;PD565,0;PU636,0;PD777,0;PU847,0;"},
        {"lengths that round to no unit draw solid", "stroke:#000;stroke-dasharray:0.01,0.01", "SP1;PU0,0;PD847,0;"},
        {"no stroke, no dashes", "stroke:none;fill:#000;stroke-dasharray:10,5", "SP1;PU0,0;PD847,0;"},
        {"solid stroke", "stroke:#000", "SP1;PU0,0;PD847,0;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPlotDataFile();
        g->emitter.wCurrentPen = -1;
        ResetPenWriterPage();
        EXPECT_EQ(EmitLayer(std::string("<g id=\"l\"><path id=\"p\" d=\"M0 200 L0 140\" style=\"") + c.style + "\"/></g>"),
                  c.bytes);
        EXPECT_EQ(g->emitter.dash.fDashing, 0);  // never carried into the next path
    }
}

TEST_F(PathEmission, PerforationForTheCutSlotOnly)
{
    // (0,0) to (0,21.26): 300 units along x, cut 100, gap 50; the path's own pattern of 2
    // points is 28 units.
    const std::string ownPattern = "PU0,0;PD28,0;PU56,0;PD84,0;PU112,0;PD140,0;PU168,0;PD196,0;PU224,0;PD252,0;PU280,0;PD300,0;";
    struct Case {
        const char* name;
        int16_t cutTool;
        int16_t gapForce;
        int16_t cutLength;
        int16_t slot;
        std::string bytes;
    } cases[] = {
        {"gap force 0 lifts the tool", 1, 0, 100, 0,
         "SP1;PU0,0;ZF80,1;PD100,0;PU150,0;ZF80,1;PD250,0;PU300,0;ZF80,1;"},
        {"gap force 20 cuts the gaps lightly", 1, 20, 100, 0,
         "SP1;PU0,0;ZF80,1;PD100,0;ZF20,1;PD150,0;ZF80,1;PD250,0;ZF20,1;PD300,0;ZF80,1;"},
        {"another slot cuts normally", 1, 20, 100, 1, "SP2;" + ownPattern},
        {"the cut slot is a slot number", 2, 20, 100, 1,
         "SP2;PU0,0;ZF80,2;PD100,0;ZF20,2;PD150,0;ZF80,2;PD250,0;ZF20,2;PD300,0;ZF80,2;"},
        {"no cut length, no perforation", 1, 20, 0, 0, "SP1;" + ownPattern},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPlotDataFile();
        g->emitter.wCurrentPen = -1;
        ResetPenWriterPage();
        Perforate(c.cutTool, c.gapForce, c.cutLength);
        EXPECT_EQ(EmitLayer("<g id=\"l\"><path id=\"p\" d=\"M0 200 L0 178.74\" style=\"stroke:#000;stroke-dasharray:2,2\"/></g>",
                            c.slot),
                  c.bytes);
    }
}

TEST_F(PathEmission, CurvesAreCutInto128ChordsAndThinned)
{
    // (0,0) to (200,0) bulging to v = 150: the end is (0, -2822).
    const std::string curve = "<g id=\"l\"><path id=\"c\" d=\"M0 200 C0 0 200 0 200 200\"/></g>";
    settings_.fLineOptOff = 1;
    std::string all = EmitLayer(curve);
    EXPECT_EQ(Count(all, "PD"), 128);
    EXPECT_EQ(all.substr(0, 10), "SP1;PU0,0;");
    EXPECT_EQ(all.substr(all.size() - 11), ";PD0,-2822;");

    settings_.fLineOptOff = 0;
    g->conversion.dTolerance = 1000;
    OpenPlotDataFile();
    ResetPenWriterPage();
    g->emitter.wCurrentPen = -1;
    EXPECT_EQ(EmitLayer(curve), "SP1;PU0,0;PD0,-2822;");

    g->conversion.dTolerance = 0.1;
    const RealPoint p[4] = {{0, 0}, {0, 200}, {200, 200}, {200, 0}};
    const int16_t thinned = FlattenBezier(&p[0], &p[1], &p[2], &p[3]);
    EXPECT_GT(thinned, 2);
    EXPECT_LT(thinned, 129);
    settings_.fLineOptOff = 1;
    EXPECT_EQ(FlattenBezier(&p[0], &p[1], &p[2], &p[3]), 129);
}

TEST_F(PathEmission, ToleranceHoldsOnPaperWithErrorAdjust)
{
    const RealPoint p[4] = {{0, 0}, {0, 200}, {200, 200}, {200, 0}};
    g->conversion.dScaleX = g->conversion.dScaleY = 0.5;
    g->conversion.dTolerance = 0.3;
    const int16_t plain = FlattenBezier(&p[0], &p[1], &p[2], &p[3]);
    settings_.fErrorAdjust = 1;
    const int16_t adjusted = FlattenBezier(&p[0], &p[1], &p[2], &p[3]);
    EXPECT_GT(plain, adjusted);  // the drawing is halved on paper: twice the tolerance in it
}

TEST_F(PathEmission, PageTestGuidesAndEmptyPaths)
{
    Load("<g id=\"l\"><path id=\"near\" d=\"M-10 100 L-0.5 100\"/><path id=\"far\" d=\"M-10 100 L-1.5 100\"/>"
         "<path id=\"guide\" d=\"M0 200 L0 128\"/></g>");
    host::SetPathGuide(Find("guide"), true);
    host::Art* empty = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnTop, doc_->layers[0]->group, &empty), kNoErr);
    // A path of one anchor at (9, 9): SVG draws nothing for a lone moveto, so it is made here.
    host::Art* one = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnTop, doc_->layers[0]->group, &one), kNoErr);
    one->name = "one";
    host::SetPathSegments(one, {AIPathSegment{{9, 9}, {9, 9}, {9, 9}, 1}});
    EXPECT_EQ(EmitPath(Handle("far"), 0), kNoErr);
    EXPECT_EQ(EmitPath(Handle("guide"), 0), kNoErr);
    EmitPath(host::ToHandle(empty), 0);  // the host has no bounds for it
    EXPECT_EQ(Written(), "");
    // Half a point off the page still goes to the clipping: -10 and -0.5 points are
    // -140 and -6 units (rounded toward zero from the half), v 100 is 1411.
    EXPECT_EQ(EmitPath(Handle("near"), 0), kNoErr);
    EXPECT_EQ(EmitPath(Handle("one"), 0), kNoErr);
    EXPECT_EQ(Written(), "PU1411,140;PD1411,6;PU127,-127;");
}

TEST_F(PathEmission, BrokenGeometryIsSkippedOrClipped)
{
    Load("<defs><symbol id=\"s\"><rect id=\"sr\" width=\"10\" height=\"10\"/><use id=\"self\" xlink:href=\"#s\" x=\"5\"/></symbol></defs>"
         "<g id=\"l\"><use id=\"u\" xlink:href=\"#s\" x=\"10\" y=\"10\"/>"
         "<path id=\"huge\" d=\"M1 1 L1e300 1\" style=\"stroke:#000;stroke-dasharray:1,1\"/></g>");
    host::Art* nan = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnBottom, doc_->layers[0]->group, &nan), kNoErr);
    const double q = std::numeric_limits<double>::quiet_NaN();
    host::SetPathSegments(nan, {AIPathSegment{{9, 9}, {9, 9}, {9, 9}, 1}, AIPathSegment{{q, 9}, {q, 9}, {q, 9}, 1}});
    nan->name = "nan";
    g->conversion.plotFrame.iYMin = -5000;
    AddRow("huge", 0);
    AddRow("nan", 0);
    // (1, 199) is (2808, -14); the far end leaves the frame through y = -5000 and the dash
    // pattern, far too fine for such a move, draws it solid.
    EXPECT_EQ(EmitArtList(), kNoErr);
    EXPECT_EQ(Written(), "SP1;PU2808,-14;PD2808,-5000;");
    // The symbol's definition, which places itself, emits its own rectangle and stops.
    g->pMainArtList->iCount = 0;
    CollectArt(LayerGroup(), 0, nullptr);
    const std::vector<std::string> rows = RowNames();
    const auto symbolRow = std::find(rows.begin(), rows.end(), "symbol s");
    ASSERT_NE(symbolRow, rows.end());
    EXPECT_EQ(EmitArtObject(g->pMainArtList->aEntry[symbolRow - rows.begin()].hArt, 0), kNoErr);
}

TEST_F(PathEmission, ProgressPercentOncePerChange)
{
    Load(std::string("<g id=\"l\">") + kLine + "</g>");
    for (int i = 0; i < 3; ++i) AddRow("ln", 0);
    EXPECT_EQ(EmitArtList(), kNoErr);
    const std::vector<std::pair<int32_t, int32_t>> expected = {{33, 100}, {67, 100}, {100, 100}};
    EXPECT_EQ(host::HostProgressUpdates(), expected);
    host::ClearHostUserRecords();
    SetProgressPercent(100);
    SetProgressPercent(5);
    SetProgressPercent(5);
    EXPECT_EQ(host::HostProgressUpdates(), (std::vector<std::pair<int32_t, int32_t>>{{5, 100}}));
}

TEST_F(PathEmission, CancelEndsTheListAfterTheCurrentRow)
{
    Load(std::string("<g id=\"l\">") + kLine + "</g>");
    for (int i = 0; i < 3; ++i) AddRow("ln", 0);
    host::SetCancelAfterChecks(1);
    EXPECT_EQ(EmitArtList(), kNoErr);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(Written(), std::string("SP1;") + kLineBytes + kLineBytes);
}

TEST_F(PathEmission, ProgressTextCarriesTheObjectCount)
{
    g->emitter.iObjectCount = 3;
    ShowProgressText("\x83\x66\x81\x5B\x83\x5E");  // "データ" in code page 932
    AdvanceObjectCount(2);
    ShowProgressText(g->emitter.szProgressMessage);
    EXPECT_EQ(host::HostProgressTexts(), (std::vector<std::string>{"データ [3]", "データ [5]", "データ [5]"}));
    const std::string longMessage(400, 'x');
    ShowProgressText(longMessage.c_str());
    EXPECT_LE(host::HostProgressTexts().back().size(), 255u);
}

TEST_F(PathEmission, DebugTraceDrawsEachPenDownIntoThePlottingGroup)
{
    Load(std::string("<g id=\"l\">") + kSquare + "</g>");
    host::Art* group = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Group, host::Placement::InsideOnTop, doc_->layers[0]->group, &group), kNoErr);
    g->hPlotGroup = host::ToHandle(group);
    AddRow("sq", 0);

    EXPECT_EQ(EmitArtList(), kNoErr);
    EXPECT_TRUE(group->children.empty());  // not in debug mode

    settings_.fDebugMode = 1;
    ResetPenWriterPage();
    EXPECT_EQ(EmitArtList(), kNoErr);
    // Each new trace goes on top: the last stroke is the first child.
    const RealPoint corners[5] = {{72, 72}, {144, 72}, {144, 144}, {72, 144}, {72, 72}};
    ASSERT_EQ(group->children.size(), 4u);
    for (int stroke = 0; stroke < 4; ++stroke) {
        SCOPED_TRACE(stroke);
        const host::Art* trace = group->children[3 - stroke];
        EXPECT_EQ(trace->type, host::ArtType::Path);
        ASSERT_EQ(trace->segments.size(), 2u);
        for (int end = 0; end < 2; ++end) {
            const AIPathSegment& s = trace->segments[end];
            EXPECT_NEAR(s.ptAnchor.h, corners[stroke + end].h, 1e-9);
            EXPECT_NEAR(s.ptAnchor.v, corners[stroke + end].v, 1e-9);
            EXPECT_EQ(s.ptIn.h, s.ptAnchor.h);
            EXPECT_EQ(s.ptOut.v, s.ptAnchor.v);
            EXPECT_TRUE(s.fCorner);
        }
    }
}

// Every layer of the example drawings, collected and emitted with joining on: the pen
// moves are well formed and, clipped to a frame of the canvas, stay inside it.
TEST_F(PathEmission, ExampleDrawingsGiveMovesInsideTheFrame)
{
    onhost::BindTextSuites();
    SetPdOptimisation(0x011E0200);
    const std::regex move("(PU|PD|,)(-?[0-9]+),(-?[0-9]+)");
    int drawings = 0;
    int moves = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TRAVEX_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".svg") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string error;
        doc_ = onhost::LoadDocument(entry.path().string(), error);
        if (!doc_) continue;  // refused on purpose
        ++drawings;
        ConversionState& c = g->conversion;
        c.rPageBounds = AIRealRect{0, doc_->height, doc_->width, 0};
        c.plotFrame.iXMin = 0;
        c.plotFrame.iXMax = PointsToPlotterUnits(doc_->height);
        c.plotFrame.iYMin = -PointsToPlotterUnits(doc_->width);
        c.plotFrame.iYMax = 0;
        for (host::Layer* layer : doc_->layers) {
            OpenPlotDataFile();
            ResetPenWriterPage();
            g->emitter.wCurrentPen = -1;
            g->pMainArtList->iCount = 0;
            CollectArt(host::ToHandle(layer->group), 4, nullptr);
            EXPECT_EQ(EmitArtList(), kNoErr);
            const std::string bytes = Written();
            if (g->pMainArtList->iCount > 0) {
                EXPECT_EQ(bytes.substr(0, 4), "SP5;");
            }
            EXPECT_EQ(bytes.find("PD"), bytes.find("PD", bytes.find("PU")));  // a pen-up comes first
            for (std::sregex_iterator m(bytes.begin(), bytes.end(), move), end; m != end; ++m) {
                ++moves;
                const int x = std::stoi((*m)[2]);
                const int y = std::stoi((*m)[3]);
                EXPECT_TRUE(x >= c.plotFrame.iXMin && x <= c.plotFrame.iXMax && y >= c.plotFrame.iYMin &&
                            y <= c.plotFrame.iYMax)
                    << layer->title << ": " << m->str();
            }
            EXPECT_EQ(g->emitter.wPdOpen, 0);
        }
    }
    EXPECT_GE(drawings, 2);
    EXPECT_GT(moves, 20);
}

}  // namespace
