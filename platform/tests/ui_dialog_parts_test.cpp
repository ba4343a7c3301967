// Child pages under a tab control, scroll bars and owner-drawn lists, driven by the UI robot.
#include "platform/tests/ui_test_support.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPixmap>

#include <map>

namespace {

class UiDialogPartsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureQtApplication());
        ResetUiRobot();
        SetUiRobotTimeout(1000);
    }
};

// A property sheet: tab control 1082 and three pages, each with one edit.
struct Sheet {
    SeenByDialog parent;
    SeenByDialog pages[3];
    DialogWindow* page[3] = {};
    std::string texts[3];
    bool parentKnown[3] = {};
    QRect geometry[3];
    int displayX = 0, displayY = 0, displayW = 0, displayH = 0;
};

constexpr int kPageEdit[3] = {103, 201, 301};

DialogTemplate PageTemplate(int id, int edit)
{
    DialogTemplate tpl;
    tpl.id = id;
    tpl.width = 240;
    tpl.height = 200;
    tpl.controls.push_back({edit, kControlEdit, 20, 20, 100, 22, ""});
    tpl.controls.push_back({-1, kControlStaticText, 20, 50, 100, 16, "page " + std::to_string(id)});
    return tpl;
}

int RunSheet(Sheet& sheet)
{
    DialogTemplate tpl = OkCancelTemplate(109);
    tpl.width = 270;
    tpl.height = 300;
    tpl.controls[0].y = tpl.controls[1].y = 275;
    tpl.controls.push_back({1082, kControlTabControl, 5, 5, 255, 265, ""});
    sheet.parent.onInit = [&sheet](DialogWindow* dialog) {
        const char* tabs[] = {"用紙サイズ", "プロッタ環境設定", "ツール環境設定"};
        for (int i = 0; i < 3; ++i)
            TabInsertItem(dialog, 1082, i, tabs[i]);
        GetTabDisplayRect(dialog, 1082, &sheet.displayX, &sheet.displayY, &sheet.displayW,
                          &sheet.displayH);
        for (int i = 0; i < 3; ++i) {
            sheet.page[i] = CreateChildPage(dialog, PageTemplate(110 + i, kPageEdit[i]),
                                            RecordingProc, &sheet.pages[i]);
            MoveChildPage(sheet.page[i], sheet.displayX, sheet.displayY, sheet.displayW,
                          sheet.displayH);
        }
        ShowChildPage(sheet.page[0], true);
    };
    sheet.parent.onOther = nullptr;
    // Pages live as long as their dialog: look at them before it ends.
    sheet.parent.onEnd = [&sheet](DialogWindow* dialog, int) {
        for (int i = 0; i < 3; ++i) {
            sheet.texts[i] = GetDialogItemText(sheet.page[i], kPageEdit[i]);
            sheet.parentKnown[i] = GetParentDialog(sheet.page[i]) == dialog;
            sheet.geometry[i] = GetDialogWidget(sheet.page[i])->geometry();
        }
    };
    // The tab change is the parent's command: show that tab's page only.
    struct Switcher {
        static intptr_t Proc(DialogWindow* dialog, const DialogEvent& event, void* user)
        {
            auto* sheet = static_cast<Sheet*>(user);
            if (event.message == kDialogCommand && event.controlId == 1082 &&
                event.notification == kNotifySelectionChange) {
                int selected = TabGetCurSel(dialog, 1082);
                for (int i = 0; i < 3; ++i)
                    ShowChildPage(sheet->page[i], i == selected);
            }
            return RecordingProc(dialog, event, &sheet->parent);
        }
    };
    return RunModalDialog(tpl, Switcher::Proc, &sheet, nullptr);
}

