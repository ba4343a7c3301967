// Runs the real travex-host (which loads the real TRAVEX-Pro.aip) as its own process and
// collects what it wrote: standard output, standard error, the alert log, the exit status.
#pragma once

#include "tests/support/child_environment.h"
#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct HostRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
    std::string alerts;   // the alert log: "error: BYTES\n" per error alert
};

inline std::string TravexHostPath() { return std::string(TRAVEX_BINARY_DIR) + "/bin/travex-host"; }

// The settings folder of the test's home, where the set-up installs the programs.
inline std::string TestSettingsFolder() { return TestHome() + "/Documents/Adobe/Illustrator"; }

// A built program (TRVXSerConfig, TRVXSender) installed into that folder as the set-up does,
// where the plug-in starts it from.
inline void InstallIntoSettingsFolder(const std::string& program)
{
    namespace fs = std::filesystem;
    fs::create_directories(TestSettingsFolder());
    const std::string installed = TestSettingsFolder() + "/" + program;
    fs::copy_file(std::string(TRAVEX_BINARY_DIR) + "/bin/" + program, installed, fs::copy_options::overwrite_existing);
    fs::permissions(installed, fs::perms::owner_all);
}

// A small drawing: one layer with one rectangle, 100 x 100 points.
inline std::string WriteSmallDrawing(const std::string& folder)
{
    std::string path = folder + "/small.svg";
    WriteBytes(path,
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"100pt\" viewBox=\"0 0 100 100\">\n"
                   "  <g id=\"Layer 1\">\n"
                   "    <rect x=\"10\" y=\"10\" width=\"30\" height=\"20\" fill=\"none\" stroke=\"#000\"/>\n"
                   "  </g>\n"
                   "</svg>\n");
    return path;
}

// A travex-host process started and not yet waited for.
struct HostProcess {
    pid_t pid = -1;
    std::string outPath;
    std::string errPath;
    std::string alertPath;
};

// Starts travex-host with the arguments, in its own folder of the test home; extra
// environment entries are "NAME=VALUE" (or "NAME" for a variable the host must not have). Its standard output and error go to files of the
// folder, or both to the terminal at terminalPath when one is given.
inline HostProcess StartTravexHost(const std::string& folder, const std::vector<std::string>& args,
                                   const std::vector<std::string>& extraEnvironment = {},
                                   const std::string& terminalPath = "")
{
    HostProcess process;
    process.outPath = folder + "/host.out";
    process.errPath = folder + "/host.err";
    process.alertPath = folder + "/alerts.log";
    std::remove(process.alertPath.c_str());
    std::remove(process.outPath.c_str());
    std::remove(process.errPath.c_str());

    std::vector<std::string> argStrings = {TravexHostPath(), "--alert-log", process.alertPath};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> changes = {"QT_QPA_PLATFORM=offscreen"};
    changes.insert(changes.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<std::string> envStrings = ChildEnvironment(changes);
    std::vector<char*> envp = EnvironmentArray(envStrings);

    const std::string& out = terminalPath.empty() ? process.outPath : terminalPath;
    const std::string& err = terminalPath.empty() ? process.errPath : terminalPath;
    const int flags = terminalPath.empty() ? O_WRONLY | O_CREAT | O_TRUNC : O_WRONLY | O_NOCTTY;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), flags, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), flags, 0644);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0)
        process.pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    return process;
}

// Waits for the process and collects what it wrote.
inline HostRun WaitTravexHost(const HostProcess& process)
{
    HostRun run;
    if (process.pid <= 0)
        return run;
    int status = 0;
    if (waitpid(process.pid, &status, 0) == process.pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.out = ReadBytes(process.outPath);
    run.err = ReadBytes(process.errPath);
    run.alerts = ReadBytes(process.alertPath);
    return run;
}

// travex-host with the arguments, in its own folder of the test home; extra environment
// entries are "NAME=VALUE".
inline HostRun RunTravexHost(const std::string& folder, const std::vector<std::string>& args,
                             const std::vector<std::string>& extraEnvironment = {})
{
    return WaitTravexHost(StartTravexHost(folder, args, extraEnvironment));
}

// The lines of a text that start with prefix.
inline std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    return lines;
}
