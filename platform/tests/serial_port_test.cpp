#include "platform/parallel_port.h"
#include "platform/serial_port.h"
#include "platform/tick_count.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The plotter's end of the line: the master of a pseudo-terminal whose slave is COM1.
struct PlotterLine {
    int master = -1;
    std::string slavePath;
};

PlotterLine OpenPlotterLine(const char* portName)
{
    PlotterLine line;
    line.master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(line.master, 0);
    EXPECT_EQ(grantpt(line.master), 0);
    EXPECT_EQ(unlockpt(line.master), 0);
    line.slavePath = ptsname(line.master);
    setenv((std::string("TRAVEX_") + portName).c_str(), line.slavePath.c_str(), 1);
    return line;
}

std::string ReadAvailable(int fd, size_t want)
{
    std::string got;
    char buffer[256];
    while (got.size() < want) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, size_t(n));
    }
    return got;
}

// The line takes the plotter's flow character in its own time; wait for it to act.
void WaitUntilLineStopped(int port, bool stopped)
{
    for (int i = 0; i < 5000; ++i) {
        pollfd wait{port, POLLOUT, 0};
        bool writable = poll(&wait, 1, 0) == 1 && (wait.revents & POLLOUT) != 0;
        if (writable != stopped)
            return;
        usleep(1000);
    }
    FAIL() << "the line never " << (stopped ? "stopped" : "resumed");
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plotter_ = OpenPlotterLine("COM1");
        int error = -1;
        port_ = OpenSerialPort("COM1", &error);
        ASSERT_NE(port_, kInvalidPort);
        ASSERT_EQ(error, 0);
    }
    void TearDown() override
    {
        ClosePortDevice(port_);
        close(plotter_.master);
        unsetenv("TRAVEX_COM1");
    }
    termios LineState() const
    {
        termios state{};
        EXPECT_EQ(tcgetattr(port_, &state), 0);
        return state;
    }
    PlotterLine plotter_;
    int port_ = kInvalidPort;
};

TEST(PortDevicePathTest, NamesMapToDevices)
{
    unsetenv("TRAVEX_COM2");
    unsetenv("TRAVEX_LPT1");
    struct Case {
        const char* name;
        bool ok;
        const char* path;
    } cases[] = {
        {"COM1", true, "/dev/ttyS0"}, {"COM5", true, "/dev/ttyS4"}, {"LPT1", true, "/dev/lp0"},
        {"LPT2", true, "/dev/lp1"},   {"COM0", false, ""},          {"COM6", false, ""},
        {"LPT3", false, ""},          {"COM10", false, ""},         {"AUX", false, ""},
    };
    for (const Case& c : cases) {
        char path[64] = "x";
        EXPECT_EQ(PortDevicePath(c.name, path, sizeof path), c.ok) << c.name;
        if (c.ok) {
            EXPECT_STREQ(path, c.path) << c.name;
        }
    }
    setenv("TRAVEX_COM2", "/dev/ttyUSB0", 1);
    char path[64];
    ASSERT_TRUE(PortDevicePath("COM2", path, sizeof path));
    EXPECT_STREQ(path, "/dev/ttyUSB0");
    // A mapped path that does not fit is refused rather than cut to another device.
    char small[8];
    EXPECT_FALSE(PortDevicePath("COM2", small, sizeof small));
    unsetenv("TRAVEX_COM2");
}

TEST(OpenPortTest, MissingDeviceGivesFileNotFound)
{
    setenv("TRAVEX_COM3", "/nonexistent/ttyS9", 1);
    setenv("TRAVEX_LPT2", "/nonexistent/lp9", 1);
    int error = 0;
    EXPECT_EQ(OpenSerialPort("COM3", &error), kInvalidPort);
    EXPECT_EQ(error, kPortErrorFileNotFound);
    error = 0;
    EXPECT_EQ(OpenParallelPort("LPT2", &error), kInvalidPort);
    EXPECT_EQ(error, kPortErrorFileNotFound);
    // A plain file is no serial line.
    setenv("TRAVEX_COM3", "/dev/null", 1);
    EXPECT_EQ(OpenSerialPort("COM3", &error), kInvalidPort);
    EXPECT_EQ(error, kPortErrorFileNotFound);
    unsetenv("TRAVEX_COM3");
    unsetenv("TRAVEX_LPT2");
}

TEST(OpenPortTest, ParallelPortOpensWithoutLineSettings)
{
    PlotterLine plotter = OpenPlotterLine("LPT1");
    int error = -1;
    int port = OpenParallelPort("LPT1", &error);
    ASSERT_NE(port, kInvalidPort);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(WritePortBytes(port, "IN;", 3, &error), 3u);
    EXPECT_EQ(ReadAvailable(plotter.master, 3), "IN;");
    ClosePortDevice(port);
    close(plotter.master);
    unsetenv("TRAVEX_LPT1");
}

