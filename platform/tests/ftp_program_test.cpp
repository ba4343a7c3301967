// The ftp program route: the system's script translated for Debian's ftp client, the
// client's transcript read for the server's replies, and real runs of the client against
// a pyftpdlib server on 127.0.0.1.
#include "platform/ftp_program.h"

#include "tests/support/ftp_test_server.h"
#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FtpScriptTranslation, TheScriptBecomesTheClientsInput)
{
    struct Case {
        const char* name;
        std::string script;
        std::string input;
    } cases[] = {
        {"anonymous login, upload under the local name",
         "anonymous kelp\r\nbin\r\nput \"/home/u/Documents/Adobe/Illustrator/pr1\"\r\nquit\r\n",
         "user anonymous kelp\nbin\nput /home/u/Documents/Adobe/Illustrator/pr1 pr1\nquit\n"},
        {"user and password, blanks in the folder",
         "plotter secret\r\nbin\r\nput \"/home/u/My Documents/Adobe/Illustrator/pr2\"\r\nquit\r\n",
         "user plotter secret\nbin\nput /home/u/My\\ Documents/Adobe/Illustrator/pr2 pr2\nquit\n"},
        {"a password with a blank and a quote", "plotter pass word\"x\nquit\n",
         "user plotter pass\\ word\\\"x\nquit\n"},
        {"no password: the answer to the client's prompt", "plotter\r\nquit\r\n", "user plotter\n\nquit\n"},
        {"a remote name given", "anonymous kelp\nput \"/a/b c\" \"remote name\"\n",
         "user anonymous kelp\nput /a/b\\ c remote\\ name\n"},
        {"a backslash is part of a name", "anonymous kelp\nput \"/a/back\\slash\"\n",
         "user anonymous kelp\nput /a/back\\\\slash back\\\\slash\n"},
        {"empty lines are left out", "anonymous kelp\r\n\r\nbin\r\n   \r\nquit\r\n", "user anonymous kelp\nbin\nquit\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TranslateFtpScript(c.script), c.input);
    }
}

// Transcripts as Debian's ftp client writes them with -v.
TEST(FtpTranscript, TheServersRepliesDecideTheOutcome)
{
    const std::string greeting = "Connected to 127.0.0.1.\n220 pyftpdlib 1.5.7 ready.\n331 Username ok, send password.\n";
    const std::string login = greeting + "230 Login successful.\nRemote system type is UNIX.\n"
                              "Using binary mode to transfer files.\n200 Type set to: Binary.\n";
    struct Case {
        const char* name;
        std::string transcript;
        int puts;
        int status;
        const char* detail;
    } cases[] = {
        {"active transfer", login + "local: /s/pr1 remote: pr1\n200 Active data connection established.\n"
                                    "125 Data connection already open. Transfer starting.\n226 Transfer complete.\n"
                                    "6 bytes sent in 00:00 (5.46 KiB/s)\n221 Goodbye.\n",
         1, kFtpSuccess, ""},
        {"passive transfer", login + "local: /s/pr1 remote: pr1\n229 Entering extended passive mode (|||36665|).\n"
                                     "150 File status okay. About to open data connection.\n226 Transfer complete.\n"
                                     "221 Goodbye.\n",
         1, kFtpSuccess, ""},
        {"password prompt on the reply's line", greeting + "Password: 230 Login successful.\n221 Goodbye.\n", 0,
         kFtpSuccess, ""},
        {"refused connection", "ftp: Can't connect to `127.0.0.1:2121': Connection refused\n"
                               "ftp: Can't connect to `127.0.0.1:2121'\nNot connected.\n",
         1, kFtpConnectFailed, "ftp: Can't connect to `127.0.0.1:2121': Connection refused"},
        {"server busy", "Connected to 127.0.0.1.\n421 Too many connections.\n", 1, kFtpConnectFailed,
         "421 Too many connections."},
        {"refused login", greeting + "530 Authentication failed.\nLogin failed.\n"
                                     "530 Log in with USER and PASS first.\nlocal: /s/pr1 remote: pr1\n"
                                     "530 Log in with USER and PASS first.\n221 Goodbye.\n",
         1, kFtpLoginFailed, "530 Authentication failed."},
        {"no such remote folder", login + "local: /s/pr1 remote: x/pr1\n229 Entering extended passive mode (|||51069|).\n"
                                          "550 No such file or directory.\n221 Goodbye.\n",
         1, kFtpUploadFailed, "550 No such file or directory."},
        {"local file missing", login + "ftp: Can't open `/s/pr1': No such file or directory\n221 Goodbye.\n", 1,
         kFtpUploadFailed, "ftp: Can't open `/s/pr1': No such file or directory"},
        {"connection lost during the transfer", login + "local: /s/pr1 remote: pr1\n"
                                                        "150 File status okay. About to open data connection.\n"
                                                        "421 Service not available, remote server has closed connection.\n",
         1, kFtpUploadFailed, "421 Service not available, remote server has closed connection."},
        {"transfer never confirmed", login + "150 File status okay. About to open data connection.\n", 1,
         kFtpUploadFailed, "the server did not confirm the transfer (no 226 reply)"},
        {"two puts, one confirmed", login + "150 Ok.\n226 Transfer complete.\n150 Ok.\n", 2, kFtpUploadFailed,
         "the server did not confirm the transfer (no 226 reply)"},
        {"completion without a transfer is no transfer", login + "226 Transfer complete.\n", 1, kFtpUploadFailed,
         "the server did not confirm the transfer (no 226 reply)"},
        {"nothing at all", "", 1, kFtpConnectFailed, "no greeting from the server"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string detail = "stale";
        EXPECT_EQ(CheckFtpTranscript(c.transcript, c.puts, detail), c.status);
        EXPECT_EQ(detail, c.detail);
    }
}

class FtpProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new FtpTestServer;
        ASSERT_TRUE(server->Start("ftp-program-server")) << server->Log();
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        setenv(kFtpPortVariable, std::to_string(server->port).c_str(), 1);
        // The settings folder as the plug-in names it, with a blank to show that paths survive.
        folder = MakeTestFolder("ftp program/Adobe Illustrator");
    }
    void TearDown() override { unsetenv(kFtpPortVariable); }

    // The script as the plug-in writes it, beside the data file it names.
    std::string WriteScript(const std::string& login, const std::string& queue)
    {
        std::string script = folder + "/TRVXSender.mcr";
        WriteBytes(script, login + "\r\nbin\r\nput \"" + folder + "/" + queue + "\"\r\nquit\r\n");
        return script;
    }

    int Run(const std::string& script, int16_t passive, std::string& reason)
    {
        char text[512];
        int status = RunFtpScript(script.c_str(), "127.0.0.1", passive, text, sizeof text);
        reason = text;
        return status;
    }

    std::string folder;
    static FtpTestServer* server;
};

