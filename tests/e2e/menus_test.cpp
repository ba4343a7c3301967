// The plug-in's menu items, About group and tool as the real host records them, in both
// languages, with and without the host's own "MV_PLUGINS_ABOUT" group.
#include "tests/e2e/host_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char kJapaneseConfig[] = "  item \"プロッタ設定...\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kJapaneseOutput[] = "  item \"プロットアウト...\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kEnglishConfig[] = "  item \"Plotter Configuration...\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kEnglishOutput[] = "  item \"Output Plotter\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kAboutGroupItem[] = "  item \"About Plug-ins (Moravelle INC.)\" key \"MV_PLUGINS_ABOUT\" options 0";
const char kAboutItem[] = "  item \"TRAVEX-Pro...\" key \"MV_PLUGINS_ABOUT_TRAVEX-Pro\" options 0";

std::string ToolLine(const std::string& title)
{
    return "tool \"Plot Area Tool\" number 14 title \"" + title + "\" tooltip \"" + title +
           "\" icons 16101 16102 type 2 group 12 \"Adobe Scroll Tool\" toolset 0 options 3";
}

void WritePrefs(const std::string& text)
{
    ResetTestHome();
    if (text.empty())
        return;
    std::string folder = TestHome() + "/Documents/Adobe/Illustrator/Prefs";
    std::filesystem::create_directories(folder);
    WriteBytes(folder + "/TRAVEX-Pro.ini", text);
}

TEST(MenusTest, ItemsGroupsAndToolInBothLanguages)
{
    struct Case {
        const char* prefs;
        std::vector<std::string> items;
        std::string tool;
    };
    const Case cases[] = {
        {"", {kAboutGroupItem, kJapaneseConfig, kJapaneseOutput, kAboutItem}, ToolLine("プロット領域ツール")},
        {"language = JAPANESE\n", {kAboutGroupItem, kJapaneseConfig, kJapaneseOutput, kAboutItem}, ToolLine("プロット領域ツール")},
        {"language = ENGLISH\n", {kAboutGroupItem, kEnglishConfig, kEnglishOutput, kAboutItem}, ToolLine("Plot Area Tool")},
        {"language=KOREAN\r\n", {kAboutGroupItem, kEnglishConfig, kEnglishOutput, kAboutItem}, ToolLine("Plot Area Tool")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefs);
        WritePrefs(c.prefs);
        std::string folder = MakeTestFolder("menus");
        HostRun run = RunTravexHost(folder, {WriteSmallDrawing(folder), "menus", "tools"});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(LinesStartingWith(run.out, "  item "), c.items) << run.out;
        EXPECT_EQ(LinesStartingWith(run.out, "group \"MV_PLUGINS_ABOUT\""),
                  std::vector<std::string>{"group \"MV_PLUGINS_ABOUT\" submenu of \"MV_PLUGINS_ABOUT\""});
        EXPECT_EQ(LinesStartingWith(run.out, "tool "), std::vector<std::string>{c.tool});
        EXPECT_EQ(run.alerts, "");
    }
}

TEST(MenusTest, ExistingAboutGroupTakesTheAboutItemAlone)
{
    WritePrefs("");
    std::string folder = MakeTestFolder("existing-group");
    HostRun run = RunTravexHost(folder, {"--menu-group", "MV_PLUGINS_ABOUT", WriteSmallDrawing(folder), "menus"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "  item "), (std::vector<std::string>{kJapaneseConfig, kJapaneseOutput, kAboutItem}))
        << run.out;
    // the host's own group, no submenu made
    EXPECT_EQ(LinesStartingWith(run.out, "group \"MV_PLUGINS_ABOUT\""),
              std::vector<std::string>{"group \"MV_PLUGINS_ABOUT\""});
}

TEST(MenusTest, ProductNameFromThePreferencesNamesTheAboutItemAndBox)
{
    WritePrefs("language = ENGLISH\nproduct = MyPlotter\n");
    std::string folder = MakeTestFolder("product");
    HostRun run = RunTravexHost(folder, {"--ui", "press 1", WriteSmallDrawing(folder), "menus", "menu MyPlotter...",
                                         "dialogs"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> items = LinesStartingWith(run.out, "  item ");
    ASSERT_EQ(items.size(), 4u) << run.out;
    EXPECT_EQ(items[3], "  item \"MyPlotter...\" key \"MV_PLUGINS_ABOUT_MyPlotter\" options 0");
    // the English About box names the product and the version
    EXPECT_NE(run.out.find("dialog 16250 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  control 101 \"MyPlotter 4.5.0.5\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  control 1 \"OK\""), std::string::npos) << run.out;
}

TEST(MenusTest, JapaneseAboutBoxIsDialog16150)
{
    WritePrefs("");
    std::string folder = MakeTestFolder("about-ja");
    HostRun run = RunTravexHost(folder, {"--ui", "press 1", WriteSmallDrawing(folder), "about", "dialogs"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("dialog 16150 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  control 101 \"TRAVEX-Pro 4.5.0.5\""), std::string::npos) << run.out;
}

}  // namespace
