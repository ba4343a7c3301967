// TCP client sockets over IPv4, the way the job sender uses the system's sockets: start-up,
// a stream socket, a host name or dotted address resolved, a connection, sends, a shutdown
// and a close.
//
// How to use (the sender is the model):
//   StartSockets();                        // once: a broken connection must not kill the
//                                          // process with SIGPIPE, its send reports it
//   TcpSocket s = kInvalidSocket;
//   int error = CreateTcpSocket(&s);       // 0 or an error code
//   uint32_t address = 0;
//   if (error == 0) error = ResolveHostAddress("127.0.0.1", &address);
//   if (error == 0) error = ConnectTcpSocket(s, address, 9100);
//   size_t sent = 0;
//   if (error == 0) error = SendOnSocket(s, bytes, count, &sent);   // sent may be < count
//   ShutdownTcpSocket(s); CloseTcpSocket(s); CleanupSockets();
//
// Error codes are the system's errno values (ECONNREFUSED, EPIPE, ...), and for a name that
// cannot be resolved kSocketHostNotFound or kSocketHostTryAgain; DescribeSocketError gives
// the text for a message. Every call blocks; there are no time-outs of this layer's own.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int TcpSocket;
constexpr TcpSocket kInvalidSocket = -1;

// Name-resolution failures, outside the range of errno values.
constexpr int kSocketHostNotFound = 11001;   // no such host, or no IPv4 address for it
constexpr int kSocketHostTryAgain = 11002;   // the name service did not answer this time

// Prepares the process for sockets: SIGPIPE is ignored. 0.
int StartSockets();
// The counterpart of StartSockets; 0.
int CleanupSockets();

// An IPv4 stream socket into *result (kInvalidSocket on failure); 0 or the error code.
int CreateTcpSocket(TcpSocket* result);

// The first IPv4 address of a host name or dotted address, in network byte order.
int ResolveHostAddress(const char* host, uint32_t* address);

// Connects to address (network byte order) and port (host byte order); 0 or the error code.
int ConnectTcpSocket(TcpSocket socket, uint32_t address, uint16_t port);

// One send of up to count bytes: *sent is what the system took, which may be fewer than
// offered. 0, or the error code with *sent 0. An interrupted call that took nothing is
// made again; a broken connection is an error code, never a signal.
int SendOnSocket(TcpSocket socket, const void* bytes, size_t count, size_t* sent);

// Shuts the connection down in both directions; 0 or the error code.
int ShutdownTcpSocket(TcpSocket socket);
// Closes the socket; 0 or the error code. kInvalidSocket is ignored.
int CloseTcpSocket(TcpSocket socket);

// A text for an error code of this layer, for messages.
const char* DescribeSocketError(int error);
