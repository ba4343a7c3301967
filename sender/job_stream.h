// The stream the sender writes to the network plotter server: the job file
// "TRAVEX-Pro.sdr" unchanged in pieces of 80 bytes, the plot data file "TRAVEX-Pro.tmp" as
// lines of hexadecimal digits (40 bytes, 80 digits and CR LF a line), and the end line
// "/E\r\n" when everything before it went out.
#pragma once

#include "platform/tcp_socket.h"

#include <cstddef>
#include <cstdint>

extern const char kSenderJobFileName[];   // "TRAVEX-Pro.sdr"
extern const char kPlotDataFileName[];    // "TRAVEX-Pro.tmp"
extern const char kSenderEndLine[];       // "/E\r\n"
extern const char kShortSendWarning[];    // "OTSndQ: Not enough bytes sent"
constexpr int kJobPieceSize = 80;         // bytes of the job file per send
constexpr int kHexPieceSize = 40;         // bytes of plot data per line

// Sends the whole stream on the connected socket from the files in the settings folder.
// 0, or the first error (a file that cannot be opened or read whole, a send that failed);
// the end line goes out only when there was none. A failure writes its message on
// standard error.
int SendJob(TcpSocket socket);

// Sends count bytes. A send that takes fewer than offered writes the warning line and
// sends the rest. 0 or the socket's error code.
int SendBuffer(TcpSocket socket, const void* bytes, size_t count);

// Writes message and "\n" on standard error when flag is 0.
void WarnUnless(const char* message, int16_t flag);
