// The paper list page in the running program, driven by the UI robot: the list and its
// empty row, new, modify and delete as they reach the paper list block, the bounds of the
// list and of a name, the unit it shares with the other pages, and its picture.
#include "config/numbers_and_units.h"
#include "config/paper_list_page.h"
#include "config/settings_store.h"
#include "config/tests/config_page_test_support.h"

#include "platform/ui/ui_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The paper list block at file offset 1538: the count, then rows of 70 bytes from block
// offset 2 (name 64 bytes, width, height, roll), the unit word at block offset 6934.
constexpr size_t kList = 1538;

size_t Row(int i)
{
    return kList + 2 + 70 * static_cast<size_t>(i);
}

void PutRow(std::string& file, int i, const std::string& name, int16_t width, int16_t height, int16_t roll)
{
    file.replace(Row(i), 70, std::string(70, '\0'));
    file.replace(Row(i), name.size(), name);
    Put16(file, Row(i) + 64, width);
    Put16(file, Row(i) + 66, height);
    Put16(file, Row(i) + 68, roll);
}

// The settings file as OK leaves it when nothing but the paper list changed (the
// additional page saves a stored 0 of pen-down joining as its meaning).
std::string SavedUnchanged(std::string file)
{
    Put32(file, 2 + 364, 0x1E0200);
    return file;
}

// A list of count rows "P0", "P1", ... of 100 + i by 200 + i mm, in millimetres.
std::string FileWithRows(int count)
{
    std::string file = SeededSettingsFile(1);
    Put16(file, kList, static_cast<int16_t>(count));
    for (int i = 0; i < count; ++i)
        PutRow(file, i, "P" + std::to_string(i), static_cast<int16_t>(100 + i), static_cast<int16_t>(200 + i), 0);
    return file;
}

const std::vector<std::string> kDefaultNames = {"A0", "A1", "A1(横)", "A2", "A2(横)", "A3", "A3(横)",
    "Roll(1020)", "Roll(1000)", "Roll(950)"};

std::vector<std::string> WithEmptyRow(std::vector<std::string> names)
{
    names.push_back("");
    return names;
}

class PaperListPageTest : public ConfigPageTest {};

TEST_F(PaperListPageTest, TheListShowsEveryEntryThenTheEmptyRowAndTheFirstEntrysFields)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    RunProgram({"tab 1082 4", "press 2"});
    UiControlState list = SeenBefore("press 2", 401);
    EXPECT_EQ(list.items, WithEmptyRow(kDefaultNames));
    EXPECT_EQ(list.selection, 0);
    EXPECT_EQ(TextBefore("press 2", 402), "A0");
    EXPECT_EQ(TextBefore("press 2", 404), "841");
    EXPECT_EQ(TextBefore("press 2", 405), "1190");
    EXPECT_EQ(SeenBefore("press 2", 406).checked, 0);
    UiControlState unit = SeenBefore("press 2", 403);
    EXPECT_EQ(unit.items, UnitTexts());
    EXPECT_EQ(unit.selection, 1);
}

