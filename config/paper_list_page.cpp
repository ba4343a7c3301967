// The paper list page: the named paper sizes, one list row per entry and an empty row
// after them that stands for no entry, with the fields of the chosen entry beside them.
#include "config/paper_list_page.h"

#include "config/config_text.h"
#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/paper_lists.h"
#include "config/settings_store.h"

#include "platform/ui/ui_resources.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kLabel = -1;

constexpr int kPaperNames = 401;
constexpr int kNameEdit = 402;
constexpr int kWidthEdit = 404;
constexpr int kHeightEdit = 405;
constexpr int kRollCheck = 406;
constexpr int kNewButton = 407;
constexpr int kDeleteButton = 408;
constexpr int kModifyButton = 409;

// A name as the list and the name edit show it; the stored name need not end in a NUL.
std::string NameText(const char* name, size_t room)
{
    return Cp932ToUtf8(std::string(name, strnlen(name, room)).c_str());
}

std::string EntryName(int16_t index)
{
    char name[kPaperNameBytes];
    GetPaperEntry(&gPaperList, index, name, nullptr, nullptr, nullptr);
    return NameText(name, sizeof name);
}

void EmptyPaperListFields(DialogWindow* page)
{
    SetDialogItemText(page, kNameEdit, std::string());
    SetDialogItemText(page, kWidthEdit, std::string());
    SetDialogItemText(page, kHeightEdit, std::string());
    CheckDialogButton(page, kRollCheck, 0);
}

// The entry of the row in the fields; the empty row (or no row) empties them.
void ShowRow(DialogWindow* page, int row)
{
    char name[kPaperNameBytes];
    int16_t width = 0, height = 0, roll = 0;
    if (row >= 0 && GetPaperEntry(&gPaperList, static_cast<int16_t>(row), name, &width, &height, &roll))
        ShowPaperListFields(page, name, width, height, roll);
    else
        EmptyPaperListFields(page);
}

void InitPaperListPage(DialogWindow* page)
{
    RecordPageWindow(kPaperListPage, page);
    ListResetContent(page, kPaperNames);
    for (int16_t i = 0; i < gPaperList.wCount && i < kPaperListRows; ++i)
        ListAddString(page, kPaperNames, EntryName(i));
    ListAddString(page, kPaperNames, std::string());
    ListSetCurSel(page, kPaperNames, 0);
    SetPageUnit(kPaperListPage, StoredDisplayUnit());
    FillUnitCombo(page, kPaperListUnitCombo, PageUnit(kPaperListPage));
    if (gPaperList.wCount > 0)
        ShowRow(page, 0);
}

// The list's row of the entry, after the data changed: its name as stored.
void PutRow(DialogWindow* page, int row)
{
    ListInsertString(page, kPaperNames, row, EntryName(static_cast<int16_t>(row)));
    ListSetCurSel(page, kPaperNames, row);
}

// "新規": a new entry before the selected one, or after the last with the empty row or no
// row selected. A full list takes none: the list stays as it is and the user hears a beep.
void NewEntry(DialogWindow* page, int selected, int lastRow)
{
    int row = selected < 0 ? lastRow : selected;
    char name[kPaperNameBytes];
    int16_t width = 0, height = 0, roll = 0;
    GetPaperListFields(page, name, &width, &height, &roll);
    if (!InsertPaperEntry(&gPaperList, static_cast<int16_t>(row), name, width, height, roll)) {
        RingMessageBeep();
        return;
    }
    PutRow(page, row);
}

void DeleteEntry(DialogWindow* page, int selected)
{
    if (!DeletePaperEntry(&gPaperList, static_cast<int16_t>(selected)))
        return;
    ListDeleteString(page, kPaperNames, selected);
    ListSetCurSel(page, kPaperNames, selected);
    ShowRow(page, selected);
}

void ModifyEntry(DialogWindow* page, int selected)
{
    char name[kPaperNameBytes];
    int16_t width = 0, height = 0, roll = 0;
    GetPaperListFields(page, name, &width, &height, &roll);
    if (!SetPaperEntry(&gPaperList, static_cast<int16_t>(selected), name, width, height, roll))
        return;
    ListDeleteString(page, kPaperNames, selected);
    PutRow(page, selected);
}

