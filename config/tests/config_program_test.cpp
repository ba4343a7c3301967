// TRVXSerConfig run as its own process, as the plug-in starts it: no arguments, its UI
// robot steps from TRVXSERCONFIG_UI_FILE, its answer in RetVal, exit code 0.
#include "config/tests/config_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProgramRun {
    int exitStatus = -1;
    std::string err;
};

std::string ProgramPath()
{
    return std::string(TRAVEX_BINARY_DIR) + "/bin/TRVXSerConfig";
}

// The program with this process's environment (its home) and the extra "NAME=VALUE"s.
ProgramRun RunProgram(const std::vector<std::string>& extraEnvironment)
{
    ProgramRun run;
    std::string folder = MakeTestFolder("run");
    std::string errPath = folder + "/config.err";
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const std::string& extra : extraEnvironment)
            replaced = replaced || entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0;
        if (!replaced)
            envStrings.push_back(entry);
    }
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    envStrings.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& entry : envStrings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = ProgramPath();
    char* argv[] = {path.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.err = ReadBytes(errPath);
    return run;
}

std::string StepsFile(const std::string& name, const std::string& steps)
{
    std::string path = MakeTestFolder("steps-" + name) + "/steps.txt";
    WriteBytes(path, steps);
    return path;
}

class ConfigProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        WriteBytes(TestSettingsFile(), SeededSettingsFile(9));
        SeedRegistry();
        store_ = RegistryStoreBytes();
    }
    std::string store_;
};

TEST_F(ConfigProgramTest, OkSavesTheSettingsAndThePageRecordAndAnswers1)
{
    ProgramRun run = RunProgram({std::string("TRVXSERCONFIG_UI_FILE=") + StepsFile("ok", "press 1\n")});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err.find("ui robot"), std::string::npos) << run.err;

    // The file as before, but for the display unit word (paper list at 1538, unit at 6934 in
    // it): a stored unit of 9 is millimetres, and saved so.
    std::string expected = SeededSettingsFile(9);
    Put16(expected, 8472, 1);
    Put32(expected, 2 + 364, 0x1E0200);   // pen-down joining: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");

    // A0 landscape with sheet margins top 10, left 20, right 30, bottom 40.
    std::map<std::string, int32_t> v = ConfigValues();
    EXPECT_EQ(v["RetVal"], 1);
    const std::pair<const char*, int32_t> page[] = {{"Orientation", 1}, {"Size", 601}, {"Width", 841},
        {"Height", 1190}, {"Scale", 10000}, {"pisroll", 0}, {"rPage.left", 0}, {"rPage.top", 0},
        {"rPage.right", 1140}, {"rPage.bottom", 791}, {"rPaper.left", -10}, {"rPaper.top", -20},
        {"rPaper.right", 1180}, {"rPaper.bottom", 821}, {"iFstPage", 1}, {"iLstPage", 2}};
    for (const auto& p : page)
        EXPECT_EQ(v[p.first], p.second) << p.first;
}

// What the plug-in reads for its port: the port and serial line chosen on the plotter
// environment page, at the settings record's offsets (record at file offset 2).
TEST_F(ConfigProgramTest, ThePortAndLineChosenOnTheEnvironmentPageReachTheSettingsFile)
{
    ProgramRun run = RunProgram({std::string("TRVXSERCONFIG_UI_FILE=") +
        StepsFile("port", "tab 1082 1\nchoose 222 1\nchoose 223 5\nchoose 226 2\nchoose 227 2\npress 1\n")});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::string expected = SeededSettingsFile(9);
    Put16(expected, 8472, 1);          // the display unit word, saved as millimetres
    Put16(expected, 2 + 212, 1);       // wPort: COM2
    Put16(expected, 2 + 214, 5);       // wBaudIndex: 19200 bps
    Put16(expected, 2 + 220, 2);       // wParityIndex: even
    Put16(expected, 2 + 222, 2);       // wFlowControl: hardware
    Put32(expected, 2 + 364, 0x1E0200);   // pen-down joining: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_EQ(RetVal(), 1);
}

