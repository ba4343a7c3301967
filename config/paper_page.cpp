// The paper page. Not built yet: an empty page of its template's size.
//
// What the page gives the shell (page_shell.h):
// - PaperPageTemplate: template 110 made with ConfigPageTemplate, its controls added with
//   PageControl in dialog units (combos 101, 102, 106; edits 103, 104, 115, 116; radios
//   110, 111; check box 114), texts in UTF-8.
// - PaperPageProc: on kDialogInit RecordPageWindow(kPaperPage, page), SetPageUnit with
//   StoredDisplayUnit(), the page filled from gPageSetup and gPaperList (names through
//   Cp932ToUtf8), answer 1. A user's change of combo 102 runs ChangePaperUnit and then
//   SyncUnitSelection(kPaperPage, unit).
// - SavePaperPage: the fields into gPageSetup, then WritePlotSettingsIfGiven(&gPlotSettings);
//   its result is the saver's result, so that a write that failed stops the OK.
// - ChangePaperUnit: nothing when the unit is the page's unit; else width and height read in
//   the page's unit (ReadLengthField, paper sizes), SetPageUnit, shown again (ShowLengthField).
#include "config/paper_page.h"

#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"

DialogTemplate PaperPageTemplate()
{
    return ConfigPageTemplate(kPaperPageTemplate);
}

intptr_t PaperPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    if (event.message != kDialogInit)
        return 0;
    RecordPageWindow(kPaperPage, page);
    SetPageUnit(kPaperPage, StoredDisplayUnit());
    return 1;
}

int SavePaperPage(DialogWindow* page)
{
    return WritePlotSettingsIfGiven(&gPlotSettings);
}

void ChangePaperUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kPaperPage))
        return;
    SetPageUnit(kPaperPage, unit);
}
