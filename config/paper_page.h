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

// Fills the page from gPageSetup, gPaperList and the stored display unit.
void InitPaperPage(DialogWindow* page);
// Width and height of edits 103 and 104 in the page's unit as whole millimetres (an empty
// or zero size is 3000), roll 1 when box 114 is ticked.
void GetPaperSizeFields(DialogWindow* page, int16_t* width, int16_t* height, int16_t* roll);
void ShowPaperSizeFields(DialogWindow* page, int32_t width, int32_t height, int32_t roll);
// Portrait, the first paper-list row, and the paper list and custom sizes read again from
// the settings file: the page starts over.
void ResetPaperPage(DialogWindow* page);

// Brings the size list (combo 101) in step with gPaperList after the paper list page
// changed it. When the row the page had chosen is no longer at its place, the page keeps
// the size on it as a size given by hand (Size 999). Run when the page is shown, when its
// list opens and before it saves.
void SyncPaperSizeList(DialogWindow* page);
