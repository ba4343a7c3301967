// The serial ports COM1 to COM5 on termios devices.
//
// COMn is /dev/ttyS(n-1) unless the environment variable TRAVEX_COMn names another device
// (TRAVEX_COM1=/dev/ttyUSB0 for a USB adapter). Failures give the system's error numbers
// of the original ports (kPortErrorFileNotFound and so on) for the progress texts.
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
constexpr int kPortErrorTimeout = 1460;

// The system's own flow-control characters, not the usual 0x11 and 0x13.
constexpr unsigned char kPortXonChar = 0x17;
constexpr unsigned char kPortXoffChar = 0x19;

enum PortStopBits : int16_t { kStopBitsKeep = 0, kStopBitsOne = 1, kStopBitsOneAndHalf = 3, kStopBitsTwo = 2 };
enum PortParity : int16_t { kParityKeep = -1, kParityNone = 0, kParityOdd = 1, kParityEven = 2 };

// Line settings; a zero or "keep" value leaves the port's own setting. One and a half stop
// bits do not exist on termios and become two.
struct SerialSettings {
    int32_t iBaudRate;       // bit/s; 0 keeps the current speed
    int16_t wDataBits;       // 7 or 8; 0 keeps
    int16_t wStopBits;       // PortStopBits
    int16_t wParity;         // PortParity
    int16_t fXonXoff;        // XON/XOFF on input and output with the characters above
    int16_t fRaiseDtrRts;    // DTR and RTS raised; no hardware handshake
};

// Device path of "COM1".."COM5" or "LPT1", "LPT2" into out; false for another name or a
// path that does not fit.
bool PortDevicePath(const char* portName, char* out, size_t room);

// Opens COMn for reading and writing, exclusively; the port or kInvalidPort with *error set.
int OpenSerialPort(const char* portName, int* error);
// The line state of the settings over the port's current state; 0 or an error number.
int ComposeLineState(termios* state, const SerialSettings* settings);
// Line settings written into the port; 0 or an error number.
int ApplySerialSettings(int port, const SerialSettings* settings);
// Reads return at once with what has arrived; a write waits up to writeTimeoutMs for room
// (0 = no limit). 0 or an error number.
int SetPortTimeouts(int port, int writeTimeoutMs);

// Bytes written, 0 when the port took none within its time-out (*error then says why).
size_t WritePortBytes(int port, const void* bytes, size_t count, int* error);
// Bytes read, 0 when nothing is waiting or on failure (*error is 0 when nothing waited).
size_t ReadPortBytes(int port, void* buffer, size_t count, int* error);
void ClosePortDevice(int port);

// The errno of a failed call as the port's error number.
int PortErrorFromErrno(int errnoValue);
