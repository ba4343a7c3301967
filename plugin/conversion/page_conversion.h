// The conversion of the print range into the plot data file: per page the conversion state
// from the page setup and the plot settings, then four passes by tool class over the ten
// tool slots and the layers the output dialog assigned to them.
#pragma once

#include <cstdint>

extern const char kPlotDataFileName[];  // "TRAVEX-Pro.tmp"

// The settings folder, "/" and the plot data file's name; 0, or the folder's refusal with
// an empty buffer.
int GetPlotDataFilePath(char* buffer, int length);

// Creates the plot data file anew and converts every page of the print range into it.
// A file that cannot be created is kept in g->conversion.iWriteFailure and nothing is
// converted, so the output run can report it instead of sending an empty job.
void ConvertAllPages();

// Converts page (1 for the first) and appends its block to the open plot data file.
void ConvertPage(int32_t page);
