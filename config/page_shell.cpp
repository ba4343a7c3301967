#include "config/page_shell.h"

#include "config/config_resources.h"
#include "config/numbers_and_units.h"

const char kConfigFontName[] = "ＭＳ Ｐゴシック";

namespace {

constexpr int kPageWidthUnits = 251;
constexpr int kPageHeightUnits = 241;

DialogWindow* g_pageWindow[kConfigPageCount] = {};
int16_t g_pageUnit[kConfigPageCount] = {};

bool IsPage(int page)
{
    return page >= 0 && page < kConfigPageCount;
}

} // namespace

void RecordPageWindow(int page, DialogWindow* window)
{
    if (IsPage(page))
        g_pageWindow[page] = window;
}

DialogWindow* PageWindow(int page)
{
    return IsPage(page) ? g_pageWindow[page] : nullptr;
}

int16_t PageUnit(int page)
{
    return IsPage(page) ? g_pageUnit[page] : kUnitMillimetre;
}

void SetPageUnit(int page, int16_t unit)
{
    if (IsPage(page))
        g_pageUnit[page] = ValidDisplayUnit(unit);
}

void FillUnitCombo(DialogWindow* page, int comboId, int16_t unit)
{
    ComboResetContent(page, comboId);
    for (int16_t i = kUnitInch; i <= kUnitPixel; ++i) {
        int at = ComboAddString(page, comboId, ConfigString(kUnitStrings + i));
        ComboSetItemData(page, comboId, at, i);
    }
    ComboSetCurSel(page, comboId, unit);
}

int16_t SelectedUnit(DialogWindow* page, int comboId)
{
    int selected = ComboGetCurSel(page, comboId);
    if (selected < 0)
        return -1;
    return static_cast<int16_t>(ComboGetItemData(page, comboId, selected));
}

DialogTemplate ConfigTemplate(int templateId, int pointSize, int widthUnits, int heightUnits)
{
    DialogTemplate tpl;
    tpl.id = templateId;
    tpl.fontName = kConfigFontName;
    tpl.fontPointSize = pointSize;
    DialogUnitsToPixels(kConfigFontName, pointSize, widthUnits, heightUnits, &tpl.width, &tpl.height);
    return tpl;
}

DialogControl ConfigControl(int pointSize, int id, int kind, int x, int y, int width, int height,
    const std::string& text, uint32_t flags)
{
    DialogControl control;
    control.id = id;
    control.kind = kind;
    control.text = text;
    control.flags = flags;
    DialogUnitsToPixels(kConfigFontName, pointSize, x, y, &control.x, &control.y);
    DialogUnitsToPixels(kConfigFontName, pointSize, width, height, &control.w, &control.h);
    return control;
}

DialogTemplate ConfigPageTemplate(int templateId)
{
    return ConfigTemplate(templateId, kPagePointSize, kPageWidthUnits, kPageHeightUnits);
}

DialogControl PageControl(int id, int kind, int x, int y, int width, int height,
    const std::string& text, uint32_t flags)
{
    return ConfigControl(kPagePointSize, id, kind, x, y, width, height, text, flags);
}

void ShowLengthField(DialogWindow* page, int editId, int32_t millimetres, int16_t unit)
{
    SetDialogItemText(page, editId, DisplayLength(millimetres, unit));
}

int16_t ReadLengthField(DialogWindow* page, int editId, int16_t unit, bool paperSize)
{
    return EntryLength(GetDialogItemText(page, editId), unit, paperSize);
}

void ShowNumberField(DialogWindow* page, int editId, float value, int decimals)
{
    SetDialogItemText(page, editId, FormatFixed(value, decimals));
}

float ReadNumberField(DialogWindow* page, int editId)
{
    std::string text = GetDialogItemText(page, editId);
    return ParseNumber(EntryText(text));
}