TEST(ComposeLineStateTest, SettingsChangeOnlyTheirFields)
{
    struct Case {
        SerialSettings settings;
        speed_t speed;
        tcflag_t size;
        bool twoStops;
        bool parity;
        bool odd;
        bool xonXoff;
    } cases[] = {
        {{9600, 8, kStopBitsOne, kParityNone, 0, 0}, B9600, CS8, false, false, false, false},
        {{300, 7, kStopBitsTwo, kParityOdd, 1, 0}, B300, CS7, true, true, true, true},
        {{57600, 8, kStopBitsOneAndHalf, kParityEven, 0, 1}, B57600, CS8, true, true, false, false},
        // Zero and "keep" values leave the previous case's line as it was.
        {{0, 0, kStopBitsKeep, kParityKeep, 0, 0}, B57600, CS8, true, true, false, false},
    };
    termios state{};
    cfsetospeed(&state, B2400);
    state.c_iflag = ICRNL | IXANY | INPCK;
    state.c_oflag = OPOST | ONLCR;
    state.c_lflag = ICANON | ECHO | ISIG;
    state.c_cflag = CS7 | CRTSCTS;
    for (const Case& c : cases) {
        ASSERT_EQ(ComposeLineState(&state, &c.settings), 0);
        EXPECT_EQ(cfgetospeed(&state), c.speed);
        EXPECT_EQ(state.c_cflag & CSIZE, c.size);
        EXPECT_EQ((state.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ((state.c_cflag & PARENB) != 0, c.parity);
        if (c.parity) {
            EXPECT_EQ((state.c_cflag & PARODD) != 0, c.odd);
        }
        EXPECT_EQ((state.c_iflag & IXON) != 0, c.xonXoff);
        EXPECT_EQ((state.c_iflag & IXOFF) != 0, c.xonXoff);
        EXPECT_EQ(state.c_cc[VSTART], kPortXonChar);
        EXPECT_EQ(state.c_cc[VSTOP], kPortXoffChar);
        EXPECT_EQ(state.c_cflag & CRTSCTS, 0u) << "no hardware handshake, even with DTR and RTS raised";
        EXPECT_EQ(state.c_iflag & (ICRNL | IXANY), 0u);
        EXPECT_EQ(state.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(state.c_oflag & OPOST, 0u);
        EXPECT_EQ(state.c_cc[VMIN], 0) << "reads return at once";
        EXPECT_EQ(state.c_cc[VTIME], 0);
        EXPECT_NE(state.c_iflag & INPCK, 0u) << "the parity check flag keeps its value";
    }
    SerialSettings unknownSpeed{12345, 8, kStopBitsOne, kParityNone, 0, 0};
    EXPECT_EQ(ComposeLineState(&state, &unknownSpeed), kPortErrorInvalidParameter);
}

TEST_F(SerialPortTest, SettingsReachTheLine)
{
    SerialSettings settings{4800, 8, kStopBitsTwo, kParityNone, 1, 1};
    ASSERT_EQ(ApplySerialSettings(port_, &settings), 0);
    termios state = LineState();
    EXPECT_EQ(cfgetospeed(&state), B4800);
    EXPECT_NE(state.c_cflag & CSTOPB, 0u);
    EXPECT_NE(state.c_iflag & IXON, 0u);
    EXPECT_EQ(state.c_cc[VSTOP], kPortXoffChar);
    EXPECT_EQ(state.c_lflag & ICANON, 0u);
}

TEST_F(SerialPortTest, BytesPassUnchangedBothWays)
{
    SerialSettings settings{9600, 8, kStopBitsOne, kParityNone, 0, 0};
    ASSERT_EQ(ApplySerialSettings(port_, &settings), 0);
    int error = -1;
    const char sent[] = "PA10,20;\r\n\x03\x1b.(";
    EXPECT_EQ(WritePortBytes(port_, sent, sizeof sent - 1, &error), sizeof sent - 1);
    EXPECT_EQ(ReadAvailable(plotter_.master, sizeof sent - 1), std::string(sent, sizeof sent - 1));

    char buffer[16];
    EXPECT_EQ(ReadPortBytes(port_, buffer, sizeof buffer, &error), 0u);
    EXPECT_EQ(error, 0) << "nothing waiting is no failure";
    ASSERT_EQ(write(plotter_.master, "12\r\n", 4), 4);
    size_t got = 0;
    while (got < 4)
        got += ReadPortBytes(port_, buffer + got, sizeof buffer - got, &error);
    EXPECT_EQ(std::string(buffer, 4), "12\r\n") << "CR and LF reach the reader unchanged";
}

TEST_F(SerialPortTest, XoffHoldsOutputUntilXon)
{
    SerialSettings settings{9600, 8, kStopBitsOne, kParityNone, 1, 0};
    ASSERT_EQ(ApplySerialSettings(port_, &settings), 0);
    ASSERT_EQ(SetPortTimeouts(port_, 50), 0);
    int error = 0;
    // The usual XOFF character 0x13 is plain data on this line.
    ASSERT_EQ(write(plotter_.master, "\x13", 1), 1);
    EXPECT_EQ(WritePortBytes(port_, "A", 1, &error), 1u);
    EXPECT_EQ(ReadAvailable(plotter_.master, 1), "A");

    ASSERT_EQ(write(plotter_.master, "\x19", 1), 1);
    WaitUntilLineStopped(port_, true);
    EXPECT_EQ(WritePortBytes(port_, "B", 1, &error), 0u);
    EXPECT_EQ(error, kPortErrorTimeout);
    ASSERT_EQ(write(plotter_.master, "\x17", 1), 1);
    WaitUntilLineStopped(port_, false);
    EXPECT_EQ(WritePortBytes(port_, "B", 1, &error), 1u);
    EXPECT_EQ(ReadAvailable(plotter_.master, 1), "B");

    // The plotter's flow characters are taken by the line, never read as a reply.
    char buffer[8];
    size_t got = ReadPortBytes(port_, buffer, sizeof buffer, &error);
    EXPECT_EQ(std::string(buffer, got), "\x13");
}

TEST_F(SerialPortTest, EveryRateOfTheSystemIsSetExactly)
{
    struct Case {
        int32_t rate;
        bool arbitrary;  // no termios code for it
    } cases[] = {{300, false},   {1200, false}, {2400, false},  {4800, false}, {9600, false},
                 {19200, false}, {28800, true}, {38400, false}, {57600, false}};
    for (const Case& c : cases) {
        SerialSettings settings{c.rate, 8, kStopBitsOne, kParityNone, 0, 0};
        ASSERT_EQ(ApplySerialSettings(port_, &settings), 0) << c.rate;
        int32_t output = 0, input = 0;
        bool arbitrary = false;
        // as the plotter's end of the line sees it
        ASSERT_EQ(GetLineSpeed(plotter_.master, &output, &input, &arbitrary), 0);
        EXPECT_EQ(output, c.rate);
        EXPECT_EQ(input, c.rate);
        EXPECT_EQ(arbitrary, c.arbitrary) << c.rate;
    }
}

TEST_F(SerialPortTest, AWriteIntoAHeldLineWaitsOnlyItsBoundedTime)
{
    SerialSettings settings{9600, 8, kStopBitsOne, kParityNone, 1, 0};
    ASSERT_EQ(ApplySerialSettings(port_, &settings), 0);
    ASSERT_EQ(write(plotter_.master, "\x19", 1), 1);
    WaitUntilLineStopped(port_, true);
    // no time-out was set: the default wait still ends
    int error = 0;
    EXPECT_EQ(WritePortBytes(port_, "A", 1, &error), 0u);
    EXPECT_EQ(error, kPortErrorTimeout);
    ASSERT_EQ(write(plotter_.master, "\x17", 1), 1);
    WaitUntilLineStopped(port_, false);
}

TEST(PortStallLimitTest, TheEnvironmentMayShortenIt)
{
    struct Case {
        const char* value;
        int limit;
    } cases[] = {{nullptr, kPortDefaultStallLimitMs}, {"1500", 1500},
                 {"0", kPortDefaultStallLimitMs},     {"-5", kPortDefaultStallLimitMs},
                 {"12x", kPortDefaultStallLimitMs},   {"", kPortDefaultStallLimitMs}};
    for (const Case& c : cases) {
        if (c.value != nullptr)
            setenv("TRAVEX_PORT_TIMEOUT_MS", c.value, 1);
        else
            unsetenv("TRAVEX_PORT_TIMEOUT_MS");
        EXPECT_EQ(PortStallLimitMs(), c.limit) << (c.value ? c.value : "unset");
    }
    unsetenv("TRAVEX_PORT_TIMEOUT_MS");
}

TEST_F(SerialPortTest, ClosedPortReportsInvalidHandle)
{
    int port = dup(port_);
    ASSERT_GE(port, 0);
    ClosePortDevice(port);
    int error = 0;
    EXPECT_EQ(WritePortBytes(port, "A", 1, &error), 0u);
    EXPECT_EQ(error, kPortErrorInvalidHandle);
    SerialSettings settings{9600, 8, kStopBitsOne, kParityNone, 0, 0};
    EXPECT_EQ(ApplySerialSettings(port, &settings), kPortErrorInvalidHandle);
}

TEST(TickCountTest, NeverRunsBackwards)
{
    uint32_t first = GetTickCount();
    uint32_t second = GetTickCount();
    EXPECT_LE(uint32_t(second - first), 1000u);
}

}  // namespace
