// The plotter environment page, the second tab ("プロッタ環境設定", template 111): sheet
// and roll margins, sort mode, option flags, kanji mode, outline size, paper origin, port
// and serial line, edited in gPlotSettings.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate PlotterPageTemplate();
intptr_t PlotterPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Second of the savers: its fields into gPlotSettings, then gPlotSettings to the file.
int SavePlotterPage(DialogWindow* page);
// Shows the eight margins in the unit (unit combo 201).
void ChangeMarginUnit(DialogWindow* page, int16_t unit);
