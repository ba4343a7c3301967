#include "config/property_dialog.h"

#include "config/additional_page.h"
#include "config/message_box.h"
#include "config/paper_list_page.h"
#include "config/paper_page.h"
#include "config/plotter_page.h"
#include "config/settings_store.h"
#include "config/tool_page.h"

#include <cstring>

namespace {

const char kPropertyTitle[] = "TRAVEX-Pro(HP-GL)のプロパティ";
const char kCancelText[] = "ｷｬﾝｾﾙ";

// The dialog's rectangles in dialog units of its font.
constexpr int kDialogWidthUnits = 263;
constexpr int kDialogHeightUnits = 295;
constexpr int kTabX = 5, kTabY = 5, kTabWidth = 255, kTabHeight = 265;
constexpr int kButtonWidth = 50, kButtonHeight = 14, kButtonY = 276;
constexpr int kOkX = 156, kCancelX = 210;

struct PageEntry {
    const char* tab;
    DialogTemplate (*makeTemplate)();
    DialogProc proc;
    int (*save)(DialogWindow* page);
    void (*changeUnit)(DialogWindow* page, int16_t unit);  // null: the page shows no lengths
    int unitCombo;
};

// Tab order, creation order and saving order are the same.
const PageEntry kPages[kConfigPageCount] = {
    {"用紙サイズ", PaperPageTemplate, PaperPageProc, SavePaperPage, ChangePaperUnit, kPaperUnitCombo},
    {"プロッタ環境設定", PlotterPageTemplate, PlotterPageProc, SavePlotterPage, ChangeMarginUnit,
        kMarginUnitCombo},
    {"プロッタ追加設定", ExtraPageTemplate, ExtraPageProc, SaveExtraPage, ChangeExtraUnit, kExtraUnitCombo},
    {"ツール環境設定", ToolPageTemplate, ToolPageProc, SaveToolPage, nullptr, 0},
    {"用紙設定", PaperListPageTemplate, PaperListPageProc, SavePaperListPage, ChangePaperListUnit,
        kPaperListUnitCombo},
};

DialogWindow* g_dialog = nullptr;

DialogControl DialogControlAt(int id, int kind, int x, int y, int width, int height,
    const char* text)
{
    return ConfigControl(kPropertyDialogPointSize, id, kind, x, y, width, height, text);
}

DialogTemplate PropertyTemplate()
{
    DialogTemplate tpl =
        ConfigTemplate(kPropertyDialogTemplate, kPropertyDialogPointSize, kDialogWidthUnits, kDialogHeightUnits);
    tpl.title = kPropertyTitle;
    tpl.controls = {
        DialogControlAt(kDialogOk, kControlDefaultButton, kOkX, kButtonY, kButtonWidth,
            kButtonHeight, "OK"),
        DialogControlAt(kDialogCancel, kControlPushButton, kCancelX, kButtonY, kButtonWidth,
            kButtonHeight, kCancelText),
        DialogControlAt(kPropertyTabControl, kControlTabControl, kTabX, kTabY, kTabWidth,
            kTabHeight, ""),
    };
    return tpl;
}

// Halves taken as integers, from the right and bottom edges as the desktop gives them.
void CentreOnDesktop(DialogWindow* dialog)
{
    int desktopWidth = 0, desktopHeight = 0;
    GetDesktopSize(&desktopWidth, &desktopHeight);
    int x = 0, y = 0, width = 0, height = 0;
    GetDialogWindowRect(dialog, &x, &y, &width, &height);
    MoveDialogWindow(dialog, desktopWidth / 2 - (x + width) / 2, desktopHeight / 2 - (y + height) / 2, 0, 0);
}

void CreatePages(DialogWindow* dialog)
{
    for (int i = 0; i < kConfigPageCount; ++i)
        TabInsertItem(dialog, kPropertyTabControl, i, kPages[i].tab);
    for (int i = 0; i < kConfigPageCount; ++i) {
        DialogWindow* page = CreateChildPage(dialog, kPages[i].makeTemplate(), kPages[i].proc, nullptr);
        RecordPageWindow(i, page);
    }
    int x = 0, y = 0, width = 0, height = 0;
    GetTabDisplayRect(dialog, kPropertyTabControl, &x, &y, &width, &height);
    for (int i = 0; i < kConfigPageCount; ++i)
        MoveChildPage(PageWindow(i), x, y, width, height);
    ShowChildPage(PageWindow(kPaperPage), true);
}

void ShowTab(DialogWindow* dialog)
{
    int selected = TabGetCurSel(dialog, kPropertyTabControl);
    if (selected < 0 || selected >= kConfigPageCount)
        return;
    // The paper list may have changed while the paper page was hidden.
    if (selected == kPaperPage)
        SyncPaperSizeList(PageWindow(kPaperPage));
    for (int i = 0; i < kConfigPageCount; ++i)
        ShowChildPage(PageWindow(i), i == selected);
}

std::string SaveFailedText(const SettingsWriteFailure& failure)
{
    std::string text = "設定ファイルに書き込めませんでした。設定は保存されていません。\n";
    text += failure.path.empty() ? std::string("(設定フォルダのパスが長すぎます)") : failure.path;
    if (failure.error != 0)
        text += std::string("\n(") + std::strerror(failure.error) + ")";
    return text;
}

// The savers in order; the first write that fails stops them, and the user is told.
int SavePages(DialogWindow* dialog)
{
    ClearSettingsWriteFailure();
    int status = 0;
    for (int i = 0; i < kConfigPageCount && status == 0; ++i)
        status = kPages[i].save(PageWindow(i));
    SettingsWriteFailure failure = LastSettingsWriteFailure();
    if (status == 0 && !failure.failed)
        return kDialogOk;
    if (!failure.failed)
        failure.path = SettingsFilePath();
    ShowConfigMessage(dialog, SaveFailedText(failure));
    return kPropertyNotSaved;
}

void ForgetPages()
{
    for (int i = 0; i < kConfigPageCount; ++i)
        RecordPageWindow(i, nullptr);
}

intptr_t Command(DialogWindow* dialog, const DialogEvent& event)
{
    if (event.controlId == kPropertyTabControl && event.notification == kNotifySelectionChange)
        ShowTab(dialog);
    else if (event.controlId == kDialogOk && event.notification == kNotifyClicked)
        EndModalDialog(dialog, SavePages(dialog));
    else if (event.controlId == kDialogCancel && event.notification == kNotifyClicked)
        EndModalDialog(dialog, kDialogCancel);
    return 1;
}

} // namespace

