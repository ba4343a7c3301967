// "Plotter Configuration...": the configuration program started from the settings folder and
// waited for; after its OK the plot area is rebuilt from the page setup it wrote.
#include "platform/process_start.h"
#include "platform/registry_store.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/entry/run_services.h"
#include "plugin/records/configuration_layer.h"
#include "plugin/settings/page_setup.h"
#include "plugin/settings/settings_folder.h"

#include <cstdint>
#include <string>

namespace {

const char kConfigProgramName[] = "TRVXSerConfig";
const char kRetValName[] = "RetVal";
constexpr uint32_t kRetValRunning = 99;  // until the program answers
constexpr int32_t kRetValOk = 1;

// RetVal 99 under Software\Brenvoltic\TRVXSerConfig; false when it could not be stored.
bool MarkProgramRunning()
{
    RegistryKey key = nullptr;
    if (OpenBrenvolticKey(kConfigSubKey, true, &key) != kRegistrySuccess)
        return false;
    int32_t status = SetRegistryDword(key, kRetValName, kRetValRunning);
    CloseRegistryKey(key);
    return status == kRegistrySuccess;
}

// The program's answer; false when there is none to read.
bool ReadRetVal(int32_t* answer)
{
    RegistryKey key = nullptr;
    if (OpenBrenvolticKey(kConfigSubKey, false, &key) != kRegistrySuccess)
        return false;
    uint32_t value = 0;
    int32_t status = QueryRegistryDword(key, kRetValName, &value);
    CloseRegistryKey(key);
    *answer = static_cast<int32_t>(value);
    return status == kRegistrySuccess;
}

// Starts the program with no arguments in our environment and current folder, and blocks
// until it ends; false when it could not be started.
bool RunConfigurationProgram(const char* folder)
{
    const std::string folderText = folder;
    const bool separated = !folderText.empty() && folderText.back() == '/';
    const std::string program = folderText + (separated ? "" : "/") + kConfigProgramName;
    ProcessStart start = {};
    start.szProgram = program.c_str();
    ProcessId process = kNoProcess;
    if (StartProcess(&start, &process) != 0)
        return false;
    // The wait ends only with the program (an error here means it is gone already).
    ProcessExit exit = {};
    WaitForProcess(process, &exit);
    return true;
}

}  // namespace

ASErr RunConfigurationCommand(AIMenuMessage* message)
{
    char folder[kPluginPrefsFolderLimit + 1];
    const int status = GetPrefsFolder(folder, sizeof folder);
    if (status != 0)
        return status;
    // Without 99 stored, RetVal may still hold an earlier run's OK: it cannot be told from
    // this run's answer, so the plot area stays as it is.
    const bool marked = MarkProgramRunning();
    if (!RunConfigurationProgram(folder))
        return kNoErr;
    int32_t answer = 0;
    // A page record that cannot be placed (no usable scale) leaves the plot area as it was.
    if (marked && ReadRetVal(&answer) && answer == kRetValOk && !ApplyPageSetupToPlotArea())
        PlayMessageBeep();
    return kNoErr;
}