TEST_F(PaperListPageTest, NewModifyAndDeleteReachTheBlockOnOkAndNothingOnCancel)
{
    for (const char* end : {"press 1", "press 2"}) {
        SCOPED_TRACE(end);
        StartCase(1);
        SeedRegistry();
        RunProgram({"tab 1082 4", "select 401 10", "type 402 B4", "type 404 257", "type 405 364", "tick 406",
            "press 407", "select 401 0", "type 402 A0 roll", "type 404 900", "press 409", "select 401 1",
            "press 408", end});

        UiControlState list = SeenBefore(end, 401);
        EXPECT_EQ(list.items, (std::vector<std::string>{"A0 roll", "A1(横)", "A2", "A2(横)", "A3", "A3(横)",
                                  "Roll(1020)", "Roll(1000)", "Roll(950)", "B4", ""}));
        EXPECT_EQ(list.selection, 1);   // the row after the deleted one, shown
        EXPECT_EQ(TextBefore(end, 402), "A1(横)");
        EXPECT_EQ(TextBefore(end, 404), "841");
        EXPECT_EQ(TextBefore(end, 405), "594");

        std::string expected = SeededSettingsFile(1);
        if (std::string(end) == "press 1") {
            expected = SavedUnchanged(expected);
            // B4 appended as row 10, row 0 modified, row 1 deleted: rows 2 to 10 moved down
            const char* names[] = {"A1(\x89\xA1)", "A2", "A2(\x89\xA1)", "A3", "A3(\x89\xA1)", "Roll(1020)",
                "Roll(1000)", "Roll(950)"};
            const int16_t sizes[][3] = {{841, 594, 0}, {420, 594, 0}, {594, 420, 0}, {297, 420, 0},
                {420, 297, 0}, {1020, 3000, 1}, {1000, 3000, 1}, {950, 3000, 1}};
            Put16(expected, kList, 10);
            PutRow(expected, 0, "A0 roll", 900, 1190, 0);
            for (int i = 0; i < 8; ++i)
                PutRow(expected, i + 1, names[i], sizes[i][0], sizes[i][1], sizes[i][2]);
            PutRow(expected, 9, "B4", 257, 364, 1);
            PutRow(expected, 10, "B4", 257, 364, 1);   // beyond the count, as the move left it
        }
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(PaperListPageTest, EdgesOfTheList)
{
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> steps;            // after the tab is chosen
        std::vector<std::string> listBeforeOk;
        int selectionBeforeOk;
        std::vector<std::string> fieldsBeforeOk;   // 402, 404, 405
        std::string saved;
        bool beeped;
    };
    std::string emptyList = SeededSettingsFile(1);
    Put16(emptyList, kList, 0);
    std::string emptyListSaved = SavedUnchanged(emptyList);
    Put16(emptyListSaved, kList, 1);
    PutRow(emptyListSaved, 0, "CUST(3000*3000)", 3000, 3000, 0);

    std::string lastDeleted = SavedUnchanged(SeededSettingsFile(1));
    Put16(lastDeleted, kList, 9);   // the row itself stays beyond the count

    std::string custom = SavedUnchanged(SeededSettingsFile(1));
    Put16(custom, kList, 11);
    PutRow(custom, 10, "CUST(210*297)", 210, 297, 0);

    std::vector<std::string> full;
    for (int i = 0; i < 99; ++i)
        full.push_back("P" + std::to_string(i));
    std::vector<std::string> fullAfter98 = full;
    fullAfter98[98] = "added";
    std::string filledTo99 = SavedUnchanged(FileWithRows(98));
    Put16(filledTo99, kList, 99);
    PutRow(filledTo99, 98, "added", 3000, 3000, 0);

    std::string appended = SavedUnchanged(SeededSettingsFile(1));
    Put16(appended, kList, 11);
    PutRow(appended, 10, "B5", 182, 257, 0);

    const Case cases[] = {
        {"an empty list holds the empty row, and new makes entry 0", emptyList, {"press 407"},
            {"CUST(3000*3000)", ""}, 0, {"", "", ""}, emptyListSaved, false},
        {"new with empty fields names the size", SeededSettingsFile(1),
            {"select 401 10", "type 404 210", "type 405 297", "press 407"},
            WithEmptyRow([] { auto n = kDefaultNames; n.push_back("CUST(210*297)"); return n; }()), 10,
            {"", "210", "297"}, custom, false},
        {"deleting the last entry selects the empty row", SeededSettingsFile(1),
            {"select 401 9", "press 408"},
            WithEmptyRow({kDefaultNames.begin(), kDefaultNames.end() - 1}), 9, {"", "", ""}, lastDeleted, false},
        {"delete and modify on the empty row change nothing", SeededSettingsFile(1),
            {"select 401 10", "type 402 X", "press 408", "press 409"}, WithEmptyRow(kDefaultNames), 10,
            {"X", "", ""}, SavedUnchanged(SeededSettingsFile(1)), false},
        {"with no row selected new appends", SeededSettingsFile(1),
            {"hook run", "type 402 B5", "type 404 182", "type 405 257", "press 407"},
            WithEmptyRow([] { auto n = kDefaultNames; n.push_back("B5"); return n; }()), 10, {"B5", "182", "257"},
            appended, false},
        {"with no row selected delete and modify change nothing", SeededSettingsFile(1),
            {"hook run", "press 408", "press 409"}, WithEmptyRow(kDefaultNames), -1, {"A0", "841", "1190"},
            SavedUnchanged(SeededSettingsFile(1)), false},
        {"a full list takes no new entry at its end", FileWithRows(99),
            {"select 401 99", "type 402 extra", "press 407"}, WithEmptyRow(full), 99, {"extra", "", ""},
            SavedUnchanged(FileWithRows(99)), true},
        {"a full list takes no new entry before one", FileWithRows(99),
            {"select 401 5", "type 402 extra", "press 407"}, WithEmptyRow(full), 5, {"extra", "105", "205"},
            SavedUnchanged(FileWithRows(99)), true},
        {"the 99th entry is the last one taken", FileWithRows(98),
            {"select 401 98", "type 402 added", "press 407", "type 402 more", "press 407"},
            WithEmptyRow(fullAfter98), 98, {"more", "", ""}, filledTo99, true},
    };
    action_ = [] { ListSetCurSel(PageWindow(kPaperListPage), 401, -1); };   // no row selected
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTestHome();
        ResetUiRobot();
        WriteBytes(TestSettingsFile(), c.file);
        int beeps = MessageBeepCount();
        std::vector<std::string> steps = {"tab 1082 4"};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        steps.push_back("press 1");
        RunProgram(steps);
        UiControlState list = SeenBefore("press 1", 401);
        EXPECT_EQ(list.items, c.listBeforeOk);
        EXPECT_EQ(list.selection, c.selectionBeforeOk);
        EXPECT_EQ(TextBefore("press 1", 402), c.fieldsBeforeOk[0]);
        EXPECT_EQ(TextBefore("press 1", 404), c.fieldsBeforeOk[1]);
        EXPECT_EQ(TextBefore("press 1", 405), c.fieldsBeforeOk[2]);
        EXPECT_EQ(MessageBeepCount() > beeps, c.beeped);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), c.saved), "equal");
    }
}

