// One run of the job sender: the network plotter server's endpoint from the settings file
// (or the built-in one), one connection, the job streamed, the connection shut down.
#pragma once

#include "plugin/settings/settings_records.h"

#include <cstdint>

extern const char kBuiltInServerHost[];   // "127.0.0.1"
constexpr int32_t kBuiltInServerPort = 1024;
constexpr int kServerHostRoom = 128;      // the size of szHost

// Connects to the server and sends the job (SendJob). 0, or the first error: of the
// socket, the name resolution, the connection or the stream. Every failure has written
// its message on standard error.
int RunSendSession();

// The endpoint: szHost and iTcpPort of the settings file when ReadSenderSettings reads
// them, else the built-in endpoint and port 1024. host holds kServerHostRoom bytes.
void GetServerAddress(char* host, int32_t* port);

// 1 when the whole PlotSettings block was read from a settings file of version 302, else 0.
// The file is opened for reading only; the sender never creates or changes it.
int ReadSenderSettings(PlotSettings* settings);

// 1 when the open file's version word (the int16 at offset 0) is 302, else 0.
int CheckSenderSettingsVersion(int fd);
