#include "platform/file_lock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLockResult LockFileExclusive(const char* path, int* handle, int* error)
{
    *handle = -1;
    *error = 0;
    // Not inherited: a program the run starts must not keep the lock after the run.
    int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = errno;
        return kFileLockFailed;
    }
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            *handle = fd;
            return kFileLocked;
        }
        if (errno == EINTR)
            continue;
        *error = errno;
        close(fd);
        return *error == EWOULDBLOCK ? kFileLockBusy : kFileLockFailed;
    }
}

void UnlockFile(int handle)
{
    if (handle < 0)
        return;
    flock(handle, LOCK_UN);
    close(handle);
}
