// "Plotter Configuration..." through the real travex-host, the real TRAVEX-Pro.aip and the
// configuration program it starts from the settings folder: the real TRVXSerConfig driven
// by its own robot steps, or a stand-in script where the program has to crash or vanish.
// Only an OK of this run rebuilds the plot area and the page record; every other ending
// leaves the drawing byte for byte.
#include "tests/e2e/host_run.h"
#include "platform/registry_store.h"
#include "tests/support/file_size_limit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char kConfigMenu[] = "menu プロッタ設定...";
const char kValuesKey[] = "Software\\Brenvoltic\\TRVXSerConfig";
const char* const kValueNames[] = {"Orientation", "Size",       "Width",        "Height",        "Scale",
                                   "pisroll",     "rPage.left", "rPage.top",    "rPage.right",   "rPage.bottom",
                                   "rPaper.left", "rPaper.top", "rPaper.right", "rPaper.bottom", "iFstPage",
                                   "iLstPage",    "RetVal"};

std::string SettingsFolder() { return TestSettingsFolder(); }
std::string ProgramPath() { return SettingsFolder() + "/TRVXSerConfig"; }
std::string SettingsFilePath() { return SettingsFolder() + "/TRAVEX2K.INI"; }

// A shell script in the program's place.
void InstallScriptProgram(const std::string& body, fs::perms mode = fs::perms(0755))
{
    WriteBytes(ProgramPath(), "#!/bin/sh\n" + body + "\n");
    fs::permissions(ProgramPath(), mode);
}

typedef std::map<std::string, int32_t> Values;

void SetValues(const Values& values)
{
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, kValuesKey, &key), kRegistrySuccess);
    for (const auto& [name, value] : values)
        ASSERT_EQ(SetRegistryDword(key, name.c_str(), static_cast<uint32_t>(value)), kRegistrySuccess) << name;
    CloseRegistryKey(key);
}

// The sixteen page values and RetVal, by name; a missing value is absent.
Values ReadValues()
{
    Values values;
    RegistryKey key = nullptr;
    if (OpenRegistryKey(kRegistryCurrentUser, kValuesKey, &key) != kRegistrySuccess)
        return values;
    for (const char* name : kValueNames) {
        uint32_t value = 0;
        if (QueryRegistryDword(key, name, &value) == kRegistrySuccess)
            values[name] = static_cast<int32_t>(value);
    }
    CloseRegistryKey(key);
    return values;
}

// A page record as the configuration program writes it; rectangles left, top, right, bottom.
Values PageValues(int32_t orientation, int32_t size, int32_t width, int32_t height, int32_t scale,
                  const int32_t page[4], const int32_t paper[4])
{
    return Values{{"Orientation", orientation},
                  {"Size", size},
                  {"Width", width},
                  {"Height", height},
                  {"Scale", scale},
                  {"pisroll", 0},
                  {"rPage.left", page[0]},
                  {"rPage.top", page[1]},
                  {"rPage.right", page[2]},
                  {"rPage.bottom", page[3]},
                  {"rPaper.left", paper[0]},
                  {"rPaper.top", paper[1]},
                  {"rPaper.right", paper[2]},
                  {"rPaper.bottom", paper[3]},
                  {"iFstPage", 1},
                  {"iLstPage", 1}};
}

// The configuration layer of a saved drawing: its opening tag and what it holds.
std::string ConfigLayerElement(const std::string& svg)
{
    std::smatch layer;
    if (!std::regex_search(svg, layer, std::regex("<g[^>]*inkscape:label=\"TRAVEX-Pro Configuration Layer\"[^>]*>")))
        return "";
    const size_t start = size_t(layer.position());
    return svg.substr(start, svg.find("</g>", start) - start);
}

std::vector<std::string> Matches(const std::string& text, const std::string& pattern)
{
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str());
    return found;
}

// The "d" of each path of the layer, in the file's order (the paper first).
std::vector<std::string> PathData(const std::string& layer) { return Matches(layer, "<path[^>]* d=\"([^\"]*)\""); }

// The text records of the layer, CR and LF as the file keeps them (%0D%0A).
std::vector<std::string> Records(const std::string& layer) { return Matches(layer, "travex:content=\"([^\"]*)\""); }

