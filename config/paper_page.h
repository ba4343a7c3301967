// The paper page, the first tab ("用紙サイズ", template 110): paper size from the paper
// list or given by hand, orientation, roll paper, scale and page range, edited in the page
// record gPageSetup.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate PaperPageTemplate();
intptr_t PaperPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// First of the savers: the page record's fields in memory, then gPlotSettings to the file.
int SavePaperPage(DialogWindow* page);
// Shows the width and height in the unit (unit combo 102).
void ChangePaperUnit(DialogWindow* page, int16_t unit);
