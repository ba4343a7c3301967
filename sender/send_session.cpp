#include "sender/send_session.h"

#include "plugin/settings/settings_file.h"
#include "plugin/settings/settings_folder.h"
#include "sender/job_stream.h"
#include "platform/tcp_socket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

const char kBuiltInServerHost[] = "127.0.0.1";

namespace {

constexpr int kFolderRoom = 255;

int Report(int error, const char* what, const char* host, int32_t port)
{
    std::fprintf(stderr, "TRVXSender: %s %s port %d: %s\n", what, host, static_cast<int>(port),
                 DescribeSocketError(error));
    return error;
}

// A port outside 1..65535 would reach another port than the one stored.
bool IsPortNumber(int32_t port)
{
    return port >= 1 && port <= 65535;
}

int ConnectAndSend(TcpSocket socket, const char* host, int32_t port)
{
    if (!IsPortNumber(port)) {
        std::fprintf(stderr, "TRVXSender: the TCP port %d of the settings is not a port number (1 to 65535)\n",
                     static_cast<int>(port));
        return EINVAL;
    }
    uint32_t address = 0;
    int result = ResolveHostAddress(host, &address);
    if (result != 0)
        return Report(result, "cannot find the network plotter server", host, port);
    result = ConnectTcpSocket(socket, address, static_cast<uint16_t>(port));
    if (result != 0)
        return Report(result, "cannot connect to the network plotter server", host, port);
    result = SendJob(socket);
    ShutdownTcpSocket(socket);
    return result;
}

} // namespace

int RunSendSession()
{
    TcpSocket socket = kInvalidSocket;
    int result = CreateTcpSocket(&socket);
    if (result != 0) {
        std::fprintf(stderr, "TRVXSender: no socket: %s\n", DescribeSocketError(result));
        return result;
    }
    char host[kServerHostRoom];
    int32_t port = 0;
    GetServerAddress(host, &port);
    result = ConnectAndSend(socket, host, port);
    CloseTcpSocket(socket);
    return result;
}

void GetServerAddress(char* host, int32_t* port)
{
    std::snprintf(host, kServerHostRoom, "%s", kBuiltInServerHost);
    *port = kBuiltInServerPort;
    PlotSettings settings;
    if (ReadSenderSettings(&settings) == 0)
        return;
    std::memcpy(host, settings.szHost, kServerHostRoom);
    host[kServerHostRoom - 1] = '\0';
    *port = settings.iTcpPort;
}

int ReadSenderSettings(PlotSettings* settings)
{
    char folder[kFolderRoom + 1];
    if (GetPrefsFolder(folder, kFolderRoom) != 0)
        return 0;
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += kSettingsFileName;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    int read = 0;
    if (CheckSenderSettingsVersion(fd))
        read = ReadFileBlock(fd, kPlotSettingsOffset, settings, sizeof *settings) == sizeof *settings;
    close(fd);
    return read;
}

int CheckSenderSettingsVersion(int fd)
{
    int16_t version = 0;
    if (ReadFileBlock(fd, 0, &version, sizeof version) != sizeof version)
        return 0;
    return version == kSettingsFileVersion ? 1 : 0;
}
