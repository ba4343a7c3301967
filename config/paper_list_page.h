// The paper list page, the fifth tab ("用紙設定", template 113): the named paper sizes of
// gPaperList, added, deleted and changed.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate PaperListPageTemplate();
intptr_t PaperListPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Last of the savers: the page's unit into gPaperList.wUnit, then gPaperList to the file.
int SavePaperListPage(DialogWindow* page);
// Shows the name, width and height in the unit (unit combo 403).
void ChangePaperListUnit(DialogWindow* page, int16_t unit);

// The fields as an entry: the name in code page 932 (a buffer of kPaperNameBytes; cut to 63
// bytes on a character boundary, "CUST(W*H)" when empty), width and height read in the
// page's unit (an empty or 0 size is 3000 mm), roll 1 or 0.
void GetPaperListFields(DialogWindow* page, char* name, int16_t* width, int16_t* height, int16_t* roll);
// Shows an entry's name (code page 932), width and height in the page's unit, and roll.
void ShowPaperListFields(DialogWindow* page, const char* name, int16_t width, int16_t height, int16_t roll);
