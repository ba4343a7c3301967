// The output dialog, its controls all made at run time, editing the run's layer table.
#include "plugin/output/output_dialog.h"

#include "platform/ui/dialog_runner.h"
#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_resources.h"
#include "sdk/sp_access.h"
#include "plugin/entry/suite_table.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const ResourceTable* g_resources = nullptr;  // the resource instance of the run
bool g_fontCreated = false;                    // the dialog font, while a dialog is open

constexpr int kDialogWidth = 494;
constexpr int kDialogHeight = 330;
constexpr int16_t kFirstUnlistedToolType = 12;
constexpr int16_t kLastPenType = 6;

struct PrimaryColour {
    int16_t red, green, blue;
    const char* japanese;
    const char* english;
};

const PrimaryColour kPrimaries[] = {
    {0, 0, 0, "(ブラック)", "(Black)"},
    {10000, 0, 0, "(レッド)", "(Red)"},
    {0, 10000, 0, "(グリーン)", "(Green)"},
    {0, 0, 10000, "(ブルー)", "(Blue)"},
    {10000, 0, 10000, "(マゼンタ)", "(Magenta)"},
    {10000, 10000, 0, "(イエロー)", "(Yellow)"},
    {0, 10000, 10000, "(シアン)", "(Cyan)"},
    {10000, 10000, 10000, "(ホワイト)", "(White)"},
};

bool IsListedSlot(const ToolSlot& slot) { return slot.wType != 0 && slot.wType < kFirstUnlistedToolType; }

int ColourByte(int16_t component)
{
    double v = double(component) / 10000.0 * 256.0 + 0.5;
    int byte = int(v);
    return byte > 255 ? 255 : byte;
}

int CheckId(int row) { return kOutputFirstRowCheck + 4 * row; }
int NameId(int row) { return kOutputFirstRowCheck + 1 + 4 * row; }
int ComboId(int row) { return kOutputFirstRowCheck + 2 + 4 * row; }

// Creates one control at (left, top, right, bottom) of the kinds the dialog uses.
QWidget* CreateDialogControl(DialogWindow* dialog, const char* text, int id, int kind, int left, int top,
                             int right, int bottom)
{
    DialogControl control;
    control.id = id;
    control.text = text;
    control.x = left;
    control.y = top;
    control.w = right - left;
    control.h = bottom - top;
    switch (kind) {
    case 1: control.kind = kControlStaticText; break;
    case 2: control.kind = kControlComboBox; control.flags = kControlEditableCombo; break;
    case 3: control.kind = kControlFrame; break;
    case 4: control.kind = id == kDialogOk ? kControlDefaultButton : kControlPushButton; break;
    case 5: control.kind = kControlPicture; break;
    case 6:
        control.kind = kControlScrollBar;
        control.flags = control.w < control.h ? kControlVertical : kControlHorizontal;
        break;
    case 7: control.kind = kControlComboBox; break;
    case 8: control.kind = kControlCheckBox; break;
    default: return nullptr;
    }
    QWidget* widget = AddDialogControl(dialog, control);
    bool takesFont = kind == 1 || kind == 2 || kind == 4 || kind == 7 || kind == 8;
    if (widget != nullptr && takesFont && g_fontCreated)
        SetDialogItemFont(dialog, id, "system", -((8 * GetDialogLogPixelsY(dialog) + 36) / 72), 400);
    return widget;
}

void FillOutputRows(DialogWindow* dialog)
{
    int first = GetScrollPos(dialog, kOutputScrollBar);
    int count = CountLayerRows();
    for (int j = 0; j < kOutputRowCount; ++j) {
        int n = first + j;
        bool shown = n >= 0 && n < count;
        if (shown) {
            int16_t output = 0, tool = 0;
            char name[64];
            GetLayerRow(int16_t(n), &output, name, &tool);
            CheckDialogButton(dialog, CheckId(j), output != 0 ? 1 : 0);
            SetDialogItemText(dialog, NameId(j), name);
            ComboSetCurSel(dialog, ComboId(j), MapToolNumberToComboIndex(tool));
        }
        ShowDialogItem(dialog, CheckId(j), shown);
        ShowDialogItem(dialog, NameId(j), shown);
        ShowDialogItem(dialog, ComboId(j), shown);
    }
}

