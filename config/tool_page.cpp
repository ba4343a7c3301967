// The tool page: for each of the ten tool slots its tool type, pen thickness and pen colour,
// the colours chosen from lists of swatches that the page draws itself.
#include "config/tool_page.h"

#include "config/config_resources.h"
#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"

#include <string>

namespace {

constexpr int kLabel = -1;

constexpr int kFirstTypeCombo = 304;
constexpr int kControlsPerRow = 3;
constexpr int kToolTypeCount = 12;     // eleven tool kinds, then "未使用"
constexpr int kUnusedTypeIndex = 11;

constexpr int kColourCount = 9;        // eight colours, then "なし"
constexpr int kNoColourIndex = 8;
constexpr int kSwatchWidth = 60;
constexpr int kSwatchHeight = 15;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int16_t kFullComponent = 10000;

struct PenColour {
    uint32_t swatch;        // 0x00RRGGBB
    int16_t red, green, blue;
};

const PenColour kPenColours[kNoColourIndex] = {
    {0x000000, 0, 0, 0},
    {0xFF0000, kFullComponent, 0, 0},
    {0x00FF00, 0, kFullComponent, 0},
    {0x0000FF, 0, 0, kFullComponent},
    {0xFFFF00, kFullComponent, kFullComponent, 0},
    {0x00FFFF, 0, kFullComponent, kFullComponent},
    {0xFF00FF, kFullComponent, 0, kFullComponent},
    {0xFFFFFF, kFullComponent, kFullComponent, kFullComponent},
};

// Rows of the template in dialog units.
constexpr int kFirstRowY = 22;
constexpr int kRowPitch = 19;
constexpr int kTypeX = 24, kTypeWidth = 92;
constexpr int kThicknessX = 122, kThicknessWidth = 34;
constexpr int kColourX = 162, kColourWidth = 50;

int TypeCombo(int row) { return kFirstTypeCombo + kControlsPerRow * row; }
int ThicknessEdit(int row) { return TypeCombo(row) + 1; }
int ColourCombo(int row) { return TypeCombo(row) + 2; }

bool IsColourCombo(int id)
{
    int offset = id - kFirstTypeCombo;
    return offset >= 0 && offset < kControlsPerRow * kToolSlotCount && offset % kControlsPerRow == 2;
}

void AddRow(DialogTemplate* tpl, int row)
{
    int y = kFirstRowY + kRowPitch * row;
    tpl->controls.insert(tpl->controls.end(), {
        PageControl(kLabel, kControlStaticText, 4, y + 2, 16, 8, std::to_string(row + 1),
            kControlRightAligned),
        PageControl(TypeCombo(row), kControlComboBox, kTypeX, y, kTypeWidth, 12),
        PageControl(ThicknessEdit(row), kControlEdit, kThicknessX, y, kThicknessWidth, 12,
            std::string(), kControlRightAligned),
        PageControl(ColourCombo(row), kControlComboBox, kColourX, y, kColourWidth, 12,
            std::string(), kControlOwnerDrawn),
    });
}

// The colour item of a slot: "なし" without a colour, else the colour whose components
// match exactly, black when none does.
int ColourIndex(const ToolSlot& slot)
{
    if (slot.fColor == 0)
        return kNoColourIndex;
    for (int i = 0; i < kNoColourIndex; ++i)
        if (kPenColours[i].red == slot.wRed && kPenColours[i].green == slot.wGreen &&
            kPenColours[i].blue == slot.wBlue)
            return i;
    return 0;
}

void FillRow(DialogWindow* page, int row, const ToolSlot& slot)
{
    ComboResetContent(page, TypeCombo(row));
    for (int i = 0; i < kToolTypeCount; ++i) {
        int at = ComboAddString(page, TypeCombo(row), ConfigString(kToolTypeStrings + i));
        ComboSetItemData(page, TypeCombo(row), at, i);
    }
    // The names go with the swatches as item texts, for screen readers; they are not drawn.
    ComboResetContent(page, ColourCombo(row));
    for (int i = 0; i < kColourCount; ++i) {
        int at = ComboAddString(page, ColourCombo(row), ConfigString(kColourStrings + i));
        ComboSetItemData(page, ColourCombo(row), at, i);
    }
    ComboSetCurSel(page, TypeCombo(row), slot.wType > 0 ? slot.wType - 1 : kUnusedTypeIndex);
    ShowNumberField(page, ThicknessEdit(row), DivReal(IntToReal(slot.wThickness), 100.0f), 2);
    ComboSetCurSel(page, ColourCombo(row), ColourIndex(slot));
}

void InitToolPage(DialogWindow* page)
{
    RecordPageWindow(kToolPage, page);
    for (int row = 0; row < kToolSlotCount; ++row)
        FillRow(page, row, gPlotSettings.aToolSlot[row]);
}

void SaveRow(DialogWindow* page, int row, ToolSlot* slot)
{
    int type = ComboGetCurSel(page, TypeCombo(row));
    slot->wType = 0;
    if (type >= 0) {
        int16_t code = static_cast<int16_t>(ComboGetItemData(page, TypeCombo(row), type) + 1);
        slot->wType = code == kToolTypeCount ? 0 : code;
    }
    slot->wThickness = static_cast<int16_t>(
        RoundFloatToInt(MulReal(ReadNumberField(page, ThicknessEdit(row)), 100.0f)));
    int colour = ComboGetCurSel(page, ColourCombo(row));
    slot->wRed = slot->wGreen = slot->wBlue = 0;
    slot->fColor = colour < kNoColourIndex ? 1 : 0;
    if (slot->fColor != 0 && colour >= 0) {
        slot->wRed = kPenColours[colour].red;
        slot->wGreen = kPenColours[colour].green;
        slot->wBlue = kPenColours[colour].blue;
    }
}

void MeasureColourItem(MeasureItemInfo* measure)
{
    measure->itemWidth = kSwatchWidth;
    measure->itemHeight = kSwatchHeight;
}

// A swatch framed in black inside the item; "なし" and the empty field are white, and
// "なし" is crossed by a diagonal line.
intptr_t DrawColourItem(const DrawItemInfo& item)
{
    int left = item.left, top = item.top, right = item.right, bottom = item.bottom;
    auto shrink = [&] { ++left, ++top, --right, --bottom; };
    bool listed = item.itemIndex >= 0 && item.itemIndex < kNoColourIndex;
    uint32_t swatch = listed ? kPenColours[item.itemIndex].swatch : kWhite;
    switch (item.action) {
    case kDrawEntire:
        shrink();
        DrawItemFrameRect(item, left, top, right, bottom, kBlack);
        break;
    case kDrawSelect:
        shrink();
        DrawItemFrameRect(item, left, top, right, bottom, kBlack);
        shrink();
        DrawItemFrameRect(item, left, top, right, bottom, kBlack);
        break;
    case kDrawFocus:
        shrink();
        DrawItemFrameRect(item, left, top, right, bottom, kWhite);
        DrawItemFocusRect(item, left, top, right, bottom);
        shrink();
        DrawItemFrameRect(item, left, top, right, bottom, kBlack);
        break;
    default: return 0;
    }
    shrink();
    DrawItemFillRect(item, left, top, right, bottom, swatch);
    if (item.itemIndex == kNoColourIndex)
        DrawItemLine(item, left, top, right - 1, bottom - 1, kBlack);
    return 1;
}

} // namespace

