#include "platform/serial_port.h"

#include "platform/tick_count.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Write wait per open port in milliseconds; absent = kPortDefaultWriteWaitMs.
std::map<int, int>& WriteTimeouts()
{
    static std::map<int, int> timeouts;
    return timeouts;
}

// The system's rates that termios has no code for: set as arbitrary rates.
bool IsArbitraryRate(int32_t rate) { return rate == 28800; }

int LineModemCall(int port, int lines, bool raise)
{
    return ioctl(port, raise ? TIOCMBIS : TIOCMBIC, &lines) == 0 ? 0 : errno;
}

ModemLineCall gModemLineCall = LineModemCall;

int LineStateSet(int port, const termios* state) { return tcsetattr(port, TCSANOW, state) == 0 ? 0 : errno; }

LineStateCall gLineStateCall = LineStateSet;

// DTR and RTS raised or lowered; a line without modem lines (a pseudo-terminal) has none.
int SetDtrAndRts(int port, bool raise)
{
    int error = gModemLineCall(port, TIOCM_DTR | TIOCM_RTS, raise);
    if (error == 0 || error == ENOTTY || error == EINVAL)
        return 0;
    return PortErrorFromErrno(error);
}

int MillisecondsSince(uint32_t start) { return int(GetTickCount() - start); }

speed_t SpeedCode(int32_t rate)
{
    switch (rate) {
    case 300: return B300;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

}  // namespace

int PortErrorFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENXIO:
    case ENODEV: return kPortErrorFileNotFound;
    case EACCES:
    case EPERM: return kPortErrorAccessDenied;
    case EBUSY: return kPortErrorSharing;
    case EBADF: return kPortErrorInvalidHandle;
    case EINVAL: return kPortErrorInvalidParameter;
    case EISDIR: return kPortErrorAccessDenied;
    case ENOSPC:
    case EDQUOT: return kPortErrorDiskFull;
    case ETIMEDOUT: return kPortErrorTimeout;
    default: return kPortErrorGeneral;
    }
}

bool PortDevicePath(const char* portName, char* out, size_t room)
{
    if (portName == nullptr || out == nullptr || room == 0)
        return false;
    const char* defaultFormat = nullptr;
    int first = 0, last = 0;
    if (std::strncmp(portName, "COM", 3) == 0) {
        defaultFormat = "/dev/ttyS%d";
        last = 5;
    } else if (std::strncmp(portName, "LPT", 3) == 0) {
        defaultFormat = "/dev/lp%d";
        last = 2;
    } else {
        return false;
    }
    first = 1;
    int digit = portName[3] - '0';
    if (digit < first || digit > last || portName[4] != '\0')
        return false;
    char variable[32];
    std::snprintf(variable, sizeof variable, "TRAVEX_%s", portName);
    const char* mapped = std::getenv(variable);
    int n = mapped != nullptr && mapped[0] != '\0' ? std::snprintf(out, room, "%s", mapped)
                                                    : std::snprintf(out, room, defaultFormat, digit - 1);
    if (n < 0 || size_t(n) >= room) {
        out[0] = '\0';
        return false;
    }
    return true;
}

int OpenSerialPort(const char* portName, int* error)
{
    char path[256];
    if (!PortDevicePath(portName, path, sizeof path) || std::strncmp(portName, "COM", 3) != 0) {
        *error = kPortErrorFileNotFound;
        return kInvalidPort;
    }
    // Non-blocking open, so a line without carrier does not hang the open.
    int port = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port < 0) {
        *error = PortErrorFromErrno(errno);
        return kInvalidPort;
    }
    if (!isatty(port)) {
        close(port);
        *error = kPortErrorFileNotFound;
        return kInvalidPort;
    }
    // No sharing: a second open of the device is refused while this one lasts.
    if (ioctl(port, TIOCEXCL) != 0) {
        *error = PortErrorFromErrno(errno);
        close(port);
        return kInvalidPort;
    }
    *error = 0;
    return port;
}

