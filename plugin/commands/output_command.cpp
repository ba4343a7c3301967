// "Output Plotter": the output run. It comes with the output pipeline; until then the
// command does nothing.
#include "plugin/entry/plugin_handlers.h"

ASErr RunOutputCommand(AIMenuMessage* message)
{
    return kNoErr;
}
