#include "platform/process_start.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

std::string VariableName(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

// Our environment with the changes applied: a change replaces the variable of its name
// or removes it.
std::vector<std::string> ChildEnvironment(const char* const* changes)
{
    std::vector<std::string> entries;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e)
        entries.emplace_back(*e);
    for (const char* const* c = changes; c != nullptr && *c != nullptr; ++c) {
        std::string change = *c;
        std::string name = VariableName(change);
        std::erase_if(entries, [&](const std::string& e) { return VariableName(e) == name; });
        if (change.find('=') != std::string::npos)
            entries.push_back(change);
    }
    return entries;
}

std::vector<char*> PointerList(std::vector<std::string>& strings)
{
    std::vector<char*> list;
    for (std::string& s : strings)
        list.push_back(s.data());
    list.push_back(nullptr);
    return list;
}

int AddStandardFiles(posix_spawn_file_actions_t* actions, const ProcessStart* start)
{
    int error = 0;
    if (start->szStdinPath != nullptr)
        error = posix_spawn_file_actions_addopen(actions, 0, start->szStdinPath, O_RDONLY, 0);
    if (error == 0 && start->szStdoutPath != nullptr)
        error = posix_spawn_file_actions_addopen(actions, 1, start->szStdoutPath,
                                                 O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (error == 0 && start->szStderrPath != nullptr) {
        if (start->szStdoutPath != nullptr && std::strcmp(start->szStdoutPath, start->szStderrPath) == 0)
            error = posix_spawn_file_actions_adddup2(actions, 1, 2);
        else
            error = posix_spawn_file_actions_addopen(actions, 2, start->szStderrPath,
                                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    if (error == 0 && start->szWorkingFolder != nullptr)
        error = posix_spawn_file_actions_addchdir_np(actions, start->szWorkingFolder);
    // The child gets none of our descriptors beyond the three standard ones.
    if (error == 0)
        error = posix_spawn_file_actions_addclosefrom_np(actions, 3);
    return error;
}

// Signals at their defaults and none blocked, whatever this process ignores or blocks;
// a session of its own when asked.
int SetChildAttributes(posix_spawnattr_t* attributes, const ProcessStart* start)
{
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    int error = posix_spawnattr_setsigdefault(attributes, &all);
    if (error == 0)
        error = posix_spawnattr_setsigmask(attributes, &none);
    if (error == 0)
        error = posix_spawnattr_setflags(attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK
                                                         | (start->fOwnSession ? POSIX_SPAWN_SETSID : 0));
    return error;
}

} // namespace

int StartProcess(const ProcessStart* start, ProcessId* process)
{
    *process = kNoProcess;
    if (start == nullptr || start->szProgram == nullptr || *start->szProgram == '\0')
        return ENOENT;
    std::vector<std::string> arguments = {start->szProgram};
    for (const char* const* a = start->apArguments; a != nullptr && *a != nullptr; ++a)
        arguments.emplace_back(*a);
    std::vector<std::string> environment = ChildEnvironment(start->apEnvironmentChanges);
    std::vector<char*> argv = PointerList(arguments);
    std::vector<char*> envp = PointerList(environment);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    int error = AddStandardFiles(&actions, start);
    if (error == 0)
        error = SetChildAttributes(&attributes, start);
    pid_t child = kNoProcess;
    if (error == 0) {
        bool search = std::strchr(start->szProgram, '/') == nullptr;
        error = search ? posix_spawnp(&child, start->szProgram, &actions, &attributes, argv.data(), envp.data())
                       : posix_spawn(&child, start->szProgram, &actions, &attributes, argv.data(), envp.data());
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error == 0)
        *process = child;
    return error;
}

int WaitForProcess(ProcessId process, ProcessExit* exit)
{
    int status = 0;
    for (;;) {
        pid_t done = waitpid(process, &status, 0);
        if (done == process)
            break;
        if (done < 0 && errno != EINTR)
            return errno;
    }
    if (WIFSIGNALED(status)) {
        exit->iSignal = WTERMSIG(status);
        exit->iExitCode = 128 + exit->iSignal;
    } else {
        exit->iSignal = 0;
        exit->iExitCode = WEXITSTATUS(status);
    }
    return 0;
}

int RunProcess(const ProcessStart* start, ProcessExit* exit)
{
    ProcessId process = kNoProcess;
    int error = StartProcess(start, &process);
    if (error == 0)
        error = WaitForProcess(process, exit);
    return error;
}

const char* DescribeProcessError(int error)
{
    return std::strerror(error);
}
