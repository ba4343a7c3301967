// The paper list page. Not built yet: an empty page of its template's size.
//
// What the page gives the shell (page_shell.h):
// - PaperListPageTemplate: template 113 made with ConfigPageTemplate, its controls added
//   with PageControl in dialog units (list 401, edits 402, 404, 405, unit combo 403, check
//   box 406, buttons 407-409).
// - PaperListPageProc: on kDialogInit RecordPageWindow(kPaperListPage, page), SetPageUnit
//   with StoredDisplayUnit(), the list filled from gPaperList (names through Cp932ToUtf8),
//   answer 1. A user's change of combo 403 runs ChangePaperListUnit and then
//   SyncUnitSelection(kPaperListPage, unit). The buttons edit gPaperList with the
//   operations of paper_lists.h.
// - SavePaperListPage: gPaperList.wUnit = PageUnit(kPaperListPage), then
//   WritePaperListIfGiven(&gPaperList); its result is the saver's result.
// - ChangePaperListUnit: nothing when the unit is the page's unit; else the fields read in
//   the page's unit (ReadLengthField, paper sizes), SetPageUnit, shown again.
#include "config/paper_list_page.h"

#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"

DialogTemplate PaperListPageTemplate()
{
    return ConfigPageTemplate(kPaperListPageTemplate);
}

intptr_t PaperListPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    if (event.message != kDialogInit)
        return 0;
    RecordPageWindow(kPaperListPage, page);
    SetPageUnit(kPaperListPage, StoredDisplayUnit());
    return 1;
}

int SavePaperListPage(DialogWindow* page)
{
    gPaperList.wUnit = PageUnit(kPaperListPage);
    return WritePaperListIfGiven(&gPaperList);
}

void ChangePaperListUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kPaperListPage))
        return;
    SetPageUnit(kPaperListPage, unit);
}
