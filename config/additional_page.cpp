// The additional settings page: frame cut, roll page length, tolerance, perforation, header
// and footer, network host and port, plotter units, debug mode and pen-down joining.
#include "config/additional_page.h"

#include "config/config_resources.h"
#include "config/config_text.h"
#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"

#include "platform/ui/ui_resources.h"

#include <cstring>
#include <string>

namespace {

constexpr int kLabel = -1;

constexpr int kTopMarginEdit = 502;
constexpr int kBottomMarginEdit = 503;
constexpr int kLeftMarginEdit = 504;
constexpr int kRightMarginEdit = 505;
constexpr int kFrameCutToolCombo = 506;
constexpr int kRollPageLengthEdit = 507;
constexpr int kToleranceEdit = 508;
constexpr int kCutToolCombo = 509;
constexpr int kCutPressureEdit = 510;
constexpr int kGapPressureEdit = 511;
constexpr int kCutLengthEdit = 512;
constexpr int kGapLengthEdit = 513;
constexpr int kHeaderEdit = 514;
constexpr int kFooterEdit = 515;
constexpr int kHostEdit = 516;
constexpr int kTcpPortEdit = 517;
constexpr int kPlotterUnitEdit = 518;
constexpr int kDebugModeCheck = 519;
constexpr int kPdOptimizeCheck = 520;
constexpr int kPdAngleEdit = 521;
constexpr int kPdVertexEdit = 522;

constexpr int kToolNumberCount = 10;
// Joining off, 30 degrees, 512 vertices: what a stored 0 or less stands for.
constexpr int32_t kDefaultPdOptimize = 0x1E0200;
// Room for a text field's characters: the last of its 128 bytes stays NUL.
constexpr size_t kTextFieldRoom = 127;

// Numbers the plug-in and the sender take whole: a TCP port, plotter units per millimetre
// (kept in 16 bits by the plug-in) and the simplification tolerance in plotter units. An
// entry outside its range is refused and the stored value stays.
struct BoundedField {
    int editId;
    int32_t PlotSettings::*field;
    int32_t lowest;
    int32_t highest;
};

const BoundedField kBoundedFields[] = {
    {kToleranceEdit, &PlotSettings::iTolerance, 1, 32767},
    {kTcpPortEdit, &PlotSettings::iTcpPort, 1, 65535},
    {kPlotterUnitEdit, &PlotSettings::iPlotterUnit, 1, 32767},
};

// A number of its own unit (grams, plotter units) kept in a 16-bit field.
struct ShortField {
    int editId;
    int16_t PlotSettings::*field;
};

const ShortField kShortFields[] = {
    {kCutPressureEdit, &PlotSettings::wCutPressure},
    {kGapPressureEdit, &PlotSettings::wGapPressure},
    {kCutLengthEdit, &PlotSettings::wCutLength},
    {kGapLengthEdit, &PlotSettings::wGapLength},
};

struct TextField {
    int editId;
    char (PlotSettings::*field)[128];
};

const TextField kTextFields[] = {
    {kHeaderEdit, &PlotSettings::szHeader},
    {kFooterEdit, &PlotSettings::szFooter},
    {kHostEdit, &PlotSettings::szHost},
};

// The template's controls in dialog units; labels carry no id of their own.
DialogControl Label(int x, int y, int width, const char* text, uint32_t flags = 0)
{
    return PageControl(kLabel, kControlStaticText, x, y, width, 8, text, flags);
}

DialogControl Edit(int id, int x, int y, int width, uint32_t flags = 0)
{
    return PageControl(id, kControlEdit, x, y, width, 12, std::string(), flags);
}

DialogControl Combo(int id, int x, int y, int width)
{
    return PageControl(id, kControlComboBox, x, y, width, 12);
}

DialogControl Check(int id, int x, int y, int width, const char* text)
{
    return PageControl(id, kControlCheckBox, x, y, width, 12, text);
}

void AddFrameCutControls(DialogTemplate* tpl)
{
    tpl->controls.insert(tpl->controls.end(), {
        Label(8, 8, 44, "余白単位："),
        Combo(kExtraUnitCombo, 54, 6, 50),
        PageControl(kLabel, kControlGroupBox, 4, 22, 212, 50, "余白設定(枠切り)"),
        Label(12, 36, 13, "上："),
        Edit(kTopMarginEdit, 25, 34, 32, kControlRightAligned),
        Label(62, 36, 13, "下："),
        Edit(kBottomMarginEdit, 75, 34, 32, kControlRightAligned),
        Label(112, 36, 13, "左："),
        Edit(kLeftMarginEdit, 125, 34, 32, kControlRightAligned),
        Label(162, 36, 13, "右："),
        Edit(kRightMarginEdit, 175, 34, 32, kControlRightAligned),
        Label(12, 54, 60, "ツール(枠切り)："),
        Combo(kFrameCutToolCombo, 75, 52, 36),
        Label(8, 80, 68, "ロール紙ページ長さ："),
        Edit(kRollPageLengthEdit, 78, 78, 40, kControlRightAligned),
        Label(130, 80, 36, "誤差範囲："),
        Edit(kToleranceEdit, 166, 78, 32, kControlRightAligned),
        Label(200, 80, 14, "PU"),
    });
}

void AddPerforationControls(DialogTemplate* tpl)
{
    tpl->controls.insert(tpl->controls.end(), {
        Label(8, 98, 50, "カットツール："),
        Combo(kCutToolCombo, 60, 96, 36),
        Label(8, 116, 50, "線分カット圧："),
        Edit(kCutPressureEdit, 60, 114, 32, kControlRightAligned),
        Label(94, 116, 8, "g"),
        Label(112, 116, 50, "余白カット圧："),
        Edit(kGapPressureEdit, 164, 114, 32, kControlRightAligned),
        Label(198, 116, 8, "g"),
        Label(8, 134, 50, "線分長さ："),
        Edit(kCutLengthEdit, 60, 132, 32, kControlRightAligned),
        Label(94, 134, 14, "PU"),
        Label(112, 134, 50, "余白長さ："),
        Edit(kGapLengthEdit, 164, 132, 32, kControlRightAligned),
        Label(198, 134, 14, "PU"),
    });
}

void AddOutputControls(DialogTemplate* tpl)
{
    tpl->controls.insert(tpl->controls.end(), {
        Label(8, 152, 54, "ヘッダ文字列："),
        Edit(kHeaderEdit, 64, 150, 150),
        Label(8, 168, 54, "フッタ文字列："),
        Edit(kFooterEdit, 64, 166, 150),
        Label(8, 184, 54, "接続先(ホスト)："),
        Edit(kHostEdit, 64, 182, 106),
        Label(172, 184, 7, "："),
        Edit(kTcpPortEdit, 180, 182, 34, kControlRightAligned),
        Label(8, 200, 54, "プロッタ単位："),
        Edit(kPlotterUnitEdit, 64, 198, 32, kControlRightAligned),
        Check(kDebugModeCheck, 120, 198, 70, "デバグモード"),
        Check(kPdOptimizeCheck, 8, 214, 54, "ＰＤ最適化"),
        Label(70, 216, 22, "角度："),
        Edit(kPdAngleEdit, 94, 214, 28, kControlRightAligned),
        Label(132, 216, 34, "頂点数："),
        Edit(kPdVertexEdit, 168, 214, 34, kControlRightAligned),
    });
}

// The stored text of a 128-byte field, which need not end in a NUL.
std::string FieldText(const char (&field)[128])
{
    return Cp932ToUtf8(std::string(field, strnlen(field, sizeof field)).c_str());
}

void FillToolNumberCombo(DialogWindow* page, int comboId, int16_t toolNumber)
{
    ComboResetContent(page, comboId);
    for (int i = 0; i < kToolNumberCount; ++i) {
        int at = ComboAddString(page, comboId, ConfigString(kToolNumberStrings + i));
        ComboSetItemData(page, comboId, at, i);
    }
    ComboSetCurSel(page, comboId, toolNumber - 1);
}

// The tool slot number of a tool list: the selected index plus one, 0 with no selection.
int16_t SelectedToolNumber(DialogWindow* page, int comboId)
{
    return static_cast<int16_t>(ComboGetCurSel(page, comboId) + 1);
}

void ShowWholeNumber(DialogWindow* page, int editId, int32_t value)
{
    ShowNumberField(page, editId, IntToReal(value), 0);
}

int32_t ReadWholeNumber(DialogWindow* page, int editId)
{
    return RoundFloatToInt(ReadNumberField(page, editId));
}

// Takes the entry when it lies in the field's range; otherwise the field keeps its value
// and the edit shows it again, with a beep when the edit showed something else.
void TakeBoundedField(DialogWindow* page, const BoundedField& bounded, bool store)
{
    int32_t& stored = gPlotSettings.*bounded.field;
    int32_t entered = ReadWholeNumber(page, bounded.editId);
    if (entered >= bounded.lowest && entered <= bounded.highest) {
        if (store)
            stored = entered;
        return;
    }
    std::string shown = FormatFixed(IntToReal(stored), 0);
    if (GetDialogItemText(page, bounded.editId) == shown)
        return;
    SetDialogItemText(page, bounded.editId, shown);
    RingMessageBeep();
}

const BoundedField* BoundedFieldOf(int editId)
{
    for (const BoundedField& bounded : kBoundedFields)
        if (bounded.editId == editId)
            return &bounded;
    return nullptr;
}

void InitExtraPage(DialogWindow* page)
{
    RecordPageWindow(kExtraPage, page);
    SetPageUnit(kExtraPage, StoredDisplayUnit());
    FillUnitCombo(page, kExtraUnitCombo, PageUnit(kExtraPage));
    ShowFrameMarginFields(page, gPlotSettings.rFrameCutMargin, gPlotSettings.wRollPageLength);
    FillToolNumberCombo(page, kFrameCutToolCombo, gPlotSettings.wFrameCutTool);
    FillToolNumberCombo(page, kCutToolCombo, gPlotSettings.wCutTool);
    for (const ShortField& f : kShortFields)
        ShowWholeNumber(page, f.editId, gPlotSettings.*f.field);
    ShowWholeNumber(page, kToleranceEdit, gPlotSettings.iTolerance);

    if (gPlotSettings.iPdOptimize <= 0)
        gPlotSettings.iPdOptimize = kDefaultPdOptimize;
    uint32_t joining = static_cast<uint32_t>(gPlotSettings.iPdOptimize);
    CheckDialogButton(page, kPdOptimizeCheck, (joining >> 24) != 0 ? 1 : 0);
    ShowWholeNumber(page, kPdAngleEdit, static_cast<int32_t>((joining >> 16) & 0xFF));
    ShowWholeNumber(page, kPdVertexEdit, static_cast<int32_t>(joining & 0xFFFF));

    for (const TextField& f : kTextFields)
        SetDialogItemText(page, f.editId, FieldText(gPlotSettings.*f.field));
    ShowWholeNumber(page, kTcpPortEdit, gPlotSettings.iTcpPort);
    ShowWholeNumber(page, kPlotterUnitEdit, gPlotSettings.iPlotterUnit);
    CheckDialogButton(page, kDebugModeCheck, gPlotSettings.fDebugMode != 0 ? 1 : 0);
}

intptr_t Command(DialogWindow* page, const DialogEvent& event)
{
    if (event.controlId == kExtraUnitCombo) {
        if (event.notification == kNotifySelectionChange)
            PageUnitChosen(page, kExtraPage);
        return 1;
    }
    // An entry out of range is refused as the user leaves the field.
    const BoundedField* bounded = BoundedFieldOf(event.controlId);
    if (bounded != nullptr && event.notification == kNotifyKillFocus) {
        TakeBoundedField(page, *bounded, false);
        return 1;
    }
    return 0;
}

} // namespace

