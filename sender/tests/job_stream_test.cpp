// The sender's stream, send by send. A sequenced-packet socket pair keeps every send one
// record, so the reader sees the sends as the sender made them; a real TCP connection
// shows a short send completed.
#include "sender/job_stream.h"

#include "tests/support/tcp_test_listener.h"
#include "plugin/settings/settings_program.h"
#include "sender/tests/sender_test_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <arpa/inet.h>
#include <pthread.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct SentRecords {
    int result = -1;
    std::vector<std::string> sends;
    std::string stream;
};

// Runs SendJob on one end of a socket pair and collects the sends from the other.
SentRecords SendJobRecords()
{
    int pair[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
    SentRecords records;
    std::thread reader([&] {
        char buffer[4096];
        for (;;) {
            ssize_t n = recv(pair[1], buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            records.sends.emplace_back(buffer, static_cast<size_t>(n));
            records.stream += records.sends.back();
        }
    });
    records.result = SendJob(pair[0]);
    close(pair[0]);
    reader.join();
    close(pair[1]);
    return records;
}

std::vector<size_t> Sizes(const std::vector<std::string>& sends)
{
    std::vector<size_t> sizes;
    for (const std::string& s : sends)
        sizes.push_back(s.size());
    return sizes;
}

std::string Bytes(size_t count, int seed)
{
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>((i * 31 + seed) & 0xFF);
    return bytes;
}

class JobStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSettingsProgram(kSettingsSender);
        ResetTestHome();
    }
    void TearDown() override { SetSettingsProgram(kSettingsPlugin); }
};

TEST_F(JobStreamTest, TheJobFileGoesInPiecesOf80AndThePlotDataInLinesOf40Bytes)
{
    struct Case {
        const char* name;
        std::string job;
        std::string data;
        std::vector<size_t> sends;
    } cases[] = {
        {"161-byte job file", Bytes(161, 1), "PU;", {80, 80, 1, 8, 4}},
        {"41 bytes of plot data", "SUB:Plan-A\r\nBRC:0,0,400,400\r\n", Bytes(41, 2), {29, 82, 4, 4}},
        {"exactly 80 and 40", Bytes(80, 3), Bytes(40, 4), {80, 82, 4}},
        {"empty plot data", "SUB:UNTITLED\r\nBRC:0,0,0,0\r\n", "", {27, 4}},
        {"empty job file", "", Bytes(81, 5), {82, 82, 4, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteJobFiles(c.job, c.data);
        SentRecords records = SendJobRecords();
        EXPECT_EQ(records.result, 0);
        EXPECT_EQ(Sizes(records.sends), c.sends);
        EXPECT_EQ(records.stream, ExpectedStream(c.job, c.data));
        EXPECT_EQ(records.sends.back(), "/E\r\n");
    }
}

TEST_F(JobStreamTest, LineFeedAndFFBytesBecomeTheirDigits)
{
    WriteJobFiles("", std::string("\x0a\xff", 2));
    SentRecords records = SendJobRecords();
    EXPECT_EQ(records.stream, "0AFF\r\n/E\r\n");
}

TEST_F(JobStreamTest, AMissingFileStopsTheStreamWithAnErrorAndNoEndLine)
{
    std::string folder = SenderSettingsFolder();
    struct Case {
        const char* name;
        bool job;
        bool data;
        std::string stream;
        const char* message;
    } cases[] = {
        {"no job file: nothing at all", false, true, "", "cannot open the job file"},
        {"no plot data file: the job file only", true, false, "SUB:A\r\n", "cannot open the plot data file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteJobFiles("SUB:A\r\n", "PU;");
        if (!c.job)
            unlink((folder + "/TRAVEX-Pro.sdr").c_str());
        if (!c.data)
            unlink((folder + "/TRAVEX-Pro.tmp").c_str());
        testing::internal::CaptureStderr();
        SentRecords records = SendJobRecords();
        std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(records.result, ENOENT);
        EXPECT_EQ(records.stream, c.stream);
        EXPECT_NE(errors.find(std::string("TRVXSender: ") + c.message), std::string::npos) << errors;
        EXPECT_NE(errors.find("No such file or directory"), std::string::npos) << errors;
    }
}

TEST_F(JobStreamTest, AJobFileThatIsNotAFileIsAnError)
{
    WriteJobFiles("SUB:A\r\n", "PU;");
    std::string job = SenderSettingsFolder() + "/TRAVEX-Pro.sdr";
    unlink(job.c_str());
    ASSERT_EQ(mkdir(job.c_str(), 0755), 0);   // opens, but cannot be read
    testing::internal::CaptureStderr();
    SentRecords records = SendJobRecords();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(records.result, 0);
    EXPECT_EQ(records.stream, "");
    EXPECT_NE(errors.find("TRVXSender: "), std::string::npos) << errors;
}

void Interrupted(int)
{
}

// A send interrupted by a signal after it has taken part of the bytes returns what it
// took; the rest must follow, not be dropped, and the warning line is written.
TEST(SendBuffer, AShortSendWarnsAndSendsTheRest)
{
    struct sigaction action{};
    action.sa_handler = Interrupted;   // no SA_RESTART: the send returns short
    struct sigaction previous{};
    sigaction(SIGUSR1, &action, &previous);

    TcpTestListener listener;
    ASSERT_TRUE(listener.Open(0, 4096));
    TcpSocket s = kInvalidSocket;
    ASSERT_EQ(CreateTcpSocket(&s), 0);
    int small = 4096;
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    ASSERT_EQ(ConnectTcpSocket(s, htonl(INADDR_LOOPBACK), listener.port), 0);
    int connection = listener.Accept();

    std::string payload = Bytes(4 << 20, 9);   // far more than both buffers hold
    testing::internal::CaptureStderr();
    std::atomic<int> result{-1};
    std::thread sender([&] {
        result = SendBuffer(s, payload.data(), payload.size());
        ShutdownTcpSocket(s);   // the reader stops at what was sent
    });
    // Once bytes have arrived and none are read, the one send is blocked with part of the
    // payload taken.
    int waiting = 0;
    while (ioctl(connection, FIONREAD, &waiting) == 0 && waiting == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pthread_kill(sender.native_handle(), SIGUSR1);
    std::string received = ReadUntilClosed(connection, payload.size());
    sender.join();
    std::string errors = testing::internal::GetCapturedStderr();
    sigaction(SIGUSR1, &previous, nullptr);

    EXPECT_EQ(result, 0);
    EXPECT_TRUE(received == payload) << received.size() << " of " << payload.size() << " bytes";
    EXPECT_NE(errors.find("OTSndQ: Not enough bytes sent\n"), std::string::npos) << errors;
    CloseTcpSocket(s);
    close(connection);
}

TEST(SendBuffer, AFailedSendReturnsTheSocketsError)
{
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair), 0);
    close(pair[1]);
    EXPECT_EQ(SendBuffer(pair[0], "/E\r\n", 4), EPIPE);
    close(pair[0]);
}

TEST(WarnUnless, WritesTheLineOnlyWhenTheFlagIsZero)
{
    testing::internal::CaptureStderr();
    WarnUnless("OTSndQ: Not enough bytes sent", 1);
    WarnUnless("OTSndQ: Not enough bytes sent", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "OTSndQ: Not enough bytes sent\n");
}

} // namespace
