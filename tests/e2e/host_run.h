// Runs the real travex-host (which loads the real TRAVEX-Pro.aip) as its own process and
// collects what it wrote: standard output, standard error, the alert log, the exit status.
#pragma once

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

struct HostRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
    std::string alerts;   // the alert log: "error: BYTES\n" per error alert
};

inline std::string TravexHostPath() { return std::string(TRAVEX_BINARY_DIR) + "/bin/travex-host"; }

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

// travex-host with the arguments, in its own folder of the test home; extra environment
// entries are "NAME=VALUE".
inline HostRun RunTravexHost(const std::string& folder, const std::vector<std::string>& args,
                             const std::vector<std::string>& extraEnvironment = {})
{
    HostRun run;
    std::string outPath = folder + "/host.out";
    std::string errPath = folder + "/host.err";
    std::string alertPath = folder + "/alerts.log";
    std::remove(alertPath.c_str());

    std::vector<std::string> argStrings = {TravexHostPath(), "--alert-log", alertPath};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e)
        envStrings.push_back(*e);
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    envStrings.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& entry : envStrings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    run.alerts = ReadBytes(alertPath);
    return run;
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
