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
    RegistryKey top = nullptr;
    if (OpenRegistryKey(kRegistryCurrentUser, kBrenvolticKey, &top) != kRegistrySuccess)
        return;
    RegistryKey key = nullptr;
    if (OpenRegistryKey(top, kPluginSubKey, &key) == kRegistrySuccess) {
        uint32_t value = 0;
        if (QueryRegistryDword(key, "fTextOut", &value) == kRegistrySuccess)
            g->fTextOut = value != 0 ? 1 : 0;
        CloseRegistryKey(key);
    }
    CloseRegistryKey(top);
}

int32_t WriteTextOutFlag()
{
    RegistryKey top = nullptr;
    int32_t status = CreateRegistryKey(kRegistryCurrentUser, kBrenvolticKey, &top);
    if (status != kRegistrySuccess)
        return status;
    RegistryKey key = nullptr;
    int32_t written = CreateRegistryKey(top, kPluginSubKey, &key);
    if (written == kRegistrySuccess) {
        written = SetRegistryDword(key, "fTextOut", static_cast<uint32_t>(static_cast<int32_t>(g->fTextOut)));
        CloseRegistryKey(key);
    }
    int32_t closed = CloseRegistryKey(top);
    // A value that could not be stored is not reported as success.
    return written != kRegistrySuccess ? written : closed;
}
