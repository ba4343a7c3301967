// The sender's endpoint: the settings file's host and port for version 302, else the
// built-in endpoint; the file is only read.
#include "sender/send_session.h"

#include "plugin/settings/settings_program.h"
#include "sender/tests/sender_test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SenderSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSettingsProgram(kSettingsSender);
        ResetTestHome();
    }
    void TearDown() override { SetSettingsProgram(kSettingsPlugin); }
};

TEST_F(SenderSettingsTest, TheEndpointComesFromAVersion302FileElseItIsTheBuiltInOne)
{
    const std::string longHost(140, 'h');   // more than the field holds: cut at 127
    struct Case {
        const char* name;
        bool file;
        std::string bytes;
        std::string host;
        int32_t port;
    } cases[] = {
        {"version 302", true, SettingsFileBytes(302, "127.0.0.1", 9100), "127.0.0.1", 9100},
        {"version 302, a host name", true, SettingsFileBytes(302, "plotter-server", 1024), "plotter-server", 1024},
        {"version 301", true, SettingsFileBytes(301, "10.0.0.7", 9100), "127.0.0.1", 1024},
        {"version 0", true, SettingsFileBytes(0, "10.0.0.7", 9100), "127.0.0.1", 1024},
        {"no file", false, "", "127.0.0.1", 1024},
        {"empty file", true, "", "127.0.0.1", 1024},
        {"one byte", true, std::string(1, '\x2e'), "127.0.0.1", 1024},
        {"block cut short", true, SettingsFileBytes(302, "10.0.0.7", 9100).substr(0, 300), "127.0.0.1", 1024},
        {"host without terminator", true, SettingsFileBytes(302, longHost.substr(0, 128), 9100),
         longHost.substr(0, 127), 9100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = SenderSettingsFolder() + "/TRAVEX2K.INI";
        unlink(path.c_str());
        if (c.file)
            WriteFileBytes(path, c.bytes);
        char host[kServerHostRoom];
        int32_t port = 0;
        GetServerAddress(host, &port);
        EXPECT_EQ(std::string(host), c.host);
        EXPECT_EQ(port, c.port);
        if (c.file)
            EXPECT_EQ(ReadFileBytes(path), c.bytes);   // never changed or re-created
        else
            EXPECT_NE(access(path.c_str(), F_OK), 0);  // never created
    }
}

TEST_F(SenderSettingsTest, TheSettingsBlockIsReadWholeOrNotAtAll)
{
    std::string path = WriteSenderSettings(302, "127.0.0.1", 9100);
    PlotSettings settings{};
    ASSERT_EQ(ReadSenderSettings(&settings), 1);
    EXPECT_STREQ(settings.szHost, "127.0.0.1");
    EXPECT_EQ(settings.iTcpPort, 9100);

    WriteFileBytes(path, SettingsFileBytes(302, "127.0.0.1", 9100).substr(0, 2 + 627));
    EXPECT_EQ(ReadSenderSettings(&settings), 0);
}

TEST_F(SenderSettingsTest, TheVersionCheckPassesOnly302)
{
    struct Case {
        std::string bytes;
        int result;
    } cases[] = {
        {std::string("\x2e\x01", 2), 1},       // 302 little-endian
        {std::string("\x2d\x01", 2), 0},       // 301
        {std::string("\x01\x2e", 2), 0},       // 302 big-endian
        {std::string("\x2e", 1), 0},           // short
        {"", 0},
    };
    std::string path = SenderSettingsFolder() + "/version";
    for (const Case& c : cases) {
        WriteFileBytes(path, c.bytes);
        int fd = open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(CheckSenderSettingsVersion(fd), c.result);
        close(fd);
    }
}

} // namespace
