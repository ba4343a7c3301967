// A dialog procedure that records what it is sent, for the user-interface tests.
#pragma once

#include "platform/ui/dialog_runner.h"
#include "platform/ui/ui_robot.h"

#include <functional>
#include <utility>
#include <vector>

struct SeenByDialog {
    DialogWindow* dialog = nullptr;
    std::vector<std::pair<int, int>> commands;  // id, notification; focus changes left out
    std::vector<std::pair<int, int>> focus;     // id, set or kill focus
    int closes = 0;
    bool answerClose = false;       // handle the close box itself (ending with 0)
    bool ignoreCancel = false;      // a procedure that never ends on its own
    std::function<void(DialogWindow*)> onInit;
    std::function<void(DialogWindow*, int)> onEnd;  // just before the dialog ends with the id
    std::function<intptr_t(DialogWindow*, const DialogEvent&)> onOther;
};

inline intptr_t RecordingProc(DialogWindow* dialog, const DialogEvent& event, void* user)
{
    auto* seen = static_cast<SeenByDialog*>(user);
    switch (event.message) {
    case kDialogInit:
        seen->dialog = dialog;
        if (seen->onInit)
            seen->onInit(dialog);
        return 1;
    case kDialogCommand:
        if (event.notification != kNotifySetFocus && event.notification != kNotifyKillFocus)
            seen->commands.emplace_back(event.controlId, event.notification);
        else
            seen->focus.emplace_back(event.controlId, event.notification);
        if ((event.controlId == kDialogOk || event.controlId == kDialogCancel) &&
            event.notification == kNotifyClicked) {
            if (event.controlId == kDialogCancel && seen->ignoreCancel)
                return 0;
            if (seen->onEnd)
                seen->onEnd(dialog, event.controlId);
            EndModalDialog(dialog, event.controlId);
        }
        return 1;
    case kDialogClose:
        ++seen->closes;
        if (seen->answerClose) {
            EndModalDialog(dialog, 0);
            return 1;
        }
        return 0;
    default:
        return seen->onOther ? seen->onOther(dialog, event) : 0;
    }
}

inline DialogTemplate OkCancelTemplate(int id)
{
    DialogTemplate tpl;
    tpl.id = id;
    tpl.title = "Test";
    tpl.width = 300;
    tpl.height = 200;
    tpl.controls.push_back({kDialogOk, kControlDefaultButton, 200, 170, 40, 20, "OK"});
    tpl.controls.push_back({kDialogCancel, kControlPushButton, 250, 170, 40, 20, "Cancel"});
    return tpl;
}
