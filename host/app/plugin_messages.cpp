#include "host/app/plugin_messages.h"

#include "host/suites/basic_suite.h"
#include "host/suites/host_strings.h"
#include "host/suites/menu_suite.h"
#include "host/suites/tool_suite.h"
#include "host/suites/suite_registry.h"
#include "host/suites/user_suite.h"

#include <cstdio>
#include <cstring>

namespace host {

bool IsQuietStatus(ASErr status)
{
    return status == kNoErr || status == 1 || status == kUnknownSelectorErr || status == kCanceledErr;
}

ASErr SendPluginMessage(HostSession& session, const char* caller, const char* selector, void* message)
{
    if (session.plugin.main == nullptr)
        return kBadParameterErr;
    auto* data = static_cast<SPMessageData*>(message);
    data->self = ToPluginRef(&session.plugin);
    data->globals = session.globals;
    data->basic = HostBasicSuite();
    ++session.messageDepth;
    ASErr status = session.plugin.main(caller, selector, message);
    --session.messageDepth;
    session.globals = data->globals;
    // the plug-in's progress bar ends with its message, before anything else is printed
    EndProgressLine();
    if (!IsQuietStatus(status)) {
        session.fPluginFailed = true;
        std::fprintf(stderr, "travex-host: \"%s\"/\"%s\" answered %d (0x%08x)\n", caller, selector, status,
                     unsigned(status));
    }
    return status;
}

ASErr SendInterfaceMessage(HostSession& session, const char* selector)
{
    SPMessageData message = {};
    ASErr status = SendPluginMessage(session, kSPInterfaceCaller, selector, &message);
    if (std::strcmp(selector, kSPInterfaceStartupSelector) == 0)
        session.fStarted = true;
    if (std::strcmp(selector, kSPInterfaceShutdownSelector) == 0) {
        // the plug-in's items and tools go away with it
        session.fStarted = false;
        RemovePluginMenus(ToPluginRef(&session.plugin));
        RemovePluginTools(ToPluginRef(&session.plugin));
    }
    return status;
}

ASErr SendAccessMessage(HostSession& session, const char* selector)
{
    SPMessageData message = {};
    return SendPluginMessage(session, kSPAccessCaller, selector, &message);
}

ASErr SendMenuGo(HostSession& session, AIMenuItemHandle item)
{
    AIMenuMessage message = {};
    message.menuItem = item;
    return SendPluginMessage(session, kCallerAIMenu, kSelectorAIGoMenuItem, &message);
}

ASErr SendBareMessage(HostSession& session, const char* caller, const char* selector)
{
    AIToolMessage message = {};   // the largest record, all zeros
    return SendPluginMessage(session, caller, selector, &message);
}

bool ReloadPlugin(HostSession& session, std::string& error)
{
    if (session.messageDepth > 0) {
        error = "the plug-in cannot be reloaded while it handles a message";
        return false;
    }
    SendAccessMessage(session, kSPAccessUnloadSelector);
    std::string path = session.plugin.path;
    std::string name = session.plugin.properties.name;
    UnloadPlugin(session.plugin);
    if (!LoadPlugin(path, name, session.plugin, error))
        return false;
    SendAccessMessage(session, kSPAccessReloadSelector);
    return true;
}

std::string GlobalsSummary(const HostSession& session)
{
    size_t size = HostBlockSize(session.globals);
    uint32_t hash = 2166136261u;   // FNV-1a over the block
    const auto* bytes = static_cast<const unsigned char*>(session.globals);
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    char line[128];
    if (session.globals == nullptr)
        std::snprintf(line, sizeof line, "globals: none");
    else
        std::snprintf(line, sizeof line, "globals: %zu bytes, checksum %08x", size, hash);
    return line;
}

std::string HostStatusLine()
{
    SuiteCounts total = TotalSuiteCounts();
    char line[256];
    std::snprintf(line, sizeof line,
                  "suites held %d, acquired %lld, released %lld; blocks held %lld; strings held %lld; alerts %zu",
                  CountHeldSuites(), static_cast<long long>(total.acquires), static_cast<long long>(total.releases),
                  static_cast<long long>(HostBlocksHeld()), static_cast<long long>(HostStringsHeld()),
                  HostAlerts().size());
    return line;
}

}  // namespace host
