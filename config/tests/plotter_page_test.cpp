// The plotter environment page on the running program: the defaults it shows, and every
// control's choice made through the UI robot found in the settings file after OK at the
// offsets of the settings record (which starts at file offset 2).
#include "config/plotter_page.h"
#include "config/settings_store.h"
#include "config/tests/page_dialog_fixture.h"

#include <functional>

#include <map>

namespace {

constexpr size_t kRecord = 2;   // the settings record's file offset

// What the page showed when the hook ran: the ticks of 210-218 and the chosen texts of
// 201 and 219-227, and the eight margin edits.
struct PlotterSeen {
    std::map<int, int> ticked;
    std::map<int, std::string> chosen;
    std::vector<std::string> margins;
};

PlotterSeen LookAtPlotterPage()
{
    PlotterSeen seen;
    for (int id = 210; id <= 218; ++id)
        seen.ticked[id] = Ticked(kPlotterPage, id);
    seen.chosen[201] = ChosenText(kPlotterPage, 201);
    for (int id = 219; id <= 227; ++id)
        seen.chosen[id] = ChosenText(kPlotterPage, id);
    for (int id = 202; id <= 209; ++id)
        seen.margins.push_back(Text(kPlotterPage, id));
    return seen;
}

class PlotterPageTest : public PageDialogTest {
protected:
    void SetUp() override
    {
        PageDialogTest::SetUp();
        action_ = [this] { seen_ = LookAtPlotterPage(); };
    }
    PlotterSeen seen_;
};

TEST_F(PlotterPageTest, ANewSettingsFileShowsTheDefaults)
{
    RunProgram("tab 1082 1; hook run; press 2");
    // object sort; overlap, pen order and line optimisation ticked
    const std::map<int, int> ticked = {{210, 0}, {211, 1}, {212, 0}, {213, 1}, {214, 1}, {215, 0},
        {216, 1}, {217, 0}, {218, 0}};
    EXPECT_EQ(seen_.ticked, ticked);
    const std::map<int, std::string> chosen = {{201, "inch"}, {219, "GRAPHTEC(CA101 + JIS)"},
        {220, "6 pt"}, {221, "用紙中央"}, {222, "COM1"}, {223, "9600 bps"}, {224, "8 ビット"},
        {225, "1.0 ビット"}, {226, "なし"}, {227, "XON/XOFF(ソフト)"}};
    EXPECT_EQ(seen_.chosen, chosen);
    // 15 mm in inches
    EXPECT_EQ(seen_.margins, std::vector<std::string>(8, "0.591"));

    std::vector<UiRobotStepRecord> steps = UiRobotStepRecords();
    ASSERT_GE(steps.size(), 2u);
    std::map<int, UiControlState> shown;
    for (const UiControlState& c : steps.back().controls)
        shown[c.id] = c;
    EXPECT_EQ(shown[222].items, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "LPT1",
                                    "LPT2", "TCP/IP(PRICOM 3100)", "TCP/IP(AXIS LPT1)", "TCP/IP(AXIS USB1)",
                                    "TCP/IP(TRAVEX-Pro Server)"}));
    EXPECT_EQ(shown[220].items, (std::vector<std::string>{"6 pt", "10 pt", "12 pt", "14 pt", "18 pt",
                                    "24 pt", "48 pt", "未使用"}));
    EXPECT_EQ(shown[219].items,
        (std::vector<std::string>{"無し", "MIMAKI(JK + 区点)", "GRAPHTEC(CA101 + JIS)"}));
    EXPECT_EQ(shown[223].items.size(), 9u);
    EXPECT_EQ(shown[227].items, (std::vector<std::string>{"なし", "XON/XOFF(ソフト)", "CTS/DTR(ハード)"}));
    EXPECT_EQ(shown[214].text, "ペン順に出力する(&P)");
}

