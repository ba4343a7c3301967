// The steps travex-host carries out between "Startup" and "Shutdown", from its command line
// or from a script file (one step per line, '#' starts a comment line).
#pragma once

#include "host/session/host_session.h"

#include <string>
#include <vector>

namespace host {

// Splits a step into words; double quotes group words with blanks.
std::vector<std::string> SplitStepWords(const std::string& step);

// Carries out one step; false with a message when it cannot be done.
bool RunHostStep(HostSession& session, const std::string& step, std::string& error);

// Checks a step before anything runs: a known step with the words it takes and, for
// "plot", options that fit the drawing. False with a message naming what is wrong.
bool CheckHostStep(const Document& document, const std::string& step, std::string& error);

// The steps of a script file; false with a message naming the file when it cannot be read.
bool ReadHostScript(const std::string& path, std::vector<std::string>& steps, std::string& error);

// The help text of the steps.
const char* HostStepHelp();

}  // namespace host
