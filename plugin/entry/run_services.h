// The services every stage of a run uses through the host: the progress text and
// percentage, the user's cancel, and the beep.
#pragma once

#include <cstdint>

#include "sdk/ai_types.h"

// Shows text as the host's progress text (code page 932); nothing without the User suite.
void SetHostProgressText(const char* text);

// The stage text with the page's object count, "%s [%d]"; the count goes up by n.
void ShowProgressText(const char* message);
void AdvanceObjectCount(int32_t n);
// Calls the host only when the percentage changes.
void SetProgressPercent(int16_t percent);

// -1 and g->fAbort set when the user cancelled the progress display, else 0.
ASErr CheckUserCancel();

void PlayMessageBeep();
