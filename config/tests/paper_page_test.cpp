// The paper page on the running program: what it shows of the page record, what the user's
// choices made through the UI robot leave in the registry values after OK, the size list in
// step with a paper list that changed, and paper names shown whole.
#include "config/page_record.h"
#include "config/paper_lists.h"
#include "config/paper_page.h"
#include "config/settings_store.h"
#include "config/tests/page_dialog_fixture.h"

#include <map>

namespace {

constexpr int kSizeCombo = 101;
constexpr int kUnitCombo = 102;
constexpr int kWidthEdit = 103;
constexpr int kHeightEdit = 104;
constexpr int kScaleCombo = 106;
constexpr int kPortrait = 110;
constexpr int kLandscape = 111;
constexpr int kRollBox = 114;
constexpr int kFirstPage = 115;
constexpr int kLastPage = 116;

const std::vector<std::string> kDefaultNames = {"A0", "A1", "A1(横)", "A2", "A2(横)", "A3", "A3(横)",
    "Roll(1020)", "Roll(1000)", "Roll(950)"};

// What the page showed when the hook ran.
struct PaperSeen {
    std::string size, width, height, scale, firstPage, lastPage;
    int roll = -1, portrait = -1, landscape = -1;
    std::vector<std::string> sizes;
};

PaperSeen LookAtPaperPage()
{
    PaperSeen seen;
    seen.size = ChosenText(kPaperPage, kSizeCombo);
    seen.width = Text(kPaperPage, kWidthEdit);
    seen.height = Text(kPaperPage, kHeightEdit);
    seen.scale = ChosenText(kPaperPage, kScaleCombo);
    seen.firstPage = Text(kPaperPage, kFirstPage);
    seen.lastPage = Text(kPaperPage, kLastPage);
    seen.roll = Ticked(kPaperPage, kRollBox);
    seen.portrait = Ticked(kPaperPage, kPortrait);
    seen.landscape = Ticked(kPaperPage, kLandscape);
    seen.sizes = Items(kPaperPage, kSizeCombo);
    return seen;
}

class PaperPageTest : public PageDialogTest {
protected:
    void SetUp() override
    {
        PageDialogTest::SetUp();
        action_ = [this] { seen_ = LookAtPaperPage(); };
    }
    PaperSeen seen_;
};

TEST_F(PaperPageTest, ShowsThePageRecordWithTheListsSizeForAListRow)
{
    struct Case {
        const char* what;
        PageValues stored;
        const char* size;
        const char* width;
        const char* height;
        int roll;
        const char* scale;
        int32_t sizeAfterOk, widthAfterOk, heightAfterOk, scaleAfterOk;
    };
    const Case cases[] = {
        {"a list row takes the row's size", {0, 604, 1, 1, 5000, 1}, "A2", "420", "594", 0, "50%", 604, 420, 594, 5000},
        {"a roll row", {0, 608, 1, 1, 3333, 0}, "Roll(1020)", "1020", "3000", 1, "33.33%", 608, 1020, 3000, 3333},
        {"a size by hand keeps its numbers", {0, 999, 500, 700, 10000, 0}, "カスタム", "500", "700", 0, "100%", 999, 500, 700, 10000},
        {"another code is a size by hand", {0, 500, 500, 700, 10000, 1}, "カスタム", "500", "700", 1, "100%", 999, 500, 700, 10000},
        // the list has no row 49: the record's size stays on the page instead of 0 by 0
        {"a row the list lacks", {0, 650, 500, 700, 10000, 0}, "カスタム", "500", "700", 0, "100%", 999, 500, 700, 10000},
        // 601 + 65536 is no row, even where a 16-bit row index would wrap it to row 0
        {"a code past the rows", {0, 66137, 500, 700, 10000, 0}, "カスタム", "500", "700", 0, "100%", 999, 500, 700, 10000},
        {"a scale the list lacks", {0, 601, 841, 1190, 12345, 0}, "A0", "841", "1190", 0, "100%", 601, 841, 1190, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
        SeedPageValues(c.stored);
        RunProgram("hook run; press 1");
        EXPECT_EQ(seen_.sizes.size(), 11u);
        EXPECT_EQ(seen_.size, c.size);
        EXPECT_EQ(seen_.width, c.width);
        EXPECT_EQ(seen_.height, c.height);
        EXPECT_EQ(seen_.roll, c.roll);
        EXPECT_EQ(seen_.scale, c.scale);
        std::map<std::string, int32_t> v = ConfigValues();
        EXPECT_EQ(v["Size"], c.sizeAfterOk);
        EXPECT_EQ(v["Width"], c.widthAfterOk);
        EXPECT_EQ(v["Height"], c.heightAfterOk);
        EXPECT_EQ(v["Scale"], c.scaleAfterOk);
        EXPECT_EQ(v["pisroll"], c.roll);
        EXPECT_EQ(v["RetVal"], 1);
    }
}

TEST_F(PaperPageTest, ListsThePaperNamesThenCustomAndShowsOrientationAndPages)
{
    WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
    PageValues stored;
    stored.orientation = 1;
    stored.firstPage = 3;
    stored.lastPage = 7;
    SeedPageValues(stored);
    RunProgram("hook run; press 2");
    std::vector<std::string> names = kDefaultNames;
    names.push_back("カスタム");
    EXPECT_EQ(seen_.sizes, names);
    EXPECT_EQ(seen_.portrait, 0);
    EXPECT_EQ(seen_.landscape, 1);
    EXPECT_EQ(seen_.firstPage, "3");
    EXPECT_EQ(seen_.lastPage, "7");

    std::vector<UiRobotStepRecord> steps = UiRobotStepRecords();
    ASSERT_FALSE(steps.empty());
    std::map<int, UiControlState> shown;
    for (const UiControlState& c : steps.back().controls)
        shown[c.id] = c;
    EXPECT_EQ(shown[kScaleCombo].items, (std::vector<std::string>{"1000%", "500%", "400%", "300%", "200%",
                                            "150%", "100%", "75%", "50%", "33.33%", "25%", "10%"}));
    EXPECT_EQ(shown[kUnitCombo].items, (std::vector<std::string>{"inch", "mm", "pixel"}));
    EXPECT_EQ(shown[kUnitCombo].text, "mm");
    EXPECT_EQ(shown[kRollBox].text, "ロール紙(&R)");
    EXPECT_EQ(shown[109].text, "印刷方向");
    EXPECT_FALSE(shown[108].visible);   // "用紙サイズ..." is there, hidden
}

// Registry values after OK, from the sheet margins top 10, left 20, right 30, bottom 40 and
// the roll margins of 15 of the seeded file; rPage always starts at 0, 0.
TEST_F(PaperPageTest, TheUsersChoicesReachThePageRecordAfterOk)
{
    struct Case {
        const char* steps;
        int32_t orientation, size, width, height, scale, roll, firstPage, lastPage;
        int32_t pageRight, pageBottom, paperLeft, paperTop, paperRight, paperBottom;
    };
    const Case cases[] = {
        // A2 lying: paper 594 by 420, inset left 10, top 20, right 40, bottom 30
        {"choose 101 3; radio 111; choose 106 8; type 115 2; type 116 5", 1, 604, 420, 594, 5000, 0, 2, 5,
            544, 370, -10, -20, 584, 400},
        // the size edited after a row was chosen is a size by hand
        {"choose 101 3; type 103 400", 0, 999, 400, 594, 10000, 0, 1, 1, 350, 544, -20, -10, 380, 584},
        // roll paper on a sheet row: a size by hand, with the roll margins
        {"choose 101 3; tick 114", 0, 999, 420, 594, 10000, 1, 1, 1, 390, 564, -15, -15, 405, 579},
        // "カスタム" reads the fields: an empty width is 3000
        {"type 103 ; choose 101 10", 0, 999, 3000, 1190, 10000, 0, 1, 1, 2950, 1140, -20, -10, 2980, 1180},
        // page numbers without digits are 0; beyond 16 bits they stop at 32767
        {"type 115 abc; type 116 70000", 0, 601, 841, 1190, 10000, 0, 0, 32767, 791, 1140, -20, -10, 821, 1180},
        {"radio 111; radio 110; choose 106 0", 0, 601, 841, 1190, 100000, 0, 1, 1, 791, 1140, -20, -10, 821, 1180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        StartCase(1);
        SeedPageValues(PageValues{});
        RunProgram(std::string(c.steps) + "; press 1");
        std::map<std::string, int32_t> v = ConfigValues();
        EXPECT_EQ(v["Orientation"], c.orientation);
        EXPECT_EQ(v["Size"], c.size);
        EXPECT_EQ(v["Width"], c.width);
        EXPECT_EQ(v["Height"], c.height);
        EXPECT_EQ(v["Scale"], c.scale);
        EXPECT_EQ(v["pisroll"], c.roll);
        EXPECT_EQ(v["iFstPage"], c.firstPage);
        EXPECT_EQ(v["iLstPage"], c.lastPage);
        EXPECT_EQ(v["rPage.left"], 0);
        EXPECT_EQ(v["rPage.top"], 0);
        EXPECT_EQ(v["rPage.right"], c.pageRight);
        EXPECT_EQ(v["rPage.bottom"], c.pageBottom);
        EXPECT_EQ(v["rPaper.left"], c.paperLeft);
        EXPECT_EQ(v["rPaper.top"], c.paperTop);
        EXPECT_EQ(v["rPaper.right"], c.paperRight);
        EXPECT_EQ(v["rPaper.bottom"], c.paperBottom);
        EXPECT_EQ(v["RetVal"], 1);
        // the page keeps nothing in the settings file: the file is as it was, but for the
        // additional page's pen-down joining, whose stored 0 is saved as its meaning
        std::string expected = SeededSettingsFile(1);
        Put32(expected, 2 + 364, 0x1E0200);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(PaperPageTest, ChoosingARowShowsItsSizeAndCustomKeepsTheNumbersOnThePage)
{
    WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
    SeedPageValues(PageValues{});
    std::vector<PaperSeen> seen;
    action_ = [&] { seen.push_back(LookAtPaperPage()); };
    RunProgram("choose 101 8; hook run; type 103 1234; type 104; choose 101 10; hook run; press 2");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].width, "1000");
    EXPECT_EQ(seen[0].height, "3000");
    EXPECT_EQ(seen[0].roll, 1);
    EXPECT_EQ(seen[1].size, "カスタム");
    EXPECT_EQ(seen[1].width, "1234");
    EXPECT_EQ(seen[1].height, "3000");
    EXPECT_EQ(seen[1].roll, 1);
    EXPECT_EQ(RetVal(), 2);
}

// The paper list page inserts a row while the paper page is hidden (here the hook does what
// that page's "新規(&N)" does). The row the paper page had chosen moved: the size on the page
// is kept as a size by hand, and the list shows the new rows.
TEST_F(PaperPageTest, ARowInsertedBeforeTheChosenOneMakesTheSizeOneByHand)
{
    struct Case {
        const char* what;
        int16_t insertAt;
        const char* steps;        // "hook run" inserts the row
        const char* shownSize;    // when the page was looked at again
        int32_t size, width, height;
    };
    const Case cases[] = {
        {"before, page shown again", 1, "tab 1082 4; hook run; tab 1082 0; hook look", "カスタム", 999, 420, 594},
        {"before, OK on another tab", 3, "tab 1082 4; hook run", nullptr, 999, 420, 594},
        {"after the chosen row", 4, "tab 1082 4; hook run; tab 1082 0; hook look", "A2", 604, 420, 594},
        // item 1 is now the new row
        {"the new row chosen", 1, "tab 1082 4; hook run; tab 1082 0; choose 101 1; hook look", "B1", 602, 728, 1030},
        // "カスタム" follows eleven rows
        {"custom chosen", 1, "tab 1082 4; hook run; tab 1082 0; choose 101 11; hook look", "カスタム", 999, 420, 594},
        // a list opened on the page shows the rows as they are now: item 4 is "A2"
        {"list opened", 0, "hook run; choose 101 4; hook look", "A2", 605, 420, 594},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
        PageValues stored;
        stored.size = 604;   // A2
        SeedPageValues(stored);
        int16_t insertAt = c.insertAt;
        action_ = [insertAt] { ASSERT_EQ(InsertPaperEntry(&gPaperList, insertAt, "B1", 728, 1030, 0), 1); };
        PaperSeen seen;
        RegisterUiRobotHook("look", [](void* user) { *static_cast<PaperSeen*>(user) = LookAtPaperPage(); }, &seen);
        RunProgram(std::string(c.steps) + "; press 1");
        if (c.shownSize != nullptr) {
            EXPECT_EQ(seen.size, c.shownSize);
            std::vector<std::string> names = kDefaultNames;
            names.insert(names.begin() + c.insertAt, "B1");
            names.push_back("カスタム");
            EXPECT_EQ(seen.sizes, names);
        }
        std::map<std::string, int32_t> v = ConfigValues();
        EXPECT_EQ(v["Size"], c.size);
        EXPECT_EQ(v["Width"], c.width);
        EXPECT_EQ(v["Height"], c.height);
    }
}

// Row names in the file as a program may have left them: 64 bytes without a NUL, a double-
// byte character cut in two, Japanese text.
TEST_F(PaperPageTest, PaperNamesAreShownUpToAWholeCharacter)
{
    std::string file = DefaultFileInUnit(1);
    auto name = [&](int row, const std::string& bytes) {
        size_t at = 1538 + 2 + 70 * static_cast<size_t>(row);
        file.replace(at, 64, std::string(64, '\0'));
        file.replace(at, bytes.size(), bytes);
    };
    const std::string a = "\x82\xA0";   // "あ" in code page 932
    name(0, std::string(62, 'A') + a);            // 64 bytes, no NUL: the 63rd byte starts "あ"
    name(1, std::string(61, 'B') + a);            // 63 bytes and the NUL
    name(2, std::string(62, 'C') + "\x82");       // a lone first byte before the NUL
    name(3, "A1(\x89\xA1)");                      // "A1(横)"
    name(4, "\xB6\xBD\xC0\xD1");                  // half-width "ｶｽﾀﾑ"
    WriteBytes(TestSettingsFile(), file);
    SeedPageValues(PageValues{});
    RunProgram("hook run; press 2");
    ASSERT_GE(seen_.sizes.size(), 5u);
    EXPECT_EQ(seen_.sizes[0], std::string(62, 'A'));
    EXPECT_EQ(seen_.sizes[1], std::string(61, 'B') + "あ");
    EXPECT_EQ(seen_.sizes[2], std::string(62, 'C'));
    EXPECT_EQ(seen_.sizes[3], "A1(横)");
    EXPECT_EQ(seen_.sizes[4], "ｶｽﾀﾑ");
    EXPECT_EQ(seen_.size, std::string(62, 'A'));
}

TEST_F(PaperPageTest, ResetStartsThePageOverFromTheSettingsFile)
{
    WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));
    PageValues stored;
    stored.orientation = 1;
    stored.size = 999;
    stored.width = 500;
    stored.height = 700;
    SeedPageValues(stored);
    action_ = [this] {
        gPaperList.wCount = 2;   // an edit in memory only
        ResetPaperPage(PageWindow(kPaperPage));
        seen_ = LookAtPaperPage();
    };
    RunProgram("hook run; press 2");
    EXPECT_EQ(seen_.sizes.size(), 11u);
    EXPECT_EQ(seen_.size, "A0");
    EXPECT_EQ(seen_.width, "841");
    EXPECT_EQ(seen_.height, "1190");
    EXPECT_EQ(seen_.portrait, 1);
    EXPECT_EQ(seen_.landscape, 0);
}

} // namespace
