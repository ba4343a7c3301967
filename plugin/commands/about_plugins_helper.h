// The About group helper: an item in a named About group (made under the host's "About"
// group when missing) and a plain About alert.
#pragma once

#include "sdk/ai_menu.h"
#include "sdk/ai_unicode_string.h"
#include "sdk/ai_user.h"
#include "sdk/sp_basic.h"

class SDKAboutPluginsHelper {
public:
    explicit SDKAboutPluginsHelper(SPBasicSuite* basic);
    virtual ~SDKAboutPluginsHelper();

    // Adds itemText with itemKey to the group groupName; when there is no such group, an item
    // groupText (key groupName) is added to "About" first and made that group.
    ASErr AddAboutPluginsMenuItem(SPPluginRef self, const char* groupName, const char* groupText,
                                  const char* itemKey, const char* itemText, AIMenuItemHandle* item);
    // title and text joined by "\n\n" in a message alert.
    ASErr PopAboutBox(const char* title, const char* text);

private:
    SPBasicSuite* basic_;
    const AIMenuSuite* menu_ = nullptr;
    const AIUserSuite* user_ = nullptr;
    const AIUnicodeStringSuite* strings_ = nullptr;

    ASErr AddItem(SPPluginRef self, const char* key, const char* group, const char* text,
                  AIMenuItemHandle* item);
};