void StartDialog(DialogWindow* dialog)
{
    int desktopWidth = 0, desktopHeight = 0;
    GetDesktopSize(&desktopWidth, &desktopHeight);
    MoveDialogWindow(dialog, (desktopWidth - kDialogWidth) / 2, (desktopHeight - kDialogHeight) / 2, kDialogWidth,
                     kDialogHeight);
    SetDialogTopmost(dialog, true);

    int logPixels = GetDialogLogPixelsY(dialog);
    g_fontCreated = logPixels > 0 && SetDialogItemFont(dialog, 0, "system", -((8 * logPixels + 36) / 72), 400);

    bool english = g->iLanguage != 0;
    CreateDialogControl(dialog, english ? "Output Plotter" : "プロットアウト", kDialogOk, 4, 362, 269, 476, 289);
    CreateDialogControl(dialog, english ? "Cancel" : "キャンセル", kDialogCancel, 4, 224, 269, 338, 289);
    CreateDialogControl(dialog, "", 3, 5, 10, 12, 484, 29);
    SetDialogItemResourceBitmap(dialog, 3, g_resources, kOutputBannerBitmap);
    CreateDialogControl(dialog, "", kOutputScrollBar, 6, 463, 29, 479, 254);
    for (int r = 0; r < kOutputRowCount; ++r) {
        CreateDialogControl(dialog, "", CheckId(r), 8, 14, 32 + 25 * r, 30, 48 + 25 * r);
        CreateDialogControl(dialog, "", NameId(r), 1, 34, 34 + 25 * r, 216, 46 + 25 * r);
        CreateDialogControl(dialog, "", ComboId(r), 7, 262, 30 + 25 * r, 461, 46 + 25 * r);
    }
    CreateDialogControl(dialog, "", 41, 3, 10, 28, 480, 255);
    CreateDialogControl(dialog, english ? "Output to file" : "ファイル出力(&F)", kOutputToFileCheck, 8, 14, 271,
                        160, 287);

    SetScrollRange(dialog, kOutputScrollBar, 0, CountLayerRows() - 1);

    int listed = 0;
    for (int slot = 1; slot <= kToolSlotCount; ++slot) {
        std::string line = ToolSlotLine(g_resources, g->iLanguage, slot);
        if (line.empty())
            continue;
        ++listed;
        for (int r = 0; r < kOutputRowCount; ++r)
            ComboAddString(dialog, ComboId(r), line);
    }
    for (int r = 0; r < kOutputRowCount; ++r)
        EnableDialogItem(dialog, ComboId(r), listed > 0);

    if (g->fTextOut != 0)
        CheckDialogButton(dialog, kOutputToFileCheck, 1);
    FillOutputRows(dialog);
}

void Scroll(DialogWindow* dialog, const DialogEvent& event)
{
    int minimum = 0, maximum = 0;
    GetScrollRange(dialog, kOutputScrollBar, &minimum, &maximum);
    int position = GetScrollPos(dialog, kOutputScrollBar);
    switch (event.scrollRequest) {
    case kScrollLineUp: position -= 1; break;
    case kScrollLineDown: position += 1; break;
    case kScrollPageUp: position -= 5; break;
    case kScrollPageDown: position += 5; break;
    case kScrollThumbPosition: position = int16_t(event.scrollPosition); break;
    case kScrollTop: position = minimum; break;
    case kScrollBottom: position = maximum; break;
    default: break;
    }
    if (position > maximum)
        position = maximum;
    if (position < minimum)
        position = minimum;
    SetScrollPos(dialog, kOutputScrollBar, position);
    FillOutputRows(dialog);
}

void Command(DialogWindow* dialog, int id)
{
    if (id == kDialogOk || id == kDialogCancel) {
        g->fTextOut = IsDialogButtonChecked(dialog, kOutputToFileCheck) != 0 ? 1 : 0;
        EndModalDialog(dialog, id);
        return;
    }
    int offset = id - kOutputFirstRowCheck;
    if (offset < 0 || offset >= 4 * kOutputRowCount)
        return;
    int row = offset / 4;
    int n = GetScrollPos(dialog, kOutputScrollBar) + row;
    int16_t output = 0, tool = 0;
    char name[64];
    if (offset % 4 == 0) {
        GetLayerRow(int16_t(n), &output, name, &tool);
        SetLayerRow(int16_t(n), IsDialogButtonChecked(dialog, id) != 0 ? 1 : 0, name, tool);
    } else if (offset % 4 == 2) {
        int16_t chosen = int16_t(MapComboIndexToToolNumber(ComboGetCurSel(dialog, id)));
        // an empty or unselected combo names no slot; the layer keeps its own
        if (chosen == 0)
            return;
        GetLayerRow(int16_t(n), &output, name, &tool);
        SetLayerRow(int16_t(n), output, name, chosen);
    }
}