intptr_t PropertyDialogProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    switch (event.message) {
    case kDialogInit:
        g_dialog = dialog;
        CentreOnDesktop(dialog);
        CreatePages(dialog);
        return 0;
    case kDialogCommand: return Command(dialog, event);
    case kDialogClose:
        for (int i = 0; i < kConfigPageCount; ++i)
            EndModalDialog(PageWindow(i), kPropertyClosed);
        EndModalDialog(dialog, kPropertyClosed);
        return 1;
    case kDialogDestroy:
        if (dialog == g_dialog) {
            ForgetPages();
            g_dialog = nullptr;
        }
        return 0;
    default: return 0;
    }
}

int RunPropertyDialog()
{
    ForgetPages();
    return RunModalDialog(PropertyTemplate(), PropertyDialogProc, nullptr, nullptr);
}

DialogWindow* PropertyDialog()
{
    return g_dialog;
}

void PageUnitChosen(DialogWindow* page, int16_t source)
{
    const PageEntry& entry = kPages[source];
    int16_t unit = SelectedUnit(page, entry.unitCombo);
    if (unit < 0 || entry.changeUnit == nullptr)
        return;
    entry.changeUnit(page, unit);
    SyncUnitSelection(source, unit);
}

void SyncUnitSelection(int16_t source, int16_t unit)
{
    for (int i = 0; i < kConfigPageCount; ++i) {
        DialogWindow* page = PageWindow(i);
        if (page == nullptr || i == source || kPages[i].changeUnit == nullptr)
            continue;
        ComboSetCurSel(page, kPages[i].unitCombo, unit);
        kPages[i].changeUnit(page, unit);
    }
    gPaperList.wUnit = unit;
}
