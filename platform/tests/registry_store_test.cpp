#include "platform/registry_store.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTestHome(); }

    // Sets one value under a fresh handle, as a program does from start to close.
    static int32_t SetValue(const char* subKey, const char* name, uint32_t value)
    {
        RegistryKey key = nullptr;
        int32_t status = CreateRegistryKey(kRegistryCurrentUser, subKey, &key);
        if (status != kRegistrySuccess)
            return status;
        status = SetRegistryDword(key, name, value);
        CloseRegistryKey(key);
        return status;
    }

    static int32_t GetValue(const char* subKey, const char* name, uint32_t* value)
    {
        RegistryKey key = nullptr;
        int32_t status = OpenRegistryKey(kRegistryCurrentUser, subKey, &key);
        if (status != kRegistrySuccess)
            return status;
        status = QueryRegistryDword(key, name, value);
        CloseRegistryKey(key);
        return status;
    }
};

constexpr const char* kConfigKey = "Software\\Brenvoltic\\TRVXSerConfig";

TEST_F(RegistryStoreTest, StoreIsARegistryExportWithEveryLevel)
{
    ASSERT_EQ(SetValue(kConfigKey, "RetVal", 99), kRegistrySuccess);
    EXPECT_EQ(ReadBytes(RegistryStorePath()),
        "Windows Registry Editor Version 5.00\n"
        "\n[HKEY_CURRENT_USER\\Software]\n"
        "\n[HKEY_CURRENT_USER\\Software\\Brenvoltic]\n"
        "\n[HKEY_CURRENT_USER\\Software\\Brenvoltic\\TRVXSerConfig]\n"
        "\"RetVal\"=dword:00000063\n");
    uint32_t value = 0;
    ASSERT_EQ(GetValue(kConfigKey, "RetVal", &value), kRegistrySuccess);
    EXPECT_EQ(value, 99u);

    // Setting again replaces the line instead of adding one.
    ASSERT_EQ(SetValue(kConfigKey, "RetVal", 0xFFFFFFFF), kRegistrySuccess);
    std::string text = ReadBytes(RegistryStorePath());
    EXPECT_EQ(text.find("dword:00000063"), std::string::npos);
    EXPECT_NE(text.find("\"RetVal\"=dword:ffffffff\n"), std::string::npos);
}

TEST_F(RegistryStoreTest, MissingKeysAndValuesAreFileNotFound)
{
    RegistryKey key = nullptr;
    EXPECT_EQ(OpenRegistryKey(kRegistryCurrentUser, "Software\\Brenvoltic", &key),
        kRegistryFileNotFound);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(std::ifstream(RegistryStorePath()).good()) << "an open must not create the store";

    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, "Software\\Brenvoltic", &key), kRegistrySuccess);
    RegistryKey sub = nullptr;
    EXPECT_EQ(OpenRegistryKey(key, "TRAVEX-Pro", &sub), kRegistryFileNotFound);
    ASSERT_EQ(CreateRegistryKey(key, "TRAVEX-Pro", &sub), kRegistrySuccess);
    uint32_t value = 7;
    EXPECT_EQ(QueryRegistryDword(sub, "fTextOut", &value), kRegistryFileNotFound);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(CloseRegistryKey(sub), kRegistrySuccess);
    EXPECT_EQ(CloseRegistryKey(key), kRegistrySuccess);

    // Key and value names compare without letter case, as the system's registry does.
    ASSERT_EQ(SetValue("software\\brenvoltic\\travex-pro", "FTEXTOUT", 1), kRegistrySuccess);
    ASSERT_EQ(GetValue("Software\\Brenvoltic\\TRAVEX-Pro", "fTextOut", &value), kRegistrySuccess);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(OpenRegistryKey(nullptr, "Software", &key), kRegistryInvalidHandle);
    EXPECT_EQ(OpenRegistryKey(kRegistryCurrentUser, "Bad\nName", &key), kRegistryInvalidParameter);
}

