// "AI Menu"/"AI Go": the chosen item's command.
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"

ASErr HandleMenuGo(AIMenuMessage* message)
{
    // an item the plug-in never added (or before start-up) is none of its commands
    if (g == nullptr || message->menuItem == nullptr)
        return kNoErr;
    ASErr status = kNoErr;
    if (message->menuItem == g->hOutputItem)
        status = RunOutputCommand(message);
    else if (message->menuItem == g->hConfigItem)
        status = RunConfigurationCommand(message);
    if (message->menuItem == g->hAboutItem)
        ShowAboutBox(&message->d);
    return status;
}
