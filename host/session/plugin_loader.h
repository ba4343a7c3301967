// Loading a plug-in library: its property list, its entry, and unloading it again.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/sp_message.h"

#include <string>

namespace host {

struct PropertyListInfo {
    int32_t interfaceVersion = 0;
    bool fHasPlatformCode = false;
    std::string kind;
    std::string name;
};

// Reads a property list of at most room bytes; false with the reason when it is malformed.
bool ParsePropertyList(const uint8_t* data, size_t room, PropertyListInfo& info, std::string& error);

// Unloads and forgets itself when it goes away.
struct LoadedPlugin {
    LoadedPlugin() = default;
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    std::string path;
    void* module = nullptr;          // the dlopen handle
    PluginMainProc main = nullptr;
    PropertyListInfo properties;
};

// Loads the library, checks that it is a "SPEA" plug-in named expectedName, finds its
// entry. False with a message naming the file and what was wrong.
bool LoadPlugin(const std::string& path, const std::string& expectedName, LoadedPlugin& plugin,
                std::string& error);
// Drops the library's code; the record keeps its path for a later LoadPlugin.
void UnloadPlugin(LoadedPlugin& plugin);

// The plug-in behind a self reference, null when the host loaded no such plug-in.
LoadedPlugin* FindLoadedPlugin(SPPluginRef self);
inline SPPluginRef ToPluginRef(LoadedPlugin* plugin) { return reinterpret_cast<SPPluginRef>(plugin); }

}  // namespace host
