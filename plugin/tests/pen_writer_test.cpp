#include "plugin/hpgl/pen_writer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "plugin/entry/plugin_globals.h"
#include "tests/support/plugin_on_host.h"

namespace {

struct Frame {
    int32_t xMin, yMin, xMax, yMax;
};

// The writer on its own plot data file, with a page at 40 units per millimetre.
class PenWriterTest : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        OpenPlotDataFile();
        g->conversion.wUnitsPerMm = 40;
        SetFrame({0, 0, 1000, 1000});
        SetPdOptimisation(0);
        ResetPenWriterPage();
        ResetPenWriterPath();
    }

    void SetFrame(Frame f)
    {
        g->conversion.plotFrame.iXMin = f.xMin;
        g->conversion.plotFrame.iYMin = f.yMin;
        g->conversion.plotFrame.iXMax = f.xMax;
        g->conversion.plotFrame.iYMax = f.yMax;
    }
};

// --- unit conversion and point transforms ---

TEST_F(PenWriterTest, PointsToPlotterUnitsRoundsThroughSinglePrecision)
{
    struct Case {
        int16_t upm;
        double points;
        int32_t units;
    } cases[] = {
        {40, 72.0, 1016},
        {40, 9.0, 127},
        {40, 0.0, 0},
        {100, 1.0, 35},             // 35.28 truncates after the half
        {40, 0.17716535, 3},        // 2.49999994 becomes 2.5 in single precision
        {40, -0.17716535, -2},      // -2.5 plus the half truncates toward zero
        {40, -0.18425197, -2},      // -2.6 units
        {40, 1.0e12, 2147483647},   // far off the page stays in range
        {40, -1.0e12, -2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.points << " pt at " << c.upm);
        g->conversion.wUnitsPerMm = c.upm;
        EXPECT_EQ(PointsToPlotterUnits(c.points), c.units);
    }
}

TEST_F(PenWriterTest, RotateAndOffsetPlotterPoint)
{
    PlotPoint p = {3, 5};
    EXPECT_EQ(RotatePlotterPoint(&p), -3);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, -3);
    EXPECT_EQ(OffsetPlotterPoint(&p, 10, 20), 17);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 17);
}

TEST_F(PenWriterTest, TransformPointRotatesOnLeftAndBottomThenScales)
{
    struct Case {
        const char* name;
        int16_t rotate;
        double scale;
        RealPoint in;
        RealPoint out;
    } cases[] = {
        {"unchanged", 0, 0.0, {12.5, 7.25}, {12.5, 7.25}},
        {"rotated", 1, 0.0, {110, 60}, {290, 60}},
        {"rotated corner", 1, 0.0, {100, 50}, {300, 50}},
        {"rotated and halved", 1, 0.5, {110, 60}, {145, 30}},
        // 0.1 in single precision is 0.100000001490116119384765625
        {"scale after single precision", 0, 2.0, {0.1, 0.1},
         {0.20000000298023223876953125, 0.20000000298023223876953125}},
    };
    g->conversion.rPageBounds = {100, 250, 300, 50};
    g->conversion.iPageHeightPt = 200;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->fRotate = c.rotate;
        g->conversion.dScaleX = c.scale;
        g->conversion.dScaleY = c.scale;
        RealPoint p = c.in;
        TransformPoint(&p);
        EXPECT_EQ(p.h, c.out.h);
        EXPECT_EQ(p.v, c.out.v);
    }
}

// --- moves from document points ---

TEST_F(PenWriterTest, MovesAndDrawsTurnAxesAndSkipRepeats)
{
    // 90 pt wide page, origin at the paper corner: x runs up the page, y across it.
    SetFrame({0, 0, 2540, 1270});
    g->conversion.originOffset = {0, 1270};
    const RealPoint origin = {0, 0}, right = {9, 0}, upper = {9, 18};
    EmitMoveTo(&origin);
    EmitDrawTo(&right);
    EmitDrawTo(&upper);
    EmitDrawTo(&upper);   // same plotter point: nothing
    EmitMoveTo(&upper);   // pen-up to where the draw ended: nothing
    EmitMoveTo(&origin);
    EXPECT_EQ(Written(), "PU0,1270;PD0,1143;PD254,1143;PU0,1270;");
    EXPECT_EQ(g->emitter.ptLastPen.x, 0);
    EXPECT_EQ(g->emitter.ptLastPen.y, 0);
}

