// The settings file TRAVEX2K.INI: fixed blocks read and written whole at fixed offsets,
// each access opening and closing the file.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>

extern const char kSettingsBackupSuffix[];   // ".bak"

// Reads or writes count bytes at the absolute offset; the byte count done, -1 on error.
// A read that meets the end of the file stops there.
int ReadFileBlock(int fd, long offset, void* buffer, uint16_t count);
int WriteFileBlock(int fd, long offset, const void* buffer, uint16_t count);

// Passes a file whose version word is 302. Any other word (a short file included) has
// the file re-created with defaults, after its old bytes are kept beside it as
// "TRAVEX2K.INI.bak"; 0 then. -1 when the file may not or cannot be re-created (the
// sender, or no backup could be written): the caller must not read it.
int CheckSettingsFileVersion(int fd);

// Writes a new 17922-byte file of defaults on the open handle; 0, or -1 on a failed write.
int InitSettingsFile(int fd);

// Read one block into the caller's buffer, creating the file with defaults when it is
// missing (not in the sender). 0 (the result of closing the file) when the block was
// read; -1 and the buffer untouched when the file can be neither opened nor created.
int ReadPlotSettings(PlotSettings* block);
int ReadPaperList(PaperList* block);
int ReadCustomSizeList(CustomSizeList* block);

// A zero-filled block from the heap with the reader run on it, or null when memory cannot
// be had. The caller owns it and releases it with free().
PlotSettings* LoadPlotSettings();
PaperList* LoadPaperList();
CustomSizeList* LoadCustomSizeList();
