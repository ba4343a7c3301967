// travex-convert run as a process: options it refuses before converting anything, its help,
// and a cancel (the host's cancel check answering yes, or Ctrl-C) that leaves no part of
// the plot data behind.
#include "plugin/settings/tests/settings_test_files.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct ConvertRun {
    int exitStatus = -1;  // -1 when it did not exit by itself
    std::string out;
    std::string err;
};

struct Process {
    pid_t pid = -1;
    std::string outPath;
    std::string errPath;
};

std::string PlotDataPath() { return TestSettingsFolder() + "/TRAVEX-Pro.tmp"; }

Process Start(const std::string& folder, const std::vector<std::string>& args,
              const std::vector<std::string>& extraEnvironment = {})
{
    Process process;
    process.outPath = folder + "/convert.out";
    process.errPath = folder + "/convert.err";
    std::vector<std::string> argStrings = {std::string(TRAVEX_BINARY_DIR) + "/bin/travex-convert"};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e)
        envStrings.push_back(*e);
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (std::string& entry : envStrings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, process.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, process.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0)
        process.pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    return process;
}

ConvertRun Wait(const Process& process)
{
    ConvertRun run;
    int status = 0;
    if (process.pid > 0 && waitpid(process.pid, &status, 0) == process.pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.out = ReadBytes(process.outPath);
    run.err = ReadBytes(process.errPath);
    return run;
}

// Two layers of one stroke each, and lines enough for a plot data file far larger than a
// pipe holds.
std::string Drawing(int extraLines)
{
    std::string lines;
    for (int i = 0; i < extraLines; ++i)
        lines += "<path d=\"M" + std::to_string(5 + i % 90) + " 5 L" + std::to_string(5 + i % 90) + " " +
                 std::to_string(10 + i % 40) + "\"/>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
           "     width=\"100mm\" height=\"50mm\" viewBox=\"0 0 100 50\">\n"
           "<g inkscape:label=\"A\" style=\"fill:none;stroke:#000\"><path d=\"M60 30 L70 30\"/></g>\n"
           "<g inkscape:label=\"B\" style=\"fill:none;stroke:#000\"><path d=\"M5 45 L10 45\"/>" +
           lines + "</g>\n</svg>\n";
}

class TravexConvert : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder_ = MakeTestFolder("travex-convert");
        drawing_ = folder_ + "/drawing.svg";
        WriteBytes(drawing_, Drawing(0));
        std::filesystem::create_directories(TestSettingsFolder());
    }

    std::string folder_;
    std::string drawing_;
};

