// Fuzz target: the settings file readers. The first input byte picks the program reading
// (plug-in, configuration program, sender), the rest is the settings file as found. A file
// of version 302 is never changed and its blocks read as they stand; a file of any other
// version is re-created with defaults by the plug-in and the configuration program after
// its old bytes are kept whole in the ".bak" backup; the sender never changes anything.
#include "plugin/settings/settings_file.h"
#include "plugin/settings/settings_folder.h"
#include "plugin/settings/settings_program.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <string>

namespace {

std::string SettingsPath()
{
    char buffer[512];
    FUZZ_CHECK(GetSettingsFilePath(buffer, sizeof buffer) == 0, "no settings file path");
    return buffer;
}

bool IsCurrentVersion(const std::string& file)
{
    int16_t version = 0;
    if (file.size() < sizeof version)
        return false;
    std::memcpy(&version, file.data(), sizeof version);
    return version == kSettingsFileVersion;
}

// A block read from a file of the current version: its bytes as they stand in the file,
// but for the terminators the readers put at the end of each name (and zeros past the end).
void CheckBlockAsInFile(const std::string& file, long offset, const void* block, size_t size, const char* name)
{
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < size; ++i) {
        unsigned char inFile = offset + i < file.size() ? static_cast<unsigned char>(file[offset + i]) : 0;
        FUZZ_CHECK(bytes[i] == inFile || bytes[i] == 0,
                   std::string(name) + " byte " + std::to_string(i) + " is not as in the file");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const SettingsProgram programs[] = {kSettingsPlugin, kSettingsConfig, kSettingsSender};
    SettingsProgram program = programs[data[0] % 3];
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string path = SettingsPath();
    const std::string backup = path + kSettingsBackupSuffix;
    fuzz::RemoveFile(backup);
    fuzz::WriteFile(path, file);
    SetSettingsProgram(program);

    PlotSettings settings{};
    PaperList papers{};
    CustomSizeList sizes{};
    int read[3] = {ReadPlotSettings(&settings), ReadPaperList(&papers), ReadCustomSizeList(&sizes)};
    SetSettingsProgram(kSettingsPlugin);

    bool backupExists = false;
    const std::string kept = fuzz::ReadFile(backup, &backupExists);
    const std::string now = fuzz::ReadFile(path);
    if (IsCurrentVersion(file)) {
        FUZZ_CHECK(now == file, "a file of the current version was changed");
        FUZZ_CHECK(!backupExists, "a backup of a file of the current version");
        for (int status : read)
            FUZZ_CHECK(status == 0, "a block of a file of the current version not read");
        CheckBlockAsInFile(file, kPlotSettingsOffset, &settings, sizeof settings, "the plot settings");
        CheckBlockAsInFile(file, kPaperListOffset, &papers, sizeof papers, "the paper list");
        CheckBlockAsInFile(file, kCustomSizeListOffset, &sizes, sizeof sizes, "the custom size list");
    } else if (program == kSettingsSender) {
        FUZZ_CHECK(now == file, "the sender changed the settings file");
        FUZZ_CHECK(!backupExists, "the sender wrote a backup");
        for (int status : read)
            FUZZ_CHECK(status == -1, "the sender read a block of a file of another version");
    } else {
        FUZZ_CHECK(IsCurrentVersion(now) && now.size() == static_cast<size_t>(kSettingsFileSize),
                   "a file of another version was not re-created");
        if (file.empty())
            FUZZ_CHECK(!backupExists, "an empty file left a backup");
        else
            FUZZ_CHECK(backupExists && kept == file, "the old bytes are not kept whole in the backup");
        for (int status : read)
            FUZZ_CHECK(status == 0, "a block of the re-created file not read");
    }
    return 0;
}
