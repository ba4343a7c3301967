// The configuration program's settings store: the three blocks of TRAVEX2K.INI held in
// memory for the whole run, read once at start, edited in place by the pages and written
// back block by block when the pages save.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>
#include <string>

// The blocks the pages edit. The settings code fills gPlotSettings and gPaperList with
// their defaults when it has to create the file.
extern PlotSettings gPlotSettings;
extern PaperList gPaperList;
extern CustomSizeList gCustomSizeList;

// The settings file's path; empty when the settings folder's path is too long.
std::string SettingsFilePath();

// Reads the settings record, the paper list and the custom-size list in this order
// (creating the file with defaults when it is missing or of another version). A block
// that cannot be read keeps its defaults. 0, or the first reader's failure.
int ReadAllSettings();

// Write one block at its offset into the existing file. The file is never created here:
// a missing file gives -1 and nothing is written. 0 (the result of closing) or -1.
int WritePlotSettings(const PlotSettings* block);
int WritePaperList(const PaperList* block);
int WriteCustomSizeList(const CustomSizeList* block);

// The matching operation when a block is given; 0 and nothing done otherwise.
int ReadPlotSettingsIfGiven(PlotSettings* block);
int ReadPaperListIfGiven(PaperList* block);
int WritePlotSettingsIfGiven(const PlotSettings* block);
int WritePaperListIfGiven(const PaperList* block);

// Writes count bytes at file offset 514 (creating the file with defaults when missing),
// then the three in-memory blocks; the settings record covers offsets 2 to 629 and so goes
// over the first 116 bytes written at 514. 0, or -1 when the file cannot be had or a write
// fails.
int WriteBlockAt514AndAll(const void* buffer, uint16_t count);

// Reads count bytes at file offset 514 of a file of the current version, then the three
// blocks again. 0, or -1 when the file cannot be opened. *flag is always set to 0.
int ReadBlockAt514AndAll(void* buffer, uint16_t count, int16_t* flag);

// Failed writes since the last clearing: the writers above note each failure, so that a
// save that did not reach the file is never taken for a saved one.
struct SettingsWriteFailure {
    bool failed = false;
    int error = 0;        // errno of the first failure
    std::string path;     // the settings file
};
SettingsWriteFailure LastSettingsWriteFailure();
void ClearSettingsWriteFailure();
