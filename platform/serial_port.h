// The serial ports COM1 to COM5 on termios devices.
//
// COMn is /dev/ttyS(n-1) unless the environment variable TRAVEX_COMn names another device
// (TRAVEX_COM1=/dev/ttyUSB0 for a USB adapter). Failures give the system's error numbers
// of the original ports (kPortErrorFileNotFound and so on) for the progress texts.
//
// No call waits without bound: a write waits at most the port's write wait for room (200 ms
// unless SetPortTimeouts gave another), so the caller can poll the user's cancel between
// tries and give up after PortStallLimitMs().
#pragma once

#include <cstddef>
#include <cstdint>

#include <termios.h>

constexpr int kInvalidPort = -1;

// Error numbers as the port functions report them.
constexpr int kPortErrorFileNotFound = 2;   // no such device
constexpr int kPortErrorAccessDenied = 5;
constexpr int kPortErrorInvalidHandle = 6;
constexpr int kPortErrorSharing = 32;       // the port is already open
constexpr int kPortErrorGeneral = 31;       // the device refused the request
constexpr int kPortErrorInvalidParameter = 87;
constexpr int kPortErrorDiskFull = 112;
constexpr int kPortErrorTimeout = 1460;

// How long one write waits for room unless SetPortTimeouts gave another wait.
constexpr int kPortDefaultWriteWaitMs = 200;
// How long a port may take no byte before the transfer gives up, unless the environment
// variable TRAVEX_PORT_TIMEOUT_MS gives another number of milliseconds.
constexpr int kPortDefaultStallLimitMs = 60000;

// The system's own flow-control characters, not the usual 0x11 and 0x13.
constexpr unsigned char kPortXonChar = 0x17;
constexpr unsigned char kPortXoffChar = 0x19;

enum PortStopBits : int16_t { kStopBitsKeep = 0, kStopBitsOne = 1, kStopBitsOneAndHalf = 3, kStopBitsTwo = 2 };
enum PortParity : int16_t { kParityKeep = -1, kParityNone = 0, kParityOdd = 1, kParityEven = 2 };

// Line settings; a zero or "keep" value leaves the port's own setting. One and a half stop
// bits do not exist on termios and become two.
struct SerialSettings {
    int32_t iBaudRate;       // bit/s, set exactly (28800 too); 0 keeps the current speed
    int16_t wDataBits;       // 7 or 8; 0 keeps
    int16_t wStopBits;       // PortStopBits
    int16_t wParity;         // PortParity
    int16_t fXonXoff;        // XON/XOFF on input and output with the characters above
    int16_t fRaiseDtrRts;    // DTR and RTS raised, else lowered; no hardware handshake
};

// The modem-line call: raises (raise true) or lowers the lines (TIOCM_DTR | TIOCM_RTS) of the
// port; 0 or an errno. A pseudo-terminal has no modem lines, so a test may put its own call
// in to see what the port asks for; null puts the line's own ioctl back.
typedef int (*ModemLineCall)(int port, int lines, bool raise);
void SetModemLineCall(ModemLineCall call);

// The call that writes the line state into the port; 0 or an errno. A pseudo-terminal
// always keeps 8 data bits without parity, so a test may put its own call in to see the
// state the port asks for; null puts tcsetattr back.
typedef int (*LineStateCall)(int port, const termios* state);
void SetLineStateCall(LineStateCall call);

// Device path of "COM1".."COM5" or "LPT1", "LPT2" into out; false for another name or a
// path that does not fit.
bool PortDevicePath(const char* portName, char* out, size_t room);

// Opens COMn for reading and writing, exclusively; the port or kInvalidPort with *error set.
int OpenSerialPort(const char* portName, int* error);
// The line state of the settings over the port's current state; 0 or an error number. A
// speed that termios has no code for (28800) is left to SetLineSpeedExactly.
int ComposeLineState(termios* state, const SerialSettings* settings);
// Line settings written into the port, the speed exactly, DTR and RTS raised or lowered;
// 0 or an error number.
int ApplySerialSettings(int port, const SerialSettings* settings);
// The rate in bit/s as the line's output and input speed, with the line's own code where
// termios has one and as an arbitrary rate otherwise; 0 or an error number (a line that
// does not keep the rate exactly gives kPortErrorInvalidParameter).
int SetLineSpeedExactly(int port, int32_t rate);
// The line's output and input speed in bit/s, and whether it is set as an arbitrary rate
// rather than a code; 0 or an error number. Works on either end of a pseudo-terminal.
int GetLineSpeed(int fd, int32_t* outputRate, int32_t* inputRate, bool* arbitrary);
// Reads return at once with what has arrived; a write waits up to writeTimeoutMs for room
// (0 or less: kPortDefaultWriteWaitMs). 0 or an error number.
int SetPortTimeouts(int port, int writeTimeoutMs);
// kPortDefaultStallLimitMs, or TRAVEX_PORT_TIMEOUT_MS when it holds a positive number.
int PortStallLimitMs();

// Bytes written, 0 when the port took none within its write wait (*error is then
// kPortErrorTimeout) or failed (*error says why).
size_t WritePortBytes(int port, const void* bytes, size_t count, int* error);
// Bytes read, 0 when nothing is waiting or on failure (*error is 0 when nothing waited).
size_t ReadPortBytes(int port, void* buffer, size_t count, int* error);
void ClosePortDevice(int port);
// Drops what the port still holds to send, so that closing a line the plotter holds does
// not wait for it (a serial line's close waits up to half a minute for its queue to drain).
void DiscardPortOutput(int port);

// The errno of a failed call as the port's error number.
int PortErrorFromErrno(int errnoValue);
