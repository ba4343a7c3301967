#include "host/suites/access_suite.h"

#include "host/session/plugin_loader.h"

namespace host {
namespace {

// A plug-in's self reference and its access record are both its LoadedPlugin.
ASErr GetPluginAccess(SPPluginRef plugin, SPAccessRef* access)
{
    if (FindLoadedPlugin(plugin) == nullptr || access == nullptr)
        return kBadParameterErr;
    *access = reinterpret_cast<SPAccessRef>(plugin);
    return kNoErr;
}

ASErr GetAccessModule(SPAccessRef access, void** module)
{
    LoadedPlugin* plugin = FindLoadedPlugin(reinterpret_cast<SPPluginRef>(access));
    if (plugin == nullptr || module == nullptr || plugin->module == nullptr)
        return kBadParameterErr;
    *module = plugin->module;
    return kNoErr;
}

const SPAccessSuite kSuite = {GetPluginAccess, GetAccessModule};

}  // namespace

const SPAccessSuite* HostAccessSuite() { return &kSuite; }

}  // namespace host
