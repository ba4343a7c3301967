#include "config/config_program.h"

#include "config/message_box.h"
#include "config/page_record.h"
#include "config/property_dialog.h"
#include "config/settings_store.h"
#include "platform/registry_store.h"
#include "platform/ui/ui_robot.h"
#include "plugin/settings/page_setup.h"
#include "plugin/settings/settings_program.h"

#include <cstdio>
#include <cstdlib>
#include <string>

const char kRetValName[] = "RetVal";

namespace {

const ResourceTable* g_instance = nullptr;

// A page record that did not reach the registry must not be answered with OK: the plug-in
// would move the plot area by the values it held before.
int SaveAfterOk()
{
    int32_t status = SavePageSetup();
    if (status == kRegistrySuccess)
        return kDialogOk;
    ShowConfigMessage(nullptr, "用紙設定をレジストリに書き込めませんでした。\n" + RegistryStorePath() +
        "\n(error " + std::to_string(status) + ")");
    return kPropertyNotSaved;
}

} // namespace

int WinMain(const ResourceTable* instance)
{
    g_instance = instance;
    SetSettingsProgram(kSettingsConfig);
    if (ReadAllSettings() != 0)
        std::fprintf(stderr, "TRVXSerConfig: the settings file %s cannot be read; showing defaults\n",
            SettingsFilePath().c_str());
    LoadPageSetup();
    int result = RunPropertyDialog();
    if (result == kDialogOk)
        result = SaveAfterOk();
    WriteRetVal(result);
    return 0;
}

const ResourceTable* ConfigInstance()
{
    return g_instance;
}

int32_t WriteRetVal(int32_t result)
{
    RegistryKey key = nullptr;
    int32_t status = OpenBrenvolticKey(kConfigSubKey, true, &key);
    if (status != kRegistrySuccess)
        return status;
    status = SetRegistryDword(key, kRetValName, static_cast<uint32_t>(result));
    CloseRegistryKey(key);
    return status;
}

bool TakeUiStepsFromEnvironment()
{
    // Read before Qt starts, which would otherwise take the parent's steps as ours.
    unsetenv(kUiRobotScriptVariable);
    const char* path = std::getenv(kConfigUiFileVariable);
    if (path == nullptr || path[0] == '\0')
        return true;
    std::string error;
    if (LoadUiRobotScriptFromFile(path, &error))
        return true;
    std::fprintf(stderr, "TRVXSerConfig: %s: %s\n", kConfigUiFileVariable, error.c_str());
    SetUiRobotScript("close");
    return false;
}
