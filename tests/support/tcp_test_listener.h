// A TCP listener on 127.0.0.1 for tests: the network plotter server's side of a connection.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

struct TcpTestListener {
    int fd = -1;
    uint16_t port = 0;

    // Listens on port of 127.0.0.1 (0: a free one); a receive buffer of the given size
    // (0: the system's) makes a slow reader. false when the port is taken.
    bool Open(uint16_t wanted = 0, int receiveBuffer = 0)
    {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (receiveBuffer > 0)
            setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(wanted);
        socklen_t length = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
            close(fd);
            fd = -1;
            return false;
        }
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        return true;
    }

    // The next connection (waits for it).
    int Accept() { return accept4(fd, nullptr, nullptr, SOCK_CLOEXEC); }

    void Close()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
        port = 0;
    }

    ~TcpTestListener() { Close(); }
};

// Reads from the connection until the peer closes it or limit bytes have come.
inline std::string ReadUntilClosed(int connection, size_t limit = SIZE_MAX)
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < limit) {
        size_t want = limit - bytes.size() < sizeof buffer ? limit - bytes.size() : sizeof buffer;
        ssize_t n = read(connection, buffer, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}
