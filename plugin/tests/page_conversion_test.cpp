// The page conversion over the real host: drawings read from SVG, the layer table filled as
// the output dialog leaves it, the plot data file read back from the settings folder.
//
// The drawings are 100 by 50 mm with one user unit a millimetre, on a page record of the
// same size at 100 % with the origin at the corner. At 40 units per millimetre a point
// (x, y) of the SVG is plotted at (2000 - 40 y, 4000 - 40 x): artwork v = 50 - y, the axis
// turn (x, y) -> (y, -x), then the offset (0, 4000). The frame is 0, 0, 2000, 4000.
#include "plugin/conversion/page_conversion.h"
#include "plugin/tests/conversion_test_host.h"

#include "plugin/conversion/art_lists.h"
#include "plugin/records/document_records.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/settings_defaults.h"
#include "plugin/entry/suite_table.h"
#include "plugin/conversion/work_layers.h"

#include "sdk/ai_layer.h"
#include "host/suites/basic_suite.h"
#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/text_engine.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"

#include "tests/support/temp_home.h"
#include "tests/support/plugin_on_host.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kOff = "\x1B.)";
const std::string kOn = "\x1B.(";
const std::string kSeparator = kOff + kOn + "IW0,0,2000,4000;";

// One straight stroke per name, and its bytes.
const char* const kLineB = "<path id=\"b\" d=\"M5 45 L10 45\"/>";
const char* const kBytesB = "PU200,3800;PD200,3600;";
const char* const kLineC = "<path id=\"c\" d=\"M30 40 L35 40\"/>";
const char* const kBytesC = "PU400,2800;PD400,2600;";
const char* const kLineA = "<path id=\"a\" d=\"M60 30 L70 30\"/>";
const char* const kBytesA = "PU800,1600;PD800,1200;";

}  // namespace

using namespace conversiontest;

