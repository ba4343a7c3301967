// The host's User suite: the cancel check, progress on a terminal that is not one, alerts.
#include "host/suites/host_strings.h"
#include "host/suites/user_suite.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

AIUnicodeStringRef Text(const char* bytes)
{
    AIUnicodeStringRef string = nullptr;
    host::HostUnicodeStringSuite()->MakeFromEightBit(bytes, kAIShiftJisCharacterEncoding, &string);
    return string;
}

class UserSuiteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(0);
    }
    const AIUserSuite* user = host::HostUserSuite();
};

TEST_F(UserSuiteTest, CancelCheckAnswersTrueAfterTheGivenChecks)
{
    host::SetCancelAfterChecks(3);
    EXPECT_FALSE(user->Cancel());
    EXPECT_FALSE(user->Cancel());
    EXPECT_FALSE(user->Cancel());
    EXPECT_TRUE(user->Cancel());
    EXPECT_TRUE(user->Cancel());
}

TEST_F(UserSuiteTest, CancelCheckAnswersTrueAfterCtrlC)
{
    host::InstallCancelOnInterrupt();
    EXPECT_FALSE(user->Cancel());
    std::raise(SIGINT);
    EXPECT_TRUE(user->Cancel());
    host::ClearHostUserRecords();
    EXPECT_FALSE(user->Cancel());
}

TEST_F(UserSuiteTest, ProgressIsPlainLinesWhenStandardErrorIsNoTerminal)
{
    AIUnicodeStringRef stage = Text("\x83\x76\x83\x8D\x83\x62\x83\x67");   // "プロット"
    ::testing::internal::CaptureStderr();
    user->SetProgressText(stage);
    user->UpdateProgress(0, 100);
    user->UpdateProgress(50, 100);
    user->UpdateProgress(50, 100);     // no change, no line
    user->UpdateProgress(300, 200);    // past the end shows 100 %
    user->CloseProgress();
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "progress: プロット\nprogress: 0%\nprogress: 50%\nprogress: 100%\n");
    EXPECT_EQ(host::HostProgressTexts(), std::vector<std::string>{"プロット"});
    host::HostUnicodeStringSuite()->Dispose(stage);
}

TEST_F(UserSuiteTest, ProgressIsABarOnATerminal)
{
    // standard error on the slave side of a pseudo-terminal for the calls
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    int saved = dup(2);
    dup2(slave, 2);
    AIUnicodeStringRef stage = Text("Plot");
    user->SetProgressText(stage);
    user->UpdateProgress(50, 100);
    user->CloseProgress();
    dup2(saved, 2);
    close(saved);
    close(slave);
    std::string seen;
    char buffer[512];
    fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;)
        seen.append(buffer, size_t(n));
    close(master);
    const std::string empty = "[" + std::string(30, '.') + "]";
    const std::string half = "[" + std::string(15, '#') + std::string(15, '.') + "]";
    EXPECT_EQ(seen, "\r" + empty + "   0% Plot\033[K" + "\r" + half + "  50% Plot\033[K" + "\r\n");
    host::HostUnicodeStringSuite()->Dispose(stage);
}

TEST_F(UserSuiteTest, AlertsArePrintedRecordedAndLogged)
{
    std::string log = MakeTestFolder("alerts") + "/alerts.log";
    host::SetAlertLogPath(log);
    AIUnicodeStringRef error = Text("Error=ffffff94, \xFF\xFF\xFF\x94");
    AIUnicodeStringRef message = Text("TRAVEX-Pro\n\n4.5.0.5");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(user->ErrorAlert(error), kNoErr);
    EXPECT_EQ(user->MessageAlert(message), kNoErr);
    EXPECT_EQ(user->ErrorAlert(nullptr), kBadParameterErr);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "travex-host: error alert: Error=ffffff94, \\xFF\\xFF\\xFF\\x94\n"
                   "travex-host: message: TRAVEX-Pro\n\n4.5.0.5\n");
    ASSERT_EQ(host::HostAlerts().size(), 2u);
    EXPECT_TRUE(host::HostAlerts()[0].fError);
    EXPECT_FALSE(host::HostAlerts()[1].fError);
    EXPECT_EQ(ReadBytes(log), "error: Error=ffffff94, \xFF\xFF\xFF\x94\nmessage: TRAVEX-Pro\n\n4.5.0.5\n");
    host::SetAlertLogPath("");
    host::HostUnicodeStringSuite()->Dispose(error);
    host::HostUnicodeStringSuite()->Dispose(message);
}

}  // namespace