TEST_F(RegistryStoreTest, ReadsAHandWrittenExport)
{
    WriteBytes(RegistryStorePath(),
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; written by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Brenvoltic\\TRVXSerConfig]\r\n"
        "\"Width\"=dword:00000349\r\n"
        "\"Scale\"=dword:2710\r\n"
        "\"Long\"=hex:01,02,03,\\\r\n"
        "  04,05\r\n"
        "\"Four\"=hex:0a,00,00,00\r\n"
        "\"Two\"=hex:0b,00\r\n"
        "\"Text\"=\"a \\\"b\\\"\"\r\n"
        "\"Broken\"=dword:xyz\r\n"
        "\"Twice\"=dword:00000001\r\n"
        "\"Twice\"=dword:00000002\r\n"
        "\"Stray\"=dword:00000005\r\r\n");  // a CR too many: no value
    struct Case {
        const char* name;
        int32_t status;
        uint32_t value;
    } cases[] = {
        {"Width", kRegistrySuccess, 841},
        {"Scale", kRegistrySuccess, 10000},
        {"Long", kRegistryMoreData, 0},      // five bytes do not fit a four-byte query
        {"Four", kRegistrySuccess, 10},
        {"Two", kRegistryInvalidParameter, 0},
        {"Text", kRegistryMoreData, 0},
        {"Broken", kRegistryFileNotFound, 0},
        {"Twice", kRegistrySuccess, 2},      // the later line wins, as an import does
        {"Height", kRegistryFileNotFound, 0},
    };
    for (const Case& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(GetValue(kConfigKey, c.name, &value), c.status) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }

    RegistryKey key = nullptr;
    ASSERT_EQ(OpenRegistryKey(kRegistryCurrentUser, kConfigKey, &key), kRegistrySuccess);
    uint32_t type = 0;
    uint32_t size = 0;
    EXPECT_EQ(QueryRegistryValue(key, "Long", &type, nullptr, &size), kRegistrySuccess);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(size, 5u);
    char text[16] = {};
    size = sizeof text;
    EXPECT_EQ(QueryRegistryValue(key, "Text", &type, text, &size), kRegistrySuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_STREQ(text, "a \"b\"");
    CloseRegistryKey(key);
    // The intermediate key exists although the export lists only the deepest one.
    EXPECT_EQ(GetValue("Software\\Brenvoltic", "x", &type), kRegistryFileNotFound);
    ASSERT_EQ(OpenRegistryKey(kRegistryCurrentUser, "Software\\Brenvoltic", &key), kRegistrySuccess);
    CloseRegistryKey(key);

    // A write keeps what it does not understand and every other value.
    ASSERT_EQ(SetValue(kConfigKey, "RetVal", 1), kRegistrySuccess);
    std::string after = ReadBytes(RegistryStorePath());
    EXPECT_NE(after.find("; written by hand\n"), std::string::npos);
    EXPECT_NE(after.find("\"Broken\"=dword:xyz\n"), std::string::npos);
    EXPECT_NE(after.find("\"Long\"=hex:01,02,03,04,05\n"), std::string::npos);
    uint32_t value = 0;
    ASSERT_EQ(GetValue(kConfigKey, "Width", &value), kRegistrySuccess);
    EXPECT_EQ(value, 841u);
    ASSERT_EQ(GetValue(kConfigKey, "Twice", &value), kRegistrySuccess);
    EXPECT_EQ(value, 2u);
    // The line that is no value stays one, through this write and the next.
    EXPECT_EQ(GetValue(kConfigKey, "Stray", &value), kRegistryFileNotFound);
    ASSERT_EQ(SetValue(kConfigKey, "RetVal", 2), kRegistrySuccess);
    EXPECT_EQ(GetValue(kConfigKey, "Stray", &value), kRegistryFileNotFound);
    EXPECT_NE(ReadBytes(RegistryStorePath()).find("\"Stray\"=dword:00000005\r\r\n"), std::string::npos);
}

