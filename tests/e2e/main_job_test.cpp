// The README's main job, tools/plot-sample: the sample drawing plotted into a ".plt" file
// through the real travex-host and TRAVEX-Pro.aip with default settings, read back by
// hp2xx; and what the user sees on standard error of a plot without a desktop session.
#include "tests/e2e/plot_run.h"

#include "platform/process_start.h"

#include <regex>

namespace {

struct ScriptRun {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

ScriptRun RunPlotSample(const std::string& folder, const std::string& out)
{
    const std::string script = std::string(TRAVEX_SOURCE_DIR) + "/tools/plot-sample";
    const std::string outputPath = folder + "/plot-sample.out";
    const std::string buildDir = std::string("TRAVEX_BUILD_DIR=") + TRAVEX_BINARY_DIR;
    const char* arguments[] = {out.c_str(), nullptr};
    const char* changes[] = {"TRAVEX_NO_BUILD=1", buildDir.c_str(), nullptr};
    ProcessStart start = {};
    start.szProgram = script.c_str();
    start.apArguments = arguments;
    start.apEnvironmentChanges = changes;
    start.szWorkingFolder = folder.c_str();
    start.szStdinPath = "/dev/null";
    start.szStdoutPath = outputPath.c_str();
    start.szStderrPath = outputPath.c_str();
    ProcessExit exit = {};
    ScriptRun run;
    if (RunProcess(&start, &exit) == 0)
        run.exitCode = exit.iExitCode;
    run.output = ReadBytes(outputPath);
    return run;
}

// Every file under the folder, with its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadBytes(entry.path().string());
    return files;
}

TEST_F(PlotRunTest, TheMainJobPlotsTheSampleIntoAFramedPlotFileThatHp2xxReadsWhole)
{
    // the user's own settings, which the main job must leave alone
    EditPlotSettings([](PlotSettings& s) { s.fDebugMode = 1; });
    const auto userFiles = FilesUnder(TestHome() + "/Documents");
    const std::string sample = std::string(TRAVEX_SOURCE_DIR) + "/examples/sample.svg";
    const std::string sampleBefore = ReadBytes(sample);

    const std::string out = folder + "/sample.plt";
    ScriptRun run = RunPlotSample(folder, out);
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::string plotFile = ReadBytes(out);
    std::smatch window;
    ASSERT_TRUE(std::regex_search(plotFile, window, std::regex("^\x1b\\.\\(IW-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+;")))
        << plotFile.substr(0, 40);
    ASSERT_GE(plotFile.size(), 3u);
    EXPECT_EQ(plotFile.substr(plotFile.size() - 3), "\x1b.)");
    // the four layers on their pens in slot order, each page closed
    size_t at = 0;
    for (const char* pen : {"SP1;", "SP2;", "SP3;", "SP8;", "PG;SP;"}) {
        size_t next = plotFile.find(pen, at);
        EXPECT_NE(next, std::string::npos) << pen << " after byte " << at;
        at = next == std::string::npos ? at : next;
    }
    EXPECT_NE(run.output.find("plot-sample: " + std::to_string(plotFile.size()) + " bytes of HP-GL in " + out),
              std::string::npos)
        << run.output;
    // hp2xx found nothing it did not understand
    EXPECT_NE(run.output.find("hp2xx: HPGL command(s) ignored: 0\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("hp2xx: Unexpected event(s):  0\n"), std::string::npos) << run.output;
    EXPECT_FALSE(std::regex_search(run.output, std::regex("(ignored|Unexpected event\\(s\\)): *[1-9]"))) << run.output;

    EXPECT_EQ(FilesUnder(TestHome() + "/Documents"), userFiles) << "the user's settings are untouched";
    EXPECT_EQ(ReadBytes(sample), sampleBefore) << "the sample drawing is untouched";
}

// Without a desktop session Qt's offscreen platform says so on standard error; that is no
// news for the user. Any other message of Qt still reaches standard error.
TEST_F(PlotRunTest, QtsOffscreenNoticesStayOffStandardErrorAndItsOtherMessagesDoNot)
{
    const std::string drawing = WriteSmallDrawing(folder);
    HostRun run = Plot(drawing, {"--to-file", folder + "/small.plt"}, With(Ports(), {"XDG_RUNTIME_DIR"}));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err.find("XDG_RUNTIME_DIR"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("propagateSizeHints"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("QStandardPaths"), std::string::npos) << run.err;

    // a platform Qt does not have: its message comes through
    HostRun other = RunTravexHost(folder, {drawing, "list"}, With(Ports(), {"QT_QPA_PLATFORM=no-such-platform"}));
    EXPECT_NE(other.exitStatus, 0);
    EXPECT_NE(other.err.find("\"no-such-platform\""), std::string::npos) << other.err;
}

}  // namespace
