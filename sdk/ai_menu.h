// The host's Menu suite: menu items and groups of the host's menus.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ai_unicode_string.h"

// Options of a menu group made from an item.
constexpr int32_t kMenuGroupSubMenuOption = 1;

// Automatic update: the action, and the document condition that enables an item.
constexpr int32_t kAutoEnableMenuItemAction = 1;
constexpr int32_t kIfOpenDocument = 0x40;

// Groups every host has.
#define kAboutMenuGroup "About"
#define kExportMenuGroup "Export Document"

struct AIMenuSuite {
    // a new item with the unique key, in the named group, showing text
    ASErr (*AddMenuItem)(SPPluginRef self, const char* itemKey, const char* groupName,
                         AIUnicodeStringRef text, int32_t options, AIMenuItemHandle* item);
    // the host enables the item by itself: action, then the artwork conditions and the
    // document conditions that must be true or false
    ASErr (*UpdateMenuItemAutomatically)(AIMenuItemHandle item, int32_t action,
                                         int32_t ifObjectIsInArtwork, int32_t ifObjectIsNotInArtwork,
                                         int32_t ifObjectIsSelected, int32_t ifObjectIsNotSelected,
                                         int32_t ifIsTrue, int32_t ifIsNotTrue);
    ASErr (*CountMenuGroups)(int32_t* count);
    ASErr (*GetNthMenuGroup)(int32_t n, AIMenuGroup* group);
    // the group's name, valid while the host runs
    ASErr (*GetMenuGroupName)(AIMenuGroup group, const char** name);
    // the item becomes a submenu holding a new group of the given name
    ASErr (*AddMenuGroupAsSubMenu)(const char* groupName, int32_t options, AIMenuItemHandle item,
                                   AIMenuGroup* group);
    // the item's key, valid while the host runs
    ASErr (*GetMenuItemKey)(AIMenuItemHandle item, const char** key);
};
