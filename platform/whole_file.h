// Reading and replacing a file whole.
//
// A read takes at most a limit of bytes, so that a huge or endless file never takes all the
// memory. A replacement writes the new bytes into a fresh file beside the old one, brings
// them to the disk, renames the fresh file over the old one and brings the rename to the
// disk with the folder: at every moment the file holds its old bytes or its new ones, never
// a part. A path that is a symbolic link stays a link: its target is replaced.
#pragma once

#include <cstddef>
#include <string>

#include <sys/types.h>

// The step a read or a replacement failed in.
enum class FileStep { kNone, kOpen, kRead, kCreate, kMode, kWrite, kFlush, kClose, kRename };

// The whole file into bytes: 0, or the error number (ENOENT for a missing file, EISDIR or
// EINVAL for something that is no regular file, EFBIG beyond limit bytes).
int ReadWholeFile(const std::string& path, size_t limit, std::string* bytes, FileStep* step = nullptr);
// The same from an open file, from its first byte whatever its position.
int ReadWholeDescriptor(int fd, size_t limit, std::string* bytes, FileStep* step = nullptr);

// The new bytes in a fresh file beside path (its target for a link), on the disk, with the
// permissions of the file it is to replace, else newFileMode less the umask; its name into
// *fresh. 0 or the error number; nothing is left behind on failure.
int WriteFileBeside(const std::string& path, const std::string& bytes, mode_t newFileMode, std::string* fresh,
                    FileStep* step = nullptr);
// Renames the fresh file over path (its target for a link) and brings the rename to the
// disk; the fresh file is removed when the rename fails. 0 or the error number.
int RenameFileOver(const std::string& fresh, const std::string& path, FileStep* step = nullptr);
// Both: path holds exactly bytes, or it is left as it was.
int ReplaceWholeFile(const std::string& path, const std::string& bytes, mode_t newFileMode,
                     FileStep* step = nullptr);
