// "Output Plotter" through the real travex-host and TRAVEX-Pro.aip with a pseudo-terminal
// as the plotter: the whole job on COM1, the dialog's Cancel, the line settings the plotter
// end sees, a missing device, a plot data file that cannot be written, and the command
// line checked before anything runs.
#include "tests/e2e/plot_run.h"
#include "platform/serial_port.h"

#include <regex>

namespace {

// The first "IW...;" command of text from position at.
std::string WindowCommand(const std::string& text, size_t at = 0)
{
    std::smatch match;
    std::string rest = text.substr(at);
    return std::regex_search(rest, match, std::regex("IW-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+;")) ? match.str() : "";
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(PlotRunTest, TwoPageJobReachesThePlotterWholeAndInOrder)
{
    SetPages(1, 2);
    std::string drawing = WriteDotsDrawing(folder, 40);
    HostRun run = Plot(drawing, {"--layer", "Dots=3", "--skip", "Frame"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    ASSERT_TRUE(plotter.WaitFor("\x1b.)" + std::string(), 10000));
    plotter.WaitUntilQuiet(200);

    const std::string body = ReadBytes(PlotDataPath());
    ASSERT_FALSE(body.empty());
    // two pages: one separator, the end and start escapes and the next page's window
    const std::string separator = "\x1b.)\x1b.(";
    ASSERT_EQ(Count(body, separator), 1u) << "two pages";
    const std::string pageWindow = WindowCommand(body, body.find(separator));
    ASSERT_FALSE(pageWindow.empty());
    // the start, the initialisation, the window of the last page (both pages are A5), the
    // body byte for byte with its page separator, the end
    const std::string expected = "\x1b.(IN;IW;" + pageWindow + body + "\x1b.)";
    EXPECT_EQ(plotter.Received(), expected);
    EXPECT_NE(run.err.find("progress: Sending data into the plotter ..."), std::string::npos) << run.err;

    // the layer-to-tool record in the saved drawing, the file choice in the registry
    const std::string saved = ReadBytes(drawing);
    EXPECT_NE(saved.find("TRVX_1"), std::string::npos);
    // the rows from the top layer: Dots, then Frame
    EXPECT_NE(saved.find("Layer =     1, ToolID =     3"), std::string::npos) << "Dots got slot 3";
    EXPECT_NE(saved.find("Layer =     2, ToolID =     1"), std::string::npos) << "Frame keeps slot 1";
    EXPECT_NE(ReadBytes(RegistryStorePath()).find("\"fTextOut\"=dword:00000000"), std::string::npos);
}

TEST_F(PlotRunTest, CancelInTheDialogChangesNothing)
{
    std::string drawing = WriteDotsDrawing(folder, 4);
    const std::string before = ReadBytes(drawing);
    HostRun run = RunTravexHost(folder,
                                {"--ui", "wait 16053; tick 42; untick 5; press 2", drawing, "globals",
                                 "menu Output Plotter", "globals", "dialogs", "status"},
                                Ports());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err.find("answered"), std::string::npos) << "the run answers 0: " << run.err;
    // the globals as before the run: every record given back, nothing of the run kept
    std::vector<std::string> globals = LinesStartingWith(run.out, "globals: ");
    ASSERT_EQ(globals.size(), 2u) << run.out;
    EXPECT_EQ(globals[0], globals[1]);
    EXPECT_NE(run.out.find("dialog 16053 \"TRAVEX-Pro\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("suites held 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("blocks held 1;"), std::string::npos) << "the globals alone: " << run.out;
    EXPECT_NE(run.out.find("alerts 0"), std::string::npos) << run.out;
    // no registry value, nothing in the document, no job
    EXPECT_EQ(ReadBytes(RegistryStorePath()).find("fTextOut"), std::string::npos);
    EXPECT_EQ(ReadBytes(drawing), before);
    EXPECT_FALSE(std::filesystem::exists(PlotDataPath()));
    plotter.WaitUntilQuiet(100);
    EXPECT_EQ(plotter.Received(), "");
}

// What the plotter's end of a pseudo-terminal can see of the line: the speed of every
// index (28800 as an exact rate), the stop bits, the flow control with the system's own
// characters, the binary mode. A pseudo-terminal always reads 8 bits without parity; the
// data-bit and parity indexes are shown on the line's own settings call in the send
// machine's tests.
TEST_F(PlotRunTest, TheLineTakesEverySettingIndex)
{
    const std::string drawing = WriteSmallDrawing(folder);
    struct Case {
        int16_t baud, stop, flow;
        int32_t rate;  // 2400: kept
        bool arbitrary;
        bool twoStops;
    } cases[] = {
        {0, 0, 0, 300, false, false},
        {1, 1, 1, 1200, false, true},  // one and a half stop bits: two
        {2, 2, 2, 2400, false, true},
        {3, 3, 0, 4800, false, false},  // stop index 3: the line's own
        {4, 0, 1, 9600, false, false},
        {5, 1, 2, 19200, false, true},
        {6, 2, 0, 28800, true, true},
        {7, 0, 1, 38400, false, false},
        {8, 1, 2, 57600, false, true},
        {9, 3, 3, 2400, false, false},  // every index past the table keeps the line's own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("speed index " + std::to_string(c.baud));
        // the line as it was before the run: 2400 bit/s, one stop bit
        termios base{};
        ASSERT_EQ(tcgetattr(plotter.Fd(), &base), 0);
        cfsetospeed(&base, B2400);
        cfsetispeed(&base, B2400);
        base.c_cflag &= ~tcflag_t(CSTOPB);
        ASSERT_EQ(tcsetattr(plotter.Fd(), TCSANOW, &base), 0);
        EditPlotSettings([&](PlotSettings& s) {
            s.wBaudIndex = c.baud;
            s.wDataBitsIndex = int16_t(c.baud % 3);
            s.wStopBitsIndex = c.stop;
            s.wParityIndex = int16_t(c.baud % 4);
            s.wFlowControl = c.flow;
        });
        HostRun run = Plot(drawing);
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        // as the plotter's end of the line sees it after the run
        int32_t output = 0, input = 0;
        bool arbitrary = false;
        ASSERT_EQ(GetLineSpeed(plotter.Fd(), &output, &input, &arbitrary), 0);
        EXPECT_EQ(output, c.rate);
        EXPECT_EQ(input, c.rate);
        EXPECT_EQ(arbitrary, c.arbitrary);
        termios line{};
        ASSERT_EQ(tcgetattr(plotter.Fd(), &line), 0);
        EXPECT_EQ((line.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ((line.c_iflag & IXON) != 0, c.flow == 1);
        EXPECT_EQ((line.c_iflag & IXOFF) != 0, c.flow == 1);
        EXPECT_EQ(line.c_cc[VSTART], kPortXonChar);
        EXPECT_EQ(line.c_cc[VSTOP], kPortXoffChar);
        EXPECT_EQ(line.c_cflag & CRTSCTS, 0u) << "no hardware handshake";
        EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u) << "binary";
        EXPECT_EQ(line.c_oflag & OPOST, 0u) << "binary";
    }
}

TEST_F(PlotRunTest, NoDeviceBehindCom1EndsTheRunBeforeTheConversion)
{
    struct Case {
        const char* language;
        const char* reason;
    } cases[] = {
        {"ENGLISH", "plot: Unable to open serial driver [2]"},
        {"", "plot: シリアルドライバがオープン出来ません [2]"},
    };
    const std::string drawing = WriteSmallDrawing(folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        SetLanguage(c.language);
        std::filesystem::remove(PlotDataPath());
        HostRun run = Plot(drawing, {}, Ports(folder + "/no-device-COM1"));
        EXPECT_EQ(run.exitStatus, 3);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_NE(run.alerts.find("Error=504f5254, PORT"), std::string::npos) << run.alerts;
        EXPECT_FALSE(std::filesystem::exists(PlotDataPath())) << "no conversion";
    }
}

TEST_F(PlotRunTest, APlotDataFileThatCannotBeWrittenIsReportedAndNotSent)
{
    // a full disk: the conversion's writes fail
    ResetTestHome();
    SetLanguage("ENGLISH");
    EditPlotSettings([](PlotSettings&) {});
    std::filesystem::create_symlink("/dev/full", PlotDataPath());
    HostRun run = Plot(WriteDotsDrawing(folder, 200), {"--layer", "Dots=1"});
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_NE(run.err.find("plot: Unable to open the plotter file [112]"), std::string::npos) << run.err;
    EXPECT_NE(run.alerts.find("FILE"), std::string::npos) << run.alerts;
    plotter.WaitUntilQuiet(200);
    EXPECT_EQ(plotter.Received(), "\x1b.(IN;IW;") << "the stream never started";
}

TEST_F(PlotRunTest, OutputToFileOpensNoPort)
{
    const std::string drawing = WriteSmallDrawing(folder);
    HostRun run = Plot(drawing, {"--to-file", folder + "/small.plt"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(ReadBytes(RegistryStorePath()).find("\"fTextOut\"=dword:00000001"), std::string::npos);
    EXPECT_FALSE(ReadBytes(PlotDataPath()).empty()) << "converted";
    plotter.WaitUntilQuiet(100);
    EXPECT_EQ(plotter.Received(), "") << "no port opened";
}

TEST_F(PlotRunTest, TheCommandLineIsCheckedBeforeAnythingRuns)
{
    const std::string drawing = WriteDotsDrawing(folder, 2);
    const std::string before = ReadBytes(drawing);
    struct Case {
        std::vector<std::string> args;
        const char* inMessage;
    } cases[] = {
        {{drawing, "plot", "--layer", "Nope=2"}, "no layer \"Nope\" in the drawing"},
        {{drawing, "plot", "--skip", "Nope"}, "no layer \"Nope\""},
        {{drawing, "plot", "--layer", "Dots=11"}, "the tool slot \"11\" is not 1 to 10"},
        {{drawing, "plot", "--layer", "Dots=0"}, "the tool slot \"0\" is not 1 to 10"},
        {{drawing, "plot", "--layer", "Dots"}, "--layer Dots: needs TITLE=SLOT"},
        {{drawing, "plot", "--layer"}, "--layer needs TITLE=SLOT"},
        {{drawing, "plot", "--layer", "Dots=1", "fly"}, "unknown step \"fly\""},
        {{drawing, folder + "/other.svg", "plot"}, "a second drawing"},
        {{drawing, "plot", "--to-file", "--to-file"}, "--to-file is given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inMessage);
        HostRun run = RunTravexHost(folder, c.args, Ports());
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.err.find(c.inMessage), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(drawing), before);
        EXPECT_FALSE(std::filesystem::exists(PlotDataPath()));
        EXPECT_FALSE(std::filesystem::exists(RegistryStorePath()));
    }
    plotter.WaitUntilQuiet(100);
    EXPECT_EQ(plotter.Received(), "");
}

TEST_F(PlotRunTest, RowsBelowTheNinthAreScrolledTo)
{
    // twelve layers: the last ones are out of the dialog's nine rows until it scrolls
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"100pt\" viewBox=\"0 0 100 100\">\n";
    for (int i = 1; i <= 12; ++i)
        svg += "<g id=\"L" + std::to_string(i) + "\"><rect x=\"" + std::to_string(i * 5) +
               "\" y=\"10\" width=\"3\" height=\"3\" fill=\"none\" stroke=\"#000\"/></g>\n";
    svg += "</svg>\n";
    const std::string drawing = folder + "/twelve.svg";
    WriteBytes(drawing, svg);
    HostRun run = Plot(drawing, {"--layer", "L1=6", "--skip", "L2", "--layer", "L12=5", "--layer", "L3=2"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string saved = ReadBytes(drawing);
    // rows from the top layer: L12 is row 1, L1 row 12
    EXPECT_NE(saved.find("Layer =     1, ToolID =     5"), std::string::npos);
    EXPECT_NE(saved.find("Layer =    10, ToolID =     2"), std::string::npos);
    EXPECT_NE(saved.find("Layer =    12, ToolID =     6"), std::string::npos);
    auto layerTag = [&](const std::string& id) {
        size_t at = saved.find("id=\"" + id + "\"");
        size_t start = saved.rfind('<', at);
        return at == std::string::npos ? std::string() : saved.substr(start, saved.find('>', at) - start);
    };
    EXPECT_NE(layerTag("L2").find("travex:printed=\"false\""), std::string::npos) << layerTag("L2");
    EXPECT_EQ(layerTag("L1").find("travex:printed"), std::string::npos) << layerTag("L1");
}

TEST_F(PlotRunTest, ASlotTheDialogDoesNotListEndsTheRunUnchanged)
{
    // slot 7 is empty in the shipped settings: its line is not in the combos
    const std::string drawing = WriteDotsDrawing(folder, 2);
    const std::string before = ReadBytes(drawing);
    HostRun run = Plot(drawing, {"--layer", "Dots=7"});
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find("has no item starting with \"No7:\""), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(drawing), before);
    EXPECT_EQ(ReadBytes(RegistryStorePath()).find("fTextOut"), std::string::npos);
    plotter.WaitUntilQuiet(100);
    EXPECT_EQ(plotter.Received(), "");
}

}  // namespace
