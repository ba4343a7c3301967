#include "host/suites/menu_suite.h"

#include "host/session/host_faults.h"
#include "host/suites/host_strings.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace host {
namespace {

// The groups of the host's own menus that plug-ins add to.
const char* const kHostGroups[] = {
    "About", "Open Document", "Save Document", kExportMenuGroup, "Document Utilities",
    "Print", "Edit", "Object Utilities", "Window Utilities", "Help",
};

struct MenuState {
    std::vector<std::unique_ptr<MenuItemRecord>> itemPool;
    std::vector<std::unique_ptr<MenuGroupRecord>> groupPool;
    std::vector<MenuItemRecord*> items;
    std::vector<MenuGroupRecord*> groups;
    bool fStarted = false;
};

MenuState& State()
{
    static MenuState state;
    if (!state.fStarted) {
        state.fStarted = true;
        for (const char* name : kHostGroups) {
            state.groupPool.push_back(std::make_unique<MenuGroupRecord>(MenuGroupRecord{name, nullptr, 0}));
            state.groups.push_back(state.groupPool.back().get());
        }
    }
    return state;
}

MenuGroupRecord* FindGroup(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (MenuGroupRecord* group : State().groups)
        if (group->name == name)
            return group;
    return nullptr;
}

bool IsItem(AIMenuItemHandle item)
{
    for (MenuItemRecord* record : State().items)
        if (reinterpret_cast<AIMenuItemHandle>(record) == item)
            return true;
    return false;
}

bool IsGroup(AIMenuGroup group)
{
    for (MenuGroupRecord* record : State().groups)
        if (reinterpret_cast<AIMenuGroup>(record) == group)
            return true;
    return false;
}

ASErr AddMenuItem(SPPluginRef self, const char* itemKey, const char* groupName, AIUnicodeStringRef text,
                  int32_t options, AIMenuItemHandle* item)
{
    if (ASErr fault = HostFault("AddMenuItem"))
        return fault;
    if (itemKey == nullptr || *itemKey == 0 || item == nullptr)
        return kBadParameterErr;
    const HostString* string = FindHostString(text);
    MenuGroupRecord* group = FindGroup(groupName);
    if (string == nullptr || group == nullptr)
        return kBadParameterErr;
    auto record = std::make_unique<MenuItemRecord>();
    record->plugin = self;
    record->key = itemKey;
    record->group = group;
    record->textBytes = RecordedBytes(*string);
    record->text = Utf16ToUtf8(string->utf16);
    record->options = options;
    *item = reinterpret_cast<AIMenuItemHandle>(record.get());
    State().items.push_back(record.get());
    State().itemPool.push_back(std::move(record));
    return kNoErr;
}

ASErr UpdateMenuItemAutomatically(AIMenuItemHandle item, int32_t action, int32_t ifObjectIsInArtwork,
                                  int32_t ifObjectIsNotInArtwork, int32_t ifObjectIsSelected,
                                  int32_t ifObjectIsNotSelected, int32_t ifIsTrue, int32_t ifIsNotTrue)
{
    if (ASErr fault = HostFault("UpdateMenuItemAutomatically"))
        return fault;
    if (!IsItem(item))
        return kBadParameterErr;
    auto* record = reinterpret_cast<MenuItemRecord*>(item);
    record->fAutoUpdate = true;
    record->action = action;
    int32_t conditions[6] = {ifObjectIsInArtwork, ifObjectIsNotInArtwork, ifObjectIsSelected,
                             ifObjectIsNotSelected, ifIsTrue, ifIsNotTrue};
    for (int i = 0; i < 6; ++i)
        record->conditions[i] = conditions[i];
    return kNoErr;
}

ASErr CountMenuGroups(int32_t* count)
{
    if (ASErr fault = HostFault("CountMenuGroups"))
        return fault;
    if (count == nullptr)
        return kBadParameterErr;
    *count = int32_t(State().groups.size());
    return kNoErr;
}

ASErr GetNthMenuGroup(int32_t n, AIMenuGroup* group)
{
    if (ASErr fault = HostFault("GetNthMenuGroup"))
        return fault;
    if (group == nullptr || n < 0 || n >= int32_t(State().groups.size()))
        return kBadParameterErr;
    *group = reinterpret_cast<AIMenuGroup>(State().groups[size_t(n)]);
    return kNoErr;
}

ASErr GetMenuGroupName(AIMenuGroup group, const char** name)
{
    if (ASErr fault = HostFault("GetMenuGroupName"))
        return fault;
    if (!IsGroup(group) || name == nullptr)
        return kBadParameterErr;
    *name = reinterpret_cast<MenuGroupRecord*>(group)->name.c_str();
    return kNoErr;
}

ASErr AddMenuGroupAsSubMenu(const char* groupName, int32_t options, AIMenuItemHandle item, AIMenuGroup* group)
{
    if (ASErr fault = HostFault("AddMenuGroupAsSubMenu"))
        return fault;
    if (groupName == nullptr || *groupName == 0 || !IsItem(item) || group == nullptr)
        return kBadParameterErr;
    auto* parent = reinterpret_cast<MenuItemRecord*>(item);
    if (FindGroup(groupName) != nullptr || parent->submenu != nullptr)
        return kBadParameterErr;
    State().groupPool.push_back(std::make_unique<MenuGroupRecord>(MenuGroupRecord{groupName, parent, options}));
    MenuGroupRecord* made = State().groupPool.back().get();
    State().groups.push_back(made);
    parent->submenu = made;
    *group = reinterpret_cast<AIMenuGroup>(made);
    return kNoErr;
}

ASErr GetMenuItemKey(AIMenuItemHandle item, const char** key)
{
    if (!IsItem(item) || key == nullptr)
        return kBadParameterErr;
    *key = reinterpret_cast<MenuItemRecord*>(item)->key.c_str();
    return kNoErr;
}

const AIMenuSuite kSuite = {AddMenuItem, UpdateMenuItemAutomatically, CountMenuGroups, GetNthMenuGroup,
                            GetMenuGroupName, AddMenuGroupAsSubMenu, GetMenuItemKey};

}  // namespace

