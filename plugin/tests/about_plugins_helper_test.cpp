// The About group helper against the host's Menu and User suites.
#include "plugin/commands/about_plugins_helper.h"

#include "host/suites/basic_suite.h"
#include "host/suites/menu_suite.h"
#include "host/suites/suite_registry.h"
#include "host/suites/user_suite.h"

#include <gtest/gtest.h>

namespace {

class AboutPluginsHelperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::ResetHostMenus();
        host::ClearHostUserRecords();
        host::ResetSuiteCounts();
    }
    SDKAboutPluginsHelper helper{host::HostBasicSuite()};
};

TEST_F(AboutPluginsHelperTest, MakesTheGroupUnderAboutWhenMissing)
{
    AIMenuItemHandle item = nullptr;
    ASSERT_EQ(helper.AddAboutPluginsMenuItem(nullptr, "MV_PLUGINS_ABOUT", "About Plug-ins (Moravelle INC.)",
                                             "MV_PLUGINS_ABOUT_TRAVEX-Pro", "TRAVEX-Pro...", &item),
              kNoErr);
    host::MenuItemRecord* groupItem = host::FindHostMenuItem("About Plug-ins (Moravelle INC.)");
    ASSERT_NE(groupItem, nullptr);
    EXPECT_EQ(groupItem->group->name, "About");
    ASSERT_NE(groupItem->submenu, nullptr);
    EXPECT_EQ(groupItem->submenu->name, "MV_PLUGINS_ABOUT");
    EXPECT_EQ(reinterpret_cast<host::MenuItemRecord*>(item)->group, groupItem->submenu);
    // the Menu suite was held only for the call
    EXPECT_EQ(host::CountHeldSuites(), 0);
    EXPECT_EQ(host::HostSuiteCounts("AI Menu Suite").acquires, 1);
}

TEST_F(AboutPluginsHelperTest, UsesAnExistingGroup)
{
    host::AddHostMenuGroup("MV_PLUGINS_ABOUT");
    AIMenuItemHandle item = nullptr;
    ASSERT_EQ(helper.AddAboutPluginsMenuItem(nullptr, "MV_PLUGINS_ABOUT", "About Plug-ins (Moravelle INC.)",
                                             "MV_PLUGINS_ABOUT_X", "X...", &item),
              kNoErr);
    EXPECT_EQ(host::FindHostMenuItem("About Plug-ins (Moravelle INC.)"), nullptr);
    EXPECT_EQ(host::HostMenuItems().size(), 1u);
}

TEST_F(AboutPluginsHelperTest, FailsWithTheMenuSuitesStatus)
{
    host::SetSuiteUnavailable("AI Menu Suite", -108);
    AIMenuItemHandle item = nullptr;
    EXPECT_EQ(helper.AddAboutPluginsMenuItem(nullptr, "G", "G", "K", "T", &item), -108);
    EXPECT_TRUE(host::HostMenuItems().empty());
    EXPECT_EQ(host::CountHeldSuites(), 0);
    host::ClearUnavailableSuites();
}

TEST_F(AboutPluginsHelperTest, PopAboutBoxJoinsTitleAndText)
{
    ASSERT_EQ(helper.PopAboutBox("TRAVEX-Pro", "Plotter output"), kNoErr);
    ASSERT_EQ(host::HostAlerts().size(), 1u);
    EXPECT_FALSE(host::HostAlerts()[0].fError);
    EXPECT_EQ(host::HostAlerts()[0].bytes, "TRAVEX-Pro\n\nPlotter output");
    EXPECT_EQ(host::CountHeldSuites(), 0);
}

}  // namespace