TEST_F(TravexConvert, BadOptionsAreRefusedWithTheReasonAndConvertNothing)
{
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* reason;  // a part of the message on standard error
    } cases[] = {
        {"a layer title the drawing lacks", {"--layer", "Nope=1"}, "no layer titled \"Nope\""},
        {"a layer on an empty tool slot", {"--layer", "A=7"}, "tool slot 7 of layer \"A\" holds no tool"},
        {"a tool slot emptied by --tool",
         {"--tool", "1=0", "--layer", "A=1"},
         "tool slot 1 of layer \"A\" holds no tool"},
        {"no layer at all", {"--sort", "0"}, "no layer to convert"},
        {"a reversed print range", {"--layer", "A=1", "--pages", "3-1"}, "reversed"},
        {"page 0", {"--layer", "A=1", "--pages", "0-1"}, "each page 1 to 32767"},
        {"a page past 32767", {"--layer", "A=1", "--pages", "1-32768"}, "each page 1 to 32767"},
        {"a print range that is no range", {"--layer", "A=1", "--pages", "2"}, "FIRST-LAST"},
        {"a sort mode past 2", {"--layer", "A=1", "--sort", "3"}, "the sort mode is 0, 1 or 2"},
        {"a negative sort mode", {"--layer", "A=1", "--sort", "-1"}, "the sort mode is 0, 1 or 2"},
        {"a tool slot past 10", {"--layer", "A=11"}, "tool slot 1 to 10"},
        {"an unknown option", {"--layers", "A=1"}, "option --layers is unknown"},
        {"an option without its value", {"--layer", "A=1", "--sort"}, "lacks its value"},
        {"a second drawing", {"--layer", "A=1", "other.svg"}, "a second drawing other.svg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(PlotDataPath(), "an earlier job");
        std::vector<std::string> args = {drawing_};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ConvertRun run = Wait(Start(folder_, args));
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.rfind("travex-convert: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadBytes(PlotDataPath()), "an earlier job");
    }
}

TEST_F(TravexConvert, HelpListsTheOptionsAndConvertsNothing)
{
    for (const char* help : {"-h", "--help"}) {
        SCOPED_TRACE(help);
        std::filesystem::remove(PlotDataPath());
        const ConvertRun run = Wait(Start(folder_, {drawing_, "--layer", "A=1", help}));
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out.rfind("usage: travex-convert", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("--pages FIRST-LAST"), std::string::npos);
        EXPECT_EQ(run.err, "");
        EXPECT_FALSE(std::filesystem::exists(PlotDataPath()));
    }
}

TEST_F(TravexConvert, CancelCheckAnsweringYesLeavesNoPlotData)
{
    WriteBytes(drawing_, Drawing(200));
    for (const char* checks : {"1", "50"}) {
        SCOPED_TRACE(checks);
        WriteBytes(PlotDataPath(), "an earlier job");
        const ConvertRun run = Wait(Start(folder_, {drawing_, "--layer", "B=1", "--sort", "0"},
                                          {std::string("TRAVEX_HOST_CANCEL_AFTER=") + checks}));
        EXPECT_EQ(run.exitStatus, 130);
        EXPECT_NE(run.err.find("travex-convert: cancelled; the plot data file was removed"), std::string::npos)
            << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(PlotDataPath()));
    }
}

// The plot data file is a pipe the test reads: once the first bytes arrive the program is
// converting, and it cannot finish before the test drains more than a pipe holds, so the
// Ctrl-C sent in between always lands in the conversion.
TEST_F(TravexConvert, CtrlCCancelsTheConversionAndRemovesThePlotData)
{
    WriteBytes(drawing_, Drawing(6000));
    ASSERT_EQ(mkfifo(PlotDataPath().c_str(), 0644), 0) << std::strerror(errno);
    const int reader = open(PlotDataPath().c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Process process = Start(folder_, {drawing_, "--layer", "B=1", "--sort", "0"});
    ASSERT_GT(process.pid, 0);

    size_t received = 0;
    bool interrupted = false;
    char buffer[4096];
    for (;;) {
        pollfd wait = {reader, POLLIN, 0};
        if (poll(&wait, 1, 200) < 0 && errno != EINTR)
            break;
        const ssize_t n = read(reader, buffer, sizeof buffer);
        if (n > 0) {
            received += static_cast<size_t>(n);
            if (!interrupted) {
                ASSERT_EQ(kill(process.pid, SIGINT), 0);
                interrupted = true;
            }
            continue;
        }
        // the writer closed the pipe, or the program ended before it opened it
        if (n == 0 && interrupted)
            break;
        int status = 0;
        if (!interrupted && waitpid(process.pid, &status, WNOHANG) == process.pid) {
            close(reader);
            FAIL() << "travex-convert ended before it wrote the plot data: " << ReadBytes(process.errPath);
        }
    }
    close(reader);
    const ConvertRun run = Wait(process);
    EXPECT_TRUE(interrupted);
    EXPECT_GT(received, 0u);
    EXPECT_EQ(run.exitStatus, 130);
    EXPECT_NE(run.err.find("travex-convert: cancelled; the plot data file was removed"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(PlotDataPath()));
}

TEST_F(TravexConvert, AGoodJobStillPrintsThePlotDataPath)
{
    const ConvertRun run =
        Wait(Start(folder_, {drawing_, "--layer", "A=1", "--layer", "B=2", "--pages", "1-2", "--sort", "2"}));
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, PlotDataPath() + "\n");
    EXPECT_NE(ReadBytes(PlotDataPath()).find("SP2;"), std::string::npos);
}

}  // namespace
