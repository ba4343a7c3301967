// The plug-in's entry as the real host drives it: the one alert for a failed message, the
// dispatch, the suite binding with its nesting count, unload and reload, shut-down.
#include "tests/e2e/host_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Counts {
    int held = -1;
    long long acquired = -1;
    long long released = -1;
    long long blocks = -1;
    long long strings = -1;
};

// Every "status" line of the run, in order.
std::vector<Counts> StatusLines(const std::string& out)
{
    std::vector<Counts> counts;
    for (const std::string& line : LinesStartingWith(out, "suites held ")) {
        Counts c;
        std::sscanf(line.c_str(), "suites held %d, acquired %lld, released %lld; blocks held %lld; strings held %lld",
                    &c.held, &c.acquired, &c.released, &c.blocks, &c.strings);
        counts.push_back(c);
    }
    return counts;
}

std::string Script(const std::string& folder, const std::string& steps)
{
    std::string path = folder + "/steps.txt";
    WriteBytes(path, steps);
    return path;
}

std::string Alert(const std::string& text, const std::string& caller, const std::string& selector)
{
    return "error: " + text + " (caller : " + caller + ", selector : " + selector + ")\n";
}

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        drawing = WriteSmallDrawing(folder);
    }
    std::string folder;
    std::string drawing;
};

