// The host's Access suite: a plug-in's access record and its loaded module, through which the
// plug-in finds its own resources.
#pragma once

#include "sdk/ai_types.h"

struct SPAccessSuite {
    ASErr (*GetPluginAccess)(SPPluginRef plugin, SPAccessRef* access);
    // the module instance of the loaded library
    ASErr (*GetAccessModule)(SPAccessRef access, void** module);
};
