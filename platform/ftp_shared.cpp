#include "platform/ftp_shared.h"

#include <cstdio>
#include <cstdlib>

const char kFtpPortVariable[] = "TRAVEX_FTP_PORT";

int FtpServerPort()
{
    const char* text = std::getenv(kFtpPortVariable);
    if (text == nullptr)
        return kFtpDefaultPort;
    char* end = nullptr;
    long port = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || port < 1 || port > 65535)
        return -1;
    return static_cast<int>(port);
}

const char* DescribeFtpStatus(int status)
{
    switch (status) {
    case kFtpSuccess: return "sent";
    case kFtpLocalFileError: return "the local file cannot be read";
    case kFtpConnectFailed: return "no connection to the FTP server";
    case kFtpLoginFailed: return "the FTP server refused the login";
    case kFtpUploadFailed: return "the upload failed";
    case kFtpProgramFailed: return "the ftp program failed";
    case kFtpBadPortSetting: return "TRAVEX_FTP_PORT is not a port number";
    case kFtpCancelled: return "the upload was cancelled";
    default: return "the FTP transfer failed";
    }
}

void SetFtpReason(char* reason, size_t room, int status, const char* detail)
{
    if (reason == nullptr || room == 0)
        return;
    if (detail != nullptr && *detail != '\0')
        std::snprintf(reason, room, "%s: %s", DescribeFtpStatus(status), detail);
    else
        std::snprintf(reason, room, "%s", DescribeFtpStatus(status));
}
