#include "plugin/plugin_globals.h"

PluginGlobals* g = nullptr;