FtpTestServer* FtpProgramTest::server = nullptr;

TEST_F(FtpProgramTest, TheServerReceivesExactlyTheQueueFilesBytes)
{
    struct Case {
        std::string login;
        const char* queue;
        int16_t passive;
        std::string root;
    } cases[] = {
        {"anonymous kelp", "pr1", 0, server->anonymousRoot},
        {"anonymous kelp", "pr2", 1, server->anonymousRoot},
        {std::string(FtpTestServer::kUser) + " " + FtpTestServer::kPassword, "pr1", 0, server->userRoot},
        {std::string(FtpTestServer::kUser) + " " + FtpTestServer::kPassword, "pr2", 1, server->userRoot},
    };
    int seed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.login + " " + c.queue + (c.passive ? " passive" : " active"));
        std::string bytes = "\x1b.(IW0,0,400,400;PU0,0;PD10,10;\r\n" + std::string(1, '\0') + "\xff\n\r";
        for (int i = 0; i < 5000; ++i)
            bytes += static_cast<char>((i * 7 + ++seed) & 0xFF);
        WriteBytes(folder + "/" + c.queue, bytes);
        std::string reason;
        size_t logSize = server->Log().size();
        ASSERT_EQ(Run(WriteScript(c.login, c.queue), c.passive, reason), kFtpSuccess) << reason << server->Log();
        EXPECT_EQ(ReadBytes(c.root + "/" + c.queue), bytes);
        std::string commands = server->CommandsSince(logSize);
        EXPECT_TRUE(FtpTestServer::UsedBinary(commands)) << commands;
        EXPECT_EQ(FtpTestServer::UsedPassive(commands), c.passive == 1) << commands;
        EXPECT_EQ(FtpTestServer::UsedActive(commands), c.passive == 0) << commands;
    }
}

TEST_F(FtpProgramTest, EveryFailureComesBackWithItsReason)
{
    WriteBytes(folder + "/pr1", "PU0,0;");
    struct Case {
        const char* name;
        std::string login;
        const char* queue;
        bool serverThere;
        int status;
        const char* inReason;
    } cases[] = {
        {"wrong password", std::string(FtpTestServer::kUser) + " wrong", "pr1", true, kFtpLoginFailed, "530"},
        {"no password", FtpTestServer::kUser, "pr1", true, kFtpLoginFailed, "530"},
        {"no server there", "anonymous kelp", "pr1", false, kFtpConnectFailed, "Connection refused"},
        {"missing queue file", "anonymous kelp", "pr9", true, kFtpUploadFailed, "pr9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int port = c.serverThere ? server->port : UnusedLoopbackPort();
        setenv(kFtpPortVariable, std::to_string(port).c_str(), 1);
        std::string reason;
        EXPECT_EQ(Run(WriteScript(c.login, c.queue), 1, reason), c.status) << reason;
        EXPECT_NE(reason.find(c.inReason), std::string::npos) << reason;
        EXPECT_EQ(reason.find(DescribeFtpStatus(c.status)), 0u) << reason;
    }
}

TEST_F(FtpProgramTest, AMissingClientOrScriptIsReported)
{
    std::string script = WriteScript("anonymous kelp", "pr1");
    std::string reason;
    EXPECT_EQ(Run(folder + "/no-such-script.mcr", 0, reason), kFtpLocalFileError);
    EXPECT_NE(reason.find("no-such-script.mcr"), std::string::npos) << reason;

    std::string path = std::getenv("PATH");
    setenv("PATH", MakeTestFolder("empty-path").c_str(), 1);
    int status = Run(script, 0, reason);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(status, kFtpProgramFailed);
    EXPECT_NE(reason.find("ftp: No such file or directory"), std::string::npos) << reason;

    setenv(kFtpPortVariable, "port", 1);
    EXPECT_EQ(Run(script, 0, reason), kFtpBadPortSetting);
    EXPECT_EQ(reason, "TRAVEX_FTP_PORT is not a port number: port");
}

} // namespace