namespace {

// --- the conversion state of a page ---

TEST_F(PageConversion, PageSetUpGivesFrameOffsetScaleAndTolerance)
{
    struct Case {
        const char* name;
        int32_t orientation, scale;
        int16_t wPaperOrigin;
        int32_t iTolerance;
        PlotFrame frame;  // iYMin, iXMin, iXMax, iYMax as the record stores them
        OriginOffset offset;
        int32_t iPageHeightPt;
        double dTolerance;
    } cases[] = {
        {"portrait, centre", 0, 10000, 0, 2, {-4200, -5940, 5940, 4200}, {-5940, 4200}, 842, 0.1417},
        {"portrait, corner", 0, 10000, 1, 2, {0, 0, 11880, 8400}, {0, 8400}, 842, 0.1417},
        {"landscape exchanges the sizes", 1, 10000, 1, 2, {0, 0, 8400, 11880}, {0, 11880}, 842, 0.1417},
        {"landscape, centre", 1, 10000, 0, 2, {-5940, -4200, 4200, 5940}, {-4200, 5940}, 842, 0.1417},
        {"half size keeps the paper, doubles the page", 0, 5000, 1, 2, {0, 0, 11880, 8400}, {0, 8400}, 1684, 0.1417},
        {"tolerance 0 is one unit", 0, 10000, 1, 0, {0, 0, 11880, 8400}, {0, 8400}, 842, 0.0709},
        {"tolerance 4", 0, 10000, 1, 4, {0, 0, 11880, 8400}, {0, 8400}, 842, 0.2835},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("", {});
        setup_.Orientation = c.orientation;
        setup_.Scale = c.scale;
        setup_.rPage = PageRect{0, 0, 210, 297};
        settings_.wPaperOrigin = c.wPaperOrigin;
        settings_.iTolerance = c.iTolerance;
        EXPECT_EQ(Convert(), "SP;");
        const ConversionState& s = g->conversion;
        EXPECT_EQ(s.plotFrame.iXMin, c.frame.iXMin);
        EXPECT_EQ(s.plotFrame.iYMin, c.frame.iYMin);
        EXPECT_EQ(s.plotFrame.iXMax, c.frame.iXMax);
        EXPECT_EQ(s.plotFrame.iYMax, c.frame.iYMax);
        EXPECT_EQ(s.originOffset.iDx, c.offset.iDx);
        EXPECT_EQ(s.originOffset.iDy, c.offset.iDy);
        EXPECT_EQ(s.iPageHeightPt, c.iPageHeightPt);
        EXPECT_NEAR(s.dTolerance, c.dTolerance, 5e-5);
        EXPECT_DOUBLE_EQ(s.dScaleX, c.scale / 10000.0);
        EXPECT_DOUBLE_EQ(s.dScaleY, c.scale / 10000.0);
        EXPECT_EQ(g->fRotate, c.orientation != 0 ? 1 : 0);
        EXPECT_EQ(g->fSortAxis, g->fRotate);
        EXPECT_EQ(s.wUnitsPerMm, 40);
        EXPECT_DOUBLE_EQ(s.rPageBounds.left, 0);
        EXPECT_DOUBLE_EQ(s.rPageBounds.bottom, 0);
        EXPECT_NEAR(s.rPageBounds.right, 595.2756 * 10000 / c.scale, 1e-3);
        EXPECT_NEAR(s.rPageBounds.top, 841.8898 * 10000 / c.scale, 1e-3);
    }
}

TEST_F(PageConversion, PageTakesLineJoiningPerforationAndKanjiModeFromTheSettings)
{
    struct Case {
        const char* name;
        int32_t iPdOptimize;
        int32_t stored;  // what the loaded record holds afterwards
        PdOptimisation expected;
    } cases[] = {
        {"0 is off, 30 degrees, 512 vertices", 0, 0x001E0200, {0, 30, 512}},
        {"negative likewise", -5, 0x001E0200, {0, 30, 512}},
        {"packed on, 20 degrees, 256", 0x01140100, 0x01140100, {1, 20, 256}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("", {});
        settings_.iPdOptimize = c.iPdOptimize;
        settings_.wKanjiMode = 1;
        settings_.fDottedCut = 1;
        settings_.wCutTool = 3;
        settings_.wCutLength = 77;
        g->wUnitsPerMm = 0;  // no plotter unit known: 40
        Convert();
        EXPECT_EQ(settings_.iPdOptimize, c.stored);
        const PdOptimisation& pd = g->conversion.pdOptimisation;
        EXPECT_EQ(pd.fPdJoin, c.expected.fPdJoin);
        EXPECT_EQ(pd.wPdAngle, c.expected.wPdAngle);
        EXPECT_EQ(pd.wPdMaxVertices, c.expected.wPdMaxVertices);
        EXPECT_EQ(g->conversion.wKanjiMode, 1);
        EXPECT_EQ(g->conversion.wUnitsPerMm, 40);
        EXPECT_EQ(g->conversion.perforation.fDottedCut, 1);
        EXPECT_EQ(g->conversion.perforation.wCutTool, 3);
        EXPECT_EQ(g->conversion.perforation.wCutLength, 77);
    }
}

// --- the page structure of the plot data file ---

TEST_F(PageConversion, PrintRangeGivesOneBlockPerPageWithSeparators)
{
    const std::string block = std::string("IN;SP1;") + kBytesB + "PG;SP;";
    struct Case {
        const char* name;
        int32_t first, last;
        std::string expected;
    } cases[] = {
        {"one page", 1, 1, block},
        {"two pages, the window of the page just converted", 1, 2, block + kSeparator + block},
        {"three pages", 2, 4, block + kSeparator + block + kSeparator + block},
        {"0 and less are page 1", 0, -3, block},
        {"0 to 2 is 1 to 2", 0, 2, block + kSeparator + block},
        {"first after last gives an empty file", 3, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Layer("B", kLineB), {{"B", {1, 1}}});
        SetHeaderFooter("IN;", "PG;");
        setup_.iFstPage = c.first;
        setup_.iLstPage = c.last;
        EXPECT_EQ(Convert(), c.expected);
    }
}

TEST_F(PageConversion, SecondPageWindowIsTheFirstPagesFrame)
{
    // The centre origin gives a frame that differs from the corner's.
    Load(Layer("B", kLineB), {{"B", {1, 1}}});
    settings_.wPaperOrigin = 0;
    setup_.iLstPage = 2;
    const std::string bytes = Convert();
    EXPECT_EQ(Count(bytes, kOff + kOn + "IW-1000,-2000,1000,2000;"), 1) << bytes;
    EXPECT_EQ(Count(bytes, "SP;"), 2);
}

TEST_F(PageConversion, HeaderAndFooterAreWrittenAsStored)
{
    struct Case {
        const char* name;
        std::string header, footer;
        std::string expected;
    } cases[] = {
        {"neither", "", "", "SP;"},
        {"header only", "IN;VS10;", "", "IN;VS10;SP;"},
        {"footer only", "", "PG;", "PG;SP;"},
        {"bytes as they are", "\x1B.N;19:IN;\r\n", "PU0,0;\r\n", "\x1B.N;19:IN;\r\nPU0,0;\r\nSP;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Layer("B", kLineB), {{"B", {0, 1}}});
        SetHeaderFooter(c.header.c_str(), c.footer.c_str());
        EXPECT_EQ(Convert(), c.expected);
    }
}

TEST_F(PageConversion, UnterminatedHeaderIsCutAt127Characters)
{
    Load("", {});
    std::memset(settings_.szHeader, 'H', sizeof settings_.szHeader);
    std::memset(settings_.szFooter, 'F', sizeof settings_.szFooter);
    EXPECT_EQ(Convert(), std::string(127, 'H') + std::string(127, 'F') + "SP;");
}

TEST_F(PageConversion, OldPlottingLayerIsDeletedAndOwnLayersHaveNoRows)
{
    // The plotting layer sits between the user's layers; rows count only the user's.
    Load(Layer("B", kLineB) + Layer("TRAVEX-Pro Plotting Layer", kLineA) + Layer("C", kLineC),
         {{"B", {0, 1}}, {"C", {1, 1}}});
    ASSERT_EQ(table_->iCount, 2);
    EXPECT_EQ(Convert(), std::string("SP1;") + kBytesC + "SP;");
    EXPECT_FALSE(HasLayer("TRAVEX-Pro Plotting Layer"));
    EXPECT_FALSE(HasLayer("TRAVEX-Pro Temporally Layer"));
    EXPECT_TRUE(HasLayer("B"));
    EXPECT_TRUE(HasLayer("C"));
}

// --- which layers are output, and in which order ---

TEST_F(PageConversion, OnlyLayersWithOutputFlagOnAFilledSlotAreOutput)
{
    struct Case {
        const char* name;
        int16_t slotType;  // type of slot index 6
        Assignment c;
        std::string expected;
    } cases[] = {
        {"flag set, filled slot", kToolWaterBallPen, {1, 7}, std::string("SP1;") + kBytesB + "SP7;" + kBytesC + "SP;"},
        {"flag clear", kToolWaterBallPen, {0, 7}, std::string("SP1;") + kBytesB + "SP;"},
        {"empty slot", 0, {1, 7}, std::string("SP1;") + kBytesB + "SP;"},
        {"type 12 is no tool", 12, {1, 7}, std::string("SP1;") + kBytesB + "SP;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_.aToolSlot[6].wType = c.slotType;
        Load(Layer("B", kLineB) + Layer("C", kLineC), {{"B", {1, 1}}, {"C", c.c}});
        EXPECT_EQ(Convert(), c.expected);
    }
}

TEST_F(PageConversion, PenOrderLayerByLayerOrMergedPerClass)
{
    // Layers in the file: A (slot 1, far from the origin), B (slot 2, nearest), C (slot 1).
    const std::string drawing = Layer("A", kLineA) + Layer("B", kLineB) + Layer("C", kLineC);
    const std::map<std::string, Assignment> tools = {{"A", {1, 1}}, {"B", {1, 2}}, {"C", {1, 1}}};
    Load(drawing, tools);
    std::vector<std::string> rows;
    for (int i = 0; i < table_->iCount; ++i) rows.push_back(table_->aRow[i].szName);
    const bool aFirst = rows.front() == "A";
    const std::string slot1InRowOrder = aFirst ? std::string(kBytesA) + kBytesC : std::string(kBytesC) + kBytesA;

    struct Case {
        const char* name;
        int16_t fPenOrderOff, wSortMode;
        std::string expected;
    } cases[] = {
        {"layer by layer, slot order, collection order", 0, 0, "SP1;" + slot1InRowOrder + "SP2;" + kBytesB + "SP;"},
        {"layer by layer, each layer ordered by itself", 0, 1, "SP1;" + slot1InRowOrder + "SP2;" + kBytesB + "SP;"},
        {"merged, unordered: slot order", 1, 0, "SP1;" + slot1InRowOrder + "SP2;" + kBytesB + "SP;"},
        {"merged and ordered: pens change as the order requires", 1, 1,
         std::string("SP2;") + kBytesB + "SP1;" + kBytesC + kBytesA + "SP;"},
        {"merged, nearest neighbour", 1, 2, std::string("SP2;") + kBytesB + "SP1;" + kBytesC + kBytesA + "SP;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_.fPenOrderOff = c.fPenOrderOff;
        settings_.wSortMode = c.wSortMode;
        Load(drawing, tools);
        EXPECT_EQ(Convert(), c.expected);
    }
}

TEST_F(PageConversion, CollectionOrderIsKeptWithoutSorting)
{
    // Host children come in stacking order: the element written last is collected first.
    settings_.wSortMode = 0;
    Load(Layer("L", std::string(kLineA) + kLineC + kLineB), {{"L", {1, 1}}});
    EXPECT_EQ(Convert(), std::string("SP1;") + kBytesB + kBytesC + kBytesA + "SP;");
    settings_.wSortMode = 1;
    Load(Layer("L", std::string(kLineA) + kLineB + kLineC), {{"L", {1, 1}}});
    EXPECT_EQ(Convert(), std::string("SP1;") + kBytesB + kBytesC + kBytesA + "SP;");
}

TEST_F(PageConversion, NeedleIsItsOwnPassAfterThePens)
{
    settings_.aToolSlot[0].wType = kToolNeedle;
    Load(Layer("N", kLineA) + Layer("P", kLineB), {{"N", {1, 1}}, {"P", {1, 2}}});
    EXPECT_EQ(Convert(), std::string("SP2;") + kBytesB + "SP1;" + kBytesA + "SP;");
}

TEST_F(PageConversion, ProgressTextsOfEachStage)
{
    // The cutter class is ordered whatever wSortMode says.
    struct Case {
        const char* name;
        int16_t fPenOrderOff, wSortMode, fOverlap;
        std::vector<std::string> expected;
    } cases[] = {
        {"per layer, sorted", 0, 1, 0,
         {"ソート中(2/2) ...", "データ変換中(2/2) ...", "ソート中(カッター) ...", "データ変換中(カッター) ..."}},
        {"per layer, unsorted", 0, 0, 0, {"データ変換中(2/2) ...", "ソート中(カッター) ...", "データ変換中(カッター) ..."}},
        {"merged, sorted, united", 1, 1, 1,
         {"ソート中(ペン) ...", "データ変換中(ペン) ...", "重ね合わせの計算中 ...", "ソート中(カッター) ...",
          "データ変換中(カッター) ..."}},
        {"merged, unsorted", 1, 0, 0, {"データ変換中(ペン) ...", "ソート中(カッター) ...", "データ変換中(カッター) ..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_.fPenOrderOff = c.fPenOrderOff;
        settings_.wSortMode = c.wSortMode;
        settings_.fOverlap = c.fOverlap;
        // The layer written last is the host's first: P is row 2 of 2.
        Load(Layer("P", kLineB) + Layer("K", "<rect x=\"10\" y=\"10\" width=\"10\" height=\"10\"/>"),
             {{"P", {1, 1}}, {"K", {1, 8}}});
        host::ClearHostUserRecords();
        Convert();
        EXPECT_EQ(StageTexts(), c.expected);
    }
}

// --- the cutter class ---

TEST_F(PageConversion, CutterClassComesLastWithItsOwnTool)
{
    // Slot 8 is the pen cutter; the square (10,10)-(20,20) is one closed contour.
    Load(Layer("K", "<rect x=\"10\" y=\"10\" width=\"10\" height=\"10\"/>") + Layer("P", kLineB),
         {{"K", {1, 8}}, {"P", {1, 1}}});
    const std::string bytes = Convert();
    const std::string pens = std::string("SP1;") + kBytesB;
    ASSERT_EQ(bytes.substr(0, pens.size()), pens) << bytes;
    const std::string cutter = bytes.substr(pens.size());
    EXPECT_EQ(cutter.substr(0, 4), "SP8;") << bytes;
    EXPECT_EQ(cutter.substr(cutter.size() - 3), "SP;");
    EXPECT_EQ(Count(cutter, "PU"), 1) << bytes;
    const auto points = Points(cutter);
    ASSERT_EQ(points.size(), 5u) << bytes;
    EXPECT_EQ(points.front(), points.back());
    const PointSet corners(points.begin(), points.end());
    EXPECT_EQ(corners, (PointSet{{1600, 3600}, {1600, 3200}, {1200, 3200}, {1200, 3600}}));
    // The user's square is still the user's, untouched by the marking of tool widths.
    EXPECT_FALSE(HasLayer("TRAVEX-Pro Temporally Layer"));
}

TEST_F(PageConversion, OverlappingCutShapesComeOutAsOneContour)
{
    // Squares (10,10)-(30,30) and (20,20)-(40,40): their outline has eight corners.
    const std::string shapes = "<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\"/>"
                               "<rect x=\"20\" y=\"20\" width=\"20\" height=\"20\"/>";
    struct Case {
        const char* name;
        int16_t fOverlap;
        int contours;
    } cases[] = {{"united", 1, 1}, {"not united", 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_.fOverlap = c.fOverlap;
        Load(Layer("K", shapes), {{"K", {1, 8}}});
        const std::string bytes = Convert();
        EXPECT_EQ(bytes.substr(0, 4), "SP8;") << bytes;
        EXPECT_EQ(Count(bytes, "PU"), c.contours) << bytes;
        const auto points = Points(bytes);
        const PointSet corners(points.begin(), points.end());
        if (c.fOverlap) {
            EXPECT_EQ(corners, (PointSet{{1600, 3600}, {1600, 2800}, {1200, 2800}, {1200, 2400},
                                                              {400, 2400}, {400, 3200}, {800, 3200}, {800, 3600}}))
                << bytes;
        } else {
            EXPECT_EQ(corners.size(), 8u) << bytes;
        }
    }
}

TEST_F(PageConversion, CutterSequenceWithoutWorkCopiesLeavesTheUsersArtAlone)
{
    // Squares (10,10)-(30,30) and (20,20)-(40,40) with the union on; the work copies cannot
    // be had, so nothing may be united, marked or cut, and the page still ends.
    const std::string shapes = "<rect id=\"a\" x=\"10\" y=\"10\" width=\"20\" height=\"20\"/>"
                               "<rect id=\"b\" x=\"20\" y=\"20\" width=\"20\" height=\"20\"/>";
    settings_.fOverlap = 1;
    Load(Layer("K", shapes), {{"K", {1, 8}}});
    SetListAllocator([](size_t, size_t) -> void* { return nullptr; });
    const std::string bytes = Convert();
    SetListAllocator(nullptr);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(Count(bytes, "PD"), 0) << bytes;
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "SP;") << bytes;
    int squares = 0;
    for (host::Layer* layer : doc_->layers) {
        if (layer->title != "K")
            continue;
        for (host::Art* art : layer->group->children) {
            EXPECT_FALSE(art->fDisposed);
            EXPECT_FALSE(art->fSelected);
            EXPECT_EQ(art->segments.size(), 4u);
            ++squares;
        }
    }
    EXPECT_EQ(squares, 2);
}

TEST_F(PageConversion, HoleIsCutBeforeItsOutline)
{
    // One compound path: the square (10,10)-(40,40) with the hole (20,20)-(30,30). Its
    // members are cut separately, the hole first, united or not. The hole runs against the
    // outline, as a compound path's holes do.
    const std::string shape = "<path d=\"M10 10 L40 10 L40 40 L10 40 Z M20 20 L20 30 L30 30 L30 20 Z\"/>";
    const PointSet hole = {{1200, 3200}, {1200, 2800}, {800, 2800}, {800, 3200}};
    const PointSet outline = {{1600, 3600}, {1600, 2400}, {400, 2400}, {400, 3600}};
    for (int16_t fOverlap : {0, 1}) {
        SCOPED_TRACE(fOverlap);
        settings_.fOverlap = fOverlap;
        Load(Layer("K", shape), {{"K", {1, 8}}});
        const std::string bytes = Convert();
        ASSERT_EQ(Count(bytes, "PU"), 2) << bytes;
        const size_t second = bytes.find("PU", bytes.find("PU") + 1);
        const auto first = Points(bytes.substr(0, second));
        const auto last = Points(bytes.substr(second));
        EXPECT_EQ(PointSet(first.begin(), first.end()), hole) << bytes;
        EXPECT_EQ(PointSet(last.begin(), last.end()), outline) << bytes;
    }
}

// --- cancel and failures ---

TEST_F(PageConversion, CancelDuringCollectionClosesThisAndEveryLaterPage)
{
    Load(Layer("B", std::string(kLineB) + kLineC + kLineA) + Layer("K", "<rect x=\"10\" y=\"10\" width=\"10\" height=\"10\"/>"),
         {{"B", {1, 1}}, {"K", {1, 8}}});
    SetHeaderFooter("IN;", "PG;");
    setup_.iLstPage = 3;
    settings_.fOverlap = 1;
    host::ClearHostUserRecords();
    host::SetCancelAfterChecks(1);
    const std::string page = "IN;PG;SP;";
    EXPECT_EQ(Convert(), page + kSeparator + page + kSeparator + page);
    EXPECT_EQ(g->fAbort, 1);
    // No stage was started after the cancel: no union, ordering or emission.
    EXPECT_EQ(StageTexts(), std::vector<std::string>{""});
    EXPECT_FALSE(HasLayer("TRAVEX-Pro Temporally Layer"));
}

TEST_F(PageConversion, PlotDataFileIsCreatedAnew)
{
    std::ofstream(path_, std::ios::binary) << "an earlier job that is much longer";
    Load(Layer("B", kLineB), {{"B", {1, 1}}});
    EXPECT_EQ(Convert(), std::string("SP1;") + kBytesB + "SP;");
    EXPECT_EQ(g->conversion.iWriteFailure, 0);
}

TEST_F(PageConversion, PlotDataFileThatCannotBeCreatedIsKeptForTheRun)
{
    std::filesystem::remove(path_);
    std::filesystem::create_directory(path_);
    Load(Layer("B", kLineB) + Layer("TRAVEX-Pro Plotting Layer", ""), {{"B", {1, 1}}});
    ConvertAllPages();
    EXPECT_EQ(g->hPlotDataFile, nullptr);
    EXPECT_EQ(g->conversion.iWriteFailure, EISDIR);
    // Nothing was converted: the document is as it was.
    EXPECT_TRUE(HasLayer("TRAVEX-Pro Plotting Layer"));
    std::filesystem::remove(path_);
}

}  // namespace

// --- an HP-GL reader written elsewhere ---

namespace {

// The picture hp2xx makes of a plot data file at 10 pixels a millimetre, true size.
struct Picture {
    int width = 0, height = 0;
    std::string bits;
    // Ink within 3 pixels of plotter point (x, y) of the range 0, 0 to 2000, 4000.
    bool Ink(int x, int y) const
    {
        const int px = x / 4 + 1, py = (4000 - y) / 4 + 2, row = (width + 7) / 8;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const int cx = px + dx, cy = py + dy;
                if (cx < 0 || cy < 0 || cx >= width || cy >= height) continue;
                if ((static_cast<unsigned char>(bits[cy * row + cx / 8]) >> (7 - cx % 8)) & 1) return true;
            }
        return false;
    }
};

bool Render(const std::string& plot, Picture* picture, std::string* log)
{
    const std::string folder = MakeTestFolder("hp2xx");
    const std::string pbm = folder + "/picture.pbm";
    const std::string report = folder + "/report.txt";
    const std::string command = "/usr/bin/hp2xx -t -d 254 -m pbm -f '" + pbm + "' '" + plot + "' > '" + report + "' 2>&1";
    const int status = std::system(command.c_str());
    *log = ReadBytes(report);
    if (status != 0) return false;
    std::ifstream in(pbm, std::ios::binary);
    std::string magic;
    in >> magic >> picture->width >> picture->height;
    in.get();
    picture->bits.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return magic == "P4" && picture->bits.size() >= static_cast<size_t>((picture->width + 7) / 8 * picture->height);
}

}  // namespace

TEST_F(PageConversion, Hp2xxRendersTheWholeDrawing)
{
    if (!std::filesystem::exists("/usr/bin/hp2xx")) GTEST_SKIP() << "hp2xx is not installed";
    // Pens: a line and a dashed line (3 mm on, 2 mm off) and a label; slot 9 perforated;
    // slot 8 cuts two overlapping squares and a square with a square hole.
    const std::string drawing =
        Layer("Pens", "<path d=\"M5 5 L45 5\"/><path d=\"M5 45 L45 45\" style=\"stroke-dasharray:3,2\"/>"
                      "<text x=\"20\" y=\"30\" style=\"font-size:5px\">PLOT</text>") +
        Layer("Perforated", "<path d=\"M50 48 L95 48\"/>") +
        Layer("Cut", "<rect x=\"55\" y=\"5\" width=\"20\" height=\"20\"/><rect x=\"65\" y=\"15\" width=\"20\" height=\"20\"/>"
                     "<path d=\"M50 37 L62 37 L62 47 L50 47 Z M53 40 L53 44 L59 44 L59 40 Z\"/>");
    settings_.aToolSlot[8].wType = kToolSingleEdgedCutter;
    settings_.fDottedCut = 1;
    settings_.wCutTool = 9;
    settings_.wOutlineSize = 7;
    settings_.wKanjiMode = 0;
    settings_.fOverlap = 1;
    // Two short strokes at the frame's corners fix the picture's range.
    SetHeaderFooter("PU0,0;PD4,0;PU2000,4000;PD1996,4000;", "");
    Load(drawing, {{"Pens", {1, 1}}, {"Perforated", {1, 9}}, {"Cut", {1, 8}}});
    const std::string bytes = Convert();
    EXPECT_EQ(Count(bytes, "LB"), 4) << bytes;  // one label per character
    EXPECT_GT(Count(bytes, "ZF"), 2) << bytes;

    Picture picture;
    std::string log;
    ASSERT_TRUE(Render(path_, &picture, &log)) << log;
    EXPECT_NE(log.find("Coordinate range: (0, 0) ... (2000, 4000)"), std::string::npos) << log;
    // The reader takes every command but the cutting plotter's force command.
    EXPECT_NE(log.find("HPGL command(s) ignored: " + std::to_string(Count(bytes, "ZF")) + "\n"), std::string::npos) << log;
    struct Probe {
        const char* what;
        int x, y;
        bool ink;
    } probes[] = {
        {"the line", 1800, 3000, true},
        {"the first dash", 200, 3740, true},
        {"the first gap", 200, 3640, false},
        {"the perforated line", 80, 1900, true},
        {"the outline of the two squares", 1400, 1800, true},
        {"the edge inside the union", 1200, 1400, false},
        {"the far corner of the union", 600, 600, true},
        {"the outline around the hole", 320, 2000, true},
        {"the edge of the hole", 320, 1880, true},
        {"inside the hole", 320, 1760, false},
        {"an empty place", 1000, 3000, false},
    };
    for (const Probe& p : probes) EXPECT_EQ(picture.Ink(p.x, p.y), p.ink) << p.what;
}

// --- the developer's command ---

TEST_F(PageConversion, TravexConvertLeavesThePlotDataFile)
{
    const std::string command = std::string(TRAVEX_BINARY_DIR) + "/bin/travex-convert";
    ASSERT_TRUE(std::filesystem::exists(command)) << command;
    const std::string folder = MakeTestFolder("travex-convert");
    const std::string drawing = folder + "/drawing.svg";
    WriteBytes(drawing, Drawing(Layer("A", kLineA) + Layer("B", kLineB)));
    struct Case {
        const char* name;
        std::string arguments;
        int status;
        std::string expected;  // the plot data file after a run that succeeded
    } cases[] = {
        {"two layers, two pens, two pages", "--layer A=2 --layer B=1 --page 100x50 --corner --sort 0 --pages 1-2 --footer 'PG;'",
         0, std::string("SP1;") + kBytesB + "SP2;" + kBytesA + "PG;SP;" + kSeparator + "SP1;" + kBytesB + "SP2;" + kBytesA + "PG;SP;"},
        {"a layer not named is not output", "--layer B=3 --page 100x50 --corner --footer 'PG;'", 0,
         std::string("SP3;") + kBytesB + "PG;SP;"},
        {"a tool outside 1 to 10", "--layer B=11", 2, ""},
        {"an option it does not know", "--layers B=1", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path_);
        const std::string out = folder + "/out.txt";
        const int status = std::system((command + " '" + drawing + "' " + c.arguments + " > '" + out + "' 2>/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        if (c.status != 0) continue;
        std::ifstream printed(out);
        std::string path;
        std::getline(printed, path);
        EXPECT_EQ(path, path_);
        EXPECT_EQ(ReadBytes(path_), c.expected);
    }
}