TEST_F(ConfigProgramTest, ChangesMadeOnThePagesFromTheStepsFileReachTheSettingsFile)
{
    ProgramRun run = RunProgram({std::string("TRVXSERCONFIG_UI_FILE=") +
        StepsFile("pages", "tab 1082 2\ntype 515 SP0;PG;\ntype 517 65000\ntab 1082 3\nchoose 304 5\n"
                           "tab 1082 4\nselect 401 10\ntype 402 B5\ntype 404 182\ntype 405 257\npress 407\n"
                           "press 1\n")});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err.find("ui robot"), std::string::npos) << run.err;

    std::string expected = SeededSettingsFile(9);
    Put16(expected, 8472, 1);                 // the unit word: millimetres
    Put32(expected, 2 + 364, 0x1E0200);       // pen-down joining: a stored 0 is saved as its meaning
    PutText(expected, 2 + 500, "SP0;PG;");    // footer
    Put32(expected, 2 + 352, 65000);          // TCP port
    Put16(expected, 2 + 56, 6);               // tool slot 1: drawing pen
    Put16(expected, 1538, 11);                // paper list: B5 appended as row 10
    std::string row(70, '\0');
    row.replace(0, 2, "B5");
    Put16(row, 64, 182);
    Put16(row, 66, 257);
    expected.replace(1538 + 2 + 70 * 10, 70, row);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_EQ(RetVal(), 1);
}

TEST_F(ConfigProgramTest, CancelAndTheCloseBoxChangeNothingButRetVal)
{
    struct Case {
        const char* steps;
        int32_t retVal;
    };
    for (Case c : {Case{"tab 1082 2\npress 2\n", 2}, Case{"tab 1082 4\nclose\n", 0}}) {
        SCOPED_TRACE(c.steps);
        SetUp();
        ProgramRun run = RunProgram({std::string("TRVXSERCONFIG_UI_FILE=") + StepsFile("cancel", c.steps)});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), SeededSettingsFile(9)), "equal");
        EXPECT_EQ(RegistryStoreBytes(), WithRetVal(store_, c.retVal));
    }
}

TEST_F(ConfigProgramTest, TheParentsRobotStepsNeverDriveIt)
{
    std::string parents = StepsFile("parent", "press 1\n");
    // Its own steps win over the parent's variable in its environment.
    ProgramRun run = RunProgram({std::string("TRAVEX_UI_SCRIPT=") + parents,
        std::string("TRVXSERCONFIG_UI_FILE=") + StepsFile("own", "press 2\n")});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(RetVal(), 2);

    // With the parent's steps only, no one answers: offscreen, the robot closes the dialog.
    SetUp();
    run = RunProgram({std::string("TRAVEX_UI_SCRIPT=") + parents, "TRAVEX_UI_TIMEOUT_MS=300"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(RetVal(), 0);
    EXPECT_NE(run.err.find("no step left for dialog 109"), std::string::npos) << run.err;
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), SeededSettingsFile(9)), "equal");
}

TEST_F(ConfigProgramTest, AStepsFileThatCannotBeReadClosesTheDialogAndSaysWhy)
{
    std::string missing = TestHome() + "/no-such-steps.txt";
    ProgramRun run = RunProgram({"TRVXSERCONFIG_UI_FILE=" + missing});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(RetVal(), 0);
    EXPECT_NE(run.err.find("TRVXSERCONFIG_UI_FILE"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
}

TEST_F(ConfigProgramTest, ASettingsFileThatCannotBeWrittenIsToldAndNotAnsweredWithOk)
{
    // A folder stands where the file goes: the program shows defaults, and OK cannot write
    // them. The message box is answered by the robot.
    std::filesystem::remove(TestSettingsFile());
    std::filesystem::create_directories(TestSettingsFile());
    ProgramRun run = RunProgram(
        {std::string("TRVXSERCONFIG_UI_FILE=") + StepsFile("gone", "press 1\nwait 120\npress 1\n")});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(RetVal(), 3);
    EXPECT_NE(run.err.find(TestSettingsFile()), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("ui robot"), std::string::npos) << run.err;
    std::string expected = WithRetVal(store_, 3);
    EXPECT_EQ(RegistryStoreBytes(), expected);   // no page record written
}

} // namespace
