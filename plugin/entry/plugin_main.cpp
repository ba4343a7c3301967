// The plug-in's one export: every host message binds the suites, goes to its handler, and
// a failure is reported in one alert.
#include "plugin/entry/error_alert.h"
#include "plugin/entry/guarded_call.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/plugin_handlers.h"

namespace {

// The handler of an "SP Interface" message or of any other caller.
ASErr RunHandler(const char* caller, const char* selector, void* message)
{
    auto* data = static_cast<SPMessageData*>(message);
    if (sSPBasic->IsEqual(caller, kSPInterfaceCaller)) {
        if (sSPBasic->IsEqual(selector, kSPInterfaceStartupSelector))
            return HandleStartup(data);
        if (sSPBasic->IsEqual(selector, kSPInterfaceAboutSelector))
            return HandleAbout(data);
        if (sSPBasic->IsEqual(selector, kSPInterfaceShutdownSelector))
            return HandleShutdown(data);
        return kNoErr;
    }
    return DispatchMenuAndToolMessage(caller, selector, message);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char* caller, const char* selector,
                                                                   void* message)
{
    auto* data = static_cast<SPMessageData*>(message);
    if (caller == nullptr || selector == nullptr || data == nullptr || data->basic == nullptr)
        return kBadParameterErr;
    sSPBasic = data->basic;
    g = static_cast<PluginGlobals*>(data->globals);

    if (sSPBasic->IsEqual(caller, kSPAccessCaller)) {
        if (sSPBasic->IsEqual(selector, kSPAccessUnloadSelector))
            return HandleUnload(data);
        if (sSPBasic->IsEqual(selector, kSPAccessReloadSelector))
            return HandleReload(data);
        return kNoErr;
    }

    ASErr result = AcquireSuites();
    if (result == kNoErr)
        result = RunGuarded([&] { return RunHandler(caller, selector, message); });
    ShowErrorAlert(result, caller, selector);
    ReleaseSuites();
    return result;
}

ASErr DispatchMenuAndToolMessage(const char* caller, const char* selector, void* message)
{
    struct Route {
        const char* caller;
        const char* selector;
        ASErr (*menu)(AIMenuMessage*);
        ASErr (*tool)(AIToolMessage*);
    };
    static const Route kRoutes[] = {
        {kCallerAIMenu, kSelectorAIGoMenuItem, HandleMenuGo, nullptr},
        {kCallerAIMenu, kSelectorAIUpdateMenuItem, HandleMenuUpdate, nullptr},
        {kCallerAITool, kSelectorAIEditToolOptions, nullptr, HandleToolEditOptions},
        {kCallerAITool, kSelectorAITrackToolCursor, nullptr, HandleToolTrackCursor},
        {kCallerAITool, kSelectorAIToolMouseDown, nullptr, HandleToolMouseDown},
        {kCallerAITool, kSelectorAIToolMouseDrag, nullptr, HandleToolMouseDrag},
        {kCallerAITool, kSelectorAIToolMouseUp, nullptr, HandleToolMouseUp},
        {kCallerAITool, kSelectorAISelectTool, nullptr, HandleToolSelect},
        {kCallerAITool, kSelectorAIDeselectTool, nullptr, HandleToolDeselect},
    };
    for (const Route& route : kRoutes) {
        if (!sSPBasic->IsEqual(caller, route.caller) || !sSPBasic->IsEqual(selector, route.selector))
            continue;
        if (route.menu != nullptr)
            return route.menu(static_cast<AIMenuMessage*>(message));
        return route.tool(static_cast<AIToolMessage*>(message));
    }
    return kNoErr;
}
