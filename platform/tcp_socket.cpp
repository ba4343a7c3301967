#include "platform/tcp_socket.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int StartSockets()
{
    std::signal(SIGPIPE, SIG_IGN);
    return 0;
}

int CleanupSockets()
{
    return 0;
}

int CreateTcpSocket(TcpSocket* result)
{
    *result = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    return *result == kInvalidSocket ? errno : 0;
}

int ResolveHostAddress(const char* host, uint32_t* address)
{
    if (host == nullptr || *host == '\0')
        return kSocketHostNotFound;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    int status = getaddrinfo(host, nullptr, &hints, &answer);
    if (status == EAI_AGAIN)
        return kSocketHostTryAgain;
    if (status == EAI_SYSTEM)
        return errno != 0 ? errno : kSocketHostNotFound;
    if (status != 0 || answer == nullptr)
        return kSocketHostNotFound;
    *address = reinterpret_cast<const sockaddr_in*>(answer->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(answer);
    return 0;
}

int ConnectTcpSocket(TcpSocket socket, uint32_t address, uint16_t port)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return 0;
    // An interrupted connect goes on in the background; wait for its outcome.
    if (errno != EINTR)
        return errno;
    pollfd done{socket, POLLOUT, 0};
    while (poll(&done, 1, -1) < 0)
        if (errno != EINTR)
            return errno;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int SendOnSocket(TcpSocket socket, const void* bytes, size_t count, size_t* sent)
{
    *sent = 0;
    for (;;) {
        ssize_t n = send(socket, bytes, count, MSG_NOSIGNAL);
        if (n >= 0) {
            *sent = static_cast<size_t>(n);
            return 0;
        }
        if (errno != EINTR)
            return errno;
    }
}

int ShutdownTcpSocket(TcpSocket socket)
{
    return shutdown(socket, SHUT_RDWR) == 0 ? 0 : errno;
}

int CloseTcpSocket(TcpSocket socket)
{
    if (socket == kInvalidSocket)
        return 0;
    return close(socket) == 0 ? 0 : errno;
}

const char* DescribeSocketError(int error)
{
    switch (error) {
    case kSocketHostNotFound: return "no such host";
    case kSocketHostTryAgain: return "the name service did not answer";
    default: return std::strerror(error);
    }
}
