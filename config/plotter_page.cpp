// The plotter environment page. Not built yet: an empty page of its template's size.
//
// What the page gives the shell (page_shell.h):
// - PlotterPageTemplate: template 111 made with ConfigPageTemplate, its controls added with
//   PageControl in dialog units (unit combo 201, margin edits 202-209, radios 210-212, check
//   boxes 213-218, combos 219-227 filled from the string table with ConfigString).
// - PlotterPageProc: on kDialogInit RecordPageWindow(kPlotterPage, page), SetPageUnit with
//   StoredDisplayUnit(), the page filled from gPlotSettings, answer 1. A user's change of
//   combo 201 runs ChangeMarginUnit and then SyncUnitSelection(kPlotterPage, unit).
// - SavePlotterPage: the fields into gPlotSettings, then WritePlotSettingsIfGiven; its
//   result is the saver's result.
// - ChangeMarginUnit: nothing when the unit is the page's unit; else the margins read in the
//   page's unit (ReadLengthField), SetPageUnit, shown again (ShowLengthField).
#include "config/plotter_page.h"

#include "config/numbers_and_units.h"
#include "config/page_shell.h"
#include "config/settings_store.h"

DialogTemplate PlotterPageTemplate()
{
    return ConfigPageTemplate(kPlotterPageTemplate);
}

intptr_t PlotterPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    if (event.message != kDialogInit)
        return 0;
    RecordPageWindow(kPlotterPage, page);
    SetPageUnit(kPlotterPage, StoredDisplayUnit());
    return 1;
}

int SavePlotterPage(DialogWindow* page)
{
    return WritePlotSettingsIfGiven(&gPlotSettings);
}

void ChangeMarginUnit(DialogWindow* page, int16_t unit)
{
    if (unit == PageUnit(kPlotterPage))
        return;
    SetPageUnit(kPlotterPage, unit);
}
