// The host's Menu suite: the host's own groups, the items plug-ins add, automatic update.
#pragma once

#include "sdk/ai_menu.h"

#include <string>
#include <vector>

namespace host {

struct MenuGroupRecord;

struct MenuItemRecord {
    SPPluginRef plugin = nullptr;
    std::string key;
    MenuGroupRecord* group = nullptr;
    std::string textBytes;        // eight-bit text as given, or UTF-8
    std::string text;             // UTF-8
    int32_t options = 0;
    bool fAutoUpdate = false;
    int32_t action = 0;
    int32_t conditions[6] = {};   // in artwork, not in artwork, selected, not selected, true, not true
    MenuGroupRecord* submenu = nullptr;
};

struct MenuGroupRecord {
    std::string name;
    MenuItemRecord* parent = nullptr;   // the item whose submenu it is; null for the host's groups
    int32_t options = 0;
};

const AIMenuSuite* HostMenuSuite();

// Back to the host's own groups, no items. Extra groups come from --menu-group.
void ResetHostMenus();
void AddHostMenuGroup(const std::string& name);

// Drops the items a plug-in added and the submenu groups made from them (at its shut-down).
void RemovePluginMenus(SPPluginRef plugin);

const std::vector<MenuItemRecord*>& HostMenuItems();
const std::vector<MenuGroupRecord*>& HostMenuGroups();
// The item showing this UTF-8 text, else the item with this key; null when none.
MenuItemRecord* FindHostMenuItem(const std::string& textOrKey);
// Automatic update: the host enables the item when its document conditions hold.
bool IsHostMenuItemEnabled(const MenuItemRecord& item, bool documentOpen);
// One line per group and item, in order, for inspection.
std::string HostMenuListing();

}  // namespace host