TEST_F(UiDialogPartsTest, TabControlSwitchesChildPagesAndTheirControlsAnswerTheirOwnProcedures)
{
    ASSERT_TRUE(SetUiRobotScript("type 103 210; tab 1082 2; type 301 0.50; press 1"));
    Sheet sheet;
    EXPECT_EQ(RunSheet(sheet), kDialogOk);
    EXPECT_TRUE(UiRobotErrors().empty()) << UiRobotErrors().front();
    EXPECT_EQ(sheet.texts[0], "210");
    EXPECT_EQ(sheet.texts[1], "");
    EXPECT_EQ(sheet.texts[2], "0.50");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(sheet.pages[i].dialog, nullptr);
        EXPECT_TRUE(sheet.parentKnown[i]);
        EXPECT_EQ(sheet.geometry[i],
                  QRect(sheet.displayX, sheet.displayY, sheet.displayW, sheet.displayH));
    }
    auto has = [](const SeenByDialog& seen, int id) {
        for (const auto& c : seen.commands)
            if (c.first == id && c.second == kNotifyEditChange)
                return true;
        return false;
    };
    EXPECT_TRUE(has(sheet.pages[0], 103));
    EXPECT_TRUE(has(sheet.pages[2], 301));
    EXPECT_FALSE(has(sheet.parent, 301));
    // The display area lies inside the tab control, under the tabs.
    EXPECT_GT(sheet.displayY, 5 + 10);
    EXPECT_GE(sheet.displayX, 5);
    EXPECT_LE(sheet.displayX + sheet.displayW, 5 + 255);
    EXPECT_LE(sheet.displayY + sheet.displayH, 5 + 265);

    std::vector<UiRobotStepRecord> steps = UiRobotStepRecords();
    ASSERT_EQ(steps.size(), 4u);
    for (const UiControlState& c : steps[1].controls)
        if (c.id == 1082) {
            EXPECT_EQ(c.items, (std::vector<std::string>{"用紙サイズ", "プロッタ環境設定", "ツール環境設定"}));
            EXPECT_EQ(c.text, "用紙サイズ");
        }
}

TEST_F(UiDialogPartsTest, ControlsOfHiddenPagesCannotBeReached)
{
    ASSERT_TRUE(SetUiRobotScript("type 301 0.50; press 1"));
    Sheet sheet;
    EXPECT_EQ(RunSheet(sheet), kDialogCancel);
    ASSERT_EQ(UiRobotErrors().size(), 1u);
    EXPECT_NE(UiRobotErrors()[0].find("control 301 is on page 112 of dialog 109, which is hidden"), std::string::npos);
}

// The output dialog's way of scrolling: the procedure moves the bar.
struct Scrolling {
    bool follow = true;
    std::vector<int> requests;
    std::vector<int> positions;
};

intptr_t ScrollProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    auto* s = static_cast<Scrolling*>(user);
    if (event.message == kDialogInit) {
        SetScrollRange(dialog, 4, 0, 4);
        return 1;
    }
    if (event.message == kDialogCommand && event.controlId == kDialogOk) {
        EndModalDialog(dialog, kDialogOk);
        return 1;
    }
    if (event.message != kDialogScroll || event.controlId != 4)
        return 0;
    s->requests.push_back(event.scrollRequest);
    int minimum = 0, maximum = 0;
    GetScrollRange(dialog, 4, &minimum, &maximum);
    int position = GetScrollPos(dialog, 4);
    switch (event.scrollRequest) {
    case kScrollLineUp: position -= 1; break;
    case kScrollLineDown: position += 1; break;
    case kScrollPageUp: position -= 5; break;
    case kScrollPageDown: position += 5; break;
    case kScrollThumbPosition: position = event.scrollPosition; break;
    case kScrollTop: position = minimum; break;
    case kScrollBottom: position = maximum; break;
    default: break;
    }
    position = std::max(minimum, std::min(maximum, position));
    if (s->follow)
        SetScrollPos(dialog, 4, position);
    s->positions.push_back(GetScrollPos(dialog, 4));
    return 1;
}

