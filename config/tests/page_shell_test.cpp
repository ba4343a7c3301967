// What the pages take from the shell, on a real dialog answered by the UI robot: the unit
// combo, lengths shown and read in the unit, controls placed in dialog units.
#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "tests/support/temp_home.h"

#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

namespace {

constexpr int kUnitCombo = 102;
constexpr int kWidthEdit = 103;

struct PageSeen {
    std::vector<int16_t> unitsChosen;
    int16_t widthRead = 0;
    std::string shown;
};

intptr_t SamplePageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    auto* seen = static_cast<PageSeen*>(user);
    if (event.message == kDialogInit) {
        FillUnitCombo(page, kUnitCombo, kUnitPixel);
        ShowLengthField(page, kWidthEdit, 210, kUnitPixel);
        seen->shown = GetDialogItemText(page, kWidthEdit);
        return 1;
    }
    if (event.message != kDialogCommand)
        return 0;
    if (event.controlId == kUnitCombo && event.notification == kNotifySelectionChange)
        seen->unitsChosen.push_back(SelectedUnit(page, kUnitCombo));
    if (event.controlId == kDialogOk) {
        seen->widthRead = ReadLengthField(page, kWidthEdit, SelectedUnit(page, kUnitCombo), true);
        EndModalDialog(page, kDialogOk);
    }
    return 1;
}

class PageShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(3000);
    }
    void TearDown() override { ResetUiRobot(); }

    DialogTemplate SampleTemplate()
    {
        DialogTemplate tpl = ConfigPageTemplate(110);
        tpl.controls = {
            PageControl(kUnitCombo, kControlComboBox, 60, 10, 60, 80),
            PageControl(kWidthEdit, kControlEdit, 60, 30, 60, 12),
            PageControl(kDialogOk, kControlDefaultButton, 190, 220, 50, 14, "OK"),
        };
        return tpl;
    }
};

TEST_F(PageShellTest, UnitComboListsTheThreeUnitsAndLengthsFollowIt)
{
    ASSERT_TRUE(SetUiRobotScript("choose 102 0; choose 102 1; type 103 8.268; choose 102 0; press 1"));
    PageSeen seen;
    EXPECT_EQ(RunModalDialog(SampleTemplate(), SamplePageProc, &seen, nullptr), kDialogOk);
    EXPECT_EQ(FinishUiRobot(), 0);
    EXPECT_EQ(seen.shown, "595.28");
    EXPECT_EQ(seen.unitsChosen, (std::vector<int16_t>{0, 1, 0}));
    EXPECT_EQ(seen.widthRead, 210);   // 8.268 inches

    std::vector<UiShownDialog> shown = UiRobotShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    for (const UiControlState& c : shown[0].controls)
        if (c.id == kUnitCombo) {
            EXPECT_EQ(c.items, (std::vector<std::string>{"inch", "mm", "pixel"}));
            EXPECT_EQ(c.selection, kUnitPixel);
        }
}

TEST_F(PageShellTest, ControlsArePlacedInDialogUnitsOfThePageFont)
{
    DialogTemplate tpl = SampleTemplate();
    int x = 0, y = 0, w = 0, h = 0;
    DialogUnitsToPixels(kConfigFontName, kPagePointSize, 60, 30, &x, &y);
    DialogUnitsToPixels(kConfigFontName, kPagePointSize, 60, 12, &w, &h);
    const DialogControl& edit = tpl.controls[1];
    EXPECT_EQ(edit.id, kWidthEdit);
    EXPECT_EQ(edit.x, x);
    EXPECT_EQ(edit.y, y);
    EXPECT_EQ(edit.w, w);
    EXPECT_EQ(edit.h, h);
    EXPECT_EQ(tpl.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(tpl.fontPointSize, 10);
    EXPECT_GT(tpl.width, 251);
    EXPECT_GT(tpl.height, 241);
}

TEST_F(PageShellTest, PageRecordsHoldWindowsAndValidUnits)
{
    for (int page = 0; page < kConfigPageCount; ++page) {
        SetPageUnit(page, kUnitPixel);
        EXPECT_EQ(PageUnit(page), kUnitPixel);
        SetPageUnit(page, 7);    // no such unit: millimetres
        EXPECT_EQ(PageUnit(page), kUnitMillimetre);
    }
    EXPECT_EQ(PageWindow(-1), nullptr);
    EXPECT_EQ(PageWindow(kConfigPageCount), nullptr);
    RecordPageWindow(kConfigPageCount, reinterpret_cast<DialogWindow*>(1));   // ignored
    EXPECT_EQ(PageWindow(kConfigPageCount), nullptr);
}

} // namespace
