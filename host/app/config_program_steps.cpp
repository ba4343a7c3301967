#include "host/app/config_program_steps.h"

#include "platform/ui/robot_script.h"
#include "platform/whole_file.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace host {

const char kConfigProgramStepsVariable[] = "TRVXSERCONFIG_UI_FILE";

namespace {

constexpr size_t kLongestStepFile = 1 << 20;

std::string& WrittenFile()
{
    static std::string path;
    return path;
}

// The steps of text; the program registers no hooks, so a hook step could never run there.
bool CheckSteps(const std::string& text, bool splitOnSemicolons, std::vector<RobotStep>& steps, std::string& error)
{
    if (!ParseRobotScript(text, splitOnSemicolons, &steps, &error)) return false;
    for (const RobotStep& step : steps) {
        if (step.verb == kStepHook) {
            error = "\"" + step.source + "\": the configuration program has no hooks";
            return false;
        }
    }
    return true;
}

std::string TemporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

}  // namespace

bool SetConfigProgramSteps(const std::string& steps, std::string& error)
{
    std::vector<RobotStep> parsed;
    if (!CheckSteps(steps, true, parsed, error)) return false;
    std::string text;
    for (const RobotStep& step : parsed) text += step.source + "\n";
    std::string path = TemporaryFolder() + "/travex-host-config-ui-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        error = path + ": cannot write the configuration program's steps";
        return false;
    }
    const bool written = write(fd, text.data(), text.size()) == ssize_t(text.size());
    if (close(fd) != 0 || !written) {
        unlink(path.c_str());
        error = path + ": cannot write the configuration program's steps";
        return false;
    }
    RemoveConfigProgramSteps();
    // the file lives as long as this run, whichever way it ends
    static const bool removedAtExit = std::atexit(RemoveConfigProgramSteps) == 0;
    (void)removedAtExit;
    WrittenFile() = path;
    setenv(kConfigProgramStepsVariable, path.c_str(), 1);
    return true;
}

bool SetConfigProgramStepFile(const std::string& path, std::string& error)
{
    std::string text;
    if (const int failed = ReadWholeFile(path, kLongestStepFile, &text); failed != 0) {
        error = path + ": cannot read the configuration program's steps (" + std::strerror(failed) + ")";
        return false;
    }
    std::vector<RobotStep> parsed;
    if (!CheckSteps(text, false, parsed, error)) {
        error = path + ": " + error;
        return false;
    }
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    if (failed) {
        error = path + ": " + failed.message();
        return false;
    }
    RemoveConfigProgramSteps();
    setenv(kConfigProgramStepsVariable, absolute.c_str(), 1);
    return true;
}

void RemoveConfigProgramSteps()
{
    if (WrittenFile().empty()) return;
    unlink(WrittenFile().c_str());
    WrittenFile().clear();
}

}  // namespace host