TEST_F(UiDialogPartsTest, ScrollBarReportsRequestsAndMovesOnlyWhenTheProcedureSaysSo)
{
    struct Case {
        const char* name;
        bool follow;
        std::vector<int> requests;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"procedure moves the bar", true,
         {kScrollLineDown, kScrollPageDown, kScrollPageDown, kScrollLineUp, kScrollTop,
          kScrollThumbPosition, kScrollBottom},
         {1, 4, 4, 3, 0, 2, 4}},
        {"procedure leaves it", false,
         {kScrollLineDown, kScrollPageDown, kScrollPageDown, kScrollLineUp, kScrollTop,
          kScrollThumbPosition, kScrollBottom},
         {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetUiRobot();
        ASSERT_TRUE(SetUiRobotScript("scroll 4 down; scroll 4 pagedown; scroll 4 pagedown; "
                                     "scroll 4 up; scroll 4 top; scroll 4 2; scroll 4 bottom; press 1"));
        DialogTemplate tpl = OkCancelTemplate(16053);
        tpl.controls.push_back({4, kControlScrollBar, 263, 10, 16, 150, ""});
        Scrolling s;
        s.follow = c.follow;
        EXPECT_EQ(RunModalDialog(tpl, ScrollProc, &s, nullptr), kDialogOk);
        EXPECT_EQ(s.requests, c.requests);
        EXPECT_EQ(s.positions, c.positions);
        EXPECT_TRUE(UiRobotErrors().empty());
    }
}

TEST_F(UiDialogPartsTest, EmptyScrollRangeIsKeptAsGiven)
{
    SeenByDialog seen;
    int minimum = 7, maximum = 7, position = 7;
    seen.onInit = [&](DialogWindow* dialog) {
        SetScrollRange(dialog, 4, 0, -1);
        GetScrollRange(dialog, 4, &minimum, &maximum);
        position = GetScrollPos(dialog, 4);
        EndModalDialog(dialog, kDialogOk);
    };
    DialogTemplate tpl = OkCancelTemplate(16053);
    tpl.controls.push_back({4, kControlScrollBar, 263, 10, 16, 150, ""});
    RunModalDialog(tpl, RecordingProc, &seen, nullptr);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(maximum, -1);
    EXPECT_EQ(position, 0);
}

// Owner-drawn colour lists: the procedure sets the row height and paints each row.
const uint32_t kSwatch[] = {0xFF0000, 0x00FF00, 0x0000FF};

struct Swatches {
    std::map<int, int> measured;  // control id -> times measured
    int drawn = 0;
    DialogWindow* dialog = nullptr;
};

intptr_t SwatchProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    auto* s = static_cast<Swatches*>(user);
    switch (event.message) {
    case kDialogMeasureItem:
        ++s->measured[event.controlId];
        event.measureItem->itemHeight = 15;
        return 1;
    case kDialogInit:
        s->dialog = dialog;
        for (int i = 0; i < 3; ++i) {
            ComboSetItemData(dialog, 306, ComboAddString(dialog, 306, ""), i);
            ListSetItemData(dialog, 401, ListAddString(dialog, 401, "row"), i);
        }
        ComboSetCurSel(dialog, 306, 0);
        return 1;
    case kDialogDrawItem: {
        const DrawItemInfo& item = *event.drawItem;
        ++s->drawn;
        uint32_t colour = item.itemData >= 0 && item.itemData < 3 ? kSwatch[item.itemData] : 0xFFFFFF;
        DrawItemFrameRect(item, item.left, item.top, item.right, item.bottom, 0x000000);
        DrawItemFillRect(item, item.left + 1, item.top + 1, item.right - 1, item.bottom - 1, colour);
        return 1;
    }
    case kDialogCommand:
        if (event.controlId == kDialogOk)
            EndModalDialog(dialog, kDialogOk);
        return 1;
    default: return 0;
    }
}

QRgb CentreOfComboField(QComboBox* combo)
{
    QImage image = combo->grab().toImage();
    // Left part of the field, clear of the arrow.
    return image.pixel(combo->width() / 4, combo->height() / 2);
}

struct SwatchCheck {
    Swatches* swatches;
    std::vector<QRgb> fieldColours;
    QRgb listRow = 0;
    int listRowHeight = 0;
};
SwatchCheck* g_check = nullptr;

