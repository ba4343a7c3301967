// Default contents of the settings blocks.
#pragma once

#include "plugin/settings/settings_records.h"

constexpr int16_t kPluginBlockVersion = 302;
constexpr int16_t kConfigBlockVersion = 301;
constexpr int kDefaultPaperCount = 10;

// Zeroes the record and sets every default; the block version is the running program's.
void SetDefaultPlotSettings(PlotSettings* settings);

// Zeroes the block and sets the ten default paper rows.
void SetDefaultPaperList(PaperList* list);

// Fills tool slot index (0..9): thickness in mm, colours in percent.
void SetToolSlot(PlotSettings* settings, int index, int16_t type, double thickness,
    double red, double green, double blue, int16_t colorFlag);