intptr_t OutputDialogProc(DialogWindow* dialog, const DialogEvent& event, void*)
{
    switch (event.message) {
    case kDialogInit: StartDialog(dialog); return 1;
    case kDialogCommand: Command(dialog, event.controlId); return 1;
    case kDialogScroll:
        if (event.controlId == kOutputScrollBar)
            Scroll(dialog, event);
        return 1;
    case kDialogDestroy: g_fontCreated = false; return 0;
    default: return 0;
    }
}

// The empty template; every control is made when the dialog starts.
DialogTemplate OutputTemplate()
{
    DialogTemplate tpl;
    tpl.id = kOutputDialogTemplate;
    tpl.title = "TRAVEX-Pro";
    tpl.fontName = "ＭＳ Ｐゴシック";
    tpl.fontPointSize = 9;
    DialogUnitsToPixels(tpl.fontName, tpl.fontPointSize, 199, 109, &tpl.width, &tpl.height);
    return tpl;
}

}  // namespace

std::string ToolSlotLine(const ResourceTable* resources, int16_t language, int slot)
{
    if (g == nullptr || g->pPlotSettings == nullptr || slot < 1 || slot > kToolSlotCount)
        return std::string();
    const ToolSlot& tool = g->pPlotSettings->aToolSlot[slot - 1];
    if (!IsListedSlot(tool))
        return std::string();
    // 63 characters of up to three bytes each
    char typeName[63 * 3 + 1];
    int base = language == 0 ? kJapaneseToolTypeStrings : kEnglishToolTypeStrings;
    LoadResourceString(resources, base + tool.wType, typeName, int(sizeof typeName), 65001);
    char line[512];
    if (tool.wThickness != 0)
        std::snprintf(line, sizeof line, "No%d:%s %gmm", slot, typeName, double(tool.wThickness) / 100.0);
    else
        std::snprintf(line, sizeof line, "No%d:%s", slot, typeName);
    std::string text = line;
    if (tool.wType >= 1 && tool.wType <= kLastPenType && tool.fColor != 0) {
        const char* primary = nullptr;
        for (const PrimaryColour& c : kPrimaries)
            if (c.red == tool.wRed && c.green == tool.wGreen && c.blue == tool.wBlue)
                primary = language == 0 ? c.japanese : c.english;
        if (primary != nullptr) {
            text += primary;
        } else {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "(%02X%02X%02X)", ColourByte(tool.wRed), ColourByte(tool.wGreen),
                          ColourByte(tool.wBlue));
            text += suffix;
        }
    }
    return text;
}

int MapComboIndexToToolNumber(int index)
{
    if (g == nullptr || g->pPlotSettings == nullptr)
        return 0;
    int k = 0;
    for (int slot = 1; slot <= kToolSlotCount; ++slot) {
        if (!IsListedSlot(g->pPlotSettings->aToolSlot[slot - 1]))
            continue;
        if (k == index)
            return slot;
        ++k;
    }
    return 0;
}

int MapToolNumberToComboIndex(int number)
{
    if (g == nullptr || g->pPlotSettings == nullptr || number < 1 || number > kToolSlotCount)
        return 0;
    if (!IsListedSlot(g->pPlotSettings->aToolSlot[number - 1]))
        return 0;
    int before = 0;
    for (int slot = 1; slot < number; ++slot)
        if (IsListedSlot(g->pPlotSettings->aToolSlot[slot - 1]))
            ++before;
    return before;
}

const ResourceTable* OutputResourceInstance() { return g_resources; }

int RunOutputDialog(SPPluginRef self)
{
    SPAccessRef access = nullptr;
    void* module = nullptr;
    if (sSPAccess == nullptr || sSPAccess->GetPluginAccess(self, &access) != kNoErr ||
        sSPAccess->GetAccessModule(access, &module) != kNoErr)
        return -1;
    g_resources = ModuleResources(module);
    if (g_resources == nullptr || g == nullptr || !EnsureQtApplication())
        return -1;
    // "Cancel" leaves the run as it was: the table's edits and the file choice are undone
    static LayerTable before;
    int16_t textOut = g->fTextOut;
    if (g->pLayerTable != nullptr)
        std::memcpy(&before, g->pLayerTable, sizeof before);
    int result = RunModalDialog(OutputTemplate(), OutputDialogProc, nullptr, nullptr);
    if (result == kDialogCancel) {
        g->fTextOut = textOut;
        if (g->pLayerTable != nullptr)
            std::memcpy(g->pLayerTable, &before, sizeof before);
    }
    return result;
}
