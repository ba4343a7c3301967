// The system's internet functions for FTP, as the output job uses them: connect to a server
// on the FTP port, log in as a user or anonymously, upload one local file as an image (bytes
// unchanged) to a remote path, close. Built on libcurl.
//
// How to use:
//   FtpUpload upload = {};
//   upload.szServer = "plotter-host";          // host name or dotted address
//   upload.szUser = "user";                    // null or "": anonymous
//   upload.szPassword = "";                    // passed as given, also when empty
//   upload.fPassive = 1;                       // 0: active mode (the server connects back)
//   upload.szLocalPath = "/home/u/Documents/Adobe/Illustrator/TRAVEX-Pro.plt";
//   upload.szRemotePath = "/lp/TRAVEX-Pro.plt";
//   char reason[512];
//   int status = UploadFileByFtp(&upload, reason, sizeof reason);
//   if (status != kFtpSuccess) -> show reason, e.g. "the FTP server refused the login: 530 ..."
//
// The port is FtpServerPort() (21, or TRAVEX_FTP_PORT) unless iPort is given. A remote path
// that starts with "/" is absolute on the server; any other is taken from the folder the
// login lands in. Missing remote folders are not created. Every failure (the local file,
// the connection, the login, the upload) comes back as its FtpStatus with a reason text
// that holds the server's reply or the system's error. Connecting gives up after 30
// seconds and waiting for a reply of the server after 60; the upload itself has no limit.
#pragma once

#include "platform/ftp_shared.h"

#include <cstddef>
#include <cstdint>

struct FtpUpload {
    const char* szServer;
    int32_t iPort;                // 0: FtpServerPort()
    const char* szUser;           // null or "": anonymous
    const char* szPassword;       // with a user only; null counts as ""
    int16_t fPassive;             // 1: passive mode; 0: active mode
    const char* szLocalPath;
    const char* szRemotePath;
    // Called as the bytes go out (may be null); a non-zero answer stops the upload with
    // kFtpCancelled.
    int (*pfnProgress)(void* context, int64_t bytesSent, int64_t bytesTotal);
    void* pProgressContext;
};

// Uploads the file; kFtpSuccess or the failure's FtpStatus, with its reason text in reason
// (room bytes, may be null).
int UploadFileByFtp(const FtpUpload* upload, char* reason, size_t room);
