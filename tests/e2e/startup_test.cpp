// Start-up when the host refuses one of its steps: what the plug-in reports, which menu
// items exist, and that the tool is registered only after the menus.
#include "tests/e2e/host_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kConfig[] = "  item \"プロッタ設定...\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kConfigNoUpdate[] = "  item \"プロッタ設定...\" key \"TRAVEX-Pro Group\" options 0";
const char kOutput[] = "  item \"プロットアウト...\" key \"TRAVEX-Pro Group\" options 0 auto 1 0 0 0 0 0x40 0x0";
const char kOutputNoUpdate[] = "  item \"プロットアウト...\" key \"TRAVEX-Pro Group\" options 0";
const char kGroupItem[] = "  item \"About Plug-ins (Moravelle INC.)\" key \"MV_PLUGINS_ABOUT\" options 0";
const char kAbout[] = "  item \"TRAVEX-Pro...\" key \"MV_PLUGINS_ABOUT_TRAVEX-Pro\" options 0";
const char kOutOfMemory[] = "error: Error=ffffff94, \xFF\xFF\xFF\x94 (caller : SP Interface, selector : Startup)\n";
// the host's answer for an item into a group it does not have
const char kBadParameter[] = "error: Error=5041524d, PARM (caller : SP Interface, selector : Startup)\n";

TEST(StartupTest, RefusedStepsAreReportedOnceAndStopTheToolsRegistration)
{
    struct Case {
        const char* fail;
        const char* menuGroup;          // a host group that exists beforehand, or null
        std::vector<std::string> items;
        bool fTool;
        const char* alert;
    };
    const Case cases[] = {
        {"AllocateBlock", nullptr, {}, false, kOutOfMemory},
        {"AddMenuItem#1", nullptr, {}, false, kOutOfMemory},
        {"AddMenuItem#2", nullptr, {kConfigNoUpdate}, false, kOutOfMemory},
        // the configuration item's update request is not checked
        {"UpdateMenuItemAutomatically#1", nullptr, {kGroupItem, kConfigNoUpdate, kOutput, kAbout}, true, ""},
        {"UpdateMenuItemAutomatically#2", nullptr, {kConfig, kOutputNoUpdate}, false, kOutOfMemory},
        {"CountMenuGroups", nullptr, {kConfig, kOutput}, false, kOutOfMemory},
        // a group that cannot be read ends the search as if none matched; the submenu that
        // cannot be made then is not reported, and the About item goes into the existing group
        {"GetNthMenuGroup#1", "MV_PLUGINS_ABOUT", {kGroupItem, kConfig, kOutput, kAbout}, true, ""},
        {"GetMenuGroupName", "MV_PLUGINS_ABOUT", {kGroupItem, kConfig, kOutput, kAbout}, true, ""},
        // no About group item, so no group: the About item itself fails
        {"AddMenuItem#3", nullptr, {kConfig, kOutput}, false, kBadParameter},
        {"AddMenuGroupAsSubMenu", nullptr, {kGroupItem, kConfig, kOutput}, false, kBadParameter},
        {"AddTool", nullptr, {kGroupItem, kConfig, kOutput, kAbout}, false, kOutOfMemory},
        {"GetToolNumberFromName", nullptr, {kGroupItem, kConfig, kOutput, kAbout}, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        ResetTestHome();
        std::string folder = MakeTestFolder("startup");
        std::vector<std::string> args = {"--fail", c.fail};
        if (c.menuGroup != nullptr)
            args.insert(args.end(), {"--menu-group", c.menuGroup});
        args.insert(args.end(), {WriteSmallDrawing(folder), "menus", "tools", "status"});
        HostRun run = RunTravexHost(folder, args);
        EXPECT_EQ(LinesStartingWith(run.out, "  item "), c.items) << run.out;
        EXPECT_EQ(LinesStartingWith(run.out, "tool ").size(), c.fTool ? 1u : 0u) << run.out;
        EXPECT_EQ(run.alerts, c.alert);
        EXPECT_EQ(run.exitStatus, *c.alert ? 3 : 0) << run.err;
        EXPECT_NE(run.out.find("suites held 0"), std::string::npos) << run.out;
    }
}

TEST(StartupTest, MessagesAfterAFailedStartupDoNothing)
{
    ResetTestHome();
    std::string folder = MakeTestFolder("no-globals");
    HostRun run = RunTravexHost(folder, {"--fail", "AllocateBlock", WriteSmallDrawing(folder), "about",
                                         "message \"AI Menu\" \"AI Go\"", "message \"AI Tool\" \"AI Mouse Down\"",
                                         "status"});
    EXPECT_EQ(run.exitStatus, 3) << run.err;
    EXPECT_EQ(run.alerts, kOutOfMemory);
    EXPECT_NE(run.out.find("suites held 0, acquired 452, released 452; blocks held 0"), std::string::npos) << run.out;
}

TEST(StartupTest, ToolWithoutTheScrollToolNumberGoesIntoNoGroup)
{
    ResetTestHome();
    std::string folder = MakeTestFolder("no-scroll");
    HostRun run = RunTravexHost(folder, {"--fail", "GetToolNumberFromName", WriteSmallDrawing(folder), "tools"});
    ASSERT_EQ(LinesStartingWith(run.out, "tool ").size(), 1u) << run.out;
    EXPECT_NE(run.out.find(" group 0 toolset 0 options 3"), std::string::npos) << run.out;
}

}  // namespace