intptr_t Command(DialogWindow* page, const DialogEvent& event)
{
    int selected = ListGetCurSel(page, kPaperNames);
    int lastRow = ListGetCount(page, kPaperNames) - 1;
    bool entrySelected = selected >= 0 && selected < lastRow;
    switch (event.controlId) {
    case kPaperNames:
        if (event.notification == kNotifySelectionChange)
            ShowRow(page, selected);
        return 1;
    case kPaperListUnitCombo:
        if (event.notification == kNotifySelectionChange)
            PageUnitChosen(page, kPaperListPage);
        return 1;
    case kNewButton:
        if (event.notification == kNotifyClicked)
            NewEntry(page, selected, lastRow);
        return 1;
    case kDeleteButton:
        if (event.notification == kNotifyClicked && entrySelected)
            DeleteEntry(page, selected);
        return 1;
    case kModifyButton:
        if (event.notification == kNotifyClicked && entrySelected)
            ModifyEntry(page, selected);
        return 1;
    default: return 0;
    }
}

} // namespace

DialogTemplate PaperListPageTemplate()
{
    DialogTemplate tpl = ConfigPageTemplate(kPaperListPageTemplate);
    tpl.controls = {
        PageControl(kPaperNames, kControlListBox, 6, 6, 100, 218),
        PageControl(kLabel, kControlStaticText, 112, 10, 34, 8, "用紙名："),
        PageControl(kNameEdit, kControlEdit, 148, 8, 68, 12),
        PageControl(kLabel, kControlStaticText, 112, 28, 34, 8, "単位："),
        PageControl(kPaperListUnitCombo, kControlComboBox, 148, 26, 50, 12),
        PageControl(kLabel, kControlStaticText, 112, 46, 34, 8, "用紙幅："),
        PageControl(kWidthEdit, kControlEdit, 148, 44, 50, 12, std::string(), kControlRightAligned),
        PageControl(kLabel, kControlStaticText, 112, 64, 34, 8, "用紙長："),
        PageControl(kHeightEdit, kControlEdit, 148, 62, 50, 12, std::string(), kControlRightAligned),
        PageControl(kRollCheck, kControlCheckBox, 148, 80, 68, 12, "ロール紙(&R)"),
        PageControl(kNewButton, kControlPushButton, 148, 104, 56, 14, "新規(&N)"),
        PageControl(kDeleteButton, kControlPushButton, 148, 122, 56, 14, "削除(&D)"),
        PageControl(kModifyButton, kControlPushButton, 148, 140, 56, 14, "修正(&E)"),
    };
    return tpl;
}

intptr_t PaperListPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    switch (event.message) {
    case kDialogInit:
        InitPaperListPage(page);
        return 1;
    case kDialogCommand: return Command(page, event);
    default: return 0;
    }
}

void GetPaperListFields(DialogWindow* page, char* name, int16_t* width, int16_t* height, int16_t* roll)
{
    int16_t unit = PageUnit(kPaperListPage);
    *width = ReadLengthField(page, kWidthEdit, unit, true);
    *height = ReadLengthField(page, kHeightEdit, unit, true);
    // A name is cut to what the entry holds, never inside a double-byte character.
    Utf8ToCp932(GetDialogItemText(page, kNameEdit), name, kPaperNameBytes);
    if (name[0] == '\0')
        std::snprintf(name, kPaperNameBytes, "CUST(%ld*%ld)", static_cast<long>(*width),
            static_cast<long>(*height));
    *roll = IsDialogButtonChecked(page, kRollCheck) != 0 ? 1 : 0;
}

void ShowPaperListFields(DialogWindow* page, const char* name, int16_t width, int16_t height, int16_t roll)
{
    int16_t unit = PageUnit(kPaperListPage);
    SetDialogItemText(page, kNameEdit, NameText(name, kPaperNameBytes));
    ShowLengthField(page, kWidthEdit, width, unit);
    ShowLengthField(page, kHeightEdit, height, unit);
    CheckDialogButton(page, kRollCheck, roll != 0 ? 1 : 0);
}

int SavePaperListPage(DialogWindow* page)
{
    gPaperList.wUnit = PageUnit(kPaperListPage);
    return WritePaperListIfGiven(&gPaperList);
}

void ChangePaperListUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kPaperListPage))
        return;
    char name[kPaperNameBytes];
    int16_t width = 0, height = 0, roll = 0;
    GetPaperListFields(page, name, &width, &height, &roll);
    SetPageUnit(kPaperListPage, unit);
    ShowPaperListFields(page, name, width, height, roll);
}
