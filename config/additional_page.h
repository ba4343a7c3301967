// The additional settings page, the third tab ("プロッタ追加設定", template 114): frame
// cut, roll page length, tolerance, perforation, header and footer, network host and port,
// plotter units, debug mode and pen-down joining, edited in gPlotSettings.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate ExtraPageTemplate();
intptr_t ExtraPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Third of the savers: its fields into gPlotSettings in memory only; the tool page's
// saver, which follows, writes the record.
int SaveExtraPage(DialogWindow* page);
// Shows the frame-cut margins and the roll page length in the unit (unit combo 501).
void ChangeExtraUnit(DialogWindow* page, int16_t unit);
