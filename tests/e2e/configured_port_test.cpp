// The port, speed, parity and flow control chosen in the configuration program reach the
// plotter: one travex-host run chooses "Plotter Configuration...", the real TRVXSerConfig
// (started by the plug-in, driven by its own robot steps) picks the line on the plotter
// environment page and presses OK, and then "Output Plotter" sends the job. Two
// pseudo-terminals stand for COM1 and COM2; only the chosen one may hear the job.
#include "tests/e2e/plot_run.h"
#include "platform/serial_port.h"

#include <filesystem>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

const char kConfigMenu[] = "menu Plotter Configuration...";  // the English menus of SetLanguage

// Byte offsets of the line's words in the settings file (the settings block starts at 2).
constexpr size_t kPortAt = 2 + 212;
constexpr size_t kBaudAt = 2 + 214;
constexpr size_t kParityAt = 2 + 220;
constexpr size_t kFlowAt = 2 + 222;

int Word(const std::string& bytes, size_t at)
{
    if (bytes.size() < at + 2)
        return -1000;
    return int16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

// The first "IW...;" command of text from position at: the plot window sent before the data.
std::string WindowCommand(const std::string& text, size_t at = 0)
{
    std::smatch match;
    std::string rest = text.substr(at);
    return std::regex_search(rest, match, std::regex("IW-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+;")) ? match.str() : "";
}

// A line at 2400 bit/s without flow control, as neither choice of the runs leaves it.
void SetPlainLine(const PlotterLine& line)
{
    termios base{};
    ASSERT_EQ(tcgetattr(line.Fd(), &base), 0);
    cfsetospeed(&base, B2400);
    cfsetispeed(&base, B2400);
    base.c_iflag &= ~tcflag_t(IXON | IXOFF);
    ASSERT_EQ(tcsetattr(line.Fd(), TCSANOW, &base), 0);
}

class ConfiguredPortE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        SetLanguage("ENGLISH");
        InstallIntoSettingsFolder("TRVXSerConfig");
    }

    // COM1 and COM2 mapped to the two lines, every other port to a device that does not exist.
    std::vector<std::string> Ports(const PlotterLine& com1, const PlotterLine& com2) const
    {
        std::vector<std::string> env = {"TRAVEX_COM1=" + com1.SlavePath(), "TRAVEX_COM2=" + com2.SlavePath()};
        for (const char* name : {"COM3", "COM4", "COM5", "LPT1", "LPT2"})
            env.push_back(std::string("TRAVEX_") + name + "=" + folder + "/no-device-" + name);
        return env;
    }

    std::string folder;
};

TEST_F(ConfiguredPortE2E, TheLineChosenInTheProgramCarriesTheWholeJob)
{
    struct Case {
        const char* name;
        int baudItem;  // combo 223
        int32_t rate;
        int parityItem;  // combo 226: none, odd, even
        int flowItem;    // combo 227: none, XON/XOFF, DTR/RTS
    } cases[] = {
        {"19200 bit/s, even parity, XON/XOFF", 5, 19200, 2, 1},
        {"57600 bit/s, odd parity, no flow control", 8, 57600, 1, 0},
    };
    const std::string drawing = WriteSmallDrawing(folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlotterLine com1, com2;
        ASSERT_TRUE(com1.Ok() && com2.Ok());
        SetPlainLine(com1);
        SetPlainLine(com2);
        fs::remove(PlotDataPath());
        // the plotter environment page: COM2 (item 1), the speed, the parity, the flow control
        const std::string steps = "tab 1082 1;choose 222 1;choose 223 " + std::to_string(c.baudItem) +
                                  ";choose 226 " + std::to_string(c.parityItem) + ";choose 227 " +
                                  std::to_string(c.flowItem) + ";press 1";
        HostRun run = RunTravexHost(folder, {"--config-ui", steps, drawing, kConfigMenu, "plot"}, Ports(com1, com2));
        ASSERT_EQ(run.exitStatus, 0) << run.err;

        // what OK left in the settings file, parity included (a pseudo-terminal cannot show it)
        const std::string settings = ReadBytes(SettingsFolder() + "/TRAVEX2K.INI");
        EXPECT_EQ(Word(settings, kPortAt), 1) << "COM2";
        EXPECT_EQ(Word(settings, kBaudAt), c.baudItem);
        EXPECT_EQ(Word(settings, kParityAt), c.parityItem);
        EXPECT_EQ(Word(settings, kFlowAt), c.flowItem);

        // the whole job on COM2: start, initialisation, window, the plot data, end
        ASSERT_TRUE(com2.WaitFor("\x1b.)", 10000)) << com2.Received();
        com2.WaitUntilQuiet(200);
        const std::string body = ReadBytes(PlotDataPath());
        ASSERT_FALSE(body.empty());
        const std::string received = com2.Received();
        const std::string start = "\x1b.(IN;IW;";
        const std::string window = WindowCommand(received, start.size());
        EXPECT_FALSE(window.empty()) << received;
        EXPECT_EQ(received, start + window + body + "\x1b.)");
        EXPECT_NE(run.err.find("progress: Sending data into the plotter ..."), std::string::npos) << run.err;

        // the line as COM2's plotter end sees it after the run
        int32_t output = 0, input = 0;
        bool arbitrary = false;
        ASSERT_EQ(GetLineSpeed(com2.Fd(), &output, &input, &arbitrary), 0);
        EXPECT_EQ(output, c.rate);
        EXPECT_EQ(input, c.rate);
        termios line{};
        ASSERT_EQ(tcgetattr(com2.Fd(), &line), 0);
        EXPECT_EQ((line.c_iflag & IXON) != 0, c.flowItem == 1);
        EXPECT_EQ((line.c_iflag & IXOFF) != 0, c.flowItem == 1);

        // COM1, the default port, heard nothing and kept its line
        com1.WaitUntilQuiet(100);
        EXPECT_EQ(com1.Received(), "");
        ASSERT_EQ(GetLineSpeed(com1.Fd(), &output, &input, &arbitrary), 0);
        EXPECT_EQ(output, 2400);
    }
}

}  // namespace
