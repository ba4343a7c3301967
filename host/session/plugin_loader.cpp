#include "host/session/plugin_loader.h"

#include "sdk/sp_property_list.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <vector>

namespace host {
namespace {

std::vector<LoadedPlugin*>& Loaded()
{
    // Never destroyed: the session, a static made before it, unloads its plug-in at exit.
    static auto* loaded = new std::vector<LoadedPlugin*>;
    return *loaded;
}

int32_t ReadInt32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

bool Is(const uint8_t* p, const char* code) { return std::memcmp(p, code, 4) == 0; }

}  // namespace

bool ParsePropertyList(const uint8_t* data, size_t room, PropertyListInfo& info, std::string& error)
{
    info = {};
    if (data == nullptr || room < size_t(kPropertyListHeaderBytes)) {
        error = "the property list is shorter than its header";
        return false;
    }
    int32_t version = ReadInt32(data);
    int32_t byteCount = ReadInt32(data + 4);
    int32_t count = ReadInt32(data + 8);
    if (version != kPropertyListVersion) {
        error = "the property list has version " + std::to_string(version);
        return false;
    }
    if (byteCount < kPropertyListHeaderBytes || size_t(byteCount) > room || count < 0) {
        error = "the property list has a bad length";
        return false;
    }
    size_t at = size_t(kPropertyListHeaderBytes);
    for (int32_t i = 0; i < count; ++i) {
        if (at + size_t(kPropertyHeaderBytes) > size_t(byteCount)) {
            error = "property " + std::to_string(i + 1) + " runs past the end of the list";
            return false;
        }
        const uint8_t* property = data + at;
        int32_t length = ReadInt32(property + 12);
        size_t padded = (size_t(length) + 3) & ~size_t(3);
        if (length < 0 || at + size_t(kPropertyHeaderBytes) + padded > size_t(byteCount)) {
            error = "property " + std::to_string(i + 1) + " runs past the end of the list";
            return false;
        }
        const uint8_t* value = property + kPropertyHeaderBytes;
        if (Is(property, kAdobeVendor)) {
            if (Is(property + 4, kInterfaceVersionProperty) && length == 4)
                info.interfaceVersion = ReadInt32(value);
            else if (Is(property + 4, kPlatformCodeProperty))
                info.fHasPlatformCode = true;
            else if (Is(property + 4, kKindProperty) && length == 4)
                info.kind.assign(reinterpret_cast<const char*>(value), 4);
            else if (Is(property + 4, kPluginNameProperty))
                info.name.assign(reinterpret_cast<const char*>(value),
                                 strnlen(reinterpret_cast<const char*>(value), size_t(length)));
        }
        at += size_t(kPropertyHeaderBytes) + padded;
    }
    return true;
}

bool LoadPlugin(const std::string& path, const std::string& expectedName, LoadedPlugin& plugin, std::string& error)
{
    UnloadPlugin(plugin);
    plugin.path = path;
    dlerror();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        error = path + ": cannot load the plug-in: " + (reason ? reason : "unknown reason");
        return false;
    }
    auto fail = [&](const std::string& reason) {
        error = path + ": " + reason;
        dlclose(module);
        return false;
    };
    const void* list = dlsym(module, kPropertyListSymbol);
    if (list == nullptr)
        return fail("not a plug-in of this host: it has no \"PLUGIN\" property list");
    // the symbol's own size bounds every read of the list
    size_t room = 0;
    Dl_info where;
    ElfW(Sym)* symbol = nullptr;
    if (dladdr1(list, &where, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT) != 0 && symbol != nullptr)
        room = std::min(size_t(symbol->st_size), size_t(kPropertyListMaxBytes));
    PropertyListInfo info;
    std::string reason;
    if (!ParsePropertyList(static_cast<const uint8_t*>(list), room, info, reason))
        return fail("its \"PLUGIN\" property list is damaged: " + reason);
    if (info.kind != kSPEAKind)
        return fail("its \"PLUGIN\" property list gives kind \"" + info.kind + "\", not \"" kSPEAKind "\"");
    if (info.interfaceVersion != kPluginInterfaceVersion)
        return fail("its \"PLUGIN\" property list gives interface version " + std::to_string(info.interfaceVersion) +
                    ", not " + std::to_string(kPluginInterfaceVersion));
    if (!expectedName.empty() && info.name != expectedName)
        return fail("the plug-in is named \"" + info.name + "\", not \"" + expectedName + "\"");
    auto entry = reinterpret_cast<PluginMainProc>(dlsym(module, "PluginMain"));
    if (entry == nullptr)
        return fail("the library exports no PluginMain");
    plugin.module = module;
    plugin.main = entry;
    plugin.properties = info;
    bool known = false;
    for (LoadedPlugin* loaded : Loaded())
        known = known || loaded == &plugin;
    if (!known)
        Loaded().push_back(&plugin);
    return true;
}

LoadedPlugin::~LoadedPlugin()
{
    UnloadPlugin(*this);
    auto& loaded = Loaded();
    loaded.erase(std::remove(loaded.begin(), loaded.end(), this), loaded.end());
}

void UnloadPlugin(LoadedPlugin& plugin)
{
    if (plugin.module != nullptr)
        dlclose(plugin.module);
    plugin.module = nullptr;
    plugin.main = nullptr;
}

LoadedPlugin* FindLoadedPlugin(SPPluginRef self)
{
    for (LoadedPlugin* loaded : Loaded())
        if (ToPluginRef(loaded) == self && loaded->module != nullptr)
            return loaded;
    return nullptr;
}

}  // namespace host
