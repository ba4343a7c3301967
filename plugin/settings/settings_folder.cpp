#include "plugin/settings/settings_folder.h"

#include "platform/documents_folder.h"
#include "plugin/settings/settings_program.h"

#include <cstring>
#include <string>
#include <sys/stat.h>

const char kSettingsFileName[] = "TRAVEX2K.INI";

namespace {

constexpr int kPathRoom = 4096;

int FolderLimit(int length)
{
    int limit = CurrentSettingsProgram() == kSettingsPlugin ? kPluginPrefsFolderLimit
                                                            : kProgramPrefsFolderLimit;
    return length - 1 < limit ? length - 1 : limit;
}

// The folder path, with both levels created; a status when there is no documents folder
// or the path is longer than limit.
int BuildPrefsFolder(std::string& folder, int limit)
{
    char documents[kPathRoom];
    int status = GetDocumentsFolder(documents, sizeof documents);
    if (status != kFolderSuccess)
        return status;
    folder = documents;
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    std::string adobe = folder + "/Adobe";
    folder = adobe + "/Illustrator";
    if (limit < 0 || folder.size() > static_cast<size_t>(limit))
        return kSettingsPathTooLong;
    // A failed creation shows later as a file that cannot be opened. A fresh account
    // may have no documents folder yet; the shell's personal folder always exists.
    mkdir(documents, 0777);
    mkdir(adobe.c_str(), 0777);
    mkdir(folder.c_str(), 0777);
    return 0;
}

int Deliver(const std::string& text, int status, char* buffer, int length)
{
    if (buffer == nullptr || length <= 0)
        return kSettingsPathTooLong;
    if (status != 0 || text.size() + 1 > static_cast<size_t>(length)) {
        buffer[0] = '\0';
        return status != 0 ? status : kSettingsPathTooLong;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 0;
}

} // namespace

int GetPrefsFolder(char* buffer, int length)
{
    std::string folder;
    int status = BuildPrefsFolder(folder, FolderLimit(length));
    return Deliver(folder, status, buffer, length);
}

int CopyPrefsFolder(char* buffer, int length)
{
    return GetPrefsFolder(buffer, length);
}

int GetSettingsFilePath(char* buffer, int length)
{
    std::string folder;
    int status = BuildPrefsFolder(folder, FolderLimit(kPathRoom));
    std::string path = folder + "/" + kSettingsFileName;
    return Deliver(path, status, buffer, length);
}
