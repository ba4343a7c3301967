// The tool page. Not built yet: an empty page of its template's size.
//
// What the page gives the shell (page_shell.h):
// - ToolPageTemplate: template 112 made with ConfigPageTemplate, its controls added with
//   PageControl in dialog units (per row i: type combo 304 + 3i, thickness edit 305 + 3i,
//   owner-drawn colour combo 306 + 3i).
// - ToolPageProc: on kDialogInit RecordPageWindow(kToolPage, page), the rows filled from
//   gPlotSettings, answer 1; kDialogMeasureItem and kDialogDrawItem draw the swatches.
//   It shows no lengths: no unit combo, no unit change.
// - SaveToolPage: the slots into gPlotSettings, then WritePlotSettingsIfGiven; its result
//   is the saver's result.
#include "config/tool_page.h"

#include "config/page_shell.h"
#include "config/settings_store.h"

DialogTemplate ToolPageTemplate()
{
    return ConfigPageTemplate(kToolPageTemplate);
}

intptr_t ToolPageProc(DialogWindow* page, const DialogEvent& event, void* user)
{
    if (event.message != kDialogInit)
        return 0;
    RecordPageWindow(kToolPage, page);
    return 1;
}

int SaveToolPage(DialogWindow* page)
{
    return WritePlotSettingsIfGiven(&gPlotSettings);
}
