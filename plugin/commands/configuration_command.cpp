// "Plotter Configuration...": starting the configuration program. It comes with the
// configuration program's launch; until then the command does nothing.
#include "plugin/entry/plugin_handlers.h"

ASErr RunConfigurationCommand(AIMenuMessage* message)
{
    return kNoErr;
}
