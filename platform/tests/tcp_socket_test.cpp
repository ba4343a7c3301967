// TCP client sockets against real listeners on 127.0.0.1.
#include "platform/tcp_socket.h"

#include "tests/support/tcp_test_listener.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <string>

namespace {

TEST(TcpSocket, NamesAndDottedAddressesResolveToTheirIPv4Address)
{
    struct Case {
        const char* host;
        int error;
        const char* address;
    } cases[] = {
        {"127.0.0.1", 0, "127.0.0.1"},
        {"localhost", 0, "127.0.0.1"},
        {"", kSocketHostNotFound, nullptr},
        {nullptr, kSocketHostNotFound, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host ? c.host : "(none)");
        uint32_t address = 0;
        EXPECT_EQ(ResolveHostAddress(c.host, &address), c.error);
        if (c.address != nullptr) {
            char text[INET_ADDRSTRLEN];
            EXPECT_STREQ(inet_ntop(AF_INET, &address, text, sizeof text), c.address);
        }
    }
    EXPECT_STREQ(DescribeSocketError(kSocketHostNotFound), "no such host");
}

TEST(TcpSocket, BytesSentReachTheListenerInOrder)
{
    TcpTestListener listener;
    ASSERT_TRUE(listener.Open());
    TcpSocket s = kInvalidSocket;
    ASSERT_EQ(CreateTcpSocket(&s), 0);
    uint32_t address = 0;
    ASSERT_EQ(ResolveHostAddress("127.0.0.1", &address), 0);
    ASSERT_EQ(ConnectTcpSocket(s, address, listener.port), 0);
    std::string message = "SUB:Plan-A\r\nBRC:0,0,4000,4000\r\n";
    size_t sent = 0;
    ASSERT_EQ(SendOnSocket(s, message.data(), message.size(), &sent), 0);
    EXPECT_EQ(sent, message.size());
    EXPECT_EQ(ShutdownTcpSocket(s), 0);
    EXPECT_EQ(CloseTcpSocket(s), 0);
    int connection = listener.Accept();
    EXPECT_EQ(ReadUntilClosed(connection), message);
    close(connection);
}

TEST(TcpSocket, AConnectionNobodyTakesIsRefused)
{
    TcpTestListener closed;
    ASSERT_TRUE(closed.Open());
    uint16_t port = closed.port;
    close(closed.fd);
    closed.fd = -1;
    TcpSocket s = kInvalidSocket;
    ASSERT_EQ(CreateTcpSocket(&s), 0);
    EXPECT_EQ(ConnectTcpSocket(s, htonl(INADDR_LOOPBACK), port), ECONNREFUSED);
    EXPECT_STREQ(DescribeSocketError(ECONNREFUSED), std::strerror(ECONNREFUSED));
    CloseTcpSocket(s);
}

// SIGPIPE stays at its default here: a send on a broken connection must come back as an
// error code, not end the process.
TEST(TcpSocket, ASendOnABrokenConnectionIsAnErrorNotASignal)
{
    TcpTestListener listener;
    ASSERT_TRUE(listener.Open());
    TcpSocket s = kInvalidSocket;
    ASSERT_EQ(CreateTcpSocket(&s), 0);
    ASSERT_EQ(ConnectTcpSocket(s, htonl(INADDR_LOOPBACK), listener.port), 0);
    int connection = listener.Accept();
    size_t sent = 0;
    ASSERT_EQ(SendOnSocket(s, "PU;", 3, &sent), 0);
    close(connection);   // unread bytes: the peer resets the connection
    int error = 0;
    for (int i = 0; i < 1000 && error == 0; ++i)
        error = SendOnSocket(s, "PD;", 3, &sent);
    EXPECT_TRUE(error == EPIPE || error == ECONNRESET) << error;
    EXPECT_EQ(sent, 0u);
    CloseTcpSocket(s);
}

TEST(TcpSocket, StartingSocketsIgnoresBrokenPipeSignals)
{
    struct sigaction previous{};
    sigaction(SIGPIPE, nullptr, &previous);
    EXPECT_EQ(StartSockets(), 0);
    struct sigaction now{};
    sigaction(SIGPIPE, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    EXPECT_EQ(CleanupSockets(), 0);
    sigaction(SIGPIPE, &previous, nullptr);
}

} // namespace
