// The job sender's side of a job for tests: the bytes TRVXSender puts on its connection for
// a job file and its plot data, and a receiver that reads one connection of a TCP listener
// to its end on a thread of the test.
#pragma once

#include "tests/support/tcp_test_listener.h"

#include <string>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

// The job file unchanged, 40 bytes of plot data a line of 80 upper-case hexadecimal digits
// and CR LF, then the end line.
inline std::string SenderStream(const std::string& jobFile, const std::string& plotData)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string stream = jobFile;
    for (size_t at = 0; at < plotData.size(); at += 40) {
        for (size_t i = at; i < plotData.size() && i < at + 40; ++i) {
            unsigned char byte = static_cast<unsigned char>(plotData[i]);
            stream += kDigits[byte >> 4];
            stream += kDigits[byte & 0x0F];
        }
        stream += "\r\n";
    }
    return stream + "/E\r\n";
}

// A connection accepted and read to its end on a thread of the test.
struct ReceivedStream {
    std::thread reader;
    std::string bytes;
    bool fConnected = false;

    void Start(TcpTestListener& listener)
    {
        reader = std::thread([this, &listener] {
            int connection = listener.Accept();
            if (connection >= 0) {
                fConnected = true;
                bytes = ReadUntilClosed(connection);
                close(connection);
            }
        });
    }
    // The bytes that came; after a failed run no connection may come, so the wait for one
    // ends with the listener.
    std::string Take(TcpTestListener& listener, bool connected)
    {
        if (!connected)
            shutdown(listener.fd, SHUT_RDWR);
        if (reader.joinable())
            reader.join();
        return bytes;
    }
    ~ReceivedStream()
    {
        if (reader.joinable())
            reader.join();
    }
};
