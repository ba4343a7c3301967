// The host's Menu and Tool suites: groups, submenus, automatic update and tool numbers.
#include "host/suites/host_strings.h"
#include "host/suites/menu_suite.h"
#include "host/suites/tool_suite.h"

#include <gtest/gtest.h>

#include <string>

namespace {

AIUnicodeStringRef Text(const char* bytes)
{
    AIUnicodeStringRef string = nullptr;
    host::HostUnicodeStringSuite()->MakeFromEightBit(bytes, kAIPlatformCharacterEncoding, &string);
    return string;
}

class MenuSuiteTest : public ::testing::Test {
protected:
    void SetUp() override { host::ResetHostMenus(); }
    const AIMenuSuite* menu = host::HostMenuSuite();
};

TEST_F(MenuSuiteTest, HostGroupsIncludeAboutAndExportDocument)
{
    int32_t count = 0;
    ASSERT_EQ(menu->CountMenuGroups(&count), kNoErr);
    std::vector<std::string> names;
    for (int32_t i = 0; i < count; ++i) {
        AIMenuGroup group = nullptr;
        const char* name = nullptr;
        ASSERT_EQ(menu->GetNthMenuGroup(i, &group), kNoErr);
        ASSERT_EQ(menu->GetMenuGroupName(group, &name), kNoErr);
        names.push_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "About"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Export Document"), names.end());
    AIMenuGroup group = nullptr;
    EXPECT_EQ(menu->GetNthMenuGroup(count, &group), kBadParameterErr);
    EXPECT_EQ(menu->GetNthMenuGroup(-1, &group), kBadParameterErr);
}

TEST_F(MenuSuiteTest, ItemsGoOnlyIntoExistingGroupsAndSubmenusMakeNewOnes)
{
    AIUnicodeStringRef text = Text("About Plug-ins");
    AIMenuItemHandle item = nullptr;
    EXPECT_EQ(menu->AddMenuItem(nullptr, "K", "No Such Group", text, 0, &item), kBadParameterErr);
    ASSERT_EQ(menu->AddMenuItem(nullptr, "MV", "About", text, 0, &item), kNoErr);
    AIMenuGroup group = nullptr;
    ASSERT_EQ(menu->AddMenuGroupAsSubMenu("MV", kMenuGroupSubMenuOption, item, &group), kNoErr);
    // a second group of the same name, or a second submenu of the item, is refused
    AIMenuGroup again = nullptr;
    EXPECT_EQ(menu->AddMenuGroupAsSubMenu("MV", 1, item, &again), kBadParameterErr);
    AIMenuItemHandle inside = nullptr;
    EXPECT_EQ(menu->AddMenuItem(nullptr, "MV_X", "MV", text, 0, &inside), kNoErr);
    host::MenuItemRecord* record = host::FindHostMenuItem("MV_X");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->group->name, "MV");
    EXPECT_EQ(record->group->parent, reinterpret_cast<host::MenuItemRecord*>(item));
    host::HostUnicodeStringSuite()->Dispose(text);
}

TEST_F(MenuSuiteTest, AutomaticUpdateEnablesItemsOnlyWhileADocumentIsOpen)
{
    AIUnicodeStringRef text = Text("Output Plotter");
    AIMenuItemHandle item = nullptr;
    ASSERT_EQ(menu->AddMenuItem(nullptr, "TRAVEX-Pro Group", "Export Document", text, 0, &item), kNoErr);
    host::MenuItemRecord* record = host::FindHostMenuItem("Output Plotter");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(host::IsHostMenuItemEnabled(*record, false));
    ASSERT_EQ(menu->UpdateMenuItemAutomatically(item, kAutoEnableMenuItemAction, 0, 0, 0, 0, kIfOpenDocument, 0), kNoErr);
    EXPECT_TRUE(host::IsHostMenuItemEnabled(*record, true));
    EXPECT_FALSE(host::IsHostMenuItemEnabled(*record, false));
    EXPECT_EQ(menu->UpdateMenuItemAutomatically(nullptr, 1, 0, 0, 0, 0, 0x40, 0), kBadParameterErr);
    host::HostUnicodeStringSuite()->Dispose(text);
}

TEST(ToolSuiteTest, ToolNumbersByNameAndTheRecordKept)
{
    host::ResetHostTools();
    const AIToolSuite* tool = host::HostToolSuite();
    int32_t scroll = -1;
    ASSERT_EQ(tool->GetToolNumberFromName("Adobe Scroll Tool", &scroll), kNoErr);
    int32_t unknown = -1;
    EXPECT_EQ(tool->GetToolNumberFromName("Adobe Teleport Tool", &unknown), kBadParameterErr);

    AIAddToolData data = {};
    data.title = Text("Plot Area Tool");
    data.tooltip = Text("Plot Area Tool");
    data.iconType = kToolIconPng;
    data.normalIconResID = 16101;
    data.darkIconResID = 16102;
    data.sameGroupAs = scroll;
    AIToolHandle handle = nullptr;
    ASSERT_EQ(tool->AddTool(nullptr, "Plot Area Tool", &data, 3, &handle), kNoErr);
    AIToolHandle twice = nullptr;
    EXPECT_EQ(tool->AddTool(nullptr, "Plot Area Tool", &data, 3, &twice), kBadParameterErr);

    int32_t number = -1;
    ASSERT_EQ(tool->GetToolNumberFromName("Plot Area Tool", &number), kNoErr);
    int32_t fromHandle = -2;
    ASSERT_EQ(tool->GetToolNumberFromHandle(handle, &fromHandle), kNoErr);
    EXPECT_EQ(number, fromHandle);
    EXPECT_NE(number, scroll);
    host::ToolRecord* record = host::FindHostTool(handle);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->sameGroupAs, scroll);
    EXPECT_EQ(record->options, 3);
    EXPECT_EQ(record->title, "Plot Area Tool");
    host::HostUnicodeStringSuite()->Dispose(data.title);
    host::HostUnicodeStringSuite()->Dispose(data.tooltip);
}

}  // namespace
