// The additional settings page, the third tab ("プロッタ追加設定", template 114): frame
// cut, roll page length, tolerance, perforation, header and footer, network host and port,
// plotter units, debug mode and pen-down joining, edited in gPlotSettings.
#pragma once

#include "platform/ui/dialog_runner.h"
#include "plugin/settings/settings_records.h"

#include <cstdint>

DialogTemplate ExtraPageTemplate();
intptr_t ExtraPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Third of the savers: its fields into gPlotSettings in memory only; the tool page's
// saver, which follows, writes the record. A TCP port outside 1 to 65535, or plotter units
// or a tolerance outside 1 to 32767, is refused: the stored value stays and is shown again.
int SaveExtraPage(DialogWindow* page);
// Shows the frame-cut margins and the roll page length in the unit (unit combo 501).
void ChangeExtraUnit(DialogWindow* page, int16_t unit);

// The frame-cut margins and the roll page length, read from and shown in the page's unit.
void GetFrameMarginFields(DialogWindow* page, MarginRect* margins, int16_t* rollPageLength);
void ShowFrameMarginFields(DialogWindow* page, const MarginRect& margins, int16_t rollPageLength);
