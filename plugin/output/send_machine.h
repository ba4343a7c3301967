// The transfer to a plotter on a serial or parallel port, cut into steps: the output job
// calls StepSendMachine until sendMachine.fSendDone or fAbort is set, so the user's cancel
// is polled between steps and while the plot data streams.
//
// Steps: 0 open the port, 1 ESC ".(", 2 "IN;", 4 units per millimetre, 5 "IW;", 6 convert
// the pages into the plot data file, 7 the plot window, 8 open the plot data file, 20
// stream it, ten commands per call, then ESC ".)". Without a port (fNoPort) only 4, 6 and
// 20 act. The first port error is shown as the progress text and skips every later step;
// so does a plot data file whose writing failed, which is never streamed as if complete.
//
// No wait on the port is unbounded: a write waits a fifth of a second at most for room, the
// user's cancel is polled between tries, and a port that takes no byte for
// PortStallLimitMs() (a minute unless TRAVEX_PORT_TIMEOUT_MS says otherwise) ends the run
// with the time-out text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/ai_types.h"

// Message codes of ReportPortError: which text to show, strings 16100 + code (Japanese) and
// 16400 + code (English), each a format with the port's error number. A message code is no
// error number: kPortMessageTimeOut (9) shows the time-out text whatever the number is, and
// the port's own numbers (kPortErrorTimeout, 1460, and the others of platform/serial_port.h)
// only fill the text's number.
constexpr int16_t kPortMessageOpen = 1;
constexpr int16_t kPortMessageQueues = 2;
constexpr int16_t kPortMessageHandshake = 5;
constexpr int16_t kPortMessageNoReply = 6;
constexpr int16_t kPortMessagePlotFile = 8;
constexpr int16_t kPortMessageTimeOut = 9;

// Status texts of ShowPortStatus: strings 16300 + n (Japanese), 16600 + n (English).
constexpr int16_t kPortStatusConverting = 1;
constexpr int16_t kPortStatusOpeningPort = 2;
constexpr int16_t kPortStatusClosingPort = 3;
constexpr int16_t kPortStatusResetting = 4;
constexpr int16_t kPortStatusPlotterOpening = 5;
constexpr int16_t kPortStatusPlotterClosing = 6;
constexpr int16_t kPortStatusSending = 7;

constexpr int16_t kConvertSendStep = 6;  // the step that writes the plot data file
constexpr int16_t kLastSendStep = 20;
constexpr int kCommandsPerStep = 10;
constexpr size_t kReplyLimit = 256;

// The run's outcome as a status: a port error shown ('PORT'), a plot data file that could
// not be written, opened or read ('FILE').
constexpr ASErr kPortFailedErr = 0x504F5254;
constexpr ASErr kPlotFileFailedErr = 0x46494C45;

// One step; always 1.
int StepSendMachine();
// 0 while no error was reported, else kPlotFileFailedErr or kPortFailedErr by the first.
ASErr SendMachineStatus();

void OpenPlotterPort();
void ClosePlotterPort();
// Bytes written, 0 on failure.
int WritePort(const void* bytes, int count);
// Bytes read, 0 on failure or when nothing is waiting.
int ReadPort(void* buffer, int count);
// Byte by byte, each again until written; a port that takes nothing within the stall limit
// is reported, and a cancel of the user ends the writing. 0.
int WritePortString(const char* text);
// ESC, '.', c and the parameter (none when null), at most 79 characters in all. 0.
int SendDeviceControl(char c, const char* parameter);
int SendPlotterOn();     // ESC ".("
int SendPlotterOff();    // ESC ".)"
int SendAbortCommand();  // ESC ".K"
// Sends the query and reads the reply line up to its CR into reply (room bytes, NUL
// ended); 0, or -1 when no reply came (reported as kPortMessageNoReply with -1) or the user
// cancelled the wait.
int QueryPortReply(const char* query, char* reply, size_t room);
int QueryDeviceControl(char c, const char* parameter, char* reply, size_t room);

// Records the first error of the run and shows the text of message code (kPortMessage...)
// with the port's error number; a number 0 records nothing.
void ReportPortError(int16_t code, int32_t number);
void ShowPortStatus(int16_t n);
// Polls until more than n ticks of 17 ms have passed.
void WaitTicks(uint32_t n);

void LogSent(const char* text);
void LogReply(const char* text);
void LogStatus(const char* text);

// The field of text from *position up to NUL or delimiter into out (never reading index 80
// or beyond); the position passes the field and its delimiter. Characters copied.
int NextField(const char* text, char delimiter, int16_t* position, char* out);