TEST_F(EntryTest, FailedMessageShowsOneAlertInTheSystemsFormat)
{
    struct Case {
        const char* status;      // what acquiring "AI Tool Suite" answers
        std::string text;        // the alert's text before the caller, empty: no alert
    };
    const Case cases[] = {
        {"-108", "Error=ffffff94, \xFF\xFF\xFF\x94"},
        {"2", "Error=2, "},
        {"0x00414243", "Error=414243, "},
        {"0x41004243", "Error=41004243, A"},
        {"0x53214E46", "Error=53214e46, S!NF"},
        {"1", ""},
        {"0x53214664", ""},
        {"0x53544F50", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        HostRun run = RunTravexHost(folder, {"--missing-suite", std::string("AI Tool Suite=") + c.status, drawing,
                                             "message \"AI Menu\" \"AI Go\"", "status"});
        std::string expected;
        if (!c.text.empty())
            expected = Alert(c.text, "SP Interface", "Startup") + Alert(c.text, "AI Menu", "AI Go") +
                       Alert(c.text, "SP Interface", "Shutdown");
        EXPECT_EQ(run.alerts, expected);
        EXPECT_EQ(run.exitStatus, c.text.empty() ? 0 : 3) << run.err;
        std::vector<Counts> counts = StatusLines(run.out);
        ASSERT_EQ(counts.size(), 1u) << run.out;
        EXPECT_EQ(counts[0].held, 0);
        EXPECT_EQ(counts[0].acquired, counts[0].released);
        EXPECT_EQ(counts[0].acquired, 2 * 112);   // every suite but the failing one, twice
    }
}

TEST_F(EntryTest, NoAlertWithoutTheUserSuite)
{
    HostRun run = RunTravexHost(folder, {"--missing-suite", "AI User Suite=-108", drawing, "message \"AI Menu\" \"AI Go\""});
    EXPECT_EQ(run.alerts, "");
    EXPECT_NE(run.out.find("message \"AI Menu\"/\"AI Go\": -108"), std::string::npos) << run.out;
}

TEST_F(EntryTest, AccessMessagesAcquireNothingAndNeverAlert)
{
    HostRun run = RunTravexHost(folder, {"--missing-suite", "AI Tool Suite=-108", "--script",
                                         Script(folder, "status\n"
                                                        "message \"SP Access\" \"Unload\"\n"
                                                        "message \"SP Access\" \"Reload\"\n"
                                                        "message \"SP Access\" \"Flush\"\n"
                                                        "status\n"),
                                         drawing});
    for (const char* selector : {"Unload", "Reload", "Flush"})
        EXPECT_NE(run.out.find(std::string("message \"SP Access\"/\"") + selector + "\": 0"), std::string::npos) << run.out;
    std::vector<Counts> counts = StatusLines(run.out);
    ASSERT_EQ(counts.size(), 2u) << run.out;
    EXPECT_EQ(counts[1].acquired, counts[0].acquired);
    EXPECT_EQ(counts[1].released, counts[0].released);
    // only Startup and Shutdown alert
    EXPECT_EQ(run.alerts, Alert("Error=ffffff94, \xFF\xFF\xFF\x94", "SP Interface", "Startup") +
                              Alert("Error=ffffff94, \xFF\xFF\xFF\x94", "SP Interface", "Shutdown"));
}

TEST_F(EntryTest, UnknownCallersAndSelectorsAnswerZeroWithTheSuitesBound)
{
    const char* const messages[][2] = {
        {"AI Nothing", "AI Go"}, {"AI Menu", "AI Nothing"}, {"AI Tool", "AI Nothing"},
        {"SP Interface", "Nothing"}, {"AI Tool", "AI Go"},
    };
    std::string steps = "status\n";
    for (const auto& m : messages)
        steps += std::string("message \"") + m[0] + "\" \"" + m[1] + "\"\n";
    steps += "status\n";
    HostRun run = RunTravexHost(folder, {"--script", Script(folder, steps), drawing});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    for (const auto& m : messages)
        EXPECT_NE(run.out.find(std::string("message \"") + m[0] + "\"/\"" + m[1] + "\": 0"), std::string::npos);
    EXPECT_EQ(run.alerts, "");
    std::vector<Counts> counts = StatusLines(run.out);
    ASSERT_EQ(counts.size(), 2u) << run.out;
    EXPECT_EQ(counts[1].acquired - counts[0].acquired, 5 * 113);
    EXPECT_EQ(counts[1].released - counts[0].released, 5 * 113);
    EXPECT_EQ(counts[1].held, 0);
}

TEST_F(EntryTest, FailedSuiteAcquisitionStopsTheMessageAndKeepsThePairs)
{
    // first row, a middle row and the last row of the suite table
    for (const char* suite : {"SP Blocks Suite", "AI Menu Suite", "AI File Path Suite"}) {
        SCOPED_TRACE(suite);
        HostRun run = RunTravexHost(folder, {"--missing-suite", suite, drawing, "menus", "globals", "status"});
        // Startup was not dispatched: no globals, no menu items
        EXPECT_NE(run.out.find("globals: none"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("TRAVEX-Pro"), std::string::npos) << run.out;
        std::vector<Counts> counts = StatusLines(run.out);
        ASSERT_EQ(counts.size(), 1u) << run.out;
        EXPECT_EQ(counts[0].held, 0);
        EXPECT_EQ(counts[0].acquired, 112);
        EXPECT_EQ(counts[0].released, 112);
        EXPECT_EQ(counts[0].blocks, 0);
        EXPECT_EQ(LinesStartingWith(run.alerts, "error: Error=53214e46, S!NF (caller : SP Interface, selector : Startup)").size(),
                  1u)
            << run.alerts;
    }
}

TEST_F(EntryTest, MessageWhileTheAboutBoxIsOpenNeitherAcquiresNorReleases)
{
    struct Case {
        const char* what;
        const char* open;   // the step that opens the About box
    };
    const Case cases[] = {
        {"About message", "about"},
        {"About menu item", "menu TRAVEX-Pro..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostRun run = RunTravexHost(folder, {"--script",
                                             Script(folder, std::string("hook nested message \"AI Menu\" \"AI Update\"\n"
                                                                        "ui hook nested; press 1\n") +
                                                                c.open + "\nstatus\n"),
                                             drawing});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_NE(run.out.find("message \"AI Menu\"/\"AI Update\": 0\n"
                               "hook nested: done: acquired 0, released 0, suites held 113\n"),
                  std::string::npos)
            << run.out;
        std::vector<Counts> counts = StatusLines(run.out);
        ASSERT_EQ(counts.size(), 1u) << run.out;
        EXPECT_EQ(counts[0].held, 0);
        EXPECT_EQ(counts[0].acquired, 2 * 113);   // Startup and the About message only
        EXPECT_EQ(counts[0].released, 2 * 113);
        EXPECT_EQ(run.alerts, "");
    }
}

TEST_F(EntryTest, ReloadAfterUnloadKeepsTheGlobals)
{
    HostRun run = RunTravexHost(folder, {"--script",
                                         Script(folder, "globals\n"
                                                        "reload\n"
                                                        "globals\n"
                                                        "ui press 1\n"
                                                        "menu TRAVEX-Pro...\n"
                                                        "status\n"),
                                         drawing});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> globals = LinesStartingWith(run.out, "globals: ");
    ASSERT_EQ(globals.size(), 2u) << run.out;
    EXPECT_NE(globals[0], "globals: none");
    EXPECT_EQ(globals[0], globals[1]);
    // the About item, known only from the globals, still opens the box the robot answered
    std::vector<Counts> counts = StatusLines(run.out);
    ASSERT_EQ(counts.size(), 1u) << run.out;
    EXPECT_EQ(counts[0].held, 0);
    EXPECT_EQ(counts[0].acquired, 2 * 113);
    EXPECT_EQ(counts[0].released, 2 * 113);
}

TEST_F(EntryTest, ShutdownFreesTheGlobalsAndEveryString)
{
    HostRun run = RunTravexHost(folder, {"--script", Script(folder, "status\nshutdown\nstatus\nglobals\n"), drawing});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::vector<Counts> counts = StatusLines(run.out);
    ASSERT_EQ(counts.size(), 2u) << run.out;
    EXPECT_EQ(counts[0].blocks, 1);
    EXPECT_EQ(counts[1].blocks, 0);
    EXPECT_EQ(counts[1].strings, 0);
    EXPECT_EQ(counts[1].held, 0);
    EXPECT_NE(run.out.find("globals: none"), std::string::npos);
}

}  // namespace
