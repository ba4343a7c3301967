// The plug-in's page setup and "Output to file" flag, kept in the registry and in the
// blocks held in PluginGlobals.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>

// Reloads g->pPlotSettings and g->pPaperList, then returns a new record from the heap
// (release with free()) holding the defaults overridden by the registry values; null
// when memory cannot be had.
PageSetup* LoadPageSetup();

// Reloads g->pPlotSettings, derives the record's rectangles from its size and the
// margins, and writes the sixteen values; the first failure, else 0.
int32_t SavePageSetup(PageSetup* page);

// g->fTextOut from the registry: 1 for a non-zero value, 0 when missing or unreadable.
void ReadTextOutFlag();

// g->fTextOut into the registry; the error of opening the first key, else the result of
// closing it.
int32_t WriteTextOutFlag();
