// The plug-in's menu items and its tool, added at start-up.
#include "sdk/ai_menu.h"
#include "sdk/ai_tool.h"
#include "plugin/entry/host_text.h"
#include "plugin/commands/menu_groups.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"
#include "plugin/entry/plugin_resources.h"
#include "plugin/entry/suite_table.h"

#include <cstdio>

namespace {

const char kPluginGroupKey[] = "TRAVEX-Pro Group";
const char kAboutGroupName[] = "MV_PLUGINS_ABOUT";
const char kAboutGroupText[] = "About Plug-ins (Moravelle INC.)";
const char kToolName[] = "Plot Area Tool";
const char kScrollToolName[] = "Adobe Scroll Tool";
constexpr int32_t kToolOptions = 3;

ASErr AddItem(SPMessageData* message, const char* key, const char* group, const char* text, AIMenuItemHandle* item)
{
    AIUnicodeStringRef string = nullptr;
    ASErr status = MakeHostString(text, kAIPlatformCharacterEncoding, &string);
    if (status == kNoErr)
        status = sAIMenu->AddMenuItem(message->self, key, group, string, 0, item);
    DisposeHostString(string);
    return status;
}

ASErr UpdateWhileDocumentOpen(AIMenuItemHandle item)
{
    return sAIMenu->UpdateMenuItemAutomatically(item, kAutoEnableMenuItemAction, 0, 0, 0, 0, kIfOpenDocument, 0);
}

}  // namespace

ASErr AddMenus(SPMessageData* message)
{
    char text[256];
    LoadPluginString(g->iLanguage, kConfigItemString, text, sizeof text);
    ASErr status = AddItem(message, kPluginGroupKey, kExportMenuGroup, text, &g->hConfigItem);
    if (status != kNoErr)
        return status;
    LoadPluginString(g->iLanguage, kOutputItemString, text, sizeof text);
    status = AddItem(message, kPluginGroupKey, kExportMenuGroup, text, &g->hOutputItem);
    if (status != kNoErr)
        return status;

    UpdateWhileDocumentOpen(g->hConfigItem);
    status = UpdateWhileDocumentOpen(g->hOutputItem);
    if (status != kNoErr)
        return status;

    bool found = false;
    status = FindMenuGroup(sAIMenu, kAboutGroupName, &found);
    if (status != kNoErr)
        return status;
    if (!found) {
        AIMenuItemHandle groupItem = nullptr;
        if (AddItem(message, kAboutGroupName, kAboutMenuGroup, kAboutGroupText, &groupItem) == kNoErr) {
            AIMenuGroup group = nullptr;
            sAIMenu->AddMenuGroupAsSubMenu(kAboutGroupName, kMenuGroupSubMenuOption, groupItem, &group);
        }
    }

    char key[128];
    std::snprintf(key, sizeof key, "%s_%s", kAboutGroupName, g->szProductName);
    std::snprintf(text, sizeof text, "%s...", g->szProductName);
    return AddItem(message, key, kAboutGroupName, text, &g->hAboutItem);
}

ASErr AddTools(SPMessageData* message)
{
    int32_t scrollTool = 0;
    sAITool->GetToolNumberFromName(kScrollToolName, &scrollTool);

    char title[256];
    LoadPluginString(g->iLanguage, kToolTitleString, title, sizeof title);
    AIAddToolData data = {};
    ASErr status = MakeHostString(title, kAIShiftJisCharacterEncoding, &data.title);
    if (status == kNoErr)
        status = MakeHostString(title, kAIShiftJisCharacterEncoding, &data.tooltip);
    if (status == kNoErr) {
        data.iconType = kToolIconPng;
        data.normalIconResID = kToolIconResource;
        data.darkIconResID = kToolDarkIconResource;
        data.sameGroupAs = scrollTool;
        data.sameToolsetAs = 0;
        status = sAITool->AddTool(message->self, kToolName, &data, kToolOptions, &g->ahTool[0]);
    }
    DisposeHostString(data.title);
    DisposeHostString(data.tooltip);
    return status;
}

ASErr HandleMenuUpdate(AIMenuMessage* message)
{
    // the items are enabled by the host's automatic update; this pair only counts
    AcquireSuites();
    ReleaseSuites();
    return kNoErr;
}