TEST_F(PlotterPageTest, EveryChoiceLandsInItsFieldAtItsOffset)
{
    WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
    SeedPageValues(PageValues{});
    RunProgram("tab 1082 1; "
               "type 202 11; type 203 12; type 204 13; type 205 14; "
               "type 206 21; type 207 22; type 208 23.5; type 209; "
               "radio 212; untick 213; untick 214; tick 215; untick 216; tick 217; tick 218; "
               "choose 219 1; choose 220 7; choose 221 1; choose 222 9; choose 223 8; "
               "choose 224 0; choose 225 2; choose 226 1; choose 227 2; press 1");
    std::string expected = DefaultFileInUnit(1);
    Put32(expected, kRecord + 4, 11);     // rSheetMargin.top
    Put32(expected, kRecord + 8, 12);     // .left
    Put32(expected, kRecord + 16, 13);    // .bottom
    Put32(expected, kRecord + 12, 14);    // .right
    Put32(expected, kRecord + 20, 21);    // rRollMargin.top
    Put32(expected, kRecord + 24, 22);    // .left
    Put32(expected, kRecord + 32, 24);    // .bottom: 23.5 rounds up
    Put32(expected, kRecord + 28, 0);     // .right: an empty edit
    Put16(expected, kRecord + 36, 2);     // wSortMode: vector sort
    Put16(expected, kRecord + 38, 0);     // fOverlap
    Put16(expected, kRecord + 40, 1);     // fPenOrderOff: box cleared
    Put16(expected, kRecord + 176, 1);    // fFrameCut
    Put16(expected, kRecord + 50, 1);     // fLineOptOff: box cleared
    Put16(expected, kRecord + 52, 1);     // fErrorAdjust
    Put16(expected, kRecord + 198, 1);    // fDottedCut
    Put16(expected, kRecord + 42, 1);     // wKanjiMode: MIMAKI
    Put16(expected, kRecord + 2, 7);      // wOutlineSize: never
    Put16(expected, kRecord + 44, 1);     // wPaperOrigin: lower left
    Put16(expected, kRecord + 212, -3);   // wPort: TCP/IP(AXIS USB1)
    Put16(expected, kRecord + 214, 8);    // wBaudIndex: 57600
    Put16(expected, kRecord + 216, 0);    // wDataBitsIndex: 7 bits
    Put16(expected, kRecord + 218, 2);    // wStopBitsIndex: 2
    Put16(expected, kRecord + 220, 1);    // wParityIndex: odd
    Put16(expected, kRecord + 222, 2);    // wFlowControl: hardware
    Put32(expected, kRecord + 364, 0x1E0200);  // iPdOptimize: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_EQ(RetVal(), 1);
}

// "ペン順に出力する(&P)" and "ライン最適化(&L)" say the opposite of their flags.
TEST_F(PlotterPageTest, PenOrderAndLineOptimisationBoxesStoreTheirFlagsReversed)
{
    struct Case {
        const char* steps;
        int16_t penOrderOff, lineOptOff;
    };
    const Case cases[] = {
        {"", 1, 1},
        {"tick 214", 0, 1},
        {"tick 216", 1, 0},
        {"tick 214; tick 216", 0, 0},
        {"tick 214; untick 214", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        ResetTestHome();
        ResetUiRobot();
        std::string file = DefaultFileInUnit(1);
        Put16(file, kRecord + 40, 1);
        Put16(file, kRecord + 50, 1);
        WriteBytes(TestSettingsFile(), file);
        RunProgram(std::string("tab 1082 1; hook run; ") + c.steps + "; press 1");
        EXPECT_EQ(seen_.ticked[214], 0);
        EXPECT_EQ(seen_.ticked[216], 0);
        std::string bytes = ReadBytes(TestSettingsFile());
        EXPECT_EQ(Get16(bytes, kRecord + 40), c.penOrderOff);
        EXPECT_EQ(Get16(bytes, kRecord + 50), c.lineOptOff);
    }
}

TEST_F(PlotterPageTest, EachPortItemStoresItsPortCode)
{
    const int16_t codes[] = {0, 1, 2, 3, 4, 5, 6, -1, -2, -3, -4};
    for (int item = 0; item < 11; ++item) {
        SCOPED_TRACE(item);
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
        RunProgram("tab 1082 1; choose 222 " + std::to_string(item) + "; press 1");
        EXPECT_EQ(Get16(ReadBytes(TestSettingsFile()), kRecord + 212), codes[item]);
    }
}

// A stored value is shown as the list item of its route; OK without a change keeps the
// route. A value no item stands for leaves its list empty and is kept as it was.
TEST_F(PlotterPageTest, StoredPortsAndLineSettingsAreShownAndKept)
{
    struct Case {
        size_t offset;
        int16_t stored;
        int comboId;
        const char* shown;
        int16_t afterOk;
    };
    const Case cases[] = {
        {212, 0, 222, "COM1", 0},
        {212, 6, 222, "LPT2", 6},
        {212, -1, 222, "TCP/IP(PRICOM 3100)", -1},
        {212, -2, 222, "TCP/IP(AXIS LPT1)", -2},
        {212, -4, 222, "TCP/IP(TRAVEX-Pro Server)", -4},
        // every code below -4 is the sender's route too
        {212, -5, 222, "TCP/IP(TRAVEX-Pro Server)", -4},
        {212, 7, 222, "(none)", 7},
        {214, 12, 223, "(none)", 12},
        {214, 8, 223, "57600 bps", 8},
        {2, -1, 220, "(none)", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + " " + std::to_string(c.stored));
        ResetTestHome();
        ResetUiRobot();
        std::string file = DefaultFileInUnit(1);
        Put16(file, kRecord + c.offset, c.stored);
        WriteBytes(TestSettingsFile(), file);
        RunProgram("tab 1082 1; hook run; press 1");
        EXPECT_EQ(seen_.chosen[c.comboId], c.shown);
        Put16(file, kRecord + c.offset, c.afterOk);
        Put32(file, kRecord + 364, 0x1E0200);  // iPdOptimize: a stored 0 is saved as its meaning
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), file), "equal");
    }
}

