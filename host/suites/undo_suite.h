// The host's Undo suite: the texts the Undo and Redo items show.
#pragma once

#include "sdk/ai_undo.h"

#include <string>

namespace host {
const AIUndoSuite* HostUndoSuite();
std::string HostUndoText();   // UTF-8
std::string HostRedoText();
}
