// The page setup values exchanged through the registry, and the rectangles derived from
// the paper size and the margins.
#pragma once

#include "platform/registry_store.h"
#include "plugin/settings/settings_records.h"

#include <cstdint>

constexpr int32_t kPageSizeFirstPaper = 601;   // Size of paper-list row 0
constexpr int32_t kPageSizeCustom = 999;

// Every value within -kPageValueLimit to kPageValueLimit, the page numbers within 16 bits
// (the low 16 bits, sign-extended), so that sums and products of them cannot overflow.
void LimitPageSetup(PageSetup* page);

extern const char kBrenvolticKey[];     // "Software\Brenvoltic"
extern const char kConfigSubKey[];      // "TRVXSerConfig": page setup values and RetVal
extern const char kPluginSubKey[];      // "TRAVEX-Pro": fTextOut
extern const char* const kPageSetupValueNames[16];

// Opens Software\Brenvoltic\subKey of the current user; with create, both levels are made
// when missing (without it nothing is written, so a read never changes the store). The
// error of the first key, else of the subkey; the caller closes *key.
int32_t OpenBrenvolticKey(const char* subKey, bool create, RegistryKey* key);

// rPage = 0, 0, Width, Height; rPaper = rPage grown outward by the roll margins when
// pisroll is set, else the sheet margins (no margins without settings). The record is
// limited first and the paper's edges stay within the limits whatever the margins.
void GrowPaperFromPage(PageSetup* page, const PlotSettings* settings);

// The plug-in's defaults: portrait, paper-list row 0 at 100 %, pages 1 to 1.
void SetDefaultPageSetup(PageSetup* page, const PlotSettings* settings, const PaperList* list);

// Replaces each field whose registry value exists (the page numbers take the low 16 bits,
// sign-extended, every other value is limited as LimitPageSetup does). The error of opening
// Software\Brenvoltic, else of its subkey, else the result of closing the subkey.
int32_t ReadPageSetupValues(PageSetup* page);

// Writes the sixteen values, creating the keys when missing; the first failure, else the
// result of closing the key.
int32_t WritePageSetupValues(const PageSetup* page);
