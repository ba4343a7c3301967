// A loadable module that runs a dialog with its own copy of the dialog runner, as the
// plug-in does inside its host.
#include "platform/ui/dialog_runner.h"

#include <QCoreApplication>

namespace {

intptr_t ModuleProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    if (event.message == kDialogCommand && event.notification == kNotifyClicked &&
        (event.controlId == kDialogOk || event.controlId == kDialogCancel)) {
        *static_cast<int*>(user) = IsDialogButtonChecked(dialog, 10);
        EndModalDialog(dialog, event.controlId);
        return 1;
    }
    return event.message == kDialogInit ? 1 : 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void* ModuleQtInstance()
{
    return EnsureQtApplication() ? QCoreApplication::instance() : nullptr;
}

extern "C" __attribute__((visibility("default"))) int RunModuleDialog(int* ticked)
{
    DialogTemplate tpl;
    tpl.id = 16150;
    tpl.title = "About";
    tpl.width = 240;
    tpl.height = 120;
    tpl.controls.push_back({10, kControlCheckBox, 10, 10, 150, 16, "Remember"});
    tpl.controls.push_back({kDialogOk, kControlDefaultButton, 180, 90, 50, 20, "OK"});
    tpl.controls.push_back({1082, kControlTabControl, 10, 30, 150, 50, ""});
    return RunModalDialog(tpl, ModuleProc, ticked, nullptr);
}
