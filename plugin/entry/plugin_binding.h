// The host binding statics, alive as long as the library is loaded, and the suite binding
// around every message.
#pragma once

#include "sdk/sp_basic.h"
#include "sdk/sp_message.h"

// The basic suite of the latest message.
extern SPBasicSuite* sSPBasic;
// How many messages currently hold the suites; 0 outside any message.
extern int16_t wSuiteNesting;

// Every suite of the suite table into its receiving pointer (outermost call only).
ASErr AcquireSuites();
// Every held suite released again (outermost call only).
ASErr ReleaseSuites();