// A record "TRVX_2" as the file keeps it, from its seven data lines.
std::string PageRecordContent(const std::vector<std::string>& lines)
{
    std::string text = "TRVX_2 Version = 2.01%0D%0A%0D%0ATPRINT/%0D%0A";
    for (size_t i = 0; i < lines.size(); ++i)
        text += "0" + std::to_string(i) + ": " + lines[i] + "%0D%0A";
    return text + "/TPRINT%0D%0A";
}

// What travex-host itself reported as failed (the programs' own lines aside).
std::vector<std::string> HostErrors(const HostRun& run) { return LinesStartingWith(run.err, "travex-host:"); }

class ConfigurationCommandE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        drawing = WriteSmallDrawing(folder);
    }

    std::string StepsFile(const std::string& name, const std::string& steps)
    {
        std::string path = folder + "/" + name + ".steps";
        WriteBytes(path, steps);
        return path;
    }

    // An A4 page placed with the plot-area tool, its lower-left corner at (100, 200): the
    // page spans 100,200 to 695,1041 and the paper 57,157 to 737,1083.
    void PlacePlotArea()
    {
        const int32_t page[4] = {0, 0, 210, 297};
        const int32_t paper[4] = {-15, -15, 225, 312};
        SetValues(PageValues(0, 601, 210, 297, 10000, page, paper));
        HostRun run = RunTravexHost(folder, {drawing, "tool drag 10,20 100,200"});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        ASSERT_EQ(PathData(ConfigLayerElement(ReadBytes(drawing))).size(), 2u);
    }

    std::string folder;
    std::string drawing;
};

