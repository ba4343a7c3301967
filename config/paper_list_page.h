// The paper list page, the fifth tab ("用紙設定", template 113): the named paper sizes of
// gPaperList, added, deleted and changed.
#pragma once

#include "platform/ui/dialog_runner.h"

#include <cstdint>

DialogTemplate PaperListPageTemplate();
intptr_t PaperListPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Last of the savers: the page's unit into gPaperList.wUnit, then gPaperList to the file.
int SavePaperListPage(DialogWindow* page);
// Shows the width and height in the unit (unit combo 403).
void ChangePaperListUnit(DialogWindow* page, int16_t unit);