DialogTemplate ExtraPageTemplate()
{
    DialogTemplate tpl = ConfigPageTemplate(kExtraPageTemplate);
    AddFrameCutControls(&tpl);
    AddPerforationControls(&tpl);
    AddOutputControls(&tpl);
    return tpl;
}

intptr_t ExtraPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    switch (event.message) {
    case kDialogInit:
        InitExtraPage(page);
        return 1;
    case kDialogCommand: return Command(page, event);
    default: return 0;
    }
}

void GetFrameMarginFields(DialogWindow* page, MarginRect* margins, int16_t* rollPageLength)
{
    int16_t unit = PageUnit(kExtraPage);
    margins->top = ReadLengthField(page, kTopMarginEdit, unit, false);
    margins->left = ReadLengthField(page, kLeftMarginEdit, unit, false);
    margins->right = ReadLengthField(page, kRightMarginEdit, unit, false);
    margins->bottom = ReadLengthField(page, kBottomMarginEdit, unit, false);
    *rollPageLength = ReadLengthField(page, kRollPageLengthEdit, unit, false);
}

void ShowFrameMarginFields(DialogWindow* page, const MarginRect& margins, int16_t rollPageLength)
{
    int16_t unit = PageUnit(kExtraPage);
    ShowLengthField(page, kTopMarginEdit, margins.top, unit);
    ShowLengthField(page, kBottomMarginEdit, margins.bottom, unit);
    ShowLengthField(page, kLeftMarginEdit, margins.left, unit);
    ShowLengthField(page, kRightMarginEdit, margins.right, unit);
    ShowLengthField(page, kRollPageLengthEdit, rollPageLength, unit);
}

