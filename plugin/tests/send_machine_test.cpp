#include "plugin/output/send_machine.h"

#include "host/suites/user_suite.h"
#include "platform/code_pages.h"
#include "plugin/conversion/page_conversion.h"
#include "plugin/entry/plugin_globals.h"
#include "platform/serial_port.h"
#include "plugin/entry/suite_table.h"
#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The Shift-JIS bytes of a UTF-8 text, as the host gets the Japanese texts.
std::string ShiftJis(const char* utf8)
{
    char16_t wide[256];
    int units = MultiByteToWide(65001, utf8, int(std::strlen(utf8)), wide, 256);
    char bytes[512];
    int n = WideToMultiByte(932, wide, units, bytes, sizeof bytes);
    return std::string(bytes, size_t(n > 0 ? n : 0));
}

// Bytes the plotter end receives, waiting for them; a shortfall fails instead of hanging.
std::string ReadExactly(int fd, size_t count)
{
    std::string got;
    char buffer[512];
    while (got.size() < count) {
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, 5000) != 1)
            break;
        ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.append(buffer, size_t(n));
    }
    return got;
}

std::string Repeat(const std::string& text, int n)
{
    std::string all;
    for (int i = 0; i < n; ++i)
        all += text;
    return all;
}

// The numbered commands "PA1;" to "PAn;".
std::string NumberedCommands(int first, int last)
{
    std::string all;
    for (int i = first; i <= last; ++i)
        all += "PA" + std::to_string(i) + ";";
    return all;
}

class SendMachineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        g = &globals_;
        g->pPlotSettings = &settings_;
        g->iLanguage = 1;
        settings_.wPort = 0;
        settings_.wBaudIndex = 4;
        settings_.wDataBitsIndex = 1;
        settings_.wStopBitsIndex = 0;
        settings_.wParityIndex = 0;
        SendMachine& m = g->sendMachine;
        m.hPort = kInvalidPort;
        m.hSendFile = -1;
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        slavePath_ = ptsname(master_);
        setenv("TRAVEX_COM1", slavePath_.c_str(), 1);
        setenv("TRAVEX_LPT1", slavePath_.c_str(), 1);
    }
    void TearDown() override
    {
        SendMachine& m = g->sendMachine;
        if (m.hSendFile != -1)
            close(m.hSendFile);
        if (m.hPort != kInvalidPort)
            ClosePlotterPort();
        close(master_);
        unsetenv("TRAVEX_COM1");
        unsetenv("TRAVEX_LPT1");
        unsetenv("TRAVEX_PORT_TIMEOUT_MS");
        SetModemLineCall(nullptr);
        SetLineStateCall(nullptr);
        host::SetCancelAfterChecks(0);
        sAIUser = nullptr;
        g = nullptr;
    }
    void WritePlotData(const std::string& data)
    {
        char path[260];
        ASSERT_EQ(GetPlotDataFilePath(path, sizeof path), 0);
        std::ofstream(path, std::ios::binary) << data;
    }
    // Opens the port and the plot data file as steps 0 and 8 do, ready to stream.
    void StartStreaming(const std::string& data)
    {
        WritePlotData(data);
        SendMachine& m = g->sendMachine;
        OpenPlotterPort();
        ASSERT_NE(m.hPort, kInvalidPort);
        m.wSendStep = 8;
        StepSendMachine();
        ASSERT_EQ(m.iFileSize, int32_t(data.size()));
        m.wSendStep = kLastSendStep;
    }
    void WaitUntilStopped(bool stopped)
    {
        for (int i = 0; i < 5000; ++i) {
            pollfd wait{g->sendMachine.hPort, POLLOUT, 0};
            bool writable = poll(&wait, 1, 0) == 1 && (wait.revents & POLLOUT) != 0;
            if (writable != stopped)
                return;
            usleep(1000);
        }
        FAIL() << "the line did not follow the flow character";
    }
    // Three commands ready to stream with XON/XOFF, writes waiting 10 ms, and the plotter
    // holding the line with XOFF.
    void StreamIntoAHeldLine()
    {
        settings_.wFlowControl = 1;
        ASSERT_NO_FATAL_FAILURE(StartStreaming(NumberedCommands(1, 3)));
        SetPortTimeouts(g->sendMachine.hPort, 10);
        ASSERT_EQ(write(master_, "\x19", 1), 1);
        WaitUntilStopped(true);
    }
    termios SlaveState()
    {
        int fd = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
        termios state{};
        EXPECT_EQ(tcgetattr(fd, &state), 0);
        close(fd);
        return state;
    }
    void SetSlaveState(const termios& state)
    {
        int fd = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
        EXPECT_EQ(tcsetattr(fd, TCSANOW, &state), 0);
        close(fd);
    }

    PluginGlobals globals_{};
    PlotSettings settings_{};
    int master_ = -1;
    std::string slavePath_;
};

