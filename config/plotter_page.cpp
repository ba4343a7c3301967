#include "config/plotter_page.h"

#include "config/config_resources.h"
#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"
#include "plugin/settings/settings_file.h"

namespace {

constexpr int kLabel = -1;  // texts beside the controls; nothing refers to them
constexpr int kNoSortRadio = 210;
constexpr int kVectorSortRadio = 212;
constexpr int kPortCombo = 222;

constexpr int kListItems = 7;        // COM1-COM5, LPT1, LPT2: item and code alike
constexpr int kPortItems = 11;
constexpr int kSenderItem = 10;      // "TCP/IP(TRAVEX-Pro Server)"
constexpr int16_t kSenderCode = -4;  // and every code below it

// The margin edits: the top, left, bottom and right of the sheet, then of the roll.
struct MarginEdit {
    int id;
    bool roll;
    int32_t MarginRect::*side;
};
const MarginEdit kMarginEdits[] = {
    {202, false, &MarginRect::top}, {203, false, &MarginRect::left},
    {204, false, &MarginRect::bottom}, {205, false, &MarginRect::right},
    {206, true, &MarginRect::top}, {207, true, &MarginRect::left},
    {208, true, &MarginRect::bottom}, {209, true, &MarginRect::right},
};

// Check boxes; a reversed box is ticked while its flag is 0.
struct FlagBox {
    int id;
    int16_t PlotSettings::*flag;
    bool reversed;
};
const FlagBox kFlagBoxes[] = {
    {213, &PlotSettings::fOverlap, false},
    {214, &PlotSettings::fPenOrderOff, true},
    {215, &PlotSettings::fFrameCut, false},
    {216, &PlotSettings::fLineOptOff, true},
    {217, &PlotSettings::fErrorAdjust, false},
    {218, &PlotSettings::fDottedCut, false},
};

// Drop-down lists whose field holds the item index (the port list has its own codes), in
// the order the page fills them.
struct ChoiceList {
    int id;
    int firstString;
    int count;
    int16_t PlotSettings::*field;  // null: the port list
};
const ChoiceList kChoiceLists[] = {
    {219, kKanjiModeStrings, 3, &PlotSettings::wKanjiMode},
    {220, kOutlineStrings, 8, &PlotSettings::wOutlineSize},
    {221, kPaperOriginStrings, 2, &PlotSettings::wPaperOrigin},
    {kPortCombo, kPortStrings, kPortItems, nullptr},
    {223, kBaudStrings, 9, &PlotSettings::wBaudIndex},
    {224, kDataBitsStrings, 2, &PlotSettings::wDataBitsIndex},
    {225, kStopBitsStrings, 3, &PlotSettings::wStopBitsIndex},
    {226, kParityStrings, 3, &PlotSettings::wParityIndex},
    {227, kFlowControlStrings, 3, &PlotSettings::wFlowControl},
};

int ChoiceItem(const ChoiceList& list)
{
    return list.field != nullptr ? gPlotSettings.*list.field : PortItem(gPlotSettings.wPort);
}

void FillChoiceList(DialogWindow* page, const ChoiceList& list)
{
    ComboResetContent(page, list.id);
    for (int i = 0; i < list.count; ++i) {
        int at = ComboAddString(page, list.id, ConfigString(list.firstString + i));
        ComboSetItemData(page, list.id, at, i);
    }
    int item = ChoiceItem(list);
    ComboSetCurSel(page, list.id, item >= 0 && item < list.count ? item : -1);
}

// A list without a selection leaves its field as it was: nothing was chosen there.
void StoreChoice(DialogWindow* page, const ChoiceList& list)
{
    int item = ComboGetCurSel(page, list.id);
    if (item < 0 || item >= list.count)
        return;
    if (list.field != nullptr)
        gPlotSettings.*list.field = static_cast<int16_t>(item);
    else
        gPlotSettings.wPort = PortCode(item);
}

void StoreSortMode(DialogWindow* page)
{
    for (int id = kNoSortRadio; id <= kVectorSortRadio; ++id)
        if (IsDialogButtonChecked(page, id)) {
            gPlotSettings.wSortMode = static_cast<int16_t>(id - kNoSortRadio);
            return;
        }
}

} // namespace