TEST_F(RegistryStoreTest, GarbledStoreReadsAsMissingAndIsReplacedByTheNextWrite)
{
    const std::string garbage[] = {
        std::string("\x00\xFF\x12garbage", 10),
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"a\"=dword:00000001\n",
        "[HKEY_CURRENT_USER\\Software\\Brenvoltic\\TRVXSerConfig]\n\"RetVal\"=dword:00000001\n",
        std::string("Windows Registry Editor Version 5.00\n\"RetVal\"=dword:\0\0\n", 56),
        std::string(100000, '\xA5'),
    };
    for (const std::string& text : garbage) {
        ResetTestHome();
        WriteBytes(RegistryStorePath(), text);
        uint32_t value = 5;
        RegistryKey key = nullptr;
        EXPECT_EQ(GetValue(kConfigKey, "RetVal", &value), kRegistryFileNotFound);
        EXPECT_EQ(OpenRegistryKey(kRegistryCurrentUser, "Software", &key), kRegistryFileNotFound);
        EXPECT_EQ(value, 5u);
        EXPECT_EQ(ReadBytes(RegistryStorePath()), text) << "a read changed the store";

        ASSERT_EQ(SetValue(kConfigKey, "RetVal", 2), kRegistrySuccess);
        std::string clean = ReadBytes(RegistryStorePath());
        EXPECT_EQ(clean.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
        EXPECT_EQ(clean.find('\xA5'), std::string::npos);
        ASSERT_EQ(GetValue(kConfigKey, "RetVal", &value), kRegistrySuccess);
        EXPECT_EQ(value, 2u);
        EXPECT_EQ(ReadBytes(RegistryStorePath() + ".bad"), text) << "the old store is kept aside";
    }
}

TEST_F(RegistryStoreTest, StoreThatCannotBeWrittenFailsTheWriteAndReadsAsEmpty)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string config = saved;
    WriteBytes(TestHome() + "/plain", "x");
    setenv("XDG_CONFIG_HOME", (TestHome() + "/plain/config").c_str(), 1);
    RegistryKey key = nullptr;
    EXPECT_EQ(CreateRegistryKey(kRegistryCurrentUser, kConfigKey, &key), kRegistryIoFailed);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(SetRegistryDword(kRegistryCurrentUser, "RetVal", 1), kRegistryIoFailed);
    uint32_t value = 3;
    EXPECT_EQ(QueryRegistryDword(kRegistryCurrentUser, "RetVal", &value), kRegistryFileNotFound);
    EXPECT_EQ(value, 3u);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

// Runs body in a child process and gives its exit status.
template <typename Body>
int InChild(Body body)
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(RegistryStoreTest, AValueSetByOneProcessIsReadByAnother)
{
    EXPECT_EQ(InChild([] { return SetValue(kConfigKey, "RetVal", 1) == kRegistrySuccess ? 0 : 1; }), 0);
    uint32_t value = 0;
    ASSERT_EQ(GetValue(kConfigKey, "RetVal", &value), kRegistrySuccess);
    EXPECT_EQ(value, 1u);

    ASSERT_EQ(SetValue(kConfigKey, "RetVal", 42), kRegistrySuccess);
    EXPECT_EQ(InChild([] {
        uint32_t seen = 0;
        return GetValue(kConfigKey, "RetVal", &seen) == kRegistrySuccess ? static_cast<int>(seen) : 255;
    }), 42);
}

TEST_F(RegistryStoreTest, TwoProcessesSettingAtOnceBothKeepTheirValues)
{
    constexpr int kRounds = 40;
    constexpr int kValuesEach = 8;
    for (int round = 0; round < kRounds; ++round) {
        ResetTestHome();
        int gate[2];
        ASSERT_EQ(pipe(gate), 0);
        pid_t children[2];
        for (int child = 0; child < 2; ++child) {
            children[child] = fork();
            if (children[child] == 0) {
                close(gate[1]);
                char c;
                // Both start when the gate closes.
                (void)read(gate[0], &c, 1);
                for (int i = 0; i < kValuesEach; ++i) {
                    std::string name = "P" + std::to_string(child) + "_" + std::to_string(i);
                    if (SetValue(kConfigKey, name.c_str(), static_cast<uint32_t>(child * 100 + i)) != 0)
                        _exit(1);
                }
                _exit(0);
            }
        }
        close(gate[0]);
        close(gate[1]);
        for (pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        for (int child = 0; child < 2; ++child) {
            for (int i = 0; i < kValuesEach; ++i) {
                std::string name = "P" + std::to_string(child) + "_" + std::to_string(i);
                uint32_t value = 0;
                ASSERT_EQ(GetValue(kConfigKey, name.c_str(), &value), kRegistrySuccess)
                    << "round " << round << " lost " << name;
                EXPECT_EQ(value, static_cast<uint32_t>(child * 100 + i));
            }
        }
    }
}

} // namespace