TEST_F(ConfigurationCommandE2E, OkWithAnotherPaperAndOrientationRebuildsThePlotAreaWhereItLay)
{
    PlacePlotArea();
    InstallIntoSettingsFolder("TRVXSerConfig");
    // A3 (row 5 of the paper list) in landscape, OK
    HostRun run =
        RunTravexHost(folder, {"--config-ui", "choose 101 5;radio 111;press 1", drawing, kConfigMenu, "list"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(HostErrors(run).empty()) << run.err;
    EXPECT_EQ(run.alerts, "");

    // 297 x 420 turned: paper 420 x 297 mm, the page inset by the default 15 mm margins and
    // shifted to start at 0, 0 (left, top, right, bottom)
    const int32_t page[4] = {0, 0, 390, 267};
    const int32_t paper[4] = {-15, -15, 405, 282};
    Values expected = PageValues(1, 606, 297, 420, 10000, page, paper);
    expected["RetVal"] = 1;
    EXPECT_EQ(ReadValues(), expected);

    // k = 72 / 25.4 points a millimetre, the origin kept at (100, 200): page right
    // T(390 k) + 100 = 1205, height d = T(267 k) = 756, so top 956; paper left T(-15 k + 100)
    // = 57, right T(405 k + 100) = 1248, bottom T(-282 k + 200) + d = 157, top T(15 k + 200)
    // + d = 998
    const std::string listed = run.out.substr(run.out.find("\"TRAVEX-Pro Configuration Layer\""));
    EXPECT_NE(listed.find("0.1pt bounds 100,200 1205,956"), std::string::npos) << listed;
    EXPECT_NE(listed.find("0.1pt bounds 57,157 1248,998"), std::string::npos) << listed;

    // the saved drawing, y = 100 - v: the paper and the page, and one page record replaced
    const std::string layer = ConfigLayerElement(ReadBytes(drawing));
    EXPECT_NE(layer.find("sodipodi:insensitive=\"true\""), std::string::npos) << "locked again";
    EXPECT_EQ(PathData(layer), (std::vector<std::string>{"M57,-898 L1248,-898 L1248,-57 L57,-57 Z",
                                                         "M100,-856 L1205,-856 L1205,-100 L100,-100 Z"}));
    // orientation 1, size 606, width 297, height 420, scale 10000, roll 0; rPage as top,
    // left, right, bottom: 0, 0, 390, 267; rPaper -15, -15, 405, 282; pages 1 and 1
    EXPECT_EQ(Records(layer),
              std::vector<std::string>{PageRecordContent(
                  {"010000005E0200002901", "0000A401000010270000", "00000000000000000000", "0000860100000B010000",
                   "F1FFFFFFF1FFFFFF9501", "00001A01000001000000", "01000000"})});
    EXPECT_NE(ReadBytes(drawing).find("<rect x=\"10\" y=\"10\" width=\"30\" height=\"20\""), std::string::npos)
        << "the user's art stays as it was";
}

TEST_F(ConfigurationCommandE2E, OkWithoutAConfigurationLayerPutsThePageAtTheOrigin)
{
    InstallIntoSettingsFolder("TRVXSerConfig");
    // no page values yet: the first paper of the list (A0, 841 x 1190), portrait, at 200 %
    HostRun run = RunTravexHost(folder, {"--config-ui", "choose 106 4;press 1", drawing, kConfigMenu});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.alerts, "");
    EXPECT_EQ(ReadValues()["RetVal"], 1);

    // k = 72 / 25.4 / 2; page 811 x 1160 mm from 0, 0: right T(811 k) = 1149, d = T(1160 k)
    // = 1644; paper from -15, -15 to 826, 1175: left T(-15 k) = -21, right T(826 k) = 1170,
    // bottom T(-1175 k) + d = -21, top T(15 k) + d = 1665
    const std::string layer = ConfigLayerElement(ReadBytes(drawing));
    EXPECT_EQ(PathData(layer), (std::vector<std::string>{"M-21,-1565 L1170,-1565 L1170,121 L-21,121 Z",
                                                         "M0,-1544 L1149,-1544 L1149,100 L0,100 Z"}));
    EXPECT_EQ(Records(layer),
              std::vector<std::string>{PageRecordContent(
                  {"00000000590200004903", "0000A6040000204E0000", "00000000000000000000", "00002B03000088040000",
                   "F1FFFFFFF1FFFFFF3A03", "00009704000001000000", "01000000"})});
}

TEST_F(ConfigurationCommandE2E, EveryEndingButThisRunsOkLeavesTheDrawingAsItWas)
{
    enum Program { kRealProgram, kScript, kNoProgram, kNotExecutable };
    struct Case {
        const char* name;
        Program program;
        const char* steps;  // the real program's steps, or the script's body
        int32_t retVal;
    };
    const Case cases[] = {
        {"Cancel after changes", kRealProgram, "choose 101 5;radio 111;press 2", 2},
        {"the close box", kRealProgram, "radio 111;close", 0},
        // OK with a folder where the settings file goes: the program says so and answers 3
        {"OK that could not save", kRealProgram, "press 1;wait 120;press 1", 3},
        {"killed", kScript, "kill -KILL $$", 99},
        {"crashed", kScript, "kill -SEGV $$", 99},
        {"ended without an answer", kScript, "exit 0", 99},
        {"missing", kNoProgram, "", 99},
        {"not executable", kNotExecutable, "exit 0", 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        PlacePlotArea();
        // another page in the registry and an OK left from an earlier run: were that OK taken
        // for this run's answer, the plot area would change
        const int32_t page[4] = {0, 0, 390, 267};
        const int32_t paper[4] = {-15, -15, 405, 282};
        Values before = PageValues(1, 606, 297, 420, 20000, page, paper);
        before["RetVal"] = 1;
        SetValues(before);
        if (c.program == kRealProgram)
            InstallIntoSettingsFolder("TRVXSerConfig");
        else if (c.program != kNoProgram)
            InstallScriptProgram(c.steps, c.program == kScript ? fs::perms(0755) : fs::perms(0644));
        if (c.retVal == 3) {
            fs::remove(SettingsFilePath());
            fs::create_directories(SettingsFilePath());
        }
        const std::string settings = ReadBytes(SettingsFilePath());
        const std::string store = ReadBytes(RegistryStorePath());
        const std::string placed = ReadBytes(drawing);

        std::vector<std::string> args;
        if (c.program == kRealProgram)
            args = {"--config-ui", c.steps};
        args.insert(args.end(), {drawing, kConfigMenu});
        HostRun run = RunTravexHost(folder, args);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_TRUE(HostErrors(run).empty()) << run.err;
        EXPECT_EQ(run.alerts, "") << "the command ends quietly";
        EXPECT_EQ(ReadBytes(drawing), placed);
        Values after = before;
        after["RetVal"] = c.retVal;
        EXPECT_EQ(ReadValues(), after);
        // the store's text too: only the answer differs
        char answer[40];
        std::snprintf(answer, sizeof answer, "\"RetVal\"=dword:%08x", uint32_t(c.retVal));
        EXPECT_EQ(ReadBytes(RegistryStorePath()),
                  std::regex_replace(store, std::regex("\"RetVal\"=dword:00000001"), answer));
        if (c.retVal != 3) {
            EXPECT_EQ(ReadBytes(SettingsFilePath()), settings);
        }
    }
}

TEST_F(ConfigurationCommandE2E, ProgramStartsBareFromTheSettingsFolderWhileTheHostSleepsInItsWait)
{
    PlacePlotArea();
    // The stand-in notes what it was given, and how the host's process stands while it runs:
    // asleep in its wait five looks in a row, or busy when that never happens.
    const std::string notes = folder + "/notes.txt";
    InstallScriptProgram(
        "out=" + notes +
        "\n"
        "echo \"arguments $#\" > \"$out\"\n"
        "echo \"program $0\" >> \"$out\"\n"
        "echo \"folder $(pwd)\" >> \"$out\"\n"
        "grep '\"RetVal\"' \"$XDG_CONFIG_HOME/travex/registry.reg\" >> \"$out\"\n"
        "cat \"$TRVXSERCONFIG_UI_FILE\" >> \"$out\"\n"
        "state=busy; asleep=0; n=0\n"
        "while [ $n -lt 400 ]; do\n"
        "  if [ \"$(cut -d' ' -f3 /proc/$PPID/stat)\" = S ]; then asleep=$((asleep + 1)); else asleep=0; fi\n"
        "  if [ $asleep -ge 5 ]; then state=asleep; break; fi\n"
        "  n=$((n + 1)); sleep 0.02\n"
        "done\n"
        "echo \"host $state\" >> \"$out\"\n");
    const std::string placed = ReadBytes(drawing);
    HostRun run = RunTravexHost(folder, {"--config-ui", "radio 111;press 1", drawing, kConfigMenu});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(ReadBytes(notes), "arguments 0\n"
                                "program " +
                                    ProgramPath() +
                                    "\n"
                                    "folder " +
                                    fs::current_path().string() +
                                    "\n"
                                    "\"RetVal\"=dword:00000063\n"
                                    "radio 111\n"
                                    "press 1\n"
                                    "host asleep\n");
    EXPECT_EQ(ReadValues()["RetVal"], 99);
    EXPECT_EQ(ReadBytes(drawing), placed);
}

TEST_F(ConfigurationCommandE2E, EachProgramTakesOnlyItsOwnRobotSteps)
{
    // The host's steps answer its About box; the program's would fail there (no tab 1082),
    // and the host's would press OK in the program's dialog. Files: "host" (press 1),
    // "program" (tab 1082 4, press 2), "other" (press 1).
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> environment;
    };
    const Case cases[] = {
        {"host's from its variable, program's from the option",
         {"--config-ui", "tab 1082 4;press 2"},
         {"TRAVEX_UI_SCRIPT=host"}},
        {"host's from the option, program's from its variable", {"--ui", "press 1"}, {"TRVXSERCONFIG_UI_FILE=program"}},
        {"host's from the option, program's from a file over its variable",
         {"--ui", "press 1", "--config-ui-file", "program"},
         {"TRVXSERCONFIG_UI_FILE=other"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        InstallIntoSettingsFolder("TRVXSerConfig");
        const std::map<std::string, std::string> files = {{"host", StepsFile("host", "press 1\n")},
                                                          {"program", StepsFile("program", "tab 1082 4\npress 2\n")},
                                                          {"other", StepsFile("other", "press 1\n")}};
        auto named = [&](std::string text) {
            for (const auto& [name, path] : files)
                if (text == name || text.ends_with("=" + name))
                    text.replace(text.size() - name.size(), name.size(), path);
            return text;
        };
        std::vector<std::string> args;
        for (const std::string& option : c.options)
            args.push_back(named(option));
        std::vector<std::string> environment;
        for (const std::string& entry : c.environment)
            environment.push_back(named(entry));
        const std::string before = ReadBytes(drawing);
        args.insert(args.end(), {drawing, kConfigMenu, "about", "dialogs"});
        HostRun run = RunTravexHost(folder, args, environment);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(ReadValues()["RetVal"], 2) << "the program pressed Cancel";
        EXPECT_EQ(ReadBytes(drawing), before);
        EXPECT_EQ(LinesStartingWith(run.out, "dialog "), std::vector<std::string>{"dialog 16150 \"バージョン情報\""});
    }
}

TEST_F(ConfigurationCommandE2E, AScriptGivesEachStartItsSteps)
{
    InstallIntoSettingsFolder("TRVXSerConfig");
    const std::string script = StepsFile("script", "config-ui press 2\n" + std::string(kConfigMenu) +
                                                       "\n"
                                                       "list\n"
                                                       "config-ui choose 106 4;press 1\n" +
                                                       kConfigMenu +
                                                       "\n"
                                                       "list\n");
    HostRun run = RunTravexHost(folder, {"--script", script, drawing});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> documents = LinesStartingWith(run.out, "document ");
    ASSERT_EQ(documents.size(), 2u) << run.out;
    EXPECT_TRUE(documents[0].ends_with(" 1 layers")) << "Cancel: no plot area";
    EXPECT_TRUE(documents[1].ends_with(" 2 layers")) << "OK: the plot area";
    EXPECT_NE(run.out.find("0.1pt bounds 0,0 1149,1644"), std::string::npos) << run.out;
    EXPECT_EQ(ReadValues()["RetVal"], 1);
}

TEST_F(ConfigurationCommandE2E, HelpTellsHowToGiveTheProgramItsSteps)
{
    HostRun run = RunTravexHost(folder, {"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* part : {"--config-ui STEPS", "--config-ui-file FILE", "TRVXSERCONFIG_UI_FILE", "config-ui STEPS"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
}

TEST_F(ConfigurationCommandE2E, BadProgramStepsAreRefusedBeforeAnythingRuns)
{
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> inMessage;
    };
    const std::string missing = folder + "/no-such.steps";
    const std::string hook = StepsFile("hook", "hook later\n");
    const Case cases[] = {
        {"unknown step", {"--config-ui", "press 1;jump 3"}, {"--config-ui", "jump 3"}},
        {"hook step", {"--config-ui-file", hook}, {hook, "hook later", "no hooks"}},
        {"missing file", {"--config-ui-file", missing}, {missing, "cannot read"}},
        {"both forms", {"--config-ui", "press 1", "--config-ui-file", hook}, {"--config-ui-file", "not both"}},
        {"no steps given", {"--config-ui"}, {"--config-ui needs steps"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = ReadBytes(drawing);
        std::vector<std::string> args = c.options;
        if (c.options.size() > 1)
            args.insert(args.end(), {drawing, kConfigMenu});
        HostRun run = RunTravexHost(folder, args);
        EXPECT_EQ(run.exitStatus, 1);
        for (const std::string& part : c.inMessage)
            EXPECT_NE(run.err.find(part), std::string::npos) << part << " in " << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadBytes(drawing), before);
        EXPECT_EQ(ReadValues().count("RetVal"), 0u) << "the plug-in never ran";
    }
}

TEST_F(ConfigurationCommandE2E, AnOkLeftFromAnEarlierRunIsNotTakenWhenTheStoreCannotBeWritten)
{
    PlacePlotArea();
    const int32_t page[4] = {0, 0, 390, 267};
    const int32_t paper[4] = {-15, -15, 405, 282};
    Values before = PageValues(1, 606, 297, 420, 20000, page, paper);
    before["RetVal"] = 1;
    SetValues(before);
    // a store larger than the files may grow: RetVal 99 cannot be written, while the
    // drawing could still be saved
    RegistryKey key = nullptr;
    ASSERT_EQ(CreateRegistryKey(kRegistryCurrentUser, "Software\\Filler", &key), kRegistrySuccess);
    const std::string filler(6000, 'x');
    ASSERT_EQ(SetRegistryValue(key, "filler", kRegSz, filler.c_str(), uint32_t(filler.size() + 1)), kRegistrySuccess);
    CloseRegistryKey(key);
    const std::string started = folder + "/started";
    InstallScriptProgram("touch " + started);
    const std::string store = ReadBytes(RegistryStorePath());
    const std::string placed = ReadBytes(drawing);
    ASSERT_GT(store.size(), 4096u);
    ASSERT_LT(placed.size(), 3000u);

    HostRun run;
    {
        FileSizeLimit limit(4096);
        run = RunTravexHost(folder, {drawing, kConfigMenu});
    }
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(fs::exists(started)) << "the program is still started";
    EXPECT_EQ(ReadBytes(RegistryStorePath()), store);
    EXPECT_EQ(ReadBytes(drawing), placed);
}

}  // namespace