TEST_F(SendMachineTest, MissingPortEndsTheRunWithTheOpenError)
{
    setenv("TRAVEX_COM1", "/nonexistent/ttyS0", 1);
    SendMachine& m = g->sendMachine;
    for (int call = 0; call < 20; ++call) {
        StepSendMachine();
        EXPECT_EQ(m.fSendDone, 0) << call;
    }
    StepSendMachine();
    EXPECT_EQ(m.fSendDone, 1);
    EXPECT_EQ(m.wSendStep, kLastSendStep);
    EXPECT_EQ(m.iFirstError, kPortErrorFileNotFound);
    EXPECT_STREQ(m.szShownText, "Unable to open serial driver [2]");
    EXPECT_EQ(m.hPort, kInvalidPort);
    EXPECT_EQ(m.hSendFile, -1);
    EXPECT_EQ(g->wUnitsPerMm, 40) << "the units step runs on every route";
    char path[260];
    ASSERT_EQ(GetPlotDataFilePath(path, sizeof path), 0);
    EXPECT_NE(access(path, F_OK), 0) << "no conversion after a port error";
}

TEST_F(SendMachineTest, OnlyTheFirstErrorOfARunIsShown)
{
    SendMachine& m = g->sendMachine;
    ReportPortError(kPortMessageOpen, 0);
    EXPECT_EQ(m.iFirstError, 0);
    EXPECT_STREQ(m.szShownText, "") << "number 0 shows nothing";
    EXPECT_EQ(SendMachineStatus(), kNoErr);
    ReportPortError(kPortMessageHandshake, 87);
    EXPECT_EQ(m.iFirstError, 87);
    EXPECT_STREQ(m.szShownText, "Handshake parameter incorrect [87]");
    ReportPortError(kPortMessageOpen, 2);
    EXPECT_EQ(m.iFirstError, 87);
    EXPECT_STREQ(m.szShownText, "Handshake parameter incorrect [87]");
    EXPECT_EQ(SendMachineStatus(), kPortFailedErr);
}

TEST_F(SendMachineTest, JapaneseTextsComeFromTheirOwnGroup)
{
    g->iLanguage = 0;
    ShowPortStatus(kPortStatusOpeningPort);
    EXPECT_EQ(std::string(g->sendMachine.szShownText), ShiftJis("通信ポートを開いています ..."));
    ReportPortError(kPortMessagePlotFile, 5);
    EXPECT_EQ(std::string(g->sendMachine.szShownText), ShiftJis("プロッタファイルが開けません [5]"));
}

TEST_F(SendMachineTest, PortRouteSendsStartInitialisationAndWindow)
{
    SendMachine& m = g->sendMachine;
    for (int call = 0; call < 6; ++call)
        StepSendMachine();
    EXPECT_EQ(m.iFirstError, 0);
    EXPECT_STREQ(m.szShownText, "Plotter re-setting ...");
    EXPECT_EQ(ReadExactly(master_, 9), "\x1b.(IN;IW;");
    // The conversion of step 6 needs the host; its plot data file is written here instead.
    WritePlotData("PA1;");
    g->conversion.plotFrame = PlotFrame{-20, -10, 3000, 4000};
    m.wSendStep = 7;
    StepSendMachine();
    EXPECT_STREQ(m.szShownText, "Sending data into the plotter ...");
    EXPECT_EQ(ReadExactly(master_, 20), "IW-10,-20,3000,4000;");
    for (int call = 8; call < kLastSendStep; ++call)
        StepSendMachine();
    EXPECT_EQ(m.iFileSize, 4);
    EXPECT_EQ(m.wSendStep, kLastSendStep);
    StepSendMachine();
    StepSendMachine();
    EXPECT_EQ(m.fSendDone, 1);
    EXPECT_EQ(ReadExactly(master_, 7), "PA1;\x1b.)");
    EXPECT_EQ(g->emitter.wLastPercent, 100);
}

