// What the two FTP routes share: the server's port and the outcome of a transfer.
//
// The FTP port is 21. The environment variable TRAVEX_FTP_PORT replaces it (for tests that
// run their own server on a free port of 127.0.0.1); a value that is not a port number
// 1..65535 makes every transfer fail with kFtpBadPortSetting, never a guess.
#pragma once

#include <cstddef>

extern const char kFtpPortVariable[];   // "TRAVEX_FTP_PORT"
constexpr int kFtpDefaultPort = 21;

enum FtpStatus {
    kFtpSuccess = 0,
    kFtpLocalFileError = 1,    // the local file could not be read
    kFtpConnectFailed = 2,     // no connection to the server (refused, unknown host, no reply)
    kFtpLoginFailed = 3,       // the server refused the user or the password
    kFtpUploadFailed = 4,      // connected and logged in, but the file did not arrive whole
    kFtpProgramFailed = 5,     // the ftp program could not be started or ran wild
    kFtpBadPortSetting = 6,    // TRAVEX_FTP_PORT is not a port number
    kFtpCancelled = 7,         // the caller's progress callback asked to stop
};

// The port to connect to: 21, or TRAVEX_FTP_PORT when it is set; -1 when that variable is
// set to something that is not a port number.
int FtpServerPort();

// A short text for a status ("login refused", ...); the reason texts of the routes start
// with it.
const char* DescribeFtpStatus(int status);

// Writes "TEXT: DETAIL" (or TEXT alone) into reason, cut to fit; nothing when reason is null.
void SetFtpReason(char* reason, size_t room, int status, const char* detail);