TEST_F(PenWriterTest, RotatedPageMoves)
{
    SetFrame({0, 0, 2540, 1270});
    g->fRotate = 1;
    g->conversion.rPageBounds = {0, 90, 90, 0};
    g->conversion.iPageHeightPt = 90;
    g->conversion.originOffset = {0, 1270};
    const RealPoint origin = {0, 0}, right = {9, 0};
    EmitMoveTo(&origin);  // turned to (90, 0): 1270 units
    EmitDrawTo(&right);   // turned to (90, 9)
    EXPECT_EQ(Written(), "PU0,0;PD127,0;");
}

TEST_F(PenWriterTest, TracePointUndoesOffsetAndAxisTurn)
{
    g->conversion.originOffset = {0, 1270};
    const RealPoint p = PlotterPointToTracePoint({254, 1143});
    EXPECT_NEAR(p.h, 9.0, 1e-9);
    EXPECT_NEAR(p.v, 18.0, 1e-9);
}

// --- clipping ---

struct Move {
    int32_t x, y;
    int16_t down;
    int16_t zf = 0, force = 0, tool = 0;
};

struct ClipCase {
    const char* name;
    Frame frame;
    std::vector<Move> moves;
    const char* expected;
};

TEST_F(PenWriterTest, ClipsEveryMoveToTheFrame)
{
    const Frame unit = {0, 0, 1000, 1000};
    const ClipCase cases[] = {
        {"inside", unit, {{100, 100, 0}, {900, 200, 1}}, "PU100,100;PD900,200;"},
        {"exit left", unit, {{500, 500, 0}, {-500, 500, 1}}, "PU500,500;PD0,500;"},
        {"exit top", unit, {{500, 500, 0}, {500, 1500, 1}}, "PU500,500;PD500,1000;"},
        {"exit right", unit, {{500, 500, 0}, {1500, 500, 1}}, "PU500,500;PD1000,500;"},
        {"exit bottom", unit, {{500, 500, 0}, {500, -500, 1}}, "PU500,500;PD500,0;"},
        {"exit corner", unit, {{500, 500, 0}, {1500, 1500, 1}}, "PU500,500;PD1000,1000;"},
        {"enter left", unit, {{-500, 500, 0}, {500, 500, 1}}, "PU0,500;PD500,500;"},
        {"enter top", unit, {{500, 1500, 0}, {500, 500, 1}}, "PU500,1000;PD500,500;"},
        {"enter right", unit, {{1500, 500, 0}, {500, 500, 1}}, "PU1000,500;PD500,500;"},
        {"enter bottom", unit, {{500, -500, 0}, {500, 500, 1}}, "PU500,0;PD500,500;"},
        {"outside through the frame", unit, {{-500, 500, 0}, {1500, 500, 1}}, ""},
        {"outside only", unit, {{-500, 500, 0}, {-500, 1500, 1}}, ""},
        {"on the edges is inside", unit, {{1000, 1000, 0}, {0, 0, 1}, {0, 1000, 1}},
         "PU1000,1000;PD0,0;PD0,1000;"},
        {"out and back in lifted", unit,
         {{500, 500, 0}, {1500, 500, 1}, {1500, 800, 1}, {500, 800, 1}},
         "PU500,500;PD1000,500;PU1000,800;PD500,800;"},
        // crossing at y 500.75 rounds up, -500.75 rounds away from zero
        {"crossing rounds", unit, {{999, 500, 0}, {1003, 503, 1}}, "PU999,500;PD1000,501;"},
        {"negative crossing rounds away from zero", {-1000, -1000, 1000, 1000},
         {{-999, -500, 0}, {-1003, -503, 1}}, "PU-999,-500;PD-1000,-501;"},
        {"perforated exit", unit, {{500, 500, 0}, {-500, 500, 1, 1, 20, 8}},
         "PU500,500;ZF20,8;PD0,500;"},
        {"perforated entry", unit, {{-500, 500, 0}, {500, 500, 1, 1, 20, 8}},
         "PU0,500;ZF20,8;PD500,500;"},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::rewind(file_);
        ASSERT_EQ(ftruncate(fileno(file_), 0), 0);
        SetFrame(c.frame);
        ResetPenWriterPage();
        ResetPenWriterPath();
        for (const Move& m : c.moves)
            ClipAndEmit(m.zf, m.force, m.tool, {m.x, m.y}, m.down);
        EXPECT_EQ(Written(), c.expected);
        EXPECT_EQ(g->emitter.ptLastClip.x, c.moves.back().x) << "keeps the unclipped point";
    }
}

// --- joined pen-down lists ---

struct JoinCase {
    const char* name;
    int32_t pdOptimize;
    std::vector<Move> moves;
    const char* expected;  // after the path's closing CloseJoinedList
};