TEST_F(PlotterPageTest, SortModeShowsItsRadioAndAModeWithoutOneIsKept)
{
    struct Case {
        int16_t stored;
        int radio;   // 0: none ticked
        int16_t afterOk;
    };
    for (Case c : {Case{0, 210, 0}, Case{2, 212, 2}, Case{5, 0, 5}}) {
        SCOPED_TRACE(c.stored);
        ResetTestHome();
        ResetUiRobot();
        std::string file = DefaultFileInUnit(1);
        Put16(file, kRecord + 36, c.stored);
        WriteBytes(TestSettingsFile(), file);
        RunProgram("tab 1082 1; hook run; press 1");
        for (int id = 210; id <= 212; ++id)
            EXPECT_EQ(seen_.ticked[id], id == c.radio ? 1 : 0) << id;
        EXPECT_EQ(Get16(ReadBytes(TestSettingsFile()), kRecord + 36), c.afterOk);
    }
}

// The reloads drop what the pages changed in memory and read the file again.
TEST_F(PlotterPageTest, ReloadsReadTheBlocksAgainFromTheFile)
{
    struct Case {
        const char* what;
        std::function<void()> reload;
        int16_t sortMode, paperCount;
        int32_t orientation, size;
    };
    const Case cases[] = {
        {"settings and paper list", [] { ReloadPlotSettingsAndPaperList(); }, 1, 10, 1, 999},
        {"settings only", [] { ReloadSettings(&gPageSetup, 0); }, 1, 3, 1, 999},
        {"paper list and page start", [] { ReloadSettings(&gPageSetup, 1); }, 0, 10, 0, 601},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
        Case seen{};
        action_ = [&] {
            gPlotSettings.wSortMode = 0;
            gPaperList.wCount = 3;
            gPageSetup.Orientation = 1;
            gPageSetup.Size = 999;
            c.reload();
            seen.sortMode = gPlotSettings.wSortMode;
            seen.paperCount = gPaperList.wCount;
            seen.orientation = gPageSetup.Orientation;
            seen.size = gPageSetup.Size;
        };
        RunProgram("hook run; press 2");
        EXPECT_EQ(seen.sortMode, c.sortMode);
        EXPECT_EQ(seen.paperCount, c.paperCount);
        EXPECT_EQ(seen.orientation, c.orientation);
        EXPECT_EQ(seen.size, c.size);
    }
}

} // namespace
