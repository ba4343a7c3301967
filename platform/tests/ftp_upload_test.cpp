// The internet functions' FTP upload against a real pyftpdlib server on 127.0.0.1.
#include "platform/ftp_upload.h"

#include "tests/support/ftp_test_server.h"
#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Plot data with every byte value and line ends that a text transfer would change.
std::string PlotBytes(int seed)
{
    std::string bytes = "IN;SP" + std::to_string(seed) + ";\r\n";
    for (int round = 0; round < 300; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>((b + round + seed) & 0xFF);
    return bytes + "\r\n\n\r\x1b.)";
}

std::string WriteLocal(const std::string& name, const std::string& bytes)
{
    std::string path = MakeTestFolder("local-" + name) + "/TRAVEX-Pro.plt";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

class FtpUploadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new FtpTestServer;
        ASSERT_TRUE(server->Start("ftp-upload-server")) << server->Log();
        mkdir((server->anonymousRoot + "/lp").c_str(), 0755);
        mkdir((server->userRoot + "/queue").c_str(), 0755);
        mkdir((server->userRoot + "/plot folder").c_str(), 0755);
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override { setenv(kFtpPortVariable, std::to_string(server->port).c_str(), 1); }
    void TearDown() override { unsetenv(kFtpPortVariable); }

    static int Upload(const char* user, const char* password, int16_t passive, const std::string& local,
                      const char* remote, std::string& reason)
    {
        FtpUpload upload = {};
        upload.szServer = "127.0.0.1";
        upload.szUser = user;
        upload.szPassword = password;
        upload.fPassive = passive;
        upload.szLocalPath = local.c_str();
        upload.szRemotePath = remote;
        char text[512];
        int status = UploadFileByFtp(&upload, text, sizeof text);
        reason = text;
        return status;
    }

    static FtpTestServer* server;
};

FtpTestServer* FtpUploadTest::server = nullptr;

TEST_F(FtpUploadTest, TheServerReceivesExactlyTheFilesBytes)
{
    struct Case {
        const char* user;
        const char* password;
        int16_t passive;
        const char* remote;
        std::string arrived;   // where the file lands on the server's disk
    } cases[] = {
        {nullptr, nullptr, 0, "/lp/TRAVEX-Pro.plt", server->anonymousRoot + "/lp/TRAVEX-Pro.plt"},
        {"", "", 1, "/lp/TRAVEX-Pro.plt", server->anonymousRoot + "/lp/TRAVEX-Pro.plt"},
        {FtpTestServer::kUser, FtpTestServer::kPassword, 0, "queue/TRAVEX-Pro.plt",
         server->userRoot + "/queue/TRAVEX-Pro.plt"},
        {FtpTestServer::kUser, FtpTestServer::kPassword, 1, "/plot folder/TRAVEX-Pro.plt",
         server->userRoot + "/plot folder/TRAVEX-Pro.plt"},
    };
    int seed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user ? c.user : "(anonymous)") + (c.passive ? " passive " : " active ") + c.remote);
        std::string bytes = PlotBytes(++seed);
        std::string reason;
        size_t logSize = server->Log().size();
        ASSERT_EQ(Upload(c.user, c.password, c.passive, WriteLocal("ok", bytes), c.remote, reason), kFtpSuccess)
            << reason << "\n" << server->Log();
        EXPECT_EQ(ReadBytes(c.arrived), bytes);
        std::string commands = server->CommandsSince(logSize);
        EXPECT_TRUE(FtpTestServer::UsedBinary(commands)) << commands;
        EXPECT_EQ(FtpTestServer::UsedPassive(commands), c.passive == 1) << commands;
        EXPECT_EQ(FtpTestServer::UsedActive(commands), c.passive == 0) << commands;
    }
}

