// The page record the configuration program edits: loaded from the registry values at
// start, edited by the paper page, and after OK given its paper and page rectangles from
// the paper size, the orientation and the margins and written back for the plug-in.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>

// Rectangles in millimetres, in this program's order.
struct ConfigPageRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ConfigPageSetup {
    int32_t Orientation;   // 0 portrait, 1 landscape
    int32_t Size;          // 601 plus the paper-list row, 999 custom
    int32_t Width;         // mm
    int32_t Height;        // mm
    int32_t Scale;         // percent times 100
    int32_t pisroll;       // 1 roll, 0 sheet
    ConfigPageRect rPage;
    ConfigPageRect rPaper;
    int16_t iFstPage;
    int16_t iLstPage;
};

extern ConfigPageSetup gPageSetup;

// Portrait, the first paper-list row, 100 %, no rectangles, pages 1 to 1.
void SetDefaultConfigPageSetup(ConfigPageSetup* page);

// The defaults, then every registry value that exists (the page numbers take the low 16
// bits). Only reads: the registry is not touched. 0, or the error of opening the keys.
int32_t LoadPageSetup();

// Derives rPaper and rPage from the size, the orientation and the roll or sheet margins
// of gPlotSettings, shifted so that the page starts at 0, 0.
void DerivePageRectangles(ConfigPageSetup* page, const MarginRect& margins);

// Derives the rectangles of gPageSetup and writes the sixteen values. 0, or the first
// registry failure.
int32_t SavePageSetup();
