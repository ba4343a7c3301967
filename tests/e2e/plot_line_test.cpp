// Output Plotter against a plotter that holds the line, stops reading or goes away, a
// user who presses Ctrl-C, two runs at once, and the progress display on a terminal: the
// real travex-host with TRAVEX-Pro.aip, a pseudo-terminal pair as the plotter.
#include "tests/e2e/plot_run.h"

#include <csignal>

namespace {

constexpr int kDots = 400;  // a job larger than what the line holds unread

std::string Tail(const std::string& text, size_t n) { return text.size() > n ? text.substr(text.size() - n) : text; }

// The job as the plotter must receive it whole: start, initialisation, window, body, end.
std::string WholeJob(const std::string& received)
{
    const std::string body = ReadBytes(PlotDataPath());
    size_t windowEnd = received.find(';', std::string("\x1b.(IN;IW;").size());
    if (windowEnd == std::string::npos)
        return "";
    return received.substr(0, windowEnd + 1) + body + "\x1b.)";
}

// Waits until the file holds text; false when the guard ran out.
bool WaitForFileText(const std::string& path, const std::string& text, int guardMs = 30000)
{
    for (int waited = 0; waited < guardMs; waited += 10) {
        if (ReadBytes(path).find(text) != std::string::npos)
            return true;
        usleep(10000);
    }
    return false;
}

TEST_F(PlotRunTest, XoffPausesTheStreamAndXonResumesIt)
{
    EditPlotSettings([](PlotSettings& s) { s.wFlowControl = 1; });
    const std::string drawing = WriteDotsDrawing(folder, kDots);
    HostProcess host = StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1"}, Ports());
    ASSERT_TRUE(plotter.WaitForBytes(2000)) << "the stream started";
    ASSERT_TRUE(plotter.Send("\x19"));
    plotter.WaitUntilQuiet(500);
    const std::string held = plotter.Received();
    EXPECT_NE(Tail(held, 3), "\x1b.)") << "the stream paused before its end";
    ASSERT_TRUE(plotter.Send("\x17"));
    HostRun run = WaitTravexHost(host);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    ASSERT_TRUE(plotter.WaitFor("\x1b.)"));
    plotter.WaitUntilQuiet(100);
    const std::string received = plotter.Received();
    EXPECT_GT(received.size(), held.size()) << "the stream resumed";
    EXPECT_EQ(received, WholeJob(received)) << "nothing lost, nothing sent twice";
}

TEST_F(PlotRunTest, APlotterThatStopsReadingEndsTheRunWithTheTimeOut)
{
    EditPlotSettings([](PlotSettings& s) { s.wFlowControl = 0; });
    const std::string drawing = WriteDotsDrawing(folder, kDots);
    plotter.SetReading(false);
    HostRun run = Plot(drawing, {"--layer", "Dots=1"}, With(Ports(), {"TRAVEX_PORT_TIMEOUT_MS=1500"}));
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_NE(run.err.find("plot: Time out [1460]"), std::string::npos) << run.err;
    EXPECT_NE(run.alerts.find("PORT"), std::string::npos) << run.alerts;
    plotter.SetReading(true);
    plotter.WaitUntilQuiet(200);
    EXPECT_NE(Tail(plotter.Received(), 3), "\x1b.)") << "no end escape after a failed stream";
}

TEST_F(PlotRunTest, APlotterThatGoesAwayIsReported)
{
    EditPlotSettings([](PlotSettings& s) { s.wFlowControl = 0; });
    const std::string drawing = WriteDotsDrawing(folder, kDots);
    HostProcess host = StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1"}, Ports());
    ASSERT_TRUE(plotter.WaitForBytes(200));
    plotter.Close();
    HostRun run = WaitTravexHost(host);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_NE(run.err.find("plot: Time out [31]"), std::string::npos) << run.err;
}

// Ctrl-C while the port waits: at the start of the job (the plotter holds the line before
// the plot window) and while the data streams into a plotter that stopped reading.
TEST_F(PlotRunTest, CtrlCEndsARunThatWaitsOnThePort)
{
    struct Case {
        const char* name;
        int16_t flow;
        const char* waitFor;  // what the plotter has received when it holds the line
        bool xoff;            // holds it with XOFF, else stops reading
    } cases[] = {
        {"held at the start", 1, "\x1b.(IN;IW;", true},
        {"stopped reading mid-stream", 0, "SP1;", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditPlotSettings([&](PlotSettings& s) { s.wFlowControl = c.flow; });
        const std::string drawing = WriteDotsDrawing(folder, kDots);
        HostProcess host = StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1"}, Ports());
        ASSERT_TRUE(plotter.WaitFor(c.waitFor));
        if (c.xoff) {
            // held while the run converts: it then waits to write the plot window
            ASSERT_TRUE(plotter.Send("\x19"));
            ASSERT_TRUE(WaitForFileText(host.errPath, "progress: Sending data into the plotter ..."));
        } else {
            plotter.SetReading(false);
            ASSERT_TRUE(WaitForFileText(host.errPath, "progress: 1%"));
        }
        usleep(300000);  // well inside the minute the port may wait
        kill(host.pid, SIGINT);
        HostRun run = WaitTravexHost(host);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.err.find("travex-host: plot: cancelled"), std::string::npos) << run.err;
        EXPECT_EQ(run.alerts, "") << "a cancel is no failure";
        plotter.SetReading(true);
        if (c.xoff) {
            ASSERT_TRUE(plotter.Send("\x17"));
        }
        plotter.WaitUntilQuiet(200);
        EXPECT_NE(Tail(plotter.Received(), 3), "\x1b.)") << "a cancelled job gets no end escape";
    }
}

TEST_F(PlotRunTest, CtrlCEndsARunThatConverts)
{
    const std::string drawing = WriteDotsDrawing(folder, 4000);
    HostProcess host = StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1"}, Ports());
    ASSERT_TRUE(WaitForFileText(host.errPath, "progress: Converting into plotter data ..."));
    kill(host.pid, SIGINT);
    HostRun run = WaitTravexHost(host);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("travex-host: plot: cancelled"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Sending data into the plotter"), std::string::npos) << "nothing streamed";
}

// A run holds the job files from its start to its end: a second host and travex-convert
// are refused meanwhile and change nothing; once the first run ends, they run again.
TEST_F(PlotRunTest, ASecondRunIsRefusedWhileTheFirstHoldsTheJobFiles)
{
    EditPlotSettings([](PlotSettings& s) { s.wFlowControl = 1; });
    const std::string first = WriteDotsDrawing(folder, kDots);
    HostProcess host = StartTravexHost(folder, {first, "plot", "--layer", "Dots=1"}, Ports());
    ASSERT_TRUE(plotter.WaitFor("\x1b.(IN;IW;"));
    ASSERT_TRUE(plotter.Send("\x19"));
    ASSERT_TRUE(WaitForFileText(host.errPath, "progress: Sending data into the plotter ..."));

    const std::string second = WriteSmallDrawing(folder);
    const std::string drawingBefore = ReadBytes(second);
    const std::string plotDataBefore = ReadBytes(PlotDataPath());
    const std::string registryBefore = ReadBytes(RegistryStorePath());
    const std::string busy = "Another output run is using the job files in " + SettingsFolder();

    const std::string other = folder + "/second-run";  // its own output files
    std::filesystem::create_directories(other);
    HostRun refused = RunTravexHost(other, {second, "plot", "--layer", "Layer 1=2"}, Ports(folder + "/none"));
    EXPECT_EQ(refused.exitStatus, 3);
    EXPECT_NE(refused.err.find("plot: " + busy), std::string::npos) << refused.err;
    EXPECT_NE(refused.alerts.find("Error=4c4f434b, LOCK"), std::string::npos) << refused.alerts;

    const std::string convert = std::string(TRAVEX_BINARY_DIR) + "/bin/travex-convert";
    std::string command =
        convert + " " + second + " --layer 'Layer 1=1' >" + folder + "/convert.out 2>" + folder + "/convert.err";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(
        ReadBytes(folder + "/convert.err").find("another output run is using the job files in " + SettingsFolder()),
        std::string::npos)
        << ReadBytes(folder + "/convert.err");

    EXPECT_EQ(ReadBytes(second), drawingBefore);
    EXPECT_EQ(ReadBytes(PlotDataPath()), plotDataBefore);
    EXPECT_EQ(ReadBytes(RegistryStorePath()), registryBefore);

    kill(host.pid, SIGINT);
    HostRun cancelled = WaitTravexHost(host);
    EXPECT_NE(cancelled.err.find("plot: cancelled"), std::string::npos) << cancelled.err;
    ASSERT_TRUE(plotter.Send("\x17"));
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadBytes(folder + "/convert.err");
}

// On a terminal the progress bar shares its line with nothing: whatever is printed after
// it starts a line of its own.
TEST_F(PlotRunTest, TheProgressBarEndsItsLineBeforeAnythingElseIsPrinted)
{
    PlotterLine terminal;
    ASSERT_TRUE(terminal.Ok());
    const std::string drawing = WriteDotsDrawing(folder, 40);
    struct Case {
        const char* name;
        std::vector<std::string> env;
        const char* printed;
    } cases[] = {
        {"a finished job, then a listing", Ports(), "layer 0 "},
        {"a failed job", Ports(folder + "/none"), "travex-host: plot: Unable to open serial driver [2]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostProcess host =
            StartTravexHost(folder, {drawing, "plot", "--layer", "Dots=1", "list"}, c.env, terminal.SlavePath());
        WaitTravexHost(host);
        terminal.WaitUntilQuiet(200);
        const std::string shown = terminal.Received();
        ASSERT_NE(shown.find("\r["), std::string::npos) << "a bar was drawn";
        const size_t at = shown.find(c.printed);
        ASSERT_NE(at, std::string::npos) << shown;
        EXPECT_EQ(shown[at - 1], '\n') << shown.substr(at > 80 ? at - 80 : 0, 100);
        for (size_t line = shown.find("travex-host:"); line != std::string::npos;
             line = shown.find("travex-host:", line + 1))
            EXPECT_EQ(shown[line - 1], '\n') << shown.substr(line > 80 ? line - 80 : 0, 100);
    }
    // travex-convert prints the plot data file's path after its bar
    PlotterLine convertTerminal;
    const std::string command = std::string(TRAVEX_BINARY_DIR) + "/bin/travex-convert " + drawing +
                                " --layer Dots=1 >" + convertTerminal.SlavePath() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    convertTerminal.WaitUntilQuiet(200);
    const std::string shown = convertTerminal.Received();
    ASSERT_NE(shown.find("\r["), std::string::npos) << "a bar was drawn";
    const size_t at = shown.find(PlotDataPath());
    ASSERT_NE(at, std::string::npos) << shown;
    EXPECT_EQ(shown[at - 1], '\n') << shown.substr(at > 80 ? at - 80 : 0, 100);
}

}  // namespace
