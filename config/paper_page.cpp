#include "config/paper_page.h"

#include "config/config_resources.h"
#include "config/config_text.h"
#include "config/numbers_and_units.h"
#include "config/page_record.h"
#include "config/page_shell.h"
#include "config/settings_store.h"
#include "plugin/settings/paper_search.h"
#include "plugin/settings/settings_file.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kLabel = -1;  // texts beside the controls; nothing refers to them
constexpr int kSizeCombo = 101;
constexpr int kWidthEdit = 103;
constexpr int kHeightEdit = 104;
constexpr int kScaleCombo = 106;
constexpr int kSizeButton = 108;
constexpr int kOrientationGroup = 109;
constexpr int kPortraitRadio = 110;
constexpr int kLandscapeRadio = 111;
constexpr int kPortraitIcon = 112;
constexpr int kLandscapeIcon = 113;
constexpr int kRollBox = 114;
constexpr int kFirstPageEdit = 115;
constexpr int kLastPageEdit = 116;

constexpr int32_t kFirstListSize = 601;  // Size of paper-list row 0
constexpr int32_t kLastListSize = 699;
constexpr int32_t kCustomSize = 999;     // a size given by hand

const char kPageCaption[] = "TRAVEX-Pro Ver3.02J";
const char kCustomText[] = "カスタム";

// Item i of the scale combo stands for kScales[i] hundredths of a percent.
constexpr int kScaleCount = 12;
const int32_t kScales[kScaleCount] = {100000, 50000, 40000, 30000, 20000, 15000, 10000, 7500, 5000,
    3333, 2500, 1000};
constexpr int kFullScaleItem = 6;
constexpr int32_t kFullScale = 10000;

// The rows the size list shows, as they stood when it was filled.
PaperList g_listed;

// The paper-list row a Size names, or -1 (a size given by hand or out of the row range).
int16_t ListRow(int32_t size)
{
    return size >= kFirstListSize && size <= kLastListSize ? static_cast<int16_t>(size - kFirstListSize) : -1;
}

bool SameRow(const PaperEntry& a, const PaperEntry& b)
{
    return std::strncmp(a.szName, b.szName, sizeof a.szName) == 0 && a.wWidth == b.wWidth &&
        a.wHeight == b.wHeight && a.fRoll == b.fRoll;
}

bool SameRows(const PaperList& a, const PaperList& b)
{
    int count = PaperListRowCount(&a);
    if (count != PaperListRowCount(&b))
        return false;
    for (int i = 0; i < count; ++i)
        if (!SameRow(a.aEntry[i], b.aEntry[i]))
            return false;
    return true;
}

// Row i of the list has item data i; "カスタム" follows with the row count.
void FillSizeList(DialogWindow* page)
{
    ComboResetContent(page, kSizeCombo);
    int count = PaperListRowCount(&gPaperList);
    for (int i = 0; i < count; ++i) {
        const PaperEntry& row = gPaperList.aEntry[i];
        int at = ComboAddString(page, kSizeCombo, Cp932FieldToUtf8(row.szName, sizeof row.szName));
        ComboSetItemData(page, kSizeCombo, at, i);
    }
    int at = ComboAddString(page, kSizeCombo, kCustomText);
    ComboSetItemData(page, kSizeCombo, at, count);
    g_listed = gPaperList;
}

void FillScaleCombo(DialogWindow* page, int32_t scale)
{
    ComboResetContent(page, kScaleCombo);
    int selected = kFullScaleItem;
    for (int i = 0; i < kScaleCount; ++i) {
        int at = ComboAddString(page, kScaleCombo, ConfigString(kScaleStrings + i));
        ComboSetItemData(page, kScaleCombo, at, i);
        if (kScales[i] == scale)
            selected = i;
    }
    ComboSetCurSel(page, kScaleCombo, selected);
}

// Page numbers are 16-bit: a larger number stops at the largest one instead of wrapping.
int16_t ReadPageNumber(DialogWindow* page, int editId)
{
    int32_t number = RoundFloatToInt(ReadNumberField(page, editId));
    if (number > INT16_MAX)
        return INT16_MAX;
    return static_cast<int16_t>(number < INT16_MIN ? INT16_MIN : number);
}

void ShowPageNumber(DialogWindow* page, int editId, int16_t number)
{
    ShowNumberField(page, editId, IntToReal(number), 0);
}