DialogTemplate PlotterPageTemplate()
{
    DialogTemplate tpl = ConfigPageTemplate(kPlotterPageTemplate);
    tpl.controls = {
        PageControl(kLabel, kControlStaticText, 6, 8, 46, 10, "余白単位："),
        PageControl(kMarginUnitCombo, kControlComboBox, 54, 6, 40, 13),

        PageControl(kLabel, kControlGroupBox, 4, 22, 214, 46, "余白設定（リーフ紙／ロール紙）"),
        PageControl(kLabel, kControlStaticText, 8, 36, 14, 10, "上："),
        PageControl(202, kControlEdit, 22, 34, 34, 13),
        PageControl(kLabel, kControlStaticText, 60, 36, 14, 10, "左："),
        PageControl(203, kControlEdit, 74, 34, 34, 13),
        PageControl(kLabel, kControlStaticText, 8, 52, 14, 10, "下："),
        PageControl(204, kControlEdit, 22, 50, 34, 13),
        PageControl(kLabel, kControlStaticText, 60, 52, 14, 10, "右："),
        PageControl(205, kControlEdit, 74, 50, 34, 13),
        PageControl(kLabel, kControlStaticText, 114, 36, 14, 10, "上："),
        PageControl(206, kControlEdit, 128, 34, 34, 13),
        PageControl(kLabel, kControlStaticText, 166, 36, 14, 10, "左："),
        PageControl(207, kControlEdit, 180, 34, 34, 13),
        PageControl(kLabel, kControlStaticText, 114, 52, 14, 10, "下："),
        PageControl(208, kControlEdit, 128, 50, 34, 13),
        PageControl(kLabel, kControlStaticText, 166, 52, 14, 10, "右："),
        PageControl(209, kControlEdit, 180, 50, 34, 13),

        PageControl(210, kControlRadioButton, 8, 72, 100, 12, "ソート無し(&N)", kControlGroupStart),
        PageControl(211, kControlRadioButton, 8, 85, 100, 12, "オブジェクトソート(&O)"),
        PageControl(212, kControlRadioButton, 8, 98, 100, 12, "ベクトルソート(&V)"),
        PageControl(213, kControlCheckBox, 114, 72, 104, 12, "パスの重なりを認識(&U)", kControlGroupStart),
        PageControl(214, kControlCheckBox, 114, 85, 104, 12, "ペン順に出力する(&P)"),
        PageControl(215, kControlCheckBox, 114, 98, 104, 12, "枠切りを行う(&F)"),
        PageControl(216, kControlCheckBox, 114, 111, 104, 12, "ライン最適化(&L)"),
        PageControl(217, kControlCheckBox, 114, 124, 104, 12, "誤差調整(&E)"),
        PageControl(218, kControlCheckBox, 114, 137, 104, 12, "点線カットを利用(&H)"),

        PageControl(kLabel, kControlStaticText, 6, 116, 54, 10, "アウトライン："),
        PageControl(220, kControlComboBox, 62, 114, 46, 13),
        PageControl(kLabel, kControlStaticText, 6, 132, 54, 10, "用紙原点："),
        PageControl(221, kControlComboBox, 62, 130, 46, 13),
        PageControl(kLabel, kControlStaticText, 6, 155, 54, 10, "漢字コード："),
        PageControl(219, kControlComboBox, 62, 153, 96, 13),
        PageControl(kLabel, kControlStaticText, 6, 171, 54, 10, "通信ポート："),
        PageControl(kPortCombo, kControlComboBox, 62, 169, 104, 13),
        PageControl(kLabel, kControlStaticText, 6, 187, 54, 10, "通信速度："),
        PageControl(223, kControlComboBox, 62, 185, 50, 13),
        PageControl(kLabel, kControlStaticText, 114, 187, 62, 10, "データビット："),
        PageControl(224, kControlComboBox, 176, 185, 42, 13),
        PageControl(kLabel, kControlStaticText, 6, 203, 54, 10, "ストップビット："),
        PageControl(225, kControlComboBox, 62, 201, 50, 13),
        PageControl(kLabel, kControlStaticText, 114, 203, 62, 10, "パリティチェック："),
        PageControl(226, kControlComboBox, 176, 201, 42, 13),
        PageControl(kLabel, kControlStaticText, 6, 219, 54, 10, "フロー制御："),
        PageControl(227, kControlComboBox, 62, 217, 80, 13),
    };
    return tpl;
}

