// The UI robot steps travex-host hands to the configuration program that the plug-in starts.
// The program reads no command line and takes its steps only from the file named in its own
// variable TRVXSERCONFIG_UI_FILE, which it inherits from this process through the plug-in;
// the host's own steps (--ui, TRAVEX_UI_SCRIPT) never reach it, and the host never reads the
// program's variable.
#pragma once

#include <string>

namespace host {

extern const char kConfigProgramStepsVariable[];  // "TRVXSERCONFIG_UI_FILE"

// Steps as on the command line, ';' between them: checked, written one per line into a file
// of this run and named in the variable for every later start. False with the reason when
// a step does not parse or the file cannot be written; the variable is unchanged then.
bool SetConfigProgramSteps(const std::string& steps, std::string& error);

// A file of steps, one per line: checked and named in the variable by its absolute path.
bool SetConfigProgramStepFile(const std::string& path, std::string& error);

// Removes the file SetConfigProgramSteps wrote; also at the process's exit.
void RemoveConfigProgramSteps();

}  // namespace host
