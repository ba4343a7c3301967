#include "plugin/records/page_setup_registry.h"

#include "plugin/settings/page_setup.h"
#include "plugin/entry/plugin_globals.h"
#include "platform/registry_store.h"
#include "plugin/settings/settings_file.h"

#include <cstdlib>

namespace {

void ReloadPlotSettings()
{
    std::free(g->pPlotSettings);
    g->pPlotSettings = LoadPlotSettings();
}

} // namespace

PageSetup* LoadPageSetup()
{
    ReloadPlotSettings();
    std::free(g->pPaperList);
    g->pPaperList = LoadPaperList();
    auto* page = static_cast<PageSetup*>(std::calloc(1, sizeof(PageSetup)));
    if (page == nullptr)
        return nullptr;
    // A block that could not be had counts as an empty list and no margins.
    SetDefaultPageSetup(page, g->pPlotSettings, g->pPaperList);
    ReadPageSetupValues(page);
    return page;
}

int32_t SavePageSetup(PageSetup* page)
{
    ReloadPlotSettings();
    GrowPaperFromPage(page, g->pPlotSettings);
    return WritePageSetupValues(page);
}

void ReadTextOutFlag()
{
    g->fTextOut = 0;
    RegistryKey key = nullptr;
    if (OpenBrenvolticKey(kPluginSubKey, false, &key) != kRegistrySuccess)
        return;
    uint32_t value = 0;
    if (QueryRegistryDword(key, "fTextOut", &value) == kRegistrySuccess)
        g->fTextOut = value != 0 ? 1 : 0;
    CloseRegistryKey(key);
}

int32_t WriteTextOutFlag()
{
    RegistryKey key = nullptr;
    int32_t status = OpenBrenvolticKey(kPluginSubKey, true, &key);
    if (status != kRegistrySuccess)
        return status;
    int32_t written = SetRegistryDword(key, "fTextOut", static_cast<uint32_t>(static_cast<int32_t>(g->fTextOut)));
    int32_t closed = CloseRegistryKey(key);
    // A value that could not be stored is not reported as success.
    return written != kRegistrySuccess ? written : closed;
}