TEST_F(FtpUploadTest, EveryFailureComesBackWithItsReason)
{
    std::string local = WriteLocal("fail", PlotBytes(7));
    struct Case {
        const char* name;
        const char* portSetting;     // TRAVEX_FTP_PORT; null: the test server's
        const char* user;
        const char* password;
        std::string local;
        const char* remote;
        int status;
        const char* inReason;
    } cases[] = {
        {"wrong password", nullptr, FtpTestServer::kUser, "wrong", local, "queue/x.plt", kFtpLoginFailed, "530"},
        {"unknown user", nullptr, "nobody", "secret", local, "queue/x.plt", kFtpLoginFailed, "530"},
        {"empty password", nullptr, FtpTestServer::kUser, "", local, "queue/x.plt", kFtpLoginFailed, "530"},
        {"no server there", "unused", nullptr, nullptr, local, "/lp/x.plt", kFtpConnectFailed, "127.0.0.1"},
        {"missing remote folder", nullptr, nullptr, nullptr, local, "/no/such/folder/x.plt", kFtpUploadFailed, "550"},
        {"missing local file", nullptr, nullptr, nullptr, local + ".gone", "/lp/x.plt", kFtpLocalFileError, ".gone"},
        {"no remote name", nullptr, nullptr, nullptr, local, "/lp/", kFtpUploadFailed, "remote path"},
        {"port setting not a number", "21x", nullptr, nullptr, local, "/lp/x.plt", kFtpBadPortSetting, "port number: 21x"},
        {"port setting out of range", "70000", nullptr, nullptr, local, "/lp/x.plt", kFtpBadPortSetting, "port number: 70000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string portSetting = c.portSetting == nullptr ? std::to_string(server->port)
                                  : std::string(c.portSetting) == "unused" ? std::to_string(UnusedLoopbackPort())
                                                                           : c.portSetting;
        setenv(kFtpPortVariable, portSetting.c_str(), 1);
        std::string reason;
        EXPECT_EQ(Upload(c.user, c.password, 1, c.local, c.remote, reason), c.status) << reason;
        EXPECT_NE(reason.find(c.inReason), std::string::npos) << reason;
        EXPECT_EQ(reason.find(DescribeFtpStatus(c.status)), 0u) << reason;
    }
}

TEST_F(FtpUploadTest, AnExplicitPortWinsOverThePortSetting)
{
    setenv(kFtpPortVariable, std::to_string(UnusedLoopbackPort()).c_str(), 1);
    std::string bytes = PlotBytes(11);
    std::string local = WriteLocal("port", bytes);
    FtpUpload upload = {};
    upload.szServer = "127.0.0.1";
    upload.iPort = server->port;
    upload.fPassive = 1;
    upload.szLocalPath = local.c_str();
    upload.szRemotePath = "/lp/explicit.plt";
    char reason[512];
    ASSERT_EQ(UploadFileByFtp(&upload, reason, sizeof reason), kFtpSuccess) << reason;
    EXPECT_EQ(ReadBytes(server->anonymousRoot + "/lp/explicit.plt"), bytes);
}

struct ProgressLog {
    int64_t lastSent = 0;
    int64_t total = 0;
    int stopAfter = -1;   // calls before asking to stop; -1: never
    int calls = 0;
};

int LogProgress(void* context, int64_t sent, int64_t total)
{
    auto* log = static_cast<ProgressLog*>(context);
    log->lastSent = sent;
    log->total = total;
    return log->stopAfter >= 0 && ++log->calls > log->stopAfter ? 1 : 0;
}

TEST_F(FtpUploadTest, ProgressIsReportedAndAStopFromItCancels)
{
    std::string bytes = PlotBytes(3);
    std::string local = WriteLocal("progress", bytes);
    FtpUpload upload = {};
    upload.szServer = "127.0.0.1";
    upload.fPassive = 1;
    upload.szLocalPath = local.c_str();
    upload.szRemotePath = "/lp/progress.plt";
    upload.pfnProgress = LogProgress;
    ProgressLog log;
    upload.pProgressContext = &log;
    char reason[512];
    ASSERT_EQ(UploadFileByFtp(&upload, reason, sizeof reason), kFtpSuccess) << reason;
    EXPECT_EQ(log.lastSent, static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(log.total, static_cast<int64_t>(bytes.size()));

    ProgressLog stop;
    stop.stopAfter = 0;
    upload.pProgressContext = &stop;
    upload.szRemotePath = "/lp/stopped.plt";
    EXPECT_EQ(UploadFileByFtp(&upload, reason, sizeof reason), kFtpCancelled) << reason;
}

} // namespace
