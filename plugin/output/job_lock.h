// The lock on the job files of the settings folder (the plot data file, the job file, the
// ".plt" and ftp files): an output run, or a conversion by travex-convert, holds it from
// its start to its end, so two runs never write one plot data file between them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/ai_types.h"

extern const char kJobLockFileName[];  // "TRAVEX-Pro.lock", beside the job files

// A run that another run's lock refused: 'LOCK'.
constexpr ASErr kJobFilesBusyErr = 0x4C4F434B;

// The refusal's text: string 16700 + n (Japanese) or 16800 + n (English), a format with
// the settings folder.
constexpr int kJapaneseRunMessages = 16700;
constexpr int kEnglishRunMessages = 16800;
constexpr int kRunMessageJobFilesBusy = 5;  // 1 to 4: the routes' failures (route_failures.h)

// Takes the lock for this run: 0, or kJobFilesBusyErr while another run holds it. A lock
// file that cannot be made (no settings folder) is no refusal: the run then meets the
// missing folder itself and reports that.
int32_t LockJobFiles();
// Gives the lock up at the end of the run; nothing when none is held.
void UnlockJobFiles();

// The settings folder the job files are in, for the refusal's text; 0 or the folder's
// refusal.
int GetJobFilesFolder(char* buffer, int length);
