// The additional settings page in the running program, driven by the UI robot: what it
// shows of the stored settings, what OK leaves at the settings record's offsets, the
// numbers it refuses, the unit it shares with the other pages, and its picture.
#include "config/additional_page.h"
#include "config/numbers_and_units.h"
#include "config/settings_store.h"
#include "config/tests/config_page_test_support.h"

#include "platform/ui/ui_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The settings record starts at file offset 2; its fields at their offsets in the record.
constexpr size_t kRecord = 2;

class AdditionalPageTest : public ConfigPageTest {};

void PutField(std::string& file, size_t offset, const std::string& bytes)
{
    file.replace(offset, 128, std::string(128, '\0'));
    file.replace(offset, bytes.size(), bytes);
}

TEST_F(AdditionalPageTest, TheStoredSettingsShowInTheirControlsAndCancelKeepsTheFile)
{
    // No file: the program creates the default one, whose display unit is inch.
    RunProgram({"tab 1082 2", "press 2"});
    const std::string at = "press 2";
    UiControlState unit = SeenBefore(at, 501);
    EXPECT_EQ(unit.items, UnitTexts());
    EXPECT_EQ(unit.selection, 0);
    for (int id : {502, 503, 504, 505})
        EXPECT_EQ(TextBefore(at, id), "0.197") << id;   // 5 mm
    EXPECT_EQ(TextBefore(at, 507), "118.110");           // 3000 mm
    for (int id : {506, 509}) {
        UiControlState tool = SeenBefore(at, id);
        EXPECT_EQ(tool.items, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        EXPECT_EQ(tool.selection, 7) << id;               // slot 8
    }
    const std::pair<int, const char*> numbers[] = {{508, "2"}, {510, "50"}, {511, "20"}, {512, "150"},
        {513, "30"}, {514, ""}, {515, "PG;"}, {516, "192.168.0.100"}, {517, "1024"}, {518, "40"},
        {521, "30"}, {522, "512"}};
    for (const auto& n : numbers)
        EXPECT_EQ(TextBefore(at, n.first), n.second) << n.first;
    EXPECT_EQ(SeenBefore(at, 519).checked, 0);
    EXPECT_EQ(SeenBefore(at, 520).checked, 0);
    // The stored 0 of pen-down joining became its meaning in memory only.
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
    EXPECT_EQ(RetVal(), 2);
}

// The seeded file with what the next test changes on the page, at the record's offsets.
std::string ChangedOnThePage()
{
    std::string expected = SeededSettingsFile(1);
    Put32(expected, kRecord + 180, 7);     // frame-cut margin top
    Put32(expected, kRecord + 184, 9);     // left
    Put32(expected, kRecord + 188, 10);    // right
    Put32(expected, kRecord + 192, 8);     // bottom
    Put16(expected, kRecord + 178, 3);     // frame-cut tool: item 2 is slot 3
    Put16(expected, kRecord + 196, 2500);  // roll page length
    Put32(expected, kRecord + 360, 4);     // tolerance
    Put16(expected, kRecord + 200, 10);    // perforating tool
    Put16(expected, kRecord + 202, 60);
    Put16(expected, kRecord + 204, 25);
    Put16(expected, kRecord + 206, 200);
    Put16(expected, kRecord + 208, 40);
    PutField(expected, kRecord + 372, std::string(126, 'H'));   // the first 126 characters
    PutField(expected, kRecord + 500, "SP0;PG;");
    PutField(expected, kRecord + 224, "127.0.0.1");
    Put32(expected, kRecord + 352, 50000);   // a port of the upper half stays positive
    Put32(expected, kRecord + 356, 100);
    Put16(expected, kRecord + 48, 1);        // debug mode
    // joining on, 300 degrees keeps its low 8 bits (44), 70000 vertices its low 16 (4464)
    Put32(expected, kRecord + 364, (1 << 24) | (44 << 16) | 4464);
    return expected;
}

TEST_F(AdditionalPageTest, ChangesMadeOnThePageReachTheSettingsRecordAtTheirOffsetsOnOkOnly)
{
    for (const char* end : {"press 1", "press 2"}) {
        SCOPED_TRACE(end);
        StartCase(1);
        SeedRegistry();
        const std::string longHeader(200, 'H');
        RunProgram({"tab 1082 2", "type 502 7", "type 503 8", "type 504 9", "type 505 10", "choose 506 2",
            "type 507 2500", "type 508 4", "choose 509 9", "type 510 60", "type 511 25", "type 512 200",
            "type 513 40", "type 514 " + longHeader, "type 515 SP0;PG;", "type 516 127.0.0.1",
            "type 517 50000", "type 518 100", "tick 519", "tick 520", "type 521 300", "type 522 70000", end});
        bool ok = std::string(end) == "press 1";
        std::string expected = ok ? ChangedOnThePage() : SeededSettingsFile(1);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
        EXPECT_EQ(RetVal(), ok ? 1 : 2);
    }
}

TEST_F(AdditionalPageTest, PenDownJoiningIsPackedFromItsThreeControls)
{
    struct Case {
        int32_t stored;
        std::vector<std::string> steps;
        const char* angle;
        const char* vertices;
        int ticked;
        int32_t saved;
    };
    const Case cases[] = {
        {0, {}, "30", "512", 0, 0x1E0200},                        // 0 stands for off, 30, 512
        {-7, {}, "30", "512", 0, 0x1E0200},
        {0x01140100, {"untick 520"}, "20", "256", 1, 0x00140100}, // unticking keeps the numbers
        {0x1E0200, {"tick 520", "type 521 45", "type 522 1000"}, "30", "512", 0, 0x012D03E8},
        {0x1E0200, {"type 521 -2", "type 522 -2"}, "30", "512", 0, 0x00FFFFFF},   // -1 each
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ResetTestHome();
        ResetUiRobot();
        std::string file = SeededSettingsFile(1);
        Put32(file, kRecord + 364, c.stored);
        WriteBytes(TestSettingsFile(), file);
        std::vector<std::string> steps = {"tab 1082 2", "hook run"};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        steps.push_back("press 1");
        action_ = [] {};
        RunProgram(steps);
        EXPECT_EQ(TextBefore("hook run", 521), c.angle);
        EXPECT_EQ(TextBefore("hook run", 522), c.vertices);
        EXPECT_EQ(SeenBefore("hook run", 520).checked, c.ticked);
        std::string expected = file;
        Put32(expected, kRecord + 364, c.saved);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(AdditionalPageTest, TextsAreCutToTheirFieldOnACharacterBoundary)
{
    struct Case {
        std::string typed;
        std::string stored;   // code page 932
    };
    const std::string kan = "\x8A\xBF";   // 漢
    const Case cases[] = {
        {std::string(125, 'H') + "漢字", std::string(125, 'H')},   // 漢 would end at byte 127
        {std::string(124, 'H') + "漢字", std::string(124, 'H') + kan},
        {[] { std::string s; for (int i = 0; i < 70; ++i) s += "漢"; return s; }(),
            [&] { std::string s; for (int i = 0; i < 63; ++i) s += kan; return s; }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        StartCase(1);
        RunProgram({"tab 1082 2", "type 514 " + c.typed, "press 1"});
        std::string expected = SeededSettingsFile(1);
        Put32(expected, kRecord + 364, 0x1E0200);
        PutField(expected, kRecord + 372, c.stored);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(AdditionalPageTest, PortUnitsAndToleranceOutsideTheirRangeAreRefusedAndShownAsStored)
{
    struct Case {
        int edit;
        const char* typed;
        size_t offset;      // in the settings record
        int32_t saved;
        const char* shown;  // once the user has left the field
    };
    const Case cases[] = {
        {517, "65535", 352, 65535, "65535"},
        {517, "32768", 352, 32768, "32768"},
        {517, "1", 352, 1, "1"},
        {517, "0", 352, 1024, "1024"},
        {517, "65536", 352, 1024, "1024"},
        {517, "-80", 352, 1024, "1024"},
        {517, "99999999999", 352, 1024, "1024"},
        {518, "32767", 356, 32767, "32767"},
        {518, "32768", 356, 40, "40"},
        {518, "0", 356, 40, "40"},
        {508, "1", 360, 1, "1"},
        {508, "0", 360, 2, "2"},
        {508, "40000", 360, 2, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.edit) + " " + c.typed);
        StartCase(1);
        int beeps = MessageBeepCount();
        std::string typed = "type " + std::to_string(c.edit) + " " + c.typed;
        // the user goes on to the cut pressure, then presses OK
        RunProgram({"tab 1082 2", typed, "type 510 50", "press 1"});
        EXPECT_EQ(TextBefore("press 1", c.edit), c.shown);
        bool refused = std::string(c.shown) != c.typed;
        EXPECT_EQ(MessageBeepCount() > beeps, refused);
        std::string expected = SeededSettingsFile(1);
        Put32(expected, kRecord + 364, 0x1E0200);
        Put32(expected, kRecord + c.offset, c.saved);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(AdditionalPageTest, AStoredNumberThePageWouldRefuseStaysAsItIs)
{
    std::string file = SeededSettingsFile(1);
    Put32(file, kRecord + 352, 0);        // no port
    Put32(file, kRecord + 356, 70000);    // more plotter units than the plug-in takes
    Put32(file, kRecord + 364, 0x1E0200);
    WriteBytes(TestSettingsFile(), file);
    int beeps = MessageBeepCount();
    RunProgram({"tab 1082 2", "type 517 0", "type 518 70000", "type 510 50", "press 1"});
    EXPECT_EQ(TextBefore("press 1", 517), "0");
    EXPECT_EQ(TextBefore("press 1", 518), "70000");
    EXPECT_EQ(MessageBeepCount(), beeps);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), file), "equal");
}

TEST_F(AdditionalPageTest, TheUnitChosenHereMovesTheOtherPagesAndIsReadBackOnOk)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    SeedRegistry();
    std::vector<int16_t> units;
    action_ = RecordUnits(&units);
    RunProgram({"tab 1082 2", "choose 501 0", "hook run", "choose 501 2", "type 502 28.35",
        "type 507 5669.29", "tab 1082 4", "press 1"});

    // in inches: 5 mm and 3000 mm here, A0 (841 by 1190 mm) on the paper list page
    for (int id : {502, 503, 504, 505})
        EXPECT_EQ(TextBefore("choose 501 2", id), "0.197") << id;
    EXPECT_EQ(TextBefore("choose 501 2", 507), "118.110");
    EXPECT_EQ(SeenBefore("choose 501 2", 403).selection, 0);
    EXPECT_EQ(TextBefore("choose 501 2", 404), "33.110");
    EXPECT_EQ(TextBefore("choose 501 2", 405), "46.850");
    EXPECT_EQ(units, (std::vector<int16_t>{0, 0, 0, units[kToolPage], 0, 0}));
    // in pixels
    EXPECT_EQ(TextBefore("type 502 28.35", 502), "14.17");
    EXPECT_EQ(TextBefore("type 502 28.35", 507), "8503.94");
    EXPECT_EQ(SeenBefore("type 502 28.35", 403).selection, 2);
    EXPECT_EQ(TextBefore("type 502 28.35", 404), "2383.94");

    std::string expected = SeededSettingsFile(2);   // the unit word: pixel
    Put32(expected, kRecord + 180, 10);    // 28.35 pixels
    Put16(expected, kRecord + 196, 2000);  // 5669.29 pixels
    Put32(expected, kRecord + 364, 0x1E0200);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
}

TEST_F(AdditionalPageTest, TheUnitInForceChangesNothingAndAnEnteredZeroStays)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    std::string shown;
    action_ = [&] {
        ChangeExtraUnit(PageWindow(kExtraPage), kUnitMillimetre);
        shown = GetDialogItemText(PageWindow(kExtraPage), 502);
    };
    RunProgram({"tab 1082 2", "type 502 5.4", "type 507 0", "hook run", "choose 501 0", "press 1"});
    EXPECT_EQ(shown, "5.4");
    EXPECT_EQ(TextBefore("press 1", 502), "0.197");   // read as 5 mm when inches were chosen
    EXPECT_EQ(TextBefore("press 1", 507), "0.000");   // no 3000 for these lengths
    std::string expected = SeededSettingsFile(0);
    Put32(expected, kRecord + 180, 5);
    Put16(expected, kRecord + 196, 0);
    Put32(expected, kRecord + 364, 0x1E0200);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
}

TEST_F(AdditionalPageTest, ThePageIsDrawnWholeInsideItsTab)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(0));
    action_ = [] {
        ExpectNothingClipped(PageWindow(kExtraPage));
        QImage picture = SaveDialogPicture("additional_page");
        EXPECT_FALSE(picture.isNull());
    };
    RunProgram({"tab 1082 2", "hook run", "press 2"});
}

} // namespace
