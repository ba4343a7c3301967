// Paper-list access and the search for the paper size nearest to a page.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>

// Rows in use: wCount held to 0..99, so a damaged count never reads past the block.
int PaperListRowCount(const PaperList* list);
int CustomSizeRowCount(const CustomSizeList* list);

// Row index's width, height and roll flag and 1; 0, 0, 0 and 0 outside the list.
int GetPaperSize(const PaperList* list, int16_t index, int16_t* width, int16_t* height,
    int16_t* roll);

// length / (scale / 10000), truncated toward zero, at most 3000.
int16_t ScalePaperLength(int32_t length, int32_t scale);

// The first row with the smallest sum of size differences and margin mismatch (x and y
// against ten times the left and top margins); -1 and a score of 32767 for an empty list.
int16_t FindNearestPaper(const PlotSettings* settings, const PaperList* list, int32_t width,
    int32_t height, int32_t x, int32_t y, int16_t* score);

// The same over the custom sizes, each row's lengths and margin terms scaled by its iScale.
int16_t FindNearestPaperScaled(const PlotSettings* settings, const CustomSizeList* list,
    int32_t width, int32_t height, int32_t x, int32_t y, int16_t* score);
