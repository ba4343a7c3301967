// The plotter environment page, the second tab ("プロッタ環境設定", template 111): sheet
// and roll margins, sort mode, option flags, kanji mode, outline size, paper origin, port
// and serial line, edited in gPlotSettings.
#pragma once

#include "config/page_record.h"
#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate PlotterPageTemplate();
intptr_t PlotterPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Second of the savers: its fields into gPlotSettings, then gPlotSettings to the file.
int SavePlotterPage(DialogWindow* page);
// Shows the eight margins in the unit (unit combo 201).
void ChangeMarginUnit(DialogWindow* page, int16_t unit);

// Fills the page from gPlotSettings and the stored display unit.
void InitPlotterPage(DialogWindow* page);
// The sheet margins of edits 202-205 and the roll margins of 206-209 (top, left, bottom,
// right) in the page's unit, as whole millimetres.
void GetMarginFields(DialogWindow* page, MarginRect* sheet, MarginRect* roll);
void ShowMarginFields(DialogWindow* page, const MarginRect& sheet, const MarginRect& roll);

// The port list (combo 222) and the port codes of wPort: COM1-COM5 and LPT1-LPT2 are
// items 0 to 6 and codes 0 to 6; the network routes are items 7 to 10 and codes -1 to -4.
// A code of -4 or below is the sender's route, item 10; a code the list lacks is -1.
int PortItem(int16_t port);
int16_t PortCode(int item);

// Drop the in-memory edits: gPlotSettings and gPaperList read again from the settings file.
void ReloadPlotSettingsAndPaperList();
// flag 0: gPlotSettings read again. Otherwise the page starts over at portrait and the first
// paper-list row, with the paper list and the custom sizes read again.
void ReloadSettings(ConfigPageSetup* page, int flag);