TEST_F(PaperListPageTest, ALongNameIsCutTo63BytesOnACharacterBoundary)
{
    struct Case {
        std::string typed;
        std::string stored;   // code page 932
        std::string listed;
    };
    const std::string kan = "\x8A\xBF";   // 漢
    const Case cases[] = {
        {std::string(70, 'N'), std::string(63, 'N'), std::string(63, 'N')},
        {std::string(61, 'A') + "漢字", std::string(61, 'A') + kan, std::string(61, 'A') + "漢"},
        {std::string(62, 'A') + "漢", std::string(62, 'A'), std::string(62, 'A')},
        {[] { std::string s; for (int i = 0; i < 70; ++i) s += "ｱ"; return s; }(), std::string(63, '\xB1'),
            [] { std::string s; for (int i = 0; i < 63; ++i) s += "ｱ"; return s; }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listed);
        StartCase(1);
        RunProgram({"tab 1082 4", "select 401 0", "type 402 " + c.typed, "press 409", "select 401 10",
            "type 402 " + c.typed, "press 407", "press 1"});
        UiControlState list = SeenBefore("press 1", 401);
        ASSERT_EQ(list.items.size(), 12u);
        EXPECT_EQ(list.items[0], c.listed);
        EXPECT_EQ(list.items[10], c.listed);
        std::string expected = SavedUnchanged(SeededSettingsFile(1));
        Put16(expected, kList, 11);
        PutRow(expected, 0, c.stored, 841, 1190, 0);
        PutRow(expected, 10, c.stored, 3000, 3000, 0);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(PaperListPageTest, TheUnitChosenHereMovesTheOtherPagesAndFillsAnEmptyEntry)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    SeedRegistry();
    std::vector<int16_t> units;
    action_ = RecordUnits(&units);
    RunProgram({"tab 1082 4", "choose 403 0", "hook run", "select 401 10", "choose 403 2", "type 404 1000",
        "press 1"});
    // A0 in inches, and the additional page's lengths with it
    EXPECT_EQ(TextBefore("hook run", 404), "33.110");
    EXPECT_EQ(TextBefore("hook run", 405), "46.850");
    EXPECT_EQ(TextBefore("hook run", 507), "118.110");
    EXPECT_EQ(SeenBefore("hook run", 501).selection, 0);
    EXPECT_EQ(units, (std::vector<int16_t>{0, 0, 0, units[kToolPage], 0, 0}));
    // the empty row's fields, read when pixels are chosen: a named 3000 by 3000 mm entry
    EXPECT_EQ(TextBefore("type 404 1000", 402), "CUST(3000*3000)");
    EXPECT_EQ(TextBefore("type 404 1000", 404), "8503.94");
    EXPECT_EQ(TextBefore("type 404 1000", 405), "8503.94");
    EXPECT_EQ(TextBefore("type 404 1000", 507), "8503.94");
    EXPECT_EQ(SeenBefore("type 404 1000", 401).items, WithEmptyRow(kDefaultNames));
    // OK stores the unit; the list is as it was
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), SavedUnchanged(SeededSettingsFile(2))), "equal");
}

TEST_F(PaperListPageTest, ThePageIsDrawnWholeInsideItsTab)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(0));
    action_ = [] {
        ExpectNothingClipped(PageWindow(kPaperListPage));
        QImage picture = SaveDialogPicture("paper_list_page");
        EXPECT_FALSE(picture.isNull());
    };
    RunProgram({"tab 1082 4", "hook run", "press 2"});
}

} // namespace
