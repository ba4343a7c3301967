#include "platform/documents_folder.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace {

// Only absolute paths count, as the desktop's folder rules say.
std::string AbsoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

std::string HomeFolder()
{
    std::string home = AbsoluteFromEnvironment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return {};
}

std::string FolderUnderHome(const char* variable, const char* fallback)
{
    std::string path = AbsoluteFromEnvironment(variable);
    if (!path.empty())
        return path;
    std::string home = HomeFolder();
    if (home.empty())
        return {};
    if (home.back() != '/')
        home += '/';
    return home + fallback;
}

} // namespace

int GetDocumentsFolder(char* buffer, size_t size)
{
    if (buffer == nullptr || size == 0)
        return kFolderPathTooLong;
    buffer[0] = '\0';
    std::string path = FolderUnderHome("XDG_DOCUMENTS_DIR", "Documents");
    if (path.empty())
        return kFolderNotFound;
    if (path.size() + 1 > size)
        return kFolderPathTooLong;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return kFolderSuccess;
}

std::string GetConfigFolder()
{
    return FolderUnderHome("XDG_CONFIG_HOME", ".config");
}
