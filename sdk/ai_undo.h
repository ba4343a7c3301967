// The host's Undo suite: the texts of the Undo and Redo items for the current operation.
#pragma once

#include "ai_types.h"
#include "ai_unicode_string.h"

struct AIUndoSuite {
    ASErr (*SetUndoText)(AIUnicodeStringRef undoText, AIUnicodeStringRef redoText);
};
