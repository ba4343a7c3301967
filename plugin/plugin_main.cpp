// The plug-in's one export. Message handling comes with the entry and lifecycle code.
#include "sp_message.h"

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char* caller, const char* selector, void* message)
{
    return kNoErr;
}
