// The output dialog: per layer of the document, output or not and with which tool slot,
// and whether the plot data goes to a file.
#pragma once

#include "sdk/ai_types.h"
#include "platform/ui/ui_resources.h"

#include <cstddef>
#include <string>

constexpr int kOutputDialogTemplate = 16053;
constexpr int kOutputBannerBitmap = 16071;
// Tool-type names: string base + ToolType, Japanese and English groups.
constexpr int kJapaneseToolTypeStrings = 16200;
constexpr int kEnglishToolTypeStrings = 16500;

// Control ids of the dialog.
constexpr int kOutputScrollBar = 4;
constexpr int kOutputRowCount = 9;  // rows visible at a time
constexpr int kOutputFirstRowCheck = 5;  // row r: check 5 + 4r, name 6 + 4r, combo 7 + 4r
constexpr int kOutputToFileCheck = 42;

// Runs the modal dialog on g->pLayerTable and g->fTextOut: 1 for "Output Plotter", 2 for
// "Cancel" or the close box, the platform's failure value when the dialog cannot be made.
int RunOutputDialog(SPPluginRef self);

// The module's resources found by the last RunOutputDialog (the sender loads its texts there).
const ResourceTable* OutputResourceInstance();

// Combo index k stands for the k-th listed tool slot of g->pPlotSettings.
int MapComboIndexToToolNumber(int index);
int MapToolNumberToComboIndex(int number);

// The combo line of tool slot `slot` (1..10) in the language; empty when it is not listed.
std::string ToolSlotLine(const ResourceTable* resources, int16_t language, int slot);