void SizeChosen(DialogWindow* page)
{
    int item = ComboGetCurSel(page, kSizeCombo);
    if (item < 0)
        return;
    intptr_t row = ComboGetItemData(page, kSizeCombo, item);
    int16_t width = 0, height = 0, roll = 0;
    if (row >= 0 && row < PaperListRowCount(&gPaperList)) {
        gPageSetup.Size = kFirstListSize + static_cast<int32_t>(row);
        GetPaperSize(&gPaperList, static_cast<int16_t>(row), &width, &height, &roll);
    } else {
        gPageSetup.Size = kCustomSize;
        GetPaperSizeFields(page, &width, &height, &roll);
    }
    ShowPaperSizeFields(page, width, height, roll);
}

void OrientationChosen(DialogWindow* page, int32_t orientation)
{
    gPageSetup.Orientation = orientation;
    int radio = orientation == 0 ? kPortraitRadio : kLandscapeRadio;
    CheckRadioButton(page, kPortraitRadio, kLandscapeRadio, radio);
}

intptr_t Command(DialogWindow* page, const DialogEvent& event)
{
    switch (event.controlId) {
    case kSizeCombo:
        if (event.notification == kNotifyDropDown)
            SyncPaperSizeList(page);
        else if (event.notification == kNotifySelectionChange)
            SizeChosen(page);
        return 1;
    case kPaperUnitCombo:
        if (event.notification == kNotifySelectionChange)
            PageUnitChosen(page, kPaperPage);
        return 1;
    case kPortraitRadio: OrientationChosen(page, 0); return 1;
    case kLandscapeRadio: OrientationChosen(page, 1); return 1;
    case kSizeButton: return 1;
    default: return 0;
    }
}

// The fields into the page record; a size that no longer matches its list row is a size
// given by hand.
void StorePaperFields(DialogWindow* page)
{
    int16_t width = 0, height = 0, roll = 0;
    GetPaperSizeFields(page, &width, &height, &roll);
    int item = ComboGetCurSel(page, kScaleCombo);
    gPageSetup.Scale = item >= 0 && item < kScaleCount ? kScales[item] : kFullScale;
    gPageSetup.Width = width;
    gPageSetup.Height = height;
    gPageSetup.pisroll = roll;
    if (gPageSetup.Size != kCustomSize) {
        int16_t listWidth = 0, listHeight = 0, listRoll = 0;
        GetPaperSize(&gPaperList, ListRow(gPageSetup.Size), &listWidth, &listHeight, &listRoll);
        if (listWidth != width || listHeight != height || listRoll != roll)
            gPageSetup.Size = kCustomSize;
    }
    gPageSetup.iFstPage = ReadPageNumber(page, kFirstPageEdit);
    gPageSetup.iLstPage = ReadPageNumber(page, kLastPageEdit);
}

} // namespace

DialogTemplate PaperPageTemplate()
{
    DialogTemplate tpl = ConfigPageTemplate(kPaperPageTemplate);
    tpl.title = kPageCaption;
    tpl.controls = {
        PageControl(kLabel, kControlStaticText, 8, 12, 46, 10, "用紙サイズ："),
        PageControl(kSizeCombo, kControlComboBox, 56, 10, 150, 13),
        PageControl(kLabel, kControlStaticText, 8, 32, 46, 10, "用紙単位："),
        PageControl(kPaperUnitCombo, kControlComboBox, 56, 30, 40, 13),
        PageControl(kSizeButton, kControlPushButton, 120, 30, 60, 14, "用紙サイズ...", kControlHidden),
        PageControl(kLabel, kControlStaticText, 8, 52, 46, 10, "用紙幅："),
        PageControl(kWidthEdit, kControlEdit, 56, 50, 50, 13),
        PageControl(kLabel, kControlStaticText, 8, 72, 46, 10, "用紙長："),
        PageControl(kHeightEdit, kControlEdit, 56, 70, 50, 13),
        PageControl(kRollBox, kControlCheckBox, 56, 90, 60, 12, "ロール紙(&R)"),
        PageControl(kLabel, kControlStaticText, 8, 112, 46, 10, "縮小/拡大率："),
        PageControl(kScaleCombo, kControlComboBox, 56, 110, 44, 13),
        PageControl(kLabel, kControlStaticText, 8, 132, 46, 10, "印刷範囲："),
        PageControl(kFirstPageEdit, kControlEdit, 56, 130, 40, 13),
        PageControl(kLabel, kControlStaticText, 100, 132, 8, 10, "～", kControlCentered),
        PageControl(kLastPageEdit, kControlEdit, 110, 130, 40, 13),
        PageControl(kOrientationGroup, kControlGroupBox, 8, 152, 200, 48, "印刷方向"),
        PageControl(kPortraitRadio, kControlRadioButton, 20, 172, 34, 12, "縦(&P)", kControlGroupStart),
        PageControl(kPortraitIcon, kControlPicture, 58, 168, 16, 17),
        PageControl(kLandscapeRadio, kControlRadioButton, 112, 172, 34, 12, "横(&L)"),
        PageControl(kLandscapeIcon, kControlPicture, 150, 168, 16, 17, "", kControlGroupStart),
    };
    return tpl;
}

