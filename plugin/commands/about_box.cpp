// The About box: the product name and version, and an OK button.
#include "platform/code_pages.h"
#include "platform/ui/dialog_runner.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/entry/plugin_resources.h"
#include "sdk/sp_access.h"
#include "plugin/entry/suite_table.h"

#include <string>

namespace {

constexpr int kJapaneseAboutDialog = 16150;
constexpr int kEnglishAboutDialog = 16250;
constexpr int kProductText = 101;
constexpr int kDescriptionText = 102;

// Eight-bit text of code page 932 as UTF-8 for the dialog.
std::string ShiftJisToUtf8(const char* text)
{
    char16_t wide[256];
    int units = MultiByteToWide(kCodePageShiftJis, text, -1, wide, 256);
    if (units <= 0)
        return std::string();
    char utf8[768];
    int bytes = WideToMultiByte(kCodePageUtf8, wide, units, utf8, sizeof utf8);
    return bytes > 0 ? std::string(utf8) : std::string();
}

DialogTemplate AboutTemplate(int id, const ResourceTable* resources)
{
    std::string description;
    FindResourceString(resources, (id == kJapaneseAboutDialog ? kJapaneseMenuStrings : kEnglishMenuStrings) +
                                      kAboutDescriptionString,
                       &description);
    DialogTemplate tpl;
    tpl.id = id;
    tpl.title = id == kJapaneseAboutDialog ? "バージョン情報" : "About";
    tpl.width = 300;
    tpl.height = 120;
    tpl.flags = kDialogNoCloseBox;
    tpl.controls = {
        {kProductText, kControlStaticText, 16, 16, 268, 20, "", kControlCentered},
        {kDescriptionText, kControlStaticText, 16, 42, 268, 20, description, kControlCentered},
        {kDialogOk, kControlDefaultButton, 110, 78, 80, 26, "OK", 0},
    };
    return tpl;
}

intptr_t AboutProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    if (event.message == kDialogInit) {
        std::string product = ShiftJisToUtf8(g->szProductName) + " " + ShiftJisToUtf8(g->szVersion);
        SetDialogItemText(dialog, kProductText, product);
        return 1;
    }
    if (event.message == kDialogCommand && (event.controlId == kDialogOk || event.controlId == kDialogCancel)) {
        EndModalDialog(dialog, event.controlId);
        return 1;
    }
    return 0;
}

}  // namespace

ASErr ShowAboutBox(SPMessageData* message)
{
    // before a start-up that succeeded there is no product to show
    if (g == nullptr)
        return kNoErr;
    SPAccessRef access = nullptr;
    void* module = nullptr;
    ASErr status = sSPAccess->GetPluginAccess(message->self, &access);
    if (status == kNoErr)
        status = sSPAccess->GetAccessModule(access, &module);
    if (status != kNoErr)
        return status;
    const ResourceTable* resources = ModuleResources(module);
    if (resources == nullptr || !EnsureQtApplication())
        return kBadParameterErr;
    int id = g->iLanguage == 0 ? kJapaneseAboutDialog : kEnglishAboutDialog;
    RunModalDialog(AboutTemplate(id, resources), AboutProc, nullptr, nullptr);
    return kNoErr;
}
