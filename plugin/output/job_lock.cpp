#include "plugin/output/job_lock.h"

#include <cstdio>
#include <cstring>

#include "platform/file_lock.h"
#include "plugin/settings/settings_folder.h"

const char kJobLockFileName[] = "TRAVEX-Pro.lock";

namespace {

int gLockHandle = -1;

}  // namespace

int GetJobFilesFolder(char* buffer, int length) { return GetPrefsFolder(buffer, length); }

int32_t LockJobFiles()
{
    if (gLockHandle >= 0)
        return kJobFilesBusyErr;  // a run inside a run
    char folder[kPluginPrefsFolderLimit + 1];
    if (GetPrefsFolder(folder, sizeof folder) != 0)
        return 0;
    char path[kPluginPrefsFolderLimit + 32];
    const size_t end = std::strlen(folder);
    std::snprintf(path, sizeof path, "%s%s%s", folder, end > 0 && folder[end - 1] == '/' ? "" : "/", kJobLockFileName);
    int error = 0;
    switch (LockFileExclusive(path, &gLockHandle, &error)) {
    case kFileLocked: return 0;
    case kFileLockBusy: return kJobFilesBusyErr;
    case kFileLockFailed: break;
    }
    return 0;
}

void UnlockJobFiles()
{
    UnlockFile(gLockHandle);
    gLockHandle = -1;
}
