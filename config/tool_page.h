// The tool page, the fourth tab ("ツール環境設定", template 112): type, thickness and
// colour of the ten tool slots of gPlotSettings.
#pragma once

#include "platform/ui/dialog_runner.h"

DialogTemplate ToolPageTemplate();
intptr_t ToolPageProc(DialogWindow* page, const DialogEvent& event, void* user);
// Fourth of the savers: the ten slots into gPlotSettings, then gPlotSettings to the file
// (carrying the additional page's values as well).
int SaveToolPage(DialogWindow* page);
