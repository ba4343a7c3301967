// The real TRVXSender, run as its own process in the test's home, streaming to a TCP
// listener of the test on 127.0.0.1.
#include "platform/process_start.h"
#include "tests/support/tcp_test_listener.h"
#include "sender/tests/sender_test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

std::string SenderPath()
{
    return std::string(TRAVEX_BINARY_DIR) + "/bin/TRVXSender";
}

struct SenderRun {
    ProcessId process = kNoProcess;
    ProcessExit exit = {};
    std::string errors;
    std::string output;
    std::string folder;
};

// Starts TRVXSender without arguments, as the plug-in does.
void StartSender(SenderRun& run)
{
    run.folder = MakeTestFolder("sender-run");
    std::string out = run.folder + "/out";
    std::string err = run.folder + "/err";
    ProcessStart start = {};
    std::string program = SenderPath();
    start.szProgram = program.c_str();
    start.szStdinPath = "/dev/null";
    start.szStdoutPath = out.c_str();
    start.szStderrPath = err.c_str();
    ASSERT_EQ(StartProcess(&start, &run.process), 0);
}

void WaitForSender(SenderRun& run)
{
    ASSERT_EQ(WaitForProcess(run.process, &run.exit), 0);
    run.errors = ReadFileBytes(run.folder + "/err");
    run.output = ReadFileBytes(run.folder + "/out");
}

SenderRun RunSender()
{
    SenderRun run;
    StartSender(run);
    WaitForSender(run);
    return run;
}

class SenderProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTestHome(); }
};

