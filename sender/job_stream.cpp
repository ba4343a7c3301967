#include "sender/job_stream.h"

#include "plugin/settings/settings_folder.h"
#include "sender/sender_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

const char kSenderJobFileName[] = "TRAVEX-Pro.sdr";
const char kPlotDataFileName[] = "TRAVEX-Pro.tmp";
const char kSenderEndLine[] = "/E\r\n";
const char kShortSendWarning[] = "OTSndQ: Not enough bytes sent";

namespace {

constexpr int kFolderRoom = 255;

int Report(int error, const std::string& what)
{
    std::fprintf(stderr, "TRVXSender: %s: %s\n", what.c_str(), DescribeSocketError(error));
    return error;
}

// Reads exactly count bytes; 0, or the error (EIO when the file ended early).
int ReadPiece(int fd, unsigned char* buffer, size_t count)
{
    size_t done = 0;
    while (done < count) {
        ssize_t n = read(fd, buffer + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Opens a job file for reading and takes its size; 0 or the error.
int OpenJobFile(const std::string& path, int* fd, off_t* size)
{
    *fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (*fd < 0)
        return errno;
    *size = lseek(*fd, 0, SEEK_END);
    if (*size < 0 || lseek(*fd, 0, SEEK_SET) != 0) {
        int error = errno;
        close(*fd);
        *fd = -1;
        return error;
    }
    return 0;
}

// The stream starts with the job file unchanged, one send per piece of 80 bytes.
int SendJobFile(TcpSocket socket, const std::string& path)
{
    int fd = -1;
    off_t remaining = 0;
    int result = OpenJobFile(path, &fd, &remaining);
    if (result != 0)
        return Report(result, "cannot open the job file " + path);
    unsigned char piece[kJobPieceSize];
    while (result == 0 && remaining > 0) {
        size_t n = remaining < kJobPieceSize ? static_cast<size_t>(remaining) : kJobPieceSize;
        result = ReadPiece(fd, piece, n);
        if (result != 0)
            Report(result, "cannot read the job file " + path);
        else if ((result = SendBuffer(socket, piece, n)) != 0)
            Report(result, "sending the job file failed");
        remaining -= static_cast<off_t>(n);
    }
    close(fd);
    return result;
}

// Then the plot data as lines of hexadecimal digits, 40 bytes a line.
int SendPlotData(TcpSocket socket, const std::string& path)
{
    int fd = -1;
    off_t remaining = 0;
    int result = OpenJobFile(path, &fd, &remaining);
    if (result != 0)
        return Report(result, "cannot open the plot data file " + path);
    unsigned char piece[kHexPieceSize];
    char line[2 * kHexPieceSize + 3];
    while (result == 0 && remaining > 0) {
        size_t n = remaining < kHexPieceSize ? static_cast<size_t>(remaining) : kHexPieceSize;
        result = ReadPiece(fd, piece, n);
        if (result != 0) {
            Report(result, "cannot read the plot data file " + path);
            break;
        }
        EncodeHex(piece, static_cast<int>(n), line);
        std::strcat(line, "\r\n");
        result = SendBuffer(socket, line, static_cast<size_t>(StringLength(line)));
        if (result != 0)
            Report(result, "sending the plot data failed");
        remaining -= static_cast<off_t>(n);
    }
    close(fd);
    return result;
}

} // namespace

int SendJob(TcpSocket socket)
{
    char folder[kFolderRoom + 1];
    int status = GetPrefsFolder(folder, kFolderRoom);
    if (status != 0) {
        std::fprintf(stderr, "TRVXSender: no settings folder (the documents folder is missing or its path too long)\n");
        return status;
    }
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    int result = SendJobFile(socket, prefix + kSenderJobFileName);
    if (result == 0)
        result = SendPlotData(socket, prefix + kPlotDataFileName);
    if (result == 0) {
        result = SendBuffer(socket, kSenderEndLine, 4);
        if (result != 0)
            Report(result, "sending the end line failed");
    }
    return result;
}

int SendBuffer(TcpSocket socket, const void* bytes, size_t count)
{
    const char* rest = static_cast<const char*>(bytes);
    while (count > 0) {
        size_t sent = 0;
        int error = SendOnSocket(socket, rest, count, &sent);
        if (error != 0)
            return error;
        if (sent == 0)
            return EIO;   // a connection that takes nothing would keep us here forever
        // The rest goes out with the next send instead of being dropped.
        WarnUnless(kShortSendWarning, sent == count);
        rest += sent;
        count -= sent;
    }
    return 0;
}

void WarnUnless(const char* message, int16_t flag)
{
    if (flag == 0)
        std::fprintf(stderr, "%s\n", message);
}
