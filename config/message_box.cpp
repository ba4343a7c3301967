#include "config/message_box.h"

#include "platform/ui/dialog_runner.h"

#include <cstdio>

namespace {

const char kMessageTitle[] = "TRAVEX-Pro(HP-GL)";

intptr_t MessageProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    switch (event.message) {
    case kDialogInit: return 1;
    case kDialogClose: EndModalDialog(dialog, kDialogOk); return 1;
    case kDialogCommand:
        if (event.controlId == kDialogOk || event.controlId == kDialogCancel)
            EndModalDialog(dialog, kDialogOk);
        return 1;
    default: return 0;
    }
}

} // namespace

void ShowConfigMessage(DialogWindow* owner, const std::string& text)
{
    std::fprintf(stderr, "TRVXSerConfig: %s\n", text.c_str());
    std::fflush(stderr);
    DialogTemplate tpl;
    tpl.id = kMessageBoxTemplate;
    tpl.title = kMessageTitle;
    tpl.width = 480;
    tpl.height = 150;
    tpl.controls = {
        {kMessageBoxText, kControlStaticText, 16, 16, 448, 84, text, 0},
        {kDialogOk, kControlDefaultButton, 200, 112, 80, 26, "OK", 0},
    };
    RunModalDialog(tpl, MessageProc, nullptr, owner != nullptr ? GetDialogWidget(owner) : nullptr);
}
