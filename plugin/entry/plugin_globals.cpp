#include "plugin/entry/plugin_globals.h"

PluginGlobals* g = nullptr;