TEST_F(SendMachineTest, StreamsTenCommandsPerCall)
{
    ASSERT_NO_FATAL_FAILURE(StartStreaming(NumberedCommands(1, 25)));
    SendMachine& m = g->sendMachine;
    struct Call {
        int first, last;
        int16_t done;
    } calls[] = {{1, 10, 0}, {11, 20, 0}, {21, 25, 1}};
    for (const Call& c : calls) {
        StepSendMachine();
        // The call that sends the last command goes on to the end escape.
        std::string expected = NumberedCommands(c.first, c.last) + (c.done != 0 ? "\x1b.)" : "");
        EXPECT_EQ(ReadExactly(master_, expected.size()), expected);
        EXPECT_EQ(m.iBytesSent, int32_t(NumberedCommands(1, c.last).size()));
        EXPECT_EQ(m.fSendDone, c.done);
    }
    EXPECT_EQ(g->emitter.wLastPercent, 100);
}

TEST_F(SendMachineTest, CommandsEndAtSemicolonEtxOrTheFileEnd)
{
    std::string longDraw = "PD" + Repeat("1,", 60) + "1;";
    struct Case {
        const char* name;
        std::string data;
        int32_t sentAfterFirstCall;  // bytes of the first ten commands
    } cases[] = {
        {"label", "LBHI;THERE\x03" + NumberedCommands(1, 9), 3 + 8 + int32_t(NumberedCommands(1, 8).size())},
        {"etx label", "LBHI THERE\x03" + NumberedCommands(1, 10), 11 + int32_t(NumberedCommands(1, 9).size())},
        {"long command", longDraw + NumberedCommands(1, 10), int32_t(longDraw.size() + NumberedCommands(1, 9).size())},
        {"no last terminator", "PA1;PD", 6},
        {"nul in the data", std::string("PA1;\0PA2;", 9), 9},
        {"empty file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->sendMachine = SendMachine{};
        g->sendMachine.hPort = kInvalidPort;
        g->sendMachine.hSendFile = -1;
        ASSERT_NO_FATAL_FAILURE(StartStreaming(c.data));
        SendMachine& m = g->sendMachine;
        StepSendMachine();
        EXPECT_EQ(m.iBytesSent, c.sentAfterFirstCall);
        while (m.fSendDone == 0)
            StepSendMachine();
        EXPECT_EQ(m.iFirstError, 0);
        EXPECT_EQ(ReadExactly(master_, c.data.size() + 3), c.data + "\x1b.)") << "every byte once, nothing more";
        close(m.hSendFile);
        ClosePlotterPort();
    }
}

TEST_F(SendMachineTest, XoffHoldsTheStreamWithoutLosingBytes)
{
    ASSERT_NO_FATAL_FAILURE(StreamIntoAHeldLine());
    SendMachine& m = g->sendMachine;
    StepSendMachine();
    EXPECT_EQ(m.iBytesSent, 0);
    EXPECT_EQ(m.wStalledCalls, 1);
    EXPECT_EQ(m.fSendDone, 0);
    EXPECT_EQ(m.iFirstError, 0);
    ASSERT_EQ(write(master_, "\x17", 1), 1);
    WaitUntilStopped(false);
    StepSendMachine();
    StepSendMachine();
    EXPECT_EQ(m.fSendDone, 1);
    EXPECT_EQ(ReadExactly(master_, 15), NumberedCommands(1, 3) + "\x1b.)");
}

TEST_F(SendMachineTest, APlotterThatNeverResumesEndsTheRun)
{
    setenv("TRAVEX_PORT_TIMEOUT_MS", "300", 1);
    ASSERT_NO_FATAL_FAILURE(StreamIntoAHeldLine());
    SendMachine& m = g->sendMachine;
    int calls = 0;
    while (m.fSendDone == 0 && calls < 100000) {
        StepSendMachine();
        ++calls;
    }
    EXPECT_GT(calls, 1) << "each stalled call returns, so the cancel is polled between them";
    EXPECT_EQ(m.fSendDone, 1);
    EXPECT_EQ(m.iFirstError, kPortErrorTimeout);
    EXPECT_STREQ(m.szShownText, "Time out [1460]");
    EXPECT_EQ(SendMachineStatus(), kPortFailedErr);
}

// The start of a job written into a line the plotter holds: every wait is bounded and
// polls the user's cancel, on the serial and on the parallel port alike.
TEST_F(SendMachineTest, AHeldLineAtTheStartEndsWithTheTimeOutOrTheCancel)
{
    struct Case {
        const char* name;
        int16_t port;
        int cancelAfter;  // 0: no cancel
        int16_t abort;
        int32_t error;
        const char* shown;
    } cases[] = {
        {"serial, no cancel", 0, 0, 0, kPortErrorTimeout, "Time out [1460]"},
        {"serial, cancelled", 0, 2, 1, 0, ""},
        {"parallel, no cancel", 5, 0, 0, kPortErrorTimeout, "Time out [1460]"},
        {"parallel, cancelled", 5, 2, 1, 0, ""},
    };
    setenv("TRAVEX_PORT_TIMEOUT_MS", "1000", 1);
    sAIUser = host::HostUserSuite();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->sendMachine = SendMachine{};
        g->sendMachine.hPort = kInvalidPort;
        g->sendMachine.hSendFile = -1;
        g->fAbort = 0;
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(c.cancelAfter);
        settings_.wPort = c.port;
        settings_.wFlowControl = 1;
        // a parallel port takes no line settings: the line's own XOFF holds it
        termios state = SlaveState();
        state.c_iflag |= IXON;
        state.c_cc[VSTOP] = kPortXoffChar;
        state.c_cc[VSTART] = kPortXonChar;
        SetSlaveState(state);
        StepSendMachine();  // opens the port
        ASSERT_NE(g->sendMachine.hPort, kInvalidPort);
        ASSERT_EQ(write(master_, "\x19", 1), 1);
        WaitUntilStopped(true);
        StepSendMachine();  // ESC ".(" into the held line
        EXPECT_EQ(g->fAbort, c.abort);
        EXPECT_EQ(g->sendMachine.iFirstError, c.error);
        EXPECT_STREQ(g->sendMachine.szShownText, c.abort ? "Plotter Opening ..." : c.shown);
        ASSERT_EQ(write(master_, "\x17", 1), 1);
        WaitUntilStopped(false);
        tcflush(master_, TCIOFLUSH);
        ClosePlotterPort();
    }
}

