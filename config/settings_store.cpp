#include "config/settings_store.h"

#include "plugin/settings/settings_defaults.h"
#include "plugin/settings/settings_file.h"
#include "plugin/settings/settings_folder.h"
#include "plugin/settings/settings_program.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

PlotSettings gPlotSettings;
PaperList gPaperList;
CustomSizeList gCustomSizeList;

namespace {

constexpr long kBlockAt514Offset = 514;
constexpr int kPathRoom = 512;

SettingsWriteFailure g_writeFailure;

void NoteWriteFailure(const std::string& path, int error)
{
    if (g_writeFailure.failed)
        return;
    g_writeFailure.failed = true;
    g_writeFailure.error = error;
    g_writeFailure.path = path;
}

// One block into the existing file; the file is not created and its version not tested.
int WriteExistingBlock(long offset, const void* block, uint16_t count)
{
    std::string path = SettingsFilePath();
    if (path.empty()) {
        NoteWriteFailure(path, ENAMETOOLONG);
        return -1;
    }
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        NoteWriteFailure(path, errno);
        return -1;
    }
    int written = WriteFileBlock(fd, offset, block, count);
    int error = errno;
    int closed = close(fd);
    if (written != count) {
        NoteWriteFailure(path, error);
        return -1;
    }
    if (closed != 0) {
        NoteWriteFailure(path, errno);
        return -1;
    }
    return 0;
}

// Opens the file for writing, creating it with defaults when it is missing; -1 without one.
int OpenOrCreateForWriting(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (InitSettingsFile(fd) != 0) {
        close(fd);
        unlink(path.c_str());
        return -1;
    }
    return fd;
}

} // namespace

std::string SettingsFilePath()
{
    char buffer[kPathRoom];
    if (GetSettingsFilePath(buffer, sizeof buffer) != 0)
        return std::string();
    return buffer;
}

int ReadAllSettings()
{
    // A block that cannot be read shows its defaults rather than zeros.
    SetDefaultPlotSettings(&gPlotSettings);
    SetDefaultPaperList(&gPaperList);
    std::memset(&gCustomSizeList, 0, sizeof gCustomSizeList);
    SetInitSettingsBlocks(&gPlotSettings, &gPaperList);
    int status = ReadPlotSettings(&gPlotSettings);
    int papers = ReadPaperList(&gPaperList);
    int sizes = ReadCustomSizeList(&gCustomSizeList);
    if (status == 0)
        status = papers;
    if (status == 0)
        status = sizes;
    return status;
}

int WritePlotSettings(const PlotSettings* block)
{
    return WriteExistingBlock(kPlotSettingsOffset, block, sizeof *block);
}

int WritePaperList(const PaperList* block)
{
    return WriteExistingBlock(kPaperListOffset, block, sizeof *block);
}

int WriteCustomSizeList(const CustomSizeList* block)
{
    return WriteExistingBlock(kCustomSizeListOffset, block, sizeof *block);
}

int ReadPlotSettingsIfGiven(PlotSettings* block)
{
    return block != nullptr ? ReadPlotSettings(block) : 0;
}

int ReadPaperListIfGiven(PaperList* block)
{
    return block != nullptr ? ReadPaperList(block) : 0;
}

int WritePlotSettingsIfGiven(const PlotSettings* block)
{
    return block != nullptr ? WritePlotSettings(block) : 0;
}

int WritePaperListIfGiven(const PaperList* block)
{
    return block != nullptr ? WritePaperList(block) : 0;
}

int WriteBlockAt514AndAll(const void* buffer, uint16_t count)
{
    std::string path = SettingsFilePath();
    int fd = path.empty() ? -1 : OpenOrCreateForWriting(path);
    if (fd < 0) {
        NoteWriteFailure(path, path.empty() ? ENAMETOOLONG : errno);
        return -1;
    }
    int status = WriteFileBlock(fd, kBlockAt514Offset, buffer, count) == count ? 0 : -1;
    if (status != 0)
        NoteWriteFailure(path, errno);
    if (WritePlotSettings(&gPlotSettings) != 0 || WritePaperList(&gPaperList) != 0 ||
        WriteCustomSizeList(&gCustomSizeList) != 0)
        status = -1;
    if (close(fd) != 0) {
        NoteWriteFailure(path, errno);
        status = -1;
    }
    return status;
}

int ReadBlockAt514AndAll(void* buffer, uint16_t count, int16_t* flag)
{
    if (flag != nullptr)
        *flag = 0;
    std::string path = SettingsFilePath();
    int fd = path.empty() ? -1 : open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (CheckSettingsFileVersion(fd) != 0) {
        close(fd);
        return -1;
    }
    ReadFileBlock(fd, kBlockAt514Offset, buffer, count);
    ReadPlotSettings(&gPlotSettings);
    ReadPaperList(&gPaperList);
    ReadCustomSizeList(&gCustomSizeList);
    close(fd);
    return 0;
}

SettingsWriteFailure LastSettingsWriteFailure()
{
    return g_writeFailure;
}

void ClearSettingsWriteFailure()
{
    g_writeFailure = SettingsWriteFailure();
}