TEST_F(UiDialogPartsTest, OwnerDrawnRowsAreMeasuredAndPaintedByTheProcedure)
{
    Swatches s;
    SwatchCheck check{&s, {}, 0, 0};
    g_check = &check;
    RegisterUiRobotHook("look", [](void*) {
        auto* combo = static_cast<QComboBox*>(GetDialogItem(g_check->swatches->dialog, 306));
        g_check->fieldColours.push_back(CentreOfComboField(combo));
        auto* list = static_cast<QListWidget*>(GetDialogItem(g_check->swatches->dialog, 401));
        QRect row = list->visualItemRect(list->item(1));
        g_check->listRowHeight = row.height();
        QImage image = list->viewport()->grab().toImage();
        g_check->listRow = image.pixel(row.center());
    }, nullptr);
    ASSERT_TRUE(SetUiRobotScript("hook look; choose 306 2; hook look; press 1"));
    DialogTemplate tpl = OkCancelTemplate(112);
    tpl.controls.push_back({306, kControlComboBox, 10, 10, 100, 22, "", kControlOwnerDrawn});
    tpl.controls.push_back({401, kControlListBox, 10, 40, 120, 80, "", kControlOwnerDrawn});
    EXPECT_EQ(RunModalDialog(tpl, SwatchProc, &s, nullptr), kDialogOk);
    EXPECT_TRUE(UiRobotErrors().empty()) << UiRobotErrors().front();
    EXPECT_EQ(s.measured[306], 1);
    EXPECT_EQ(s.measured[401], 1);
    EXPECT_GT(s.drawn, 0);
    ASSERT_EQ(check.fieldColours.size(), 2u);
    EXPECT_EQ(check.fieldColours[0], qRgb(255, 0, 0));
    EXPECT_EQ(check.fieldColours[1], qRgb(0, 0, 255));
    EXPECT_EQ(check.listRowHeight, 15);
    EXPECT_EQ(check.listRow, qRgb(0, 255, 0));
}

TEST_F(UiDialogPartsTest, ComboAndListKeepTheSystemsIndexRules)
{
    SeenByDialog seen;
    std::vector<int> got;
    std::vector<std::string> texts;
    seen.onInit = [&](DialogWindow* d) {
        got.push_back(ComboAddString(d, 11, "b"));
        got.push_back(ComboGetCurSel(d, 11));          // adding selects nothing
        got.push_back(ComboInsertString(d, 11, 0, "a"));
        got.push_back(ComboSetCurSel(d, 11, 5));       // out of range clears, answers -1
        got.push_back(ComboGetCurSel(d, 11));
        got.push_back(static_cast<int>(ComboGetItemData(d, 11, 9)));
        got.push_back(ComboAddString(d, 12, "pear"));  // sorted, ignoring case
        got.push_back(ComboAddString(d, 12, "Apple"));
        got.push_back(ComboAddString(d, 12, "banana"));
        for (int i = 0; i < 3; ++i)
            texts.push_back(ComboGetItemText(d, 12, i));
        got.push_back(ListAddString(d, 13, "A4"));
        got.push_back(ListAddString(d, 13, ""));
        got.push_back(ListInsertString(d, 13, 1, "A3"));
        got.push_back(ListGetCurSel(d, 13));
        got.push_back(ListSetCurSel(d, 13, 2));
        got.push_back(ListDeleteString(d, 13, 0));
        got.push_back(ListGetCount(d, 13));
        texts.push_back(ListGetText(d, 13, 0));
        SetDialogItemInt(d, 14, -42);
        bool ok = false;
        got.push_back(GetDialogItemInt(d, 14, &ok));
        got.push_back(ok);
        SetDialogItemText(d, 14, "12a");
        got.push_back(GetDialogItemInt(d, 14, &ok));
        got.push_back(ok);
        SetDialogItemText(d, 15, "ファイル出力(&F)");
        texts.push_back(GetDialogItemText(d, 15));
        EndModalDialog(d, kDialogOk);
    };
    DialogTemplate tpl = OkCancelTemplate(1);
    tpl.controls.push_back({11, kControlComboBox, 0, 0, 50, 20, ""});
    tpl.controls.push_back({12, kControlComboBox, 0, 20, 50, 20, "", kControlSorted});
    tpl.controls.push_back({13, kControlListBox, 0, 40, 50, 50, ""});
    tpl.controls.push_back({14, kControlEdit, 0, 90, 50, 20, ""});
    tpl.controls.push_back({15, kControlStaticText, 0, 110, 50, 20, ""});
    RunModalDialog(tpl, RecordingProc, &seen, nullptr);
    EXPECT_EQ(got, (std::vector<int>{0, -1, 0, -1, -1, -1, 0, 0, 1, 0, 1, 1, -1, 2, 2, 2, -42,
                                     1, 0, 0}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Apple", "banana", "pear", "A3",
                                               "ファイル出力(&F)"}));
}

} // namespace
