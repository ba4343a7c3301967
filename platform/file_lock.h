// An exclusive lock held on a lock file for as long as a run lasts (flock), so that two
// processes never write the same files at once. The lock goes with the process: a run
// that dies leaves no stale lock behind.
#pragma once

enum FileLockResult {
    kFileLocked = 0,      // the lock is held; release it with UnlockFile
    kFileLockBusy = 1,    // another process holds it
    kFileLockFailed = 2,  // the lock file cannot be created or opened (*error says why)
};

// Takes the lock of the file at path (created when missing) without waiting; *handle is
// the lock's handle when it was taken, else -1; *error the errno of a failure.
FileLockResult LockFileExclusive(const char* path, int* handle, int* error);
// Gives the lock up; a handle of -1 does nothing.
void UnlockFile(int handle);