int SaveExtraPage(DialogWindow* page)
{
    GetFrameMarginFields(page, &gPlotSettings.rFrameCutMargin, &gPlotSettings.wRollPageLength);
    gPlotSettings.wFrameCutTool = SelectedToolNumber(page, kFrameCutToolCombo);
    gPlotSettings.wCutTool = SelectedToolNumber(page, kCutToolCombo);
    for (const ShortField& f : kShortFields)
        gPlotSettings.*f.field = static_cast<int16_t>(ReadWholeNumber(page, f.editId));

    uint32_t joining = (IsDialogButtonChecked(page, kPdOptimizeCheck) != 0 ? 1u : 0u) << 24;
    joining |= (static_cast<uint32_t>(ReadWholeNumber(page, kPdAngleEdit)) & 0xFFu) << 16;
    joining |= static_cast<uint32_t>(ReadWholeNumber(page, kPdVertexEdit)) & 0xFFFFu;
    gPlotSettings.iPdOptimize = static_cast<int32_t>(joining);

    for (const TextField& f : kTextFields) {
        char (&field)[128] = gPlotSettings.*f.field;
        std::memset(field, 0, sizeof field);
        Utf8ToCp932(GetDialogItemText(page, f.editId), field, kTextFieldRoom);
    }
    for (const BoundedField& bounded : kBoundedFields)
        TakeBoundedField(page, bounded, true);
    gPlotSettings.fDebugMode = IsDialogButtonChecked(page, kDebugModeCheck) != 0 ? 1 : 0;
    return 0;
}

void ChangeExtraUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kExtraPage))
        return;
    MarginRect margins = {};
    int16_t rollPageLength = 0;
    GetFrameMarginFields(page, &margins, &rollPageLength);
    SetPageUnit(kExtraPage, unit);
    ShowFrameMarginFields(page, margins, rollPageLength);
}
