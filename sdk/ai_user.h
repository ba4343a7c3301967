// The host's User suite: progress, the cancel check and the two alerts.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ai_unicode_string.h"

struct AIUserSuite {
    // non-zero when the user asked to stop the running operation
    ASBoolean (*Cancel)();
    // the progress bar at current out of maximum
    void (*UpdateProgress)(int32_t current, int32_t maximum);
    // the text shown beside the progress bar
    void (*SetProgressText)(AIUnicodeStringRef text);
    void (*CloseProgress)();
    // a modal alert that reports a failure
    ASErr (*ErrorAlert)(AIUnicodeStringRef text);
    // a modal alert that tells the user something
    ASErr (*MessageAlert)(AIUnicodeStringRef text);
};
