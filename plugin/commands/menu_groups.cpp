#include "plugin/commands/menu_groups.h"

#include <cstring>

ASErr FindMenuGroup(const AIMenuSuite* menu, const char* name, bool* found)
{
    *found = false;
    int32_t count = 0;
    ASErr status = menu->CountMenuGroups(&count);
    if (status != kNoErr)
        return status;
    for (int32_t i = 0; i < count; ++i) {
        AIMenuGroup group = nullptr;
        const char* groupName = nullptr;
        if (menu->GetNthMenuGroup(i, &group) != kNoErr || menu->GetMenuGroupName(group, &groupName) != kNoErr)
            break;
        if (groupName != nullptr && std::strcmp(groupName, name) == 0) {
            *found = true;
            break;
        }
    }
    return kNoErr;
}
