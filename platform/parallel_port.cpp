#include "platform/parallel_port.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "platform/serial_port.h"

int OpenParallelPort(const char* portName, int* error)
{
    char path[256];
    if (!PortDevicePath(portName, path, sizeof path) || std::strncmp(portName, "LPT", 3) != 0) {
        *error = kPortErrorFileNotFound;
        return kInvalidPort;
    }
    int port = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port < 0) {
        *error = PortErrorFromErrno(errno);
        return kInvalidPort;
    }
    *error = 0;
    return port;
}
