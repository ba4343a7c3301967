#include "plugin_globals.h"

PluginGlobals* g = nullptr;