const AIMenuSuite* HostMenuSuite() { return &kSuite; }

void ResetHostMenus()
{
    MenuState& s = State();
    s.items.clear();
    s.itemPool.clear();
    s.groups.clear();
    s.groupPool.clear();
    s.fStarted = false;
    State();
}

void AddHostMenuGroup(const std::string& name)
{
    if (FindGroup(name.c_str()) != nullptr)
        return;
    State().groupPool.push_back(std::make_unique<MenuGroupRecord>(MenuGroupRecord{name, nullptr, 0}));
    State().groups.push_back(State().groupPool.back().get());
}

void RemovePluginMenus(SPPluginRef plugin)
{
    MenuState& s = State();
    std::vector<MenuItemRecord*> kept;
    for (MenuItemRecord* item : s.items) {
        if (item->plugin != plugin) {
            kept.push_back(item);
            continue;
        }
        if (item->submenu != nullptr) {
            // the group's items go with it
            for (MenuItemRecord* inside : s.items)
                if (inside->group == item->submenu && inside->plugin != plugin)
                    inside->group = nullptr;
            s.groups.erase(std::remove(s.groups.begin(), s.groups.end(), item->submenu), s.groups.end());
        }
    }
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](MenuItemRecord* item) { return item->group == nullptr; }),
               kept.end());
    s.items = kept;
}

const std::vector<MenuItemRecord*>& HostMenuItems() { return State().items; }
const std::vector<MenuGroupRecord*>& HostMenuGroups() { return State().groups; }

MenuItemRecord* FindHostMenuItem(const std::string& textOrKey)
{
    for (MenuItemRecord* item : State().items)
        if (item->text == textOrKey)
            return item;
    for (MenuItemRecord* item : State().items)
        if (item->key == textOrKey)
            return item;
    return nullptr;
}

bool IsHostMenuItemEnabled(const MenuItemRecord& item, bool documentOpen)
{
    if (!item.fAutoUpdate)
        return true;
    int32_t ifTrue = item.conditions[4];
    int32_t ifNotTrue = item.conditions[5];
    if ((ifTrue & kIfOpenDocument) && !documentOpen)
        return false;
    if ((ifNotTrue & kIfOpenDocument) && documentOpen)
        return false;
    return true;
}

std::string HostMenuListing()
{
    std::string out;
    char line[1024];
    for (MenuGroupRecord* group : State().groups) {
        std::snprintf(line, sizeof line, "group \"%s\"%s%s%s\n", group->name.c_str(),
                      group->parent ? " submenu of \"" : "", group->parent ? group->parent->key.c_str() : "",
                      group->parent ? "\"" : "");
        out += line;
        for (MenuItemRecord* item : State().items) {
            if (item->group != group)
                continue;
            std::snprintf(line, sizeof line, "  item \"%s\" key \"%s\" options %d", item->text.c_str(),
                          item->key.c_str(), item->options);
            out += line;
            if (item->fAutoUpdate) {
                std::snprintf(line, sizeof line, " auto %d %d %d %d %d 0x%x 0x%x", item->action,
                              item->conditions[0], item->conditions[1], item->conditions[2], item->conditions[3],
                              unsigned(item->conditions[4]), unsigned(item->conditions[5]));
                out += line;
            }
            out += "\n";
        }
    }
    return out;
}

}  // namespace host
