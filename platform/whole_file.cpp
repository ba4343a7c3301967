#include "platform/whole_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Fail(FileStep* step, FileStep at, int error)
{
    if (step != nullptr)
        *step = at;
    return error != 0 ? error : EIO;
}

// The file a replacement of path writes: a link's target, so the link stays.
std::string ReplacedPath(const std::string& path)
{
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

mode_t ModeFor(const std::string& path, mode_t newFileMode)
{
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return info.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return newFileMode & ~mask;
}

}  // namespace

int ReadWholeDescriptor(int fd, size_t limit, std::string* bytes, FileStep* step)
{
    if (step != nullptr)
        *step = FileStep::kNone;
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return Fail(step, FileStep::kRead, errno);
    if (S_ISDIR(info.st_mode))
        return Fail(step, FileStep::kRead, EISDIR);
    if (!S_ISREG(info.st_mode))
        return Fail(step, FileStep::kRead, EINVAL);
    if (static_cast<unsigned long long>(info.st_size) > limit)
        return Fail(step, FileStep::kRead, EFBIG);
    std::string text(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = pread(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(step, FileStep::kRead, errno);
        if (n == 0)
            break;   // the file shrank while it was read
        done += static_cast<size_t>(n);
    }
    text.resize(done);
    *bytes = std::move(text);
    return 0;
}

int ReadWholeFile(const std::string& path, size_t limit, std::string* bytes, FileStep* step)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(step, FileStep::kOpen, errno);
    int error = ReadWholeDescriptor(fd, limit, bytes, step);
    close(fd);
    return error;
}

int WriteFileBeside(const std::string& path, const std::string& bytes, mode_t newFileMode, std::string* fresh,
                    FileStep* step)
{
    if (step != nullptr)
        *step = FileStep::kNone;
    const std::string target = ReplacedPath(path);
    // A name of its own, so two writers never share a fresh file and none is followed.
    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        return Fail(step, FileStep::kCreate, errno);
    auto abandon = [&](FileStep at, int error) {
        close(fd);
        unlink(name.data());
        return Fail(step, at, error);
    };
    if (fchmod(fd, ModeFor(target, newFileMode)) != 0)
        return abandon(FileStep::kMode, errno);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(FileStep::kWrite, errno);
        done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0)
        return abandon(FileStep::kFlush, errno);
    if (close(fd) != 0) {
        int error = errno;
        unlink(name.data());
        return Fail(step, FileStep::kClose, error);
    }
    *fresh = name.data();
    return 0;
}

int RenameFileOver(const std::string& fresh, const std::string& path, FileStep* step)
{
    if (step != nullptr)
        *step = FileStep::kNone;
    const std::string target = ReplacedPath(path);
    if (rename(fresh.c_str(), target.c_str()) != 0) {
        int error = errno;
        unlink(fresh.c_str());
        return Fail(step, FileStep::kRename, error);
    }
    // The rename itself reaches the disk with the folder.
    int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return 0;
}

int ReplaceWholeFile(const std::string& path, const std::string& bytes, mode_t newFileMode, FileStep* step)
{
    std::string fresh;
    int error = WriteFileBeside(path, bytes, newFileMode, &fresh, step);
    return error != 0 ? error : RenameFileOver(fresh, path, step);
}