void InitPaperPage(DialogWindow* page)
{
    RecordPageWindow(kPaperPage, page);
    FillSizeList(page);
    int16_t row = ListRow(gPageSetup.Size);
    int count = PaperListRowCount(&gPaperList);
    if (row >= 0 && row < count) {
        int16_t width = 0, height = 0, roll = 0;
        GetPaperSize(&gPaperList, row, &width, &height, &roll);
        gPageSetup.Width = width;
        gPageSetup.Height = height;
        gPageSetup.pisroll = roll;
        ComboSetCurSel(page, kSizeCombo, row);
    } else {
        // A size by hand, or a row the list no longer has: the record's size stays on the page.
        ComboSetCurSel(page, kSizeCombo, count);
    }
    SetPageUnit(kPaperPage, StoredDisplayUnit());
    FillUnitCombo(page, kPaperUnitCombo, PageUnit(kPaperPage));
    ShowPaperSizeFields(page, gPageSetup.Width, gPageSetup.Height, gPageSetup.pisroll);
    FillScaleCombo(page, gPageSetup.Scale);
    CheckRadioButton(page, kPortraitRadio, kLandscapeRadio,
        gPageSetup.Orientation == 0 ? kPortraitRadio : kLandscapeRadio);
    ShowPageNumber(page, kFirstPageEdit, gPageSetup.iFstPage);
    ShowPageNumber(page, kLastPageEdit, gPageSetup.iLstPage);
    SetConfigBitmap(page, kPortraitIcon, kPortraitPaperBitmap);
    SetConfigBitmap(page, kLandscapeIcon, kLandscapePaperBitmap);
}

intptr_t PaperPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    (void)user;
    if (event.message == kDialogInit) {
        InitPaperPage(page);
        return 1;
    }
    return event.message == kDialogCommand ? Command(page, event) : 0;
}

int SavePaperPage(DialogWindow* page)
{
    if (page != nullptr) {
        SyncPaperSizeList(page);
        StorePaperFields(page);
    }
    return WritePlotSettingsIfGiven(&gPlotSettings);
}

void GetPaperSizeFields(DialogWindow* page, int16_t* width, int16_t* height, int16_t* roll)
{
    int16_t unit = PageUnit(kPaperPage);
    *width = ReadLengthField(page, kWidthEdit, unit, true);
    *height = ReadLengthField(page, kHeightEdit, unit, true);
    *roll = IsDialogButtonChecked(page, kRollBox) ? 1 : 0;
}

void ShowPaperSizeFields(DialogWindow* page, int32_t width, int32_t height, int32_t roll)
{
    int16_t unit = PageUnit(kPaperPage);
    ShowLengthField(page, kWidthEdit, width, unit);
    ShowLengthField(page, kHeightEdit, height, unit);
    CheckDialogButton(page, kRollBox, roll != 0 ? 1 : 0);
}

void ChangePaperUnit(DialogWindow* page, int16_t unit)
{
    if (page == nullptr || unit == PageUnit(kPaperPage))
        return;
    int16_t width = 0, height = 0, roll = 0;
    GetPaperSizeFields(page, &width, &height, &roll);
    SetPageUnit(kPaperPage, unit);
    ShowPaperSizeFields(page, width, height, roll);
}

void ResetPaperPage(DialogWindow* page)
{
    gPageSetup.Orientation = 0;
    gPageSetup.Size = kFirstListSize;
    ReadPaperListIfGiven(&gPaperList);
    ReadCustomSizeList(&gCustomSizeList);
    InitPaperPage(page);
}

void SyncPaperSizeList(DialogWindow* page)
{
    if (page == nullptr || SameRows(g_listed, gPaperList))
        return;
    int16_t row = ListRow(gPageSetup.Size);
    bool stays = row >= 0 && row < PaperListRowCount(&g_listed) && row < PaperListRowCount(&gPaperList) &&
        SameRow(g_listed.aEntry[row], gPaperList.aEntry[row]);
    if (!stays)
        gPageSetup.Size = kCustomSize;
    FillSizeList(page);
    ComboSetCurSel(page, kSizeCombo, stays ? row : PaperListRowCount(&gPaperList));
}
