// The system's command-line ftp program run on a script, as "ftp -s:SCRIPT SERVER" runs it:
// the script's first line logs in ("USER PASSWORD"), the others are ftp commands ("bin",
// "put \"LOCAL\"", "quit"), one a line, CR LF or LF.
//
// Debian's ftp client (tnftp) takes no script option and would read the first line as a
// command, so the script is translated and handed to it on standard input:
//   ftp -n -v [-A|-p] SERVER PORT
//   user USER PASSWORD           <- the login line
//   bin
//   put LOCAL NAME               <- "put \"LOCAL\"" alone sends the file under its own name
//   quit
// Every word is escaped for the client (blanks, quotes and backslashes in paths survive);
// local paths in the script are this system's paths, with "/" between folders.
// The client is found on PATH and waited for without a time limit. Its exit code says
// nothing about the transfer, so its verbose output is read instead: the server's greeting,
// its 230 for the login, and for every put a 150 or 125 followed by the transfer-complete
// reply 226 (or 250). The translated script holds the password; it lives in a private
// temporary folder (mode 0700) only while the client runs.
//
// How to use:
//   char reason[512];
//   int status = RunFtpScript(scriptPath, "plotter-host", 0, reason, sizeof reason);
//   if (status != kFtpSuccess) -> show reason, e.g. "the FTP server refused the login: 530 ..."
//
// The port is FtpServerPort() (21, or TRAVEX_FTP_PORT). The system's ftp program works in
// active mode; pass fPassive 1 only to ask the client for passive mode.
#pragma once

#include "platform/ftp_shared.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern const char kFtpProgramName[];   // "ftp"

// Runs the script against the server; kFtpSuccess or the failure's FtpStatus, with its
// reason text in reason (room bytes, may be null).
int RunFtpScript(const char* scriptPath, const char* server, int16_t fPassive, char* reason,
                 size_t room);

// The client's standard input for a script's text (exposed for tests): the translation
// described above.
std::string TranslateFtpScript(const std::string& script);

// The outcome read from the client's verbose output for a script with putCount uploads;
// kFtpSuccess or the failure's FtpStatus with its detail (the reply or message that says
// why).
int CheckFtpTranscript(const std::string& transcript, int putCount, std::string& detail);
