#include "plugin/settings/settings_file.h"

#include "plugin/settings/settings_defaults.h"
#include "plugin/settings/settings_folder.h"
#include "plugin/settings/settings_program.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

const char kSettingsBackupSuffix[] = ".bak";

namespace {

constexpr int kPathRoom = 512;
constexpr int kZeroChunk = 256;
constexpr int kZeroChunks = 70;
// A settings file is a few kilobytes; a larger one is no settings file worth copying.
constexpr size_t kLargestBackup = 64 * 1024 * 1024;

bool SettingsFilePath(std::string& path)
{
    char buffer[kPathRoom];
    if (GetSettingsFilePath(buffer, sizeof buffer) != 0)
        return false;
    path = buffer;
    return true;
}

// Copies every byte of the open file into the backup beside it, replacing an older backup
// only once the new one is complete.
bool KeepBackup(int fd)
{
    std::string path;
    if (!SettingsFilePath(path))
        return false;
    std::string bytes;
    if (ReadWholeDescriptor(fd, kLargestBackup, &bytes) != 0)
        return false;
    return ReplaceWholeFile(path + kSettingsBackupSuffix, bytes, 0666) == 0;
}

int16_t FileVersion(int fd)
{
    int16_t version = 0;
    if (ReadFileBlock(fd, 0, &version, sizeof version) != sizeof version)
        return 0;
    return version;
}

// Opens the file for one block access, creating it with defaults when it is missing;
// -1 when there is no usable file.
int OpenSettingsFile()
{
    std::string path;
    if (!SettingsFilePath(path))
        return -1;
    if (CurrentSettingsProgram() == kSettingsSender) {
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && FileVersion(fd) != kSettingsFileVersion) {
            close(fd);
            return -1;
        }
        return fd;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            if (CheckSettingsFileVersion(fd) != 0) {
                close(fd);
                return -1;
            }
            return fd;
        }
        // Only a missing file is created: an existing one that cannot be opened keeps
        // whatever the user has in it.
        if (errno != ENOENT)
            return -1;
        fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (InitSettingsFile(fd) != 0) {
                close(fd);
                unlink(path.c_str());
                return -1;
            }
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

int ReadBlock(long offset, void* buffer, uint16_t count)
{
    int fd = OpenSettingsFile();
    if (fd < 0)
        return -1;
    int read = ReadFileBlock(fd, offset, buffer, count);
    int closed = close(fd);
    return read < 0 ? -1 : closed;
}

// The readers of the names count on their terminators.
void TerminateNames(PaperEntry* rows)
{
    for (int i = 0; i < kPaperListRows; ++i)
        rows[i].szName[sizeof rows[i].szName - 1] = '\0';
}

} // namespace

int ReadFileBlock(int fd, long offset, void* buffer, uint16_t count)
{
    if (fd < 0 || offset < 0 || (buffer == nullptr && count > 0))
        return -1;
    char* bytes = static_cast<char*>(buffer);
    int done = 0;
    while (done < count) {
        ssize_t n = pread(fd, bytes + done, count - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<int>(n);
    }
    return done;
}

int WriteFileBlock(int fd, long offset, const void* buffer, uint16_t count)
{
    if (fd < 0 || offset < 0 || (buffer == nullptr && count > 0))
        return -1;
    const char* bytes = static_cast<const char*>(buffer);
    int done = 0;
    while (done < count) {
        ssize_t n = pwrite(fd, bytes + done, count - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        done += static_cast<int>(n);
    }
    return done;
}

int CheckSettingsFileVersion(int fd)
{
    if (FileVersion(fd) == kSettingsFileVersion)
        return 0;
    if (CurrentSettingsProgram() == kSettingsSender)
        return -1;
    // An empty file holds nothing to keep, and must not replace an older backup.
    off_t size = lseek(fd, 0, SEEK_END);
    if (size != 0 && !KeepBackup(fd))
        return -1;
    return InitSettingsFile(fd);
}

int InitSettingsFile(int fd)
{
    int16_t version = kSettingsFileVersion;
    if (WriteFileBlock(fd, 0, &version, sizeof version) != sizeof version)
        return -1;
    char zeros[kZeroChunk] = {};
    for (int i = 0; i < kZeroChunks; ++i)
        if (WriteFileBlock(fd, 2 + i * kZeroChunk, zeros, kZeroChunk) != kZeroChunk)
            return -1;
    if (ftruncate(fd, kSettingsFileSize) != 0)
        return -1;

    PlotSettings* settings = nullptr;
    PaperList* papers = nullptr;
    GetInitSettingsBlocks(&settings, &papers);
    PlotSettings ownSettings;
    PaperList ownPapers;
    if (settings == nullptr)
        settings = &ownSettings;
    if (papers == nullptr)
        papers = &ownPapers;
    SetDefaultPlotSettings(settings);
    if (WriteFileBlock(fd, kPlotSettingsOffset, settings, sizeof *settings) != sizeof *settings)
        return -1;
    SetDefaultPaperList(papers);
    if (WriteFileBlock(fd, kPaperListOffset, papers, sizeof *papers) != sizeof *papers)
        return -1;
    return 0;
}

int ReadPlotSettings(PlotSettings* block)
{
    if (block == nullptr)
        return -1;
    int status = ReadBlock(kPlotSettingsOffset, block, sizeof *block);
    if (status == 0) {
        block->szHost[sizeof block->szHost - 1] = '\0';
        block->szHeader[sizeof block->szHeader - 1] = '\0';
        block->szFooter[sizeof block->szFooter - 1] = '\0';
    }
    return status;
}

int ReadPaperList(PaperList* block)
{
    if (block == nullptr)
        return -1;
    int status = ReadBlock(kPaperListOffset, block, sizeof *block);
    if (status == 0)
        TerminateNames(block->aEntry);
    return status;
}

int ReadCustomSizeList(CustomSizeList* block)
{
    if (block == nullptr)
        return -1;
    int status = ReadBlock(kCustomSizeListOffset, block, sizeof *block);
    if (status == 0)
        for (CustomSizeEntry& row : block->aEntry)
            row.szName[sizeof row.szName - 1] = '\0';
    return status;
}

PlotSettings* LoadPlotSettings()
{
    auto* block = static_cast<PlotSettings*>(std::calloc(1, sizeof(PlotSettings)));
    if (block != nullptr)
        ReadPlotSettings(block);
    return block;
}

PaperList* LoadPaperList()
{
    auto* block = static_cast<PaperList*>(std::calloc(1, sizeof(PaperList)));
    if (block != nullptr)
        ReadPaperList(block);
    return block;
}

CustomSizeList* LoadCustomSizeList()
{
    auto* block = static_cast<CustomSizeList*>(std::calloc(1, sizeof(CustomSizeList)));
    if (block != nullptr)
        ReadCustomSizeList(block);
    return block;
}
