// The additional settings page. Not built yet: an empty page of its template's size.
//
// What the page gives the shell (page_shell.h):
// - ExtraPageTemplate: template 114 made with ConfigPageTemplate, its controls added with
//   PageControl in dialog units (unit combo 501, edits 502-505 and 507-518, 521, 522, tool
//   combos 506 and 509, check boxes 519 and 520).
// - ExtraPageProc: on kDialogInit RecordPageWindow(kExtraPage, page), SetPageUnit with
//   StoredDisplayUnit(), the page filled from gPlotSettings (texts through Cp932ToUtf8),
//   answer 1. A user's change of combo 501 runs ChangeExtraUnit and then
//   SyncUnitSelection(kExtraPage, unit).
// - SaveExtraPage: the fields into gPlotSettings (texts through Utf8ToCp932), no file
//   write; 0.
// - ChangeExtraUnit: nothing when the unit is the page's unit; else the lengths read in the
//   page's unit (ReadLengthField), SetPageUnit, shown again (ShowLengthField).
#include "config/additional_page.h"

#include "config/numbers_and_units.h"
#include "config/page_shell.h"

DialogTemplate ExtraPageTemplate()
{
    return ConfigPageTemplate(kExtraPageTemplate);
}

intptr_t ExtraPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    if (event.message != kDialogInit)
        return 0;
    RecordPageWindow(kExtraPage, page);
    SetPageUnit(kExtraPage, StoredDisplayUnit());
    return 1;
}

int SaveExtraPage(DialogWindow* page)
{
    return 0;
}

void ChangeExtraUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kExtraPage))
        return;
    SetPageUnit(kExtraPage, unit);
}
