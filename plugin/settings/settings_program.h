// Which deliverable the settings code runs in: the three differ in the settings-folder
// limit, the block version they write and whether they may create the settings file.
#pragma once

#include "plugin/settings/settings_records.h"

enum SettingsProgram {
    kSettingsPlugin,   // the plug-in: folder up to 200 characters, block version 302
    kSettingsConfig,   // the configuration program: folder up to 254, block version 301
    kSettingsSender,   // the sender: reads only, never creates or re-creates the file
};

// Set once at the start of a program; the plug-in is the default.
void SetSettingsProgram(SettingsProgram program);
SettingsProgram CurrentSettingsProgram();

// The configuration program keeps its blocks in memory for its whole run; when it names
// them here, creating the settings file fills those blocks with the defaults it writes.
void SetInitSettingsBlocks(PlotSettings* plotSettings, PaperList* paperList);
void GetInitSettingsBlocks(PlotSettings** plotSettings, PaperList** paperList);
