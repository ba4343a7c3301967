// Starting a program as a child process and waiting for it to end, as the plug-in starts
// the configuration program and the sender from the settings folder and waits for them.
//
// How to use:
//   ProcessStart start = {};
//   start.szProgram = "/home/u/Documents/Adobe/Illustrator/TRVXSender";
//   const char* changes[] = {"TRAVEX_CONFIG_UI=press 1", nullptr};
//   start.apEnvironmentChanges = changes;  // the child's own variables, on top of ours
//   ProcessExit exit = {};
//   int error = RunProcess(&start, &exit);  // start, then wait
//   if (error != 0)        -> the program could not be started: DescribeProcessError(error)
//   else if (exit.iSignal) -> it was killed or crashed (iExitCode is 128 + the signal)
//   else                   -> exit.iExitCode is what its main returned
//
// StartProcess and WaitForProcess do the two halves separately. The wait blocks in waitpid
// without polling and without a time limit; the caller's thread does nothing else meanwhile.
// The child gets no descriptor of the caller but its standard input, output and error,
// and default signal dispositions. Errors are errno values (ENOENT for a missing program,
// EACCES, ENOEXEC, ...), reported by the start itself.
#pragma once

#include <cstdint>
#include <sys/types.h>

typedef pid_t ProcessId;
constexpr ProcessId kNoProcess = -1;

struct ProcessStart {
    const char* szProgram;                     // a path; a name without "/" is searched on PATH
    const char* const* apArguments;            // after the program's name, null-terminated; null: none
    const char* const* apEnvironmentChanges;   // "NAME=VALUE" sets, "NAME" removes; null: ours unchanged
    const char* szWorkingFolder;               // null: ours
    const char* szStdinPath;                   // opened for reading; null: ours
    const char* szStdoutPath;                  // created or truncated; null: ours
    const char* szStderrPath;                  // the same path as szStdoutPath shares that file
    int16_t fOwnSession;                       // 1: a session of its own, away from our terminal
};

struct ProcessExit {
    int32_t iExitCode;   // the program's exit code, or 128 + the signal that ended it
    int32_t iSignal;     // 0, or the signal that ended it
};

// Starts the program; *process is the child, or kNoProcess with the error returned.
int StartProcess(const ProcessStart* start, ProcessId* process);

// Waits until the child ends and fills *exit; 0, or ECHILD when it is not a child of ours.
int WaitForProcess(ProcessId process, ProcessExit* exit);

// StartProcess, then WaitForProcess; 0 or the error of either.
int RunProcess(const ProcessStart* start, ProcessExit* exit);

// A text for an error of this layer, for messages.
const char* DescribeProcessError(int error);
