#include "platform/ftp_upload.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include <curl/curl.h>
#include <sys/stat.h>

namespace {

constexpr long kConnectTimeoutSeconds = 30;
constexpr long kReplyTimeoutSeconds = 60;

struct UploadState {
    std::string lastReply;   // the server's last reply line
    const FtpUpload* upload;
};

void StartCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// libcurl hands an FTP server's replies to the header callback, one line at a time.
size_t KeepReply(char* data, size_t size, size_t count, void* context)
{
    auto* state = static_cast<UploadState*>(context);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    if (!line.empty())
        state->lastReply = line;
    return size * count;
}

int ReportProgress(void* context, curl_off_t, curl_off_t, curl_off_t total, curl_off_t now)
{
    auto* state = static_cast<UploadState*>(context);
    const FtpUpload* upload = state->upload;
    return upload->pfnProgress(upload->pProgressContext, now, total);
}

// The remote path as the path of an ftp URL: every segment escaped, and a leading "/"
// written as %2F so that the server takes it from its root.
bool RemoteUrlPath(CURL* curl, const char* remote, std::string& path)
{
    std::string text = remote;
    if (text.empty() || text.back() == '/')
        return false;
    path = "/";
    size_t start = 0;
    if (text[0] == '/') {
        path += "%2F";
        start = 1;
    }
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        char* escaped = curl_easy_escape(curl, text.data() + start, static_cast<int>(end - start));
        if (escaped == nullptr)
            return false;
        path += escaped;
        curl_free(escaped);
        if (end < text.size())
            path += "/";
        start = end + 1;
    }
    return true;
}

// ftp://SERVER:PORT/PATH, with the server name checked as a host name.
int BuildUrl(CURL* curl, const FtpUpload* upload, int port, std::string& url, std::string& detail)
{
    std::string path;
    if (!RemoteUrlPath(curl, upload->szRemotePath, path)) {
        detail = std::string("no file name in the remote path \"") + upload->szRemotePath + "\"";
        return kFtpUploadFailed;
    }
    CURLU* parts = curl_url();
    if (parts == nullptr) {
        detail = "out of memory";
        return kFtpConnectFailed;
    }
    std::string portText = std::to_string(port);
    char* full = nullptr;
    int status = kFtpSuccess;
    if (curl_url_set(parts, CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK
        || curl_url_set(parts, CURLUPART_HOST, upload->szServer, 0) != CURLUE_OK
        || curl_url_set(parts, CURLUPART_PORT, portText.c_str(), 0) != CURLUE_OK
        || curl_url_set(parts, CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK
        || curl_url_get(parts, CURLUPART_URL, &full, 0) != CURLUE_OK) {
        detail = std::string("\"") + upload->szServer + "\" is not a server name";
        status = kFtpConnectFailed;
    } else {
        url = full;
    }
    curl_free(full);
    curl_url_cleanup(parts);
    return status;
}

// Which step a failed transfer stopped in: no reply at all means there was no connection.
int ClassifyFailure(CURLcode result, long lastCode)
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return kFtpConnectFailed;
    case CURLE_LOGIN_DENIED:
        return kFtpLoginFailed;
    case CURLE_ABORTED_BY_CALLBACK:
        return kFtpCancelled;
    case CURLE_READ_ERROR:
        return kFtpLocalFileError;
    default:
        return lastCode == 0 ? kFtpConnectFailed : kFtpUploadFailed;
    }
}

void SetOptions(CURL* curl, const FtpUpload* upload, UploadState* state, FILE* file, curl_off_t size)
{
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, file);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, size);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);   // image transfer, bytes unchanged
    curl_easy_setopt(curl, CURLOPT_PROXY, "");           // straight to the server
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kReplyTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, KeepReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, state);
    if (upload->fPassive == 0)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");    // active: the address we connect from
    if (upload->szUser != nullptr && *upload->szUser != '\0') {
        curl_easy_setopt(curl, CURLOPT_USERNAME, upload->szUser);
        curl_easy_setopt(curl, CURLOPT_PASSWORD, upload->szPassword != nullptr ? upload->szPassword : "");
    }
    if (upload->pfnProgress != nullptr) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, state);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
}

int Transfer(const FtpUpload* upload, int port, FILE* file, curl_off_t size, std::string& detail)
{
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        detail = "the FTP library could not start";
        return kFtpConnectFailed;
    }
    std::string url;
    int status = BuildUrl(curl, upload, port, url, detail);
    if (status != kFtpSuccess) {
        curl_easy_cleanup(curl);
        return status;
    }
    UploadState state{{}, upload};
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    SetOptions(curl, upload, &state, file, size);
    CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        long lastCode = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &lastCode);
        status = ClassifyFailure(result, lastCode);
        detail = *error != '\0' ? error : curl_easy_strerror(result);
        if (!state.lastReply.empty() && lastCode >= 400)
            detail += " (server: " + state.lastReply + ")";
    }
    curl_easy_cleanup(curl);
    return status;
}

} // namespace

int UploadFileByFtp(const FtpUpload* upload, char* reason, size_t room)
{
    SetFtpReason(reason, room, kFtpSuccess, nullptr);
    int port = upload->iPort > 0 ? upload->iPort : FtpServerPort();
    if (port < 1 || port > 65535) {
        SetFtpReason(reason, room, kFtpBadPortSetting, std::getenv(kFtpPortVariable));
        return kFtpBadPortSetting;
    }
    if (upload->szServer == nullptr || *upload->szServer == '\0') {
        SetFtpReason(reason, room, kFtpConnectFailed, "no server name");
        return kFtpConnectFailed;
    }
    if (upload->szRemotePath == nullptr) {
        SetFtpReason(reason, room, kFtpUploadFailed, "no remote path");
        return kFtpUploadFailed;
    }
    FILE* file = upload->szLocalPath != nullptr ? std::fopen(upload->szLocalPath, "rbe") : nullptr;
    struct stat info{};
    if (file == nullptr || fstat(fileno(file), &info) != 0) {
        std::string detail = std::string(upload->szLocalPath != nullptr ? upload->szLocalPath : "")
                             + ": " + std::strerror(errno);
        if (file != nullptr)
            std::fclose(file);
        SetFtpReason(reason, room, kFtpLocalFileError, detail.c_str());
        return kFtpLocalFileError;
    }
    StartCurl();
    std::string detail;
    int status = Transfer(upload, port, file, info.st_size, detail);
    std::fclose(file);
    if (status != kFtpSuccess)
        SetFtpReason(reason, room, status, detail.c_str());
    return status;
}