TEST_F(PenWriterTest, JoinsPenDownMovesUntilTheTurnOrCountLimit)
{
    SetFrame({-100000, -100000, 100000, 100000});
    const JoinCase cases[] = {
        {"joining off by default", 0,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 1}, {200, 100, 1}},
         "PU0,0;PD100,0;PD200,0;PD200,100;"},
        {"right angle closes the list", 0x011E0200,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 1}, {200, 100, 1}},
         "PU0,0;PD100,0,200,0;PD200,100;"},
        {"lists of three vertices", 0x011E0003,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 1}, {300, 0, 1}, {400, 0, 1}, {500, 0, 1},
          {600, 0, 1}, {700, 0, 1}},
         "PU0,0;PD100,0,200,0,300,0;PD400,0,500,0,600,0;PD700,0;"},
        // turns of 26.57 degrees stay within 30, one of 30.96 does not
        {"turns near the limit", 0x011E0200,
         {{0, 0, 0}, {100, 0, 1}, {200, 50, 1}, {300, 50, 1}, {400, 110, 1}},
         "PU0,0;PD100,0,200,50,300,50;PD400,110;"},
        {"reversal closes", 0x011E0200, {{0, 0, 0}, {100, 0, 1}, {0, 0, 1}},
         "PU0,0;PD100,0;PD0,0;"},
        // the stored pi lies above the true one, so a straight run still turns a little
        {"zero degrees never joins", 0x01000200, {{0, 0, 0}, {100, 0, 1}, {200, 0, 1}},
         "PU0,0;PD100,0;PD200,0;"},
        {"pen-up closes and restarts", 0x011E0200,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 1}, {300, 0, 0}, {400, 0, 1}, {500, 0, 1}},
         "PU0,0;PD100,0,200,0;PU300,0;PD400,0,500,0;"},
        // the turn is measured from the pen-up point
        {"turn after pen-up", 0x011E0200,
         {{0, 0, 0}, {300, 0, 0}, {400, 0, 1}, {400, 100, 1}},
         "PU0,0;PU300,0;PD400,0;PD400,100;"},
        {"force form closes the list", 0x011E0200,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 1, 1, 20, 8}, {300, 0, 1}, {400, 0, 1}},
         "PU0,0;PD100,0;ZF20,8;PD200,0;PD300,0,400,0;"},
        {"force form pen-up", 0x011E0200,
         {{0, 0, 0}, {100, 0, 1}, {200, 0, 0, 1, 20, 8}, {300, 0, 1}},
         "PU0,0;PD100,0;PU200,0;PD300,0;"},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::rewind(file_);
        ASSERT_EQ(ftruncate(fileno(file_), 0), 0);
        SetPdOptimisation(c.pdOptimize);
        ResetPenWriterPage();
        ResetPenWriterPath();
        for (const Move& m : c.moves)
            ClipAndEmit(m.zf, m.force, m.tool, {m.x, m.y}, m.down);
        CloseJoinedList();
        EXPECT_EQ(Written(), c.expected);
        EXPECT_EQ(g->emitter.wPdOpen, 0);
    }
}

TEST_F(PenWriterTest, UnpacksPdOptimise)
{
    struct Case {
        int32_t packed;
        int16_t join, angle, vertices;
    } cases[] = {
        {0, 0, 30, 512},
        {-5, 0, 30, 512},
        {0x001E0200, 0, 30, 512},
        {0x011E0200, 1, 30, 512},
        {0x7F2D0003, 127, 45, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.packed);
        SetPdOptimisation(c.packed);
        EXPECT_EQ(g->conversion.pdOptimisation.fPdJoin, c.join);
        EXPECT_EQ(g->conversion.pdOptimisation.wPdAngle, c.angle);
        EXPECT_EQ(g->conversion.pdOptimisation.wPdMaxVertices, c.vertices);
    }
}

// --- dash and perforation walk ---

struct DashCase {
    const char* name;
    int16_t perforating;
    std::vector<int32_t> lengths;
    int16_t gapPressure;
    const char* expected;
    int32_t remain;
    int32_t index;
};

