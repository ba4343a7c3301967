// The host's Undo suite: the texts of the Undo and Redo items for the current operation.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ai_unicode_string.h"

struct AIUndoSuite {
    ASErr (*SetUndoText)(AIUnicodeStringRef undoText, AIUnicodeStringRef redoText);
};
