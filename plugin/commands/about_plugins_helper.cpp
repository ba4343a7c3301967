#include "plugin/commands/about_plugins_helper.h"

#include "plugin/commands/menu_groups.h"
#include "sdk/suite_names.h"

#include <string>

namespace {

// Holds one suite for a scope.
template <typename Suite>
class HeldSuite {
public:
    HeldSuite(SPBasicSuite* basic, const char* name, int32_t version, const Suite** into)
        : basic_(basic), name_(name), version_(version), into_(into)
    {
        const void* suite = nullptr;
        status_ = basic_->AcquireSuite(name, version, &suite);
        *into_ = status_ == kNoErr ? static_cast<const Suite*>(suite) : nullptr;
    }
    ~HeldSuite()
    {
        if (status_ == kNoErr)
            basic_->ReleaseSuite(name_, version_);
        *into_ = nullptr;
    }
    ASErr Status() const { return status_; }

private:
    SPBasicSuite* basic_;
    const char* name_;
    int32_t version_;
    const Suite** into_;
    ASErr status_;
};

}  // namespace

SDKAboutPluginsHelper::SDKAboutPluginsHelper(SPBasicSuite* basic) : basic_(basic) {}

SDKAboutPluginsHelper::~SDKAboutPluginsHelper() = default;

ASErr SDKAboutPluginsHelper::AddItem(SPPluginRef self, const char* key, const char* group, const char* text,
                                     AIMenuItemHandle* item)
{
    AIUnicodeStringRef string = nullptr;
    ASErr status = strings_->MakeFromEightBit(text, kAIPlatformCharacterEncoding, &string);
    if (status != kNoErr)
        return status;
    status = menu_->AddMenuItem(self, key, group, string, 0, item);
    strings_->Dispose(string);
    return status;
}

ASErr SDKAboutPluginsHelper::AddAboutPluginsMenuItem(SPPluginRef self, const char* groupName, const char* groupText,
                                                     const char* itemKey, const char* itemText,
                                                     AIMenuItemHandle* item)
{
    HeldSuite<AIMenuSuite> menu(basic_, kAIMenuSuite, kAIMenuSuiteVersion, &menu_);
    HeldSuite<AIUnicodeStringSuite> strings(basic_, kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &strings_);
    if (menu.Status() != kNoErr)
        return menu.Status();
    if (strings.Status() != kNoErr)
        return strings.Status();
    bool found = false;
    ASErr status = FindMenuGroup(menu_, groupName, &found);
    if (status != kNoErr)
        return status;
    if (!found) {
        AIMenuItemHandle groupItem = nullptr;
        status = AddItem(self, groupName, kAboutMenuGroup, groupText, &groupItem);
        AIMenuGroup group = nullptr;
        if (status == kNoErr)
            status = menu_->AddMenuGroupAsSubMenu(groupName, kMenuGroupSubMenuOption, groupItem, &group);
        if (status != kNoErr)
            return status;
    }
    return AddItem(self, itemKey, groupName, itemText, item);
}

ASErr SDKAboutPluginsHelper::PopAboutBox(const char* title, const char* text)
{
    HeldSuite<AIUserSuite> user(basic_, kAIUserSuite, kAIUserSuiteVersion, &user_);
    HeldSuite<AIUnicodeStringSuite> strings(basic_, kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &strings_);
    if (user.Status() != kNoErr)
        return user.Status();
    if (strings.Status() != kNoErr)
        return strings.Status();
    std::string joined = std::string(title ? title : "") + "\n\n" + (text ? text : "");
    AIUnicodeStringRef string = nullptr;
    ASErr status = strings_->MakeFromEightBit(joined.c_str(), kAIPlatformCharacterEncoding, &string);
    if (status != kNoErr)
        return status;
    status = user_->MessageAlert(string);
    strings_->Dispose(string);
    return status;
}
