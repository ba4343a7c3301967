// The UI robot: a scripted user for the dialogs of this process.
//
// Steps act on the active modal dialog (the innermost one, its visible child pages
// included) through the widgets' own signals and events, so the dialog procedure runs as
// it would for a user. One step per line in a file ('#' starts a comment line); ';'
// separates steps on a command line. Controls are named by id:
//
//   tick ID             check box ID ends up ticked (clicked when it was not)
//   untick ID           check box ID ends up cleared
//   radio ID            click radio button ID
//   choose ID K         choose item K (0-based) of combo box ID
//   pick ID TEXT        choose the first item of combo box ID whose text starts with TEXT
//                       (a word without blanks)
//   select ID K         select row K (0-based) of list box ID
//   type ID TEXT        replace the text of edit ID by TEXT (rest of the line, may be empty)
//   press ID            press button ID
//   tab ID K            choose tab K (0-based) of tab control ID
//   scroll ID REQUEST   scroll bar ID: up, down, pageup, pagedown, top, bottom, or a position
//   close               the close box of the dialog
//   save PATH           name PATH in the save-file dialog and accept it (replacing a file)
//   cancel              cancel the save-file dialog
//   wait [DIALOGID]     wait for the next dialog (with that template id) to open
//   hook NAME           call the hook registered under NAME while the dialog stays open
//
// The robot starts acting when a script is set, or whenever Qt runs offscreen (where no
// one else could answer). A step that cannot be carried out (no such control, no dialog
// within the timeout, no step left for an open dialog, an unknown hook) fails: the error
// is recorded and printed to standard error, the dialog is closed (close box, then cancel),
// the remaining steps are dropped, and every later dialog is closed as soon as it opens.
//
// The script, the records and the hooks belong to the process (shared between a program
// and the plug-ins it loaded).
#pragma once

#include <string>
#include <vector>

// Replaces the script; false (and nothing set) when a step does not parse.
bool SetUiRobotScript(const std::string& steps, std::string* error = nullptr);
bool LoadUiRobotScriptFromFile(const std::string& path, std::string* error = nullptr);
// The environment variable naming a script file; read once by EnsureQtApplication.
constexpr const char* kUiRobotScriptVariable = "TRAVEX_UI_SCRIPT";

typedef void (*UiRobotHook)(void* user);
void RegisterUiRobotHook(const std::string& name, UiRobotHook hook, void* user);

// How long the robot waits for a dialog or a step before it fails (default 5000 ms, or
// TRAVEX_UI_TIMEOUT_MS from the environment).
void SetUiRobotTimeout(int milliseconds);

// What the robot saw of a control when a step ran.
struct UiControlState {
    int id = 0;
    int kind = 0;  // DialogControlKind
    std::string text;  // caption or edit text; selected item text for combos and lists
    int checked = 0;
    int selection = -1;  // combo, list, tab; scroll position for scroll bars
    std::vector<std::string> items;
    bool enabled = true;
    bool visible = true;
};

struct UiRobotStepRecord {
    std::string step;
    int dialogId = 0;  // template id; 0 for the save-file dialog
    bool ok = false;
    std::string error;
    std::vector<UiControlState> controls;  // the dialog's controls just before the step
};

struct UiShownDialog {
    int dialogId = 0;  // 0 for the save-file dialog
    std::string title;
    std::vector<UiControlState> controls;  // as the dialog was first shown
    // the save-file dialog as it was first shown: its file filters, the file name it
    // offered, and whether it asks before replacing a file
    std::vector<std::string> fileFilters;
    std::string fileName;
    bool fPromptOverwrite = false;
};

std::vector<UiShownDialog> UiRobotShownDialogs();
std::vector<UiRobotStepRecord> UiRobotStepRecords();
std::vector<std::string> UiRobotErrors();
int UiRobotPendingStepCount();
// At the end of a run: steps never carried out are recorded and printed as errors.
// Returns the number of errors of the whole run (0: every step was carried out).
int FinishUiRobot();
// Forgets the script, the records and the errors (hooks stay registered).
void ResetUiRobot();