TEST_F(SendMachineTest, SerialParametersReachTheLine)
{
    struct Case {
        int16_t baudIndex;
        int16_t stopBitsIndex;
        int16_t flowControl;
        int32_t rate;
        bool arbitrary;
        bool twoStops;
        bool xonXoff;
    } cases[] = {
        {0, 0, 0, 300, false, false, false},
        {8, 1, 1, 57600, false, true, true},    // one and a half stop bits become two
        {9, 2, 2, 2400, false, true, false},    // no such index keeps the speed
        {-1, 9, 0, 2400, false, false, false},  // nor does another stop-bit index change them
        {6, 0, 0, 28800, true, false, false},   // no termios code: set as an exact rate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baudIndex);
        termios before = SlaveState();
        cfsetospeed(&before, B2400);
        cfsetispeed(&before, B2400);
        before.c_cflag &= ~tcflag_t(CSTOPB);
        SetSlaveState(before);
        g->sendMachine.iFirstError = 0;
        settings_.wBaudIndex = c.baudIndex;
        settings_.wStopBitsIndex = c.stopBitsIndex;
        settings_.wFlowControl = c.flowControl;
        OpenPlotterPort();
        EXPECT_EQ(g->sendMachine.iFirstError, 0);
        int32_t output = 0, input = 0;
        bool arbitrary = false;
        ASSERT_EQ(GetLineSpeed(master_, &output, &input, &arbitrary), 0);
        EXPECT_EQ(output, c.rate);
        EXPECT_EQ(input, c.rate);
        EXPECT_EQ(arbitrary, c.arbitrary);
        termios after = SlaveState();
        EXPECT_EQ((after.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ((after.c_iflag & IXON) != 0, c.xonXoff);
        EXPECT_EQ(after.c_cflag & CRTSCTS, 0u) << "no hardware handshake";
        ClosePlotterPort();
    }
}

// What the port asks of the modem lines; a pseudo-terminal has none to show.
std::vector<std::pair<int, bool>> gModemCalls;
int RecordModemCall(int, int lines, bool raise)
{
    gModemCalls.emplace_back(lines, raise);
    return ENOTTY;  // as a line without modem lines answers
}

// The line state the port asks for, then written as asked: a pseudo-terminal keeps 8 data
// bits without parity whatever it is asked.
termios gAskedState{};
int RecordLineState(int port, const termios* state)
{
    gAskedState = *state;
    return tcsetattr(port, TCSANOW, state) == 0 ? 0 : errno;
}

TEST_F(SendMachineTest, EveryDataBitAndParityIndexIsAskedOfTheLine)
{
    SetLineStateCall(RecordLineState);
    constexpr tcflag_t kKept = 0;
    struct Case {
        int16_t dataIndex, parityIndex;
        tcflag_t size;  // kKept: the line's own
        int parity;     // 0 none, 1 odd, 2 even, -1 the line's own
    } cases[] = {
        {0, 0, CS7, 0}, {1, 1, CS8, 1}, {0, 2, CS7, 2}, {2, 3, kKept, -1}, {-1, -1, kKept, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dataIndex) + " " + std::to_string(c.parityIndex));
        const termios before = SlaveState();
        g->sendMachine.iFirstError = 0;
        settings_.wDataBitsIndex = c.dataIndex;
        settings_.wParityIndex = c.parityIndex;
        OpenPlotterPort();
        EXPECT_EQ(g->sendMachine.iFirstError, 0);
        const tcflag_t asked = gAskedState.c_cflag;
        EXPECT_EQ(asked & CSIZE, c.size == kKept ? before.c_cflag & CSIZE : c.size);
        const tcflag_t parityBits = c.parity < 0    ? before.c_cflag & (PARENB | PARODD)
                                    : c.parity == 0 ? 0
                                    : c.parity == 1 ? PARENB | PARODD
                                                    : PARENB;
        EXPECT_EQ((asked & PARENB) != 0, (parityBits & PARENB) != 0);
        if ((parityBits & PARENB) != 0) {
            EXPECT_EQ((asked & PARODD) != 0, (parityBits & PARODD) != 0);
        }
        ClosePlotterPort();
    }
}

TEST_F(SendMachineTest, DtrAndRtsAreRaisedOnlyForTheirFlowControl)
{
    SetModemLineCall(RecordModemCall);
    struct Case {
        int16_t flowControl;
        bool raise;
    } cases[] = {{0, false}, {1, false}, {2, true}, {3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flowControl);
        gModemCalls.clear();
        g->sendMachine.iFirstError = 0;
        settings_.wFlowControl = c.flowControl;
        OpenPlotterPort();
        EXPECT_EQ(g->sendMachine.iFirstError, 0) << "a line without modem lines is no error";
        ASSERT_EQ(gModemCalls.size(), 1u);
        EXPECT_EQ(gModemCalls[0].first, TIOCM_DTR | TIOCM_RTS);
        EXPECT_EQ(gModemCalls[0].second, c.raise);
        ClosePlotterPort();
    }
    // the parallel ports have no modem lines to set
    gModemCalls.clear();
    settings_.wPort = 5;
    OpenPlotterPort();
    EXPECT_TRUE(gModemCalls.empty());
}

// A plot data file that cannot be written is reported with the file's text and never
// streamed: the plotter gets the start of the job and nothing after it.
TEST_F(SendMachineTest, APlotDataFileThatCannotBeWrittenIsNotStreamed)
{
    char path[260];
    ASSERT_EQ(GetPlotDataFilePath(path, sizeof path), 0);
    std::filesystem::create_directories(path);  // a folder where the file should be
    SendMachine& m = g->sendMachine;
    int calls = 0;
    while (m.fSendDone == 0 && calls < 100) {
        StepSendMachine();
        ++calls;
    }
    EXPECT_EQ(calls, 21);
    EXPECT_STREQ(m.szShownText, "Unable to open the plotter file [5]");
    EXPECT_EQ(SendMachineStatus(), kPlotFileFailedErr);
    EXPECT_EQ(m.hSendFile, -1);
    // Read before the close: a failed job's close drops what the line still queues, and on
    // a loaded machine the start may still be queued.
    std::string got = ReadExactly(master_, 9);
    ClosePlotterPort();
    got += ReadExactly(master_, 64);
    EXPECT_EQ(got, "\x1b.(IN;IW;");
    std::filesystem::remove_all(path);
}

TEST_F(SendMachineTest, ParallelPortGetsNoLineSettings)
{
    termios before = SlaveState();
    before.c_lflag |= ICANON;
    cfsetospeed(&before, B1200);
    SetSlaveState(before);
    settings_.wPort = 5;
    settings_.wBaudIndex = 8;
    settings_.wFlowControl = 1;
    OpenPlotterPort();
    ASSERT_NE(g->sendMachine.hPort, kInvalidPort);
    EXPECT_EQ(g->sendMachine.iFirstError, 0);
    termios after = SlaveState();
    EXPECT_NE(after.c_lflag & ICANON, 0u);
    EXPECT_EQ(cfgetospeed(&after), B1200);
    EXPECT_EQ(after.c_iflag & IXON, before.c_iflag & IXON);
}

TEST_F(SendMachineTest, RepliesAreReadUpToTheirCarriageReturn)
{
    struct Case {
        std::string answer;
        size_t room;
        const char* reply;
    } cases[] = {
        {"12,34\r\n", 64, "12,34"},
        {"\x01" "AB\x7f" "C\tD\r\n", 64, "ABCD"},
        {"ABCDEFGH\r\n", 4, "ABC"},
    };
    OpenPlotterPort();
    ASSERT_NE(g->sendMachine.hPort, kInvalidPort);
    for (const Case& c : cases) {
        ASSERT_EQ(write(master_, c.answer.data(), c.answer.size()), ssize_t(c.answer.size()));
        char reply[64] = "x";
        EXPECT_EQ(QueryPortReply("OA;", reply, c.room), 0);
        EXPECT_STREQ(reply, c.reply);
        EXPECT_EQ(ReadExactly(master_, 3), "OA;");
    }
    ASSERT_EQ(write(master_, "1\r\n", 3), 3);
    char reply[16];
    EXPECT_EQ(QueryDeviceControl('A', nullptr, reply, sizeof reply), 0);
    EXPECT_STREQ(reply, "1");
    EXPECT_EQ(ReadExactly(master_, 3), "\x1b.A");
    EXPECT_EQ(g->sendMachine.iFirstError, 0);
}

TEST_F(SendMachineTest, AMissingReplyIsReportedAfterItsWait)
{
    OpenPlotterPort();
    ASSERT_NE(g->sendMachine.hPort, kInvalidPort);
    char reply[16] = "x";
    EXPECT_EQ(QueryPortReply("OS;", reply, sizeof reply), -1);
    EXPECT_STREQ(reply, "");
    EXPECT_EQ(g->sendMachine.iFirstError, -1);
    EXPECT_STREQ(g->sendMachine.szShownText, "No reply from the plotter [-1]");
}

TEST_F(SendMachineTest, UnitsPerMillimetreFromThePlotterUnit)
{
    struct Case {
        int32_t unit;
        int16_t units;
    } cases[] = {{0, 40}, {100, 100}, {65536, 40}, {65536 + 25, 25}, {32768, -32768}};
    for (const Case& c : cases) {
        settings_.iPlotterUnit = c.unit;
        g->sendMachine.wSendStep = 4;
        StepSendMachine();
        EXPECT_EQ(g->wUnitsPerMm, c.units) << c.unit;
        EXPECT_EQ(g->sendMachine.wSendStep, 5);
    }
}

TEST_F(SendMachineTest, NoPortRouteFinishesWithoutTouchingThePort)
{
    SendMachine& m = g->sendMachine;
    m.fNoPort = 1;
    WritePlotData("PA1;");
    m.wSendStep = 7;
    int calls = 0;
    while (m.fSendDone == 0 && calls < 100) {
        StepSendMachine();
        ++calls;
    }
    EXPECT_EQ(calls, 14);
    EXPECT_EQ(m.hPort, kInvalidPort);
    EXPECT_EQ(m.hSendFile, -1);
    EXPECT_STREQ(m.szShownText, "");
}

TEST_F(SendMachineTest, ABusyMachineTakesNoStep)
{
    SendMachine& m = g->sendMachine;
    m.fSendBusy = 1;
    StepSendMachine();
    EXPECT_EQ(m.wSendStep, 0);
    EXPECT_EQ(m.hPort, kInvalidPort);
}

TEST(NextFieldTest, FieldsEndAtTheDelimiterAndNeverPassIndex80)
{
    std::string long100(100, 'x');
    struct Case {
        const char* text;
        int16_t start;
        int copied;
        const char* field;
        int16_t end;
    } cases[] = {
        {"12,34", 0, 2, "12", 3},
        {"12,34", 3, 2, "34", 5},
        {",5", 0, 0, "", 1},
        {long100.c_str(), 0, 80, nullptr, 80},
        {long100.c_str(), 80, 0, "", 80},
    };
    for (const Case& c : cases) {
        char out[128];
        int16_t position = c.start;
        EXPECT_EQ(NextField(c.text, ',', &position, out), c.copied);
        EXPECT_EQ(position, c.end);
        if (c.field != nullptr) {
            EXPECT_STREQ(out, c.field);
        } else {
            EXPECT_EQ(std::strlen(out), size_t(c.copied));
        }
    }
}

}  // namespace