TEST_F(PenWriterTest, DashWalkCarriesThePatternAcrossSegments)
{
    // Document points along v turn into plotter x: 0, 300 and 600 units.
    SetFrame({-1000, -1000, 1000, 1000});
    const RealPoint start = {0, 0}, middle = {0, 21.2598425}, end = {0, 42.519685};
    const DashCase cases[] = {
        {"dash 141 and gap 71", 0, {141, 71}, 0,
         "PU0,0;PD141,0;PU212,0;PD300,0;PD353,0;PU424,0;PD565,0;PU600,0;", 36, 5},
        {"perforation with gap force", 1, {100, 50}, 20,
         "PU0,0;ZF150,8;PD100,0;ZF20,8;PD150,0;ZF150,8;PD250,0;ZF20,8;PD300,0;"
         // a gap that ended on the corner starts the next segment with a zero step
         "ZF20,8;PD300,0;ZF150,8;PD400,0;ZF20,8;PD450,0;ZF150,8;PD550,0;ZF20,8;PD600,0;", 0, 7},
        {"perforation lifting in the gaps", 1, {100, 50}, 0,
         "PU0,0;ZF150,8;PD100,0;PU150,0;ZF150,8;PD250,0;PU300,0;"
         "PU300,0;ZF150,8;PD400,0;PU450,0;ZF150,8;PD550,0;PU600,0;", 0, 7},
        {"pattern of zero lengths draws solid", 0, {0, 0}, 0, "PU0,0;PD300,0;PD600,0;", 0, 0},
    };
    for (const DashCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::rewind(file_);
        ASSERT_EQ(ftruncate(fileno(file_), 0), 0);
        ResetPenWriterPage();
        ResetPenWriterPath();
        DashTable& dash = g->emitter.dash;
        dash = {};
        dash.fDashing = 1;
        dash.fPerforating = c.perforating;
        dash.wDashCount = static_cast<int16_t>(c.lengths.size());
        for (size_t i = 0; i < c.lengths.size(); ++i)
            dash.aDashLength[i] = c.lengths[i];
        dash.iDashRemain = c.lengths[0];
        g->conversion.perforation.wCutTool = 8;
        g->conversion.perforation.wCutPressure = 150;
        g->conversion.perforation.wGapPressure = c.gapPressure;
        EmitMoveTo(&start);
        EmitDrawTo(&middle);
        EmitDrawTo(&end);
        EXPECT_EQ(Written(), c.expected);
        EXPECT_EQ(dash.iDashRemain, c.remain);
        EXPECT_EQ(dash.iDashIndex, c.index);
        EXPECT_EQ(g->emitter.ptLastPen.x, 600);
    }
}

// --- the plot data file ---

TEST_F(PenWriterTest, WritePlotStringCountsBytesAndReportsFailures)
{
    EXPECT_EQ(WritePlotString("SP1;"), 4);
    EXPECT_EQ(WritePlotString(""), 0);
    EXPECT_EQ(Written(), "SP1;");

    g->hPlotDataFile = nullptr;
    EXPECT_EQ(WritePlotString("SP1;"), 0);

    // A stream that cannot be written fails the write.
    FILE* readOnly = std::fopen("/proc/self/cmdline", "r");
    ASSERT_NE(readOnly, nullptr);
    g->hPlotDataFile = readOnly;
    EXPECT_EQ(WritePlotString("PU0,0;"), 0);
    std::fclose(readOnly);
    g->hPlotDataFile = file_;
}

TEST_F(PenWriterTest, FirstFailedWriteIsKeptForTheRun)
{
    EXPECT_EQ(WritePlotString("SP1;"), 4);
    EXPECT_EQ(g->conversion.iWriteFailure, 0);

    // A full disk: every write of an unbuffered stream fails at once.
    FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IONBF, 0);
    g->hPlotDataFile = full;
    EXPECT_EQ(WritePlotString("PU0,0;"), 0);
    EXPECT_EQ(g->conversion.iWriteFailure, ENOSPC);

    // Later failures and later good writes leave the first failure in place.
    g->hPlotDataFile = nullptr;
    EXPECT_EQ(WritePlotString("PD1,1;"), 0);
    g->hPlotDataFile = file_;
    EXPECT_EQ(WritePlotString("PD2,2;"), 6);
    EXPECT_EQ(g->conversion.iWriteFailure, ENOSPC);
    std::fclose(full);

    // No file open at all is a failure of its own.
    g->conversion.iWriteFailure = 0;
    g->hPlotDataFile = nullptr;
    WritePlotString("SP;");
    EXPECT_EQ(g->conversion.iWriteFailure, EBADF);
    g->hPlotDataFile = file_;
}

TEST_F(PenWriterTest, LastWrittenFollowsEveryCommand)
{
    ClipAndEmit(0, 0, 0, {10, 20}, 0);
    EXPECT_EQ(g->emitter.ptLastWritten.x, 10);
    ClipAndEmit(0, 0, 0, {30, 40}, 1);
    EXPECT_EQ(g->emitter.ptLastWritten.x, 30);
    EXPECT_EQ(g->emitter.ptLastWritten.y, 40);
}

}  // namespace
