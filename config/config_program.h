// TRVXSerConfig's run: settings and page record loaded, the property dialog, the page record
// written after OK, and the answer RetVal for the plug-in that started the program.
#pragma once

#include "platform/ui/ui_resources.h"

#include <cstdint>

extern const char kRetValName[];   // "RetVal"

// The environment variable naming a file of UI robot steps for this program. The program
// takes its steps from there only, never from the variables of the program that started it.
constexpr const char* kConfigUiFileVariable = "TRVXSERCONFIG_UI_FILE";

// The program's steps; returns the exit code, 0 whatever happened. RetVal becomes 1 after
// OK, 2 after Cancel, 0 when the dialog was closed, -1 when it could not be created, and 3
// when OK could not write the settings (the user has been told).
int WinMain(const ResourceTable* instance);

// The instance WinMain was given (null before).
const ResourceTable* ConfigInstance();

// Sets RetVal under Software\Brenvoltic\TRVXSerConfig; 0 or the registry's failure.
int32_t WriteRetVal(int32_t result);

// Arms the UI robot with the steps of the file named in TRVXSERCONFIG_UI_FILE and drops the
// robot variable of the parent's environment. False (with the reason on standard error)
// when the named file cannot be used; the dialog is then closed as soon as it opens.
bool TakeUiStepsFromEnvironment();