DialogTemplate ToolPageTemplate()
{
    DialogTemplate tpl = ConfigPageTemplate(kToolPageTemplate);
    tpl.controls = {
        PageControl(kLabel, kControlStaticText, kTypeX, 8, 60, 8, "Tool Type"),
        PageControl(kLabel, kControlStaticText, kThicknessX, 8, kThicknessWidth, 8, "Thick"),
        PageControl(kLabel, kControlStaticText, kColourX, 8, kColourWidth, 8, "Color"),
    };
    for (int row = 0; row < kToolSlotCount; ++row)
        AddRow(&tpl, row);
    return tpl;
}

intptr_t ToolPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    switch (event.message) {
    case kDialogInit:
        InitToolPage(page);
        return 1;
    case kDialogMeasureItem:
        if (event.measureItem == nullptr || !IsColourCombo(event.controlId))
            return 0;
        MeasureColourItem(event.measureItem);
        return 1;
    case kDialogDrawItem:
        if (event.drawItem == nullptr || !IsColourCombo(event.controlId))
            return 0;
        return DrawColourItem(*event.drawItem);
    default: return 0;
    }
}

int SaveToolPage(DialogWindow* page)
{
    for (int row = 0; row < kToolSlotCount; ++row)
        SaveRow(page, row, &gPlotSettings.aToolSlot[row]);
    return WritePlotSettingsIfGiven(&gPlotSettings);
}
