// The system's message beep: the terminal bell.
#pragma once

// type 0 is the default beep; the terminal has only the one.
void MessageBeep(unsigned type);