int ComposeLineState(termios* state, const SerialSettings* settings)
{
    termios& line = *state;
    // Binary: no translation, no echo, no signals, bytes pass unchanged.
    line.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    line.c_oflag &= ~tcflag_t(OPOST);
    line.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag |= CREAD | CLOCAL;
    line.c_cflag &= ~tcflag_t(CRTSCTS);
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    line.c_cc[VSTART] = kPortXonChar;
    line.c_cc[VSTOP] = kPortXoffChar;
    if (settings->iBaudRate != 0) {
        speed_t speed = SpeedCode(settings->iBaudRate);
        if (speed == 0 && !IsArbitraryRate(settings->iBaudRate))
            return kPortErrorInvalidParameter;
        if (speed != 0) {
            cfsetispeed(&line, speed);
            cfsetospeed(&line, speed);
        }
    }
    if (settings->wDataBits == 7 || settings->wDataBits == 8) {
        line.c_cflag &= ~tcflag_t(CSIZE);
        line.c_cflag |= settings->wDataBits == 7 ? CS7 : CS8;
    }
    if (settings->wStopBits == kStopBitsOne)
        line.c_cflag &= ~tcflag_t(CSTOPB);
    else if (settings->wStopBits == kStopBitsTwo || settings->wStopBits == kStopBitsOneAndHalf)
        line.c_cflag |= CSTOPB;
    if (settings->wParity == kParityNone)
        line.c_cflag &= ~tcflag_t(PARENB | PARODD);
    else if (settings->wParity == kParityOdd)
        line.c_cflag |= PARENB | PARODD;
    else if (settings->wParity == kParityEven)
        line.c_cflag = (line.c_cflag | PARENB) & ~tcflag_t(PARODD);
    if (settings->fXonXoff != 0)
        line.c_iflag |= IXON | IXOFF;
    return 0;
}

int ApplySerialSettings(int port, const SerialSettings* settings)
{
    termios line{};
    if (tcgetattr(port, &line) != 0)
        return PortErrorFromErrno(errno);
    if (int error = ComposeLineState(&line, settings); error != 0)
        return error;
    if (int error = gLineStateCall(port, &line); error != 0)
        return PortErrorFromErrno(error);
    if (settings->iBaudRate != 0) {
        if (int error = SetLineSpeedExactly(port, settings->iBaudRate); error != 0)
            return error;
    }
    // Opening a line raises both; they stay up only when the settings ask for it.
    return SetDtrAndRts(port, settings->fRaiseDtrRts != 0);
}

void SetModemLineCall(ModemLineCall call) { gModemLineCall = call != nullptr ? call : LineModemCall; }

void SetLineStateCall(LineStateCall call) { gLineStateCall = call != nullptr ? call : LineStateSet; }

int SetPortTimeouts(int port, int writeTimeoutMs)
{
    if (fcntl(port, F_GETFL) < 0)
        return PortErrorFromErrno(errno);
    if (writeTimeoutMs > 0)
        WriteTimeouts()[port] = writeTimeoutMs;
    else
        WriteTimeouts().erase(port);
    return 0;
}

int PortStallLimitMs()
{
    const char* value = std::getenv("TRAVEX_PORT_TIMEOUT_MS");
    if (value == nullptr || value[0] == '\0')
        return kPortDefaultStallLimitMs;
    char* end = nullptr;
    long limit = std::strtol(value, &end, 10);
    return *end == '\0' && limit > 0 && limit <= 24L * 3600 * 1000 ? int(limit) : kPortDefaultStallLimitMs;
}

size_t WritePortBytes(int port, const void* bytes, size_t count, int* error)
{
    *error = 0;
    if (count == 0)
        return 0;
    auto found = WriteTimeouts().find(port);
    const int wait = found != WriteTimeouts().end() ? found->second : kPortDefaultWriteWaitMs;
    const uint32_t start = GetTickCount();
    for (;;) {
        ssize_t n = write(port, bytes, count);
        if (n > 0)
            return size_t(n);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            *error = PortErrorFromErrno(errno);
            return 0;
        }
        // No room: the plotter holds the line with XOFF or its buffer is full. A signal
        // that ends the poll early does not make the wait longer.
        int left = wait - MillisecondsSince(start);
        if (left <= 0) {
            *error = kPortErrorTimeout;
            return 0;
        }
        pollfd ready{port, POLLOUT, 0};
        int got = poll(&ready, 1, left);
        if (got < 0 && errno != EINTR) {
            *error = PortErrorFromErrno(errno);
            return 0;
        }
        if (got > 0 && (ready.revents & (POLLERR | POLLNVAL)) != 0) {
            *error = kPortErrorGeneral;
            return 0;
        }
    }
}

size_t ReadPortBytes(int port, void* buffer, size_t count, int* error)
{
    *error = 0;
    for (;;) {
        ssize_t n = read(port, buffer, count);
        if (n >= 0)
            return size_t(n);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            *error = PortErrorFromErrno(errno);
        return 0;
    }
}

void DiscardPortOutput(int port)
{
    if (port >= 0)
        tcflush(port, TCOFLUSH);  // a line that is no terminal (a printer port) has no queue here
}

void ClosePortDevice(int port)
{
    if (port < 0)
        return;
    WriteTimeouts().erase(port);
    close(port);
}
