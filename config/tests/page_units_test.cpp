// The display unit shared by the pages, on the running program: a unit chosen on one page
// moves every other page and wUnit; lengths are shown by the display rule (inch with 3
// decimals, mm with none, pixel with 2) and read back by the entry rule when the unit
// changes and on OK. Also: Cancel and the close box after changes on both pages.
#include "config/settings_store.h"
#include "config/tests/page_dialog_fixture.h"

#include <map>

namespace {

struct UnitsSeen {
    std::string width, height, sheetTop, rollBottom;
    std::string paperUnit, marginUnit;   // the unit combos' texts
    std::vector<int16_t> units;          // PageUnit of the paper, environment, additional and list pages
    int16_t wUnit = -1;

    bool operator==(const UnitsSeen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const UnitsSeen& s)
{
    out << "width " << s.width << ", height " << s.height << ", sheet top " << s.sheetTop << ", roll bottom "
        << s.rollBottom << ", combos " << s.paperUnit << "/" << s.marginUnit << ", units";
    for (int16_t u : s.units)
        out << " " << u;
    return out << ", wUnit " << s.wUnit;
}

UnitsSeen LookAtUnits()
{
    UnitsSeen seen;
    seen.width = Text(kPaperPage, 103);
    seen.height = Text(kPaperPage, 104);
    seen.sheetTop = Text(kPlotterPage, 202);
    seen.rollBottom = Text(kPlotterPage, 208);
    seen.paperUnit = ChosenText(kPaperPage, kPaperUnitCombo);
    seen.marginUnit = ChosenText(kPlotterPage, kMarginUnitCombo);
    for (int page : {kPaperPage, kPlotterPage, kExtraPage, kPaperListPage})
        seen.units.push_back(PageUnit(page));
    seen.wUnit = gPaperList.wUnit;
    return seen;
}

UnitsSeen Expect(const char* width, const char* height, const char* sheetTop, const char* rollBottom,
    const char* unitText, int16_t unit)
{
    return UnitsSeen{width, height, sheetTop, rollBottom, unitText, unitText, std::vector<int16_t>(4, unit), unit};
}

class PageUnitsTest : public PageDialogTest {};

TEST_F(PageUnitsTest, AUnitChosenOnOnePageMovesEveryPageAndIsReadBackByTheEntryRule)
{
    WriteBytes(TestSettingsFile(), DefaultFileInUnit(1));   // margins of 15 mm
    PageValues stored;
    stored.size = 999;
    stored.width = 210;
    stored.height = 297;
    SeedPageValues(stored);
    std::vector<UnitsSeen> seen;
    action_ = [&] { seen.push_back(LookAtUnits()); };
    RunProgram(
        "hook run; "
        // inches, chosen on the paper page
        "choose 102 0; hook run; "
        // 8.5 inches typed; pixels chosen on the environment page read it as 216 mm
        "type 103 8.5; tab 1082 1; choose 201 2; hook run; "
        // 56.69 pixels typed are 20 mm
        "type 202 56.69; choose 201 1; hook run; "
        // the unit in force chosen again: the typed 297.4 stays as it is
        "tab 1082 0; type 104 297.4; choose 102 1; hook run; "
        // an empty width becomes 3000 mm when another page changes the unit
        "type 103; tab 1082 1; choose 201 2; hook run; "
        // 566.93 pixels are 200 mm
        "tab 1082 0; type 103 566.93; press 1");

    const std::vector<UnitsSeen> expected = {
        Expect("210", "297", "15", "15", "mm", 1),
        Expect("8.268", "11.693", "0.591", "0.591", "inch", 0),
        Expect("612.28", "841.89", "42.52", "42.52", "pixel", 2),
        Expect("216", "297", "20", "15", "mm", 1),
        Expect("216", "297.4", "20", "15", "mm", 1),
        Expect("8503.94", "841.89", "56.69", "42.52", "pixel", 2),
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], expected[i]) << "look " << i;

    std::map<std::string, int32_t> v = ConfigValues();
    EXPECT_EQ(v["Size"], 999);
    EXPECT_EQ(v["Width"], 200);
    EXPECT_EQ(v["Height"], 297);
    std::string file = DefaultFileInUnit(2);   // the unit word at 1538 + 6934
    Put32(file, 2 + 4, 20);                    // rSheetMargin.top
    Put32(file, 2 + 364, 0x1E0200);            // iPdOptimize: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), file), "equal");
}

TEST_F(PageUnitsTest, CancelAndTheCloseBoxAfterChangesOnBothPagesLeaveFileAndRegistryAlone)
{
    const char* changes = "choose 101 3; radio 110; choose 102 2; tick 114; choose 106 0; type 115 9; "
                          "tab 1082 1; type 202 99; choose 201 0; radio 210; untick 213; tick 215; "
                          "choose 222 3; choose 227 0; ";
    struct Case {
        const char* end;
        int32_t retVal;
    };
    for (Case c : {Case{"press 2", 2}, Case{"close", 0}}) {
        SCOPED_TRACE(c.end);
        StartCase(1);
        SeedRegistry();
        std::string store = RegistryStoreBytes();
        RunProgram(std::string(changes) + c.end);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), SeededSettingsFile(1)), "equal");
        EXPECT_EQ(RegistryStoreBytes(), WithRetVal(store, c.retVal));
    }
}

} // namespace
