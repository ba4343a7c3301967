// Starting programs and waiting for them: real children through /bin/sh.
#include "platform/process_start.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs /bin/sh -c SCRIPT with its output in a file; the output.
struct ShellRun {
    int error = -1;
    ProcessExit exit = {};
    std::string output;
};

ShellRun RunShell(const std::string& script, const char* const* changes = nullptr,
                  const char* stdinPath = nullptr, const char* folder = nullptr)
{
    std::string outPath = MakeTestFolder("shell") + "/out";
    const char* arguments[] = {"-c", script.c_str(), nullptr};
    ProcessStart start = {};
    start.szProgram = "/bin/sh";
    start.apArguments = arguments;
    start.apEnvironmentChanges = changes;
    start.szStdinPath = stdinPath;
    start.szStdoutPath = outPath.c_str();
    start.szStderrPath = outPath.c_str();
    start.szWorkingFolder = folder;
    ShellRun run;
    run.error = RunProcess(&start, &run.exit);
    run.output = ReadText(outPath);
    return run;
}

TEST(ProcessStart, TheWaitGivesTheProgramsExitCode)
{
    for (int code : {0, 1, 3, 99, 255}) {
        SCOPED_TRACE(code);
        ShellRun run = RunShell("exit " + std::to_string(code));
        ASSERT_EQ(run.error, 0);
        EXPECT_EQ(run.exit.iExitCode, code);
        EXPECT_EQ(run.exit.iSignal, 0);
    }
}

TEST(ProcessStart, AKilledProgramIsReportedWithItsSignal)
{
    ShellRun run = RunShell("kill -KILL $$");
    ASSERT_EQ(run.error, 0);
    EXPECT_EQ(run.exit.iSignal, SIGKILL);
    EXPECT_EQ(run.exit.iExitCode, 128 + SIGKILL);
}

TEST(ProcessStart, TheWaitReturnsOnlyOnceTheProgramHasEnded)
{
    std::string folder = MakeTestFolder("late");
    std::string mark = folder + "/mark";
    ShellRun run = RunShell("sleep 0.3; echo finished > '" + mark + "'");
    ASSERT_EQ(run.error, 0);
    EXPECT_EQ(ReadText(mark), "finished\n");
}

TEST(ProcessStart, AProgramThatCannotBeStartedIsReported)
{
    std::string folder = MakeTestFolder("missing");
    std::string plain = folder + "/not-a-program";
    std::ofstream(plain) << "just text\n";
    chmod(plain.c_str(), 0644);
    struct Case {
        std::string program;
        int error;
    } cases[] = {
        {folder + "/TRVXSerConfig", ENOENT},         // no such file
        {"travex-no-such-program", ENOENT},          // not on PATH
        {plain, EACCES},                             // not executable
        {"", ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        ProcessStart start = {};
        start.szProgram = c.program.c_str();
        ProcessId process = 12345;
        EXPECT_EQ(StartProcess(&start, &process), c.error);
        EXPECT_EQ(process, kNoProcess);
        ProcessExit exit = {};
        EXPECT_EQ(RunProcess(&start, &exit), c.error);
        EXPECT_STRNE(DescribeProcessError(c.error), "");
    }
}

TEST(ProcessStart, TheChildGetsItsOwnVariablesAndOursStayAsTheyWere)
{
    setenv("TRAVEX_PARENT_ONLY", "parent", 1);
    setenv("TRAVEX_REPLACED", "old", 1);
    const char* changes[] = {"TRAVEX_CHILD_STEPS=press 1", "TRAVEX_REPLACED=new", "TRAVEX_PARENT_ONLY", nullptr};
    ShellRun run = RunShell("printf '%s|%s|%s' \"$TRAVEX_CHILD_STEPS\" \"$TRAVEX_REPLACED\" \"${TRAVEX_PARENT_ONLY-unset}\"",
                            changes);
    ASSERT_EQ(run.error, 0);
    EXPECT_EQ(run.output, "press 1|new|unset");
    EXPECT_STREQ(std::getenv("TRAVEX_PARENT_ONLY"), "parent");
    EXPECT_STREQ(std::getenv("TRAVEX_REPLACED"), "old");
    EXPECT_EQ(std::getenv("TRAVEX_CHILD_STEPS"), nullptr);

    ShellRun inherited = RunShell("printf '%s' \"$TRAVEX_PARENT_ONLY\"");
    EXPECT_EQ(inherited.output, "parent");
    unsetenv("TRAVEX_PARENT_ONLY");
    unsetenv("TRAVEX_REPLACED");
}

TEST(ProcessStart, StandardFilesAndTheWorkingFolderAreTheOnesGiven)
{
    std::string folder = MakeTestFolder("files");
    std::string input = folder + "/input";
    std::ofstream(input) << "user anonymous kelp\nquit\n";
    ShellRun run = RunShell("cat; pwd; echo complaint >&2", nullptr, input.c_str(), folder.c_str());
    ASSERT_EQ(run.error, 0);
    char real[4096];
    ASSERT_NE(realpath(folder.c_str(), real), nullptr);
    EXPECT_EQ(run.output, "user anonymous kelp\nquit\n" + std::string(real) + "\ncomplaint\n");
}

TEST(ProcessStart, TheChildGetsNoneOfOurDescriptorsAndDefaultSignals)
{
    std::string folder = MakeTestFolder("inherit");
    int fd = open((folder + "/held").c_str(), O_WRONLY | O_CREAT, 0600);   // no close-on-exec
    ASSERT_GE(fd, 3);
    struct sigaction previous{};
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    struct sigaction previousInt{};
    sigaction(SIGINT, &ignore, &previousInt);

    ShellRun run = RunShell("test -e /proc/$$/fd/" + std::to_string(fd)
                            + " && echo held || echo closed; grep SigIgn /proc/$$/status");
    sigaction(SIGPIPE, &previous, nullptr);
    sigaction(SIGINT, &previousInt, nullptr);
    close(fd);
    ASSERT_EQ(run.error, 0);
    std::istringstream lines(run.output);
    std::string held, ignored;
    std::getline(lines, held);
    std::getline(lines, ignored);
    EXPECT_EQ(held, "closed");
    ASSERT_EQ(ignored.compare(0, 7, "SigIgn:"), 0);
    unsigned long long mask = std::stoull(ignored.substr(7), nullptr, 16);
    EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u);
    EXPECT_EQ(mask & (1ull << (SIGINT - 1)), 0u);
}

TEST(ProcessStart, AProgramInASessionOfItsOwnHasNoTerminal)
{
    ProcessStart start = {};
    std::string out = MakeTestFolder("session") + "/out";
    const char* arguments[] = {"-c", "cut -d' ' -f6 /proc/$$/stat; echo $$", nullptr};
    start.szProgram = "/bin/sh";
    start.apArguments = arguments;
    start.szStdoutPath = out.c_str();
    start.fOwnSession = 1;
    ProcessExit exit = {};
    ASSERT_EQ(RunProcess(&start, &exit), 0);
    std::istringstream lines(ReadText(out));
    std::string session, pid;
    std::getline(lines, session);
    std::getline(lines, pid);
    EXPECT_EQ(session, pid);   // the leader of its own session
}

TEST(ProcessStart, WaitingForAProcessThatIsNotOursIsRefused)
{
    ProcessExit exit = {};
    EXPECT_EQ(WaitForProcess(getpid(), &exit), ECHILD);
}

} // namespace
