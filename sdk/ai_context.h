// The host's Context suite: the host application's own windows.
#pragma once

#include "sdk/ai_document_view.h"
#include "sdk/ai_types.h"

struct AIContextSuite {
    // The host's main window: its first child is the workspace, whose first child is the
    // active document window (none without a document). The Document View suite walks
    // and names these windows.
    ASErr (*GetMainWindow)(AIWindowHandle* window);
};