int PortItem(int16_t port)
{
    if (port >= 0 && port < kListItems)
        return port;
    if (port < 0)
        return port <= kSenderCode ? kSenderItem : kListItems - 1 - port;
    return -1;
}

int16_t PortCode(int item)
{
    if (item >= 0 && item < kListItems)
        return static_cast<int16_t>(item);
    if (item >= kListItems && item < kPortItems)
        return static_cast<int16_t>(kListItems - 1 - item);
    return -1;
}

void InitPlotterPage(DialogWindow* page)
{
    RecordPageWindow(kPlotterPage, page);
    SetPageUnit(kPlotterPage, StoredDisplayUnit());
    FillUnitCombo(page, kMarginUnitCombo, PageUnit(kPlotterPage));
    ShowMarginFields(page, gPlotSettings.rSheetMargin, gPlotSettings.rRollMargin);
    CheckRadioButton(page, kNoSortRadio, kVectorSortRadio, kNoSortRadio + gPlotSettings.wSortMode);
    for (const FlagBox& box : kFlagBoxes)
        CheckDialogButton(page, box.id, (gPlotSettings.*box.flag != 0) != box.reversed ? 1 : 0);
    for (const ChoiceList& list : kChoiceLists)
        FillChoiceList(page, list);
}

intptr_t PlotterPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    (void)user;
    if (event.message == kDialogInit) {
        InitPlotterPage(page);
        return 1;
    }
    if (event.message != kDialogCommand || event.controlId != kMarginUnitCombo)
        return 0;
    if (event.notification == kNotifySelectionChange)
        PageUnitChosen(page, kPlotterPage);
    return 1;
}

int SavePlotterPage(DialogWindow* page)
{
    if (page != nullptr) {
        GetMarginFields(page, &gPlotSettings.rSheetMargin, &gPlotSettings.rRollMargin);
        StoreSortMode(page);
        for (const FlagBox& box : kFlagBoxes)
            gPlotSettings.*box.flag = (IsDialogButtonChecked(page, box.id) != 0) != box.reversed ? 1 : 0;
        for (const ChoiceList& list : kChoiceLists)
            StoreChoice(page, list);
    }
    return WritePlotSettingsIfGiven(&gPlotSettings);
}

void GetMarginFields(DialogWindow* page, MarginRect* sheet, MarginRect* roll)
{
    int16_t unit = PageUnit(kPlotterPage);
    for (const MarginEdit& edit : kMarginEdits)
        (edit.roll ? roll : sheet)->*edit.side = ReadLengthField(page, edit.id, unit, false);
}

void ShowMarginFields(DialogWindow* page, const MarginRect& sheet, const MarginRect& roll)
{
    int16_t unit = PageUnit(kPlotterPage);
    for (const MarginEdit& edit : kMarginEdits)
        ShowLengthField(page, edit.id, (edit.roll ? roll : sheet).*edit.side, unit);
}

void ChangeMarginUnit(DialogWindow* page, int16_t unit)
{
    if (page == nullptr || unit == PageUnit(kPlotterPage))
        return;
    MarginRect sheet = {}, roll = {};
    GetMarginFields(page, &sheet, &roll);
    SetPageUnit(kPlotterPage, unit);
    ShowMarginFields(page, sheet, roll);
}

void ReloadPlotSettingsAndPaperList()
{
    ReadPlotSettingsIfGiven(&gPlotSettings);
    ReadPaperListIfGiven(&gPaperList);
}

void ReloadSettings(ConfigPageSetup* page, int flag)
{
    if (flag == 0) {
        ReadPlotSettingsIfGiven(&gPlotSettings);
        return;
    }
    if (page != nullptr) {
        page->Orientation = 0;
        page->Size = 601;
    }
    ReadPaperListIfGiven(&gPaperList);
    ReadCustomSizeList(&gCustomSizeList);
}
