// The travex-host command: help, drawings and plug-ins it refuses with a clear message,
// scripts, and drawings it leaves as they were when nothing changed them.
#include "tests/e2e/host_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kExamples = std::string(TRAVEX_SOURCE_DIR) + "/examples";

class TravexHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string folder;
};

TEST_F(TravexHostTest, HelpDescribesTheCommandLine)
{
    HostRun run = RunTravexHost(folder, {"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* part : {"usage: travex-host", "--plugin PATH", "--script FILE", "--ui STEPS", "menu TEXT", "reload",
                             "list", "Exit status"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
}

TEST_F(TravexHostTest, BadDrawingsAreRefusedNamingTheFileAndLeftUntouched)
{
    struct Case {
        const char* name;
        const char* bytes;
        std::vector<std::string> inMessage;
    };
    const Case cases[] = {
        {"plain.svg", "just some text\n", {"plain.svg"}},
        {"broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g>\n<rect/>\n</svg>\n", {"broken.svg:4:", "not well-formed"}},
        {"html.svg", "<html><body/></html>\n", {"html.svg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder + "/" + c.name;
        WriteBytes(path, c.bytes);
        HostRun run = RunTravexHost(folder, {path, "list"});
        EXPECT_NE(run.exitStatus, 0);
        for (const std::string& part : c.inMessage)
            EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(path), c.bytes);
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    }
    HostRun missing = RunTravexHost(folder, {folder + "/missing.svg", "list"});
    EXPECT_NE(missing.exitStatus, 0);
    EXPECT_NE(missing.err.find("missing.svg"), std::string::npos) << missing.err;
}

TEST_F(TravexHostTest, LibrariesThatAreNotThePluginAreRefused)
{
    std::string drawing = WriteSmallDrawing(folder);
    std::string text = folder + "/text.aip";
    WriteBytes(text, "not a library\n");
    struct Case {
        std::string plugin;
        const char* inMessage;
    };
    const Case cases[] = {
        {text, "cannot load the plug-in"},
        {"libz.so.1", "no \"PLUGIN\" property list"},
        {folder + "/none.aip", "none.aip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plugin);
        HostRun run = RunTravexHost(folder, {"--plugin", c.plugin, drawing, "list"});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.err.find(c.plugin), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.inMessage), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(TravexHostTest, StepsThatCannotBeDoneEndTheRunWithAMessage)
{
    std::string drawing = WriteSmallDrawing(folder);
    struct Case {
        std::vector<std::string> args;
        const char* inMessage;
    };
    std::string script = folder + "/steps.txt";
    WriteBytes(script, "# a comment\nlist\nfly away\n");
    const Case cases[] = {
        {{drawing, "jump"}, "unknown step \"jump\""},
        {{drawing, "menu No Such Item"}, "no menu item \"No Such Item\""},
        {{drawing, "message \"AI Menu\""}, "usage: message CALLER SELECTOR"},
        {{drawing, "startup"}, "the plug-in is started already"},
        {{"--script", script, drawing}, "steps.txt: step \"fly away\""},
        {{"--script", folder + "/none.txt", drawing}, "none.txt: cannot read the script"},
        {{"--missing-suite", "AI Teleport Suite", drawing}, "no such suite"},
        {{"--frobnicate", drawing}, "unknown option --frobnicate"},
        {{}, "no drawing given"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inMessage);
        HostRun run = RunTravexHost(folder, c.args);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.err.find(c.inMessage), std::string::npos) << run.err;
    }
}

TEST_F(TravexHostTest, SaveWithoutChangesGivesTheFileBack)
{
    for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
        if (entry.path().extension() != ".svg")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string saved = folder + "/saved-" + entry.path().filename().string();
        HostRun run = RunTravexHost(folder, {entry.path().string(), "save " + saved});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(ReadBytes(saved), ReadBytes(entry.path().string()));
    }
}

TEST_F(TravexHostTest, NoReloadWhileAMessageIsRunning)
{
    // the hook runs while the About box of an "About" message is open
    HostRun run = RunTravexHost(folder, {WriteSmallDrawing(folder), "hook inside reload", "ui hook inside; press 1",
                                         "about", "shutdown", "startup", "menus", "tools", "status"});
    EXPECT_NE(run.out.find("hook inside: step \"reload\": the plug-in cannot be reloaded while it handles a message"),
              std::string::npos)
        << run.out;
    // shut down and started again, with nothing left over and the items and tool there once
    EXPECT_NE(run.out.find("suites held 0, acquired 452, released 452; blocks held 1; strings held 0; alerts 0"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(LinesStartingWith(run.out, "  item ").size(), 4u) << run.out;
    EXPECT_EQ(LinesStartingWith(run.out, "tool ").size(), 1u) << run.out;
}

TEST_F(TravexHostTest, RobotStepsOfSeveralOptionsAreOneScript)
{
    std::string drawing = WriteSmallDrawing(folder);
    HostRun run = RunTravexHost(folder, {"--ui", "press 1", "--ui", "press 1", drawing, "about", "about"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::string file = folder + "/robot.txt";
    WriteBytes(file, "press 1\n");
    HostRun both = RunTravexHost(folder, {"--ui", "press 1", "--ui-file", file, drawing, "about"});
    EXPECT_EQ(both.exitStatus, 1);
    EXPECT_NE(both.err.find("not both"), std::string::npos) << both.err;
}

TEST_F(TravexHostTest, DialogThatTheRobotCannotAnswerIsClosedAndReported)
{
    // no robot steps: the About box is closed at once and the run says so, never hangs
    HostRun run = RunTravexHost(folder, {"--ui-timeout", "200", WriteSmallDrawing(folder), "about", "status"});
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_NE(run.out.find("suites held 0"), std::string::npos) << run.out;
}

TEST_F(TravexHostTest, ExamplesAreListedAndNotRewrittenWhenNothingChanged)
{
    for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
        if (entry.path().extension() != ".svg")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string copy = folder + "/" + entry.path().filename().string();
        std::filesystem::copy_file(entry.path(), copy, std::filesystem::copy_options::overwrite_existing);
        std::string before = ReadBytes(copy);
        HostRun run = RunTravexHost(folder, {"--ui", "press 1", copy, "list", "menu TRAVEX-Pro...", "menus"});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_NE(run.out.find("layer 0 "), std::string::npos) << run.out;
        EXPECT_EQ(ReadBytes(copy), before);
    }
}

}  // namespace
