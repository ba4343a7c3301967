// The entry's alert text for a failed message and for an unexpected error, and when the
// alert is shown at all.
#include "plugin/entry/error_alert.h"

#include "host/suites/host_strings.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/user_suite.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ErrorAlertTest, TextHasTheStatusInHexAndItsFourBytesMostSignificantFirst)
{
    struct Case {
        ASErr result;
        const char* expected;
    };
    const Case cases[] = {
        {-108, "Error=ffffff94, \xFF\xFF\xFF\x94 (caller : AI Menu, selector : AI Go)"},
        {2, "Error=2,  (caller : AI Menu, selector : AI Go)"},
        {0x00FF4142, "Error=ff4142,  (caller : AI Menu, selector : AI Go)"},
        {0x50415200, "Error=50415200, PAR (caller : AI Menu, selector : AI Go)"},
        {0x5041524D, "Error=5041524d, PARM (caller : AI Menu, selector : AI Go)"},
    };
    for (const Case& c : cases) {
        char text[1024];
        FormatErrorAlert(c.result, "AI Menu", "AI Go", text, sizeof text);
        EXPECT_STREQ(text, c.expected);
    }
}

TEST(ErrorAlertTest, LongTextIsCutToTheBuffer)
{
    std::string caller(2000, 'c');
    char text[1024];
    std::memset(text, 'x', sizeof text);
    FormatErrorAlert(-108, caller.c_str(), "AI Go", text, sizeof text);
    EXPECT_EQ(std::strlen(text), 1023u);
    const std::string head = "Error=ffffff94, \xFF\xFF\xFF\x94 (caller : c";
    EXPECT_EQ(std::string(text, head.size()), head);
    EXPECT_EQ(text[1022], 'c');
}

TEST(ErrorAlertTest, UnexpectedErrorText)
{
    char text[1024];
    FormatUnexpectedError(-108, text, sizeof text);
    EXPECT_STREQ(text, "Unexpected internal error=ffffff94, \xFF\xFF\xFF\x94");
    FormatUnexpectedError(0x53544F50, text, sizeof text);
    EXPECT_STREQ(text, "Unexpected internal error=53544f50, STOP");
}

TEST(ErrorAlertTest, QuietResultsAreNotReported)
{
    for (ASErr quiet : {0, 1, 0x53214664, 0x53544F50})
        EXPECT_FALSE(IsReportedResult(quiet)) << quiet;
    for (ASErr reported : {-108, 2, -1, 0x53214665, 0x53544F51})
        EXPECT_TRUE(IsReportedResult(reported)) << reported;
}

TEST(ErrorAlertTest, AlertGoesToTheHostOnlyWhileTheUserSuiteIsHeld)
{
    host::ClearHostUserRecords();
    sAIUnicodeString = host::HostUnicodeStringSuite();
    sAIUser = nullptr;
    ShowErrorAlert(-108, "AI Menu", "AI Go");
    ReportUnexpectedError(-108);
    EXPECT_TRUE(host::HostAlerts().empty());

    sAIUser = host::HostUserSuite();
    int64_t strings = host::HostStringsHeld();
    ShowErrorAlert(0, "AI Menu", "AI Go");
    ShowErrorAlert(0x53544F50, "AI Menu", "AI Go");
    ShowErrorAlert(-108, "AI Menu", "AI Go");
    ReportUnexpectedError(2);
    ASSERT_EQ(host::HostAlerts().size(), 2u);
    EXPECT_TRUE(host::HostAlerts()[0].fError);
    EXPECT_EQ(host::HostAlerts()[0].bytes, "Error=ffffff94, \xFF\xFF\xFF\x94 (caller : AI Menu, selector : AI Go)");
    EXPECT_EQ(host::HostAlerts()[1].bytes, "Unexpected internal error=2, ");
    EXPECT_EQ(host::HostStringsHeld(), strings);   // every host string made was disposed
    sAIUser = nullptr;
    sAIUnicodeString = nullptr;
}

}  // namespace