TEST_F(SenderProcessTest, TheServerReceivesTheJobFileTheHexLinesAndTheEndLine)
{
    std::string plotData41 = std::string("IN;SP1;PU0,0;PD400,0,400,400;\n\xff\x0a") + '\0' + "PG;xyz";
    plotData41.resize(41, 'z');
    struct Case {
        const char* name;
        std::string job;
        std::string data;
        std::string stream;   // written out by hand for the first two
    } cases[] = {
        {"41 bytes: a line of 80 digits and one of 2", "SUB:Plan-A\r\nBRC:0,0,4000,4000\r\n", plotData41,
         "SUB:Plan-A\r\nBRC:0,0,4000,4000\r\n"
         "494E3B5350313B5055302C303B50443430302C302C3430302C3430303B0AFF0A0050473B78797A7A\r\n"
         "7A\r\n/E\r\n"},
        {"empty plot data", "SUB:UNTITLED\r\nBRC:0,0,0,0\r\n", "", "SUB:UNTITLED\r\nBRC:0,0,0,0\r\n/E\r\n"},
        {"161-byte job file", std::string(161, 'J'), "PU;", ExpectedStream(std::string(161, 'J'), "PU;")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ExpectedStream(c.job, c.data), c.stream);
        TcpTestListener listener;
        ASSERT_TRUE(listener.Open());
        std::string settings = WriteSenderSettings(302, "127.0.0.1", listener.port);
        std::string settingsBytes = ReadFileBytes(settings);
        WriteJobFiles(c.job, c.data);

        SenderRun run = RunSender();   // the stream fits the connection's buffers
        int connection = listener.Accept();
        std::string received = ReadUntilClosed(connection);
        close(connection);

        EXPECT_EQ(run.exit.iExitCode, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(received, c.stream);
        EXPECT_EQ(ReadFileBytes(settings), settingsBytes);   // only read
    }
}

TEST_F(SenderProcessTest, AnotherSettingsVersionSendsToTheBuiltInPort1024)
{
    TcpTestListener listener;
    if (!listener.Open(1024))
        GTEST_SKIP() << "port 1024 of 127.0.0.1 is in use here; GetServerAddress is tested directly";
    WriteSenderSettings(301, "127.0.0.1", 9100);
    WriteJobFiles("SUB:A\r\n", "PU;");
    SenderRun run = RunSender();
    int connection = listener.Accept();
    EXPECT_EQ(ReadUntilClosed(connection), "SUB:A\r\n50553B\r\n/E\r\n");
    close(connection);
    EXPECT_EQ(run.exit.iExitCode, 0) << run.errors;
}

TEST_F(SenderProcessTest, AServerThatClosesMidStreamGivesAFailureAndNoEndLine)
{
    TcpTestListener listener;
    ASSERT_TRUE(listener.Open(0, 4096));   // a server that takes little at a time
    WriteSenderSettings(302, "127.0.0.1", listener.port);
    WriteJobFiles("SUB:A\r\n", std::string(4 << 20, '\x5a'));   // far more than the buffers hold

    SenderRun run;
    StartSender(run);
    int connection = listener.Accept();
    std::string received = ReadUntilClosed(connection, 100);
    close(connection);   // with bytes unread: the connection is reset
    WaitForSender(run);

    EXPECT_EQ(received.substr(0, 7), "SUB:A\r\n");
    EXPECT_EQ(received.find("/E"), std::string::npos);
    EXPECT_EQ(run.exit.iExitCode, 1);
    EXPECT_EQ(run.exit.iSignal, 0);   // no SIGPIPE
    EXPECT_NE(run.errors.find("TRVXSender: sending the plot data failed: "), std::string::npos) << run.errors;
}

TEST_F(SenderProcessTest, ASenderThatCannotConnectOrSendSaysSoAndExitsNonZero)
{
    TcpTestListener gone;
    ASSERT_TRUE(gone.Open());
    uint16_t unused = gone.port;
    close(gone.fd);
    gone.fd = -1;
    std::string port = std::to_string(unused);
    struct Case {
        const char* name;
        int32_t port;
        bool jobFile;
        std::string message;
    } cases[] = {
        {"nothing listens", unused, true,
         "TRVXSender: cannot connect to the network plotter server 127.0.0.1 port " + port + ": Connection refused\n"},
        {"port out of range", 70000, true,
         "TRVXSender: the TCP port 70000 of the settings is not a port number (1 to 65535)\n"},
        {"port zero", 0, true, "TRVXSender: the TCP port 0 of the settings is not a port number (1 to 65535)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSenderSettings(302, "127.0.0.1", c.port);
        WriteJobFiles("SUB:A\r\n", "PU;");
        SenderRun run = RunSender();
        EXPECT_EQ(run.exit.iExitCode, 1);
        EXPECT_EQ(run.errors, c.message);
    }
}

TEST_F(SenderProcessTest, AMissingJobFileSendsNothingAndFails)
{
    TcpTestListener listener;
    ASSERT_TRUE(listener.Open());
    WriteSenderSettings(302, "127.0.0.1", listener.port);
    WriteJobFiles("SUB:A\r\n", "PU;");
    std::string job = SenderSettingsFolder() + "/TRAVEX-Pro.sdr";
    unlink(job.c_str());
    SenderRun run = RunSender();
    int connection = listener.Accept();
    EXPECT_EQ(ReadUntilClosed(connection), "");
    close(connection);
    EXPECT_EQ(run.exit.iExitCode, 1);
    EXPECT_EQ(run.errors, "TRVXSender: cannot open the job file " + job + ": No such file or directory\n");
}

TEST_F(SenderProcessTest, TheSenderLinksNoQt)
{
    std::string out = MakeTestFolder("readelf") + "/needed";
    const char* arguments[] = {"-d", nullptr, nullptr};
    std::string program = SenderPath();
    arguments[1] = program.c_str();
    ProcessStart start = {};
    start.szProgram = "readelf";
    start.apArguments = arguments;
    start.szStdoutPath = out.c_str();
    ProcessExit exit = {};
    ASSERT_EQ(RunProcess(&start, &exit), 0);
    ASSERT_EQ(exit.iExitCode, 0);
    std::string needed = ReadFileBytes(out);
    EXPECT_NE(needed.find("(NEEDED)"), std::string::npos);
    EXPECT_EQ(needed.find("libQt"), std::string::npos) << needed;
}

} // namespace
