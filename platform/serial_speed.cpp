// The line speed set exactly through the kernel's termios2, which takes any rate in bit/s.
// It lives apart from serial_port.cpp: the kernel's termios records clash with the C
// library's <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

// From platform/serial_port.h, which cannot be included beside the kernel's records.
int PortErrorFromErrno(int errnoValue);
int SetLineSpeedExactly(int port, int32_t rate);
int GetLineSpeed(int fd, int32_t* outputRate, int32_t* inputRate, bool* arbitrary);

namespace {

constexpr int kPortErrorInvalidParameter = 87;

struct RateCode {
    int32_t rate;
    tcflag_t code;
};

const RateCode kRateCodes[] = {
    {300, B300},     {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

// The line's own code for the rate, BOTHER (an arbitrary rate) when it has none.
tcflag_t CodeOf(int32_t rate)
{
    for (const RateCode& known : kRateCodes)
        if (known.rate == rate)
            return known.code;
    return BOTHER;
}

}  // namespace

int SetLineSpeedExactly(int port, int32_t rate)
{
    if (rate <= 0)
        return kPortErrorInvalidParameter;
    termios2 line{};
    if (ioctl(port, TCGETS2, &line) != 0)
        return PortErrorFromErrno(errno);
    // One rate both ways: the input speed bits cleared mean "as the output".
    line.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= CodeOf(rate);
    line.c_ospeed = speed_t(rate);
    line.c_ispeed = speed_t(rate);
    if (ioctl(port, TCSETS2, &line) != 0)
        return PortErrorFromErrno(errno);
    // A driver that cannot keep the rate answers with the nearest it can do.
    termios2 kept{};
    if (ioctl(port, TCGETS2, &kept) != 0)
        return PortErrorFromErrno(errno);
    return kept.c_ospeed == speed_t(rate) ? 0 : kPortErrorInvalidParameter;
}

int GetLineSpeed(int fd, int32_t* outputRate, int32_t* inputRate, bool* arbitrary)
{
    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0)
        return PortErrorFromErrno(errno);
    *outputRate = int32_t(line.c_ospeed);
    *inputRate = int32_t(line.c_ispeed);
    *arbitrary = (line.c_cflag & CBAUD) == BOTHER;
    return 0;
}
