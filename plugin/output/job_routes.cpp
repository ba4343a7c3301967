// The routes that open no port: the job file, then the ".plt" file the user names, the
// upload through the internet functions, the upload by the ftp program with its script,
// or the job sender. Every route reports its failure (route_failures.h); the user's
// cancel of the save dialog is no failure.
#include "plugin/output/job_routes.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/code_pages.h"
#include "platform/ftp_program.h"
#include "platform/ftp_upload.h"
#include "platform/process_start.h"
#include "platform/ui/save_file_dialog.h"
#include "platform/whole_file.h"
#include "plugin/conversion/page_conversion.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/output/job_files.h"
#include "plugin/output/route_failures.h"
#include "plugin/output/text_utilities.h"
#include "plugin/settings/settings_folder.h"
#include "sdk/ai_context.h"
#include "sdk/ai_document.h"
#include "sdk/ai_document_view.h"
#include "sdk/ai_file_path.h"

namespace {

constexpr int kFolderRoom = 260;
constexpr size_t kPlotDataLimit = INT32_MAX;  // the send machine's reach, too
constexpr mode_t kPlotFileMode = 0666;        // less the umask, as for any new document
constexpr mode_t kScriptMode = 0600;          // the script holds the FTP password
constexpr int16_t kInternetFunctionsPort = -1;
constexpr int16_t kFirstQueuePort = -2;   // "pr1"
constexpr int16_t kSecondQueuePort = -3;  // "pr2"
constexpr int kUtf8PathRoom = 3 * kFileSpecUnits + 1;

std::string ErrorText(int error) { return error > 0 ? std::strerror(error) : "unknown error"; }

const PlotFrame& LastPlotFrame() { return g->conversion.plotFrame; }

// The title of the active document window: the first child of the first child of the
// host's main window. Empty when a window is missing.
std::string DocumentWindowTitle()
{
    AIWindowHandle main = nullptr;
    AIWindowHandle workspace = nullptr;
    AIWindowHandle document = nullptr;
    char title[kWindowTitleRoom] = "";
    if (sAIContext == nullptr || sAIDocumentView == nullptr || sAIContext->GetMainWindow(&main) != kNoErr ||
        main == nullptr || sAIDocumentView->GetFirstChildWindow(main, &workspace) != kNoErr || workspace == nullptr ||
        sAIDocumentView->GetFirstChildWindow(workspace, &document) != kNoErr || document == nullptr ||
        sAIDocumentView->GetWindowTitle(document, title, sizeof title) != kNoErr)
        return "";
    return title;
}

std::string JobTitle()
{
    char eightBit[kWindowTitleRoom];
    ConvertUtf8ToShiftJis(DocumentWindowTitle().c_str(), eightBit, sizeof eightBit);
    return CutJobTitle(eightBit);
}

// The job file beside the plot data; 0 or the error number of its writing.
int WriteSenderJobFile(const std::string& folder)
{
    return ReplaceWholeFile(folder + "/" + kSenderJobFileName, MakeSenderJobFile(JobTitle(), LastPlotFrame()), 0666);
}

// The path of the document's file as the host gives it; empty for a document never saved.
std::string DocumentFilePath()
{
    AIFilePathRef file = nullptr;
    if (sAIDocument == nullptr || sAIDocument->GetDocumentFileSpecification(&file) != kNoErr || file == nullptr)
        return "";
    std::string path;
    AIPlatformFileSpec spec;
    ClearFileSpecRecord(&spec);
    if (sAIFilePath != nullptr && sAIFilePath->GetPlatformFileSpec(file, &spec) == kNoErr) {
        spec.path[kFileSpecUnits - 1] = 0;
        char text[kUtf8PathRoom];
        if (spec.path[0] != 0 && WideToMultiByte(kCodePageUtf8, spec.path, -1, text, sizeof text) > 0)
            path = text;
    }
    if (sAIFilePath != nullptr)
        sAIFilePath->ReleaseFilePath(file);
    return path;
}

// The ".plt" file's bytes from the plot data file; a failure is reported into *status.
bool ReadPlotFile(const std::string& folder, std::string* plotFile, ASErr* status)
{
    std::string path = folder + "/" + kPlotDataFileName;
    std::string plotData;
    int error = ReadWholeFile(path, kPlotDataLimit, &plotData);
    if (error != 0) {
        *status = ReportRouteFailure(kRouteFailurePlotFile, path + ": " + ErrorText(error));
        return false;
    }
    *plotFile = MakePlotFile(plotData, LastPlotFrame());
    return true;
}

// The ".plt" file under path, whole or not at all.
ASErr WritePlotFile(const std::string& folder, const std::string& path)
{
    std::string bytes;
    ASErr status = kNoErr;
    if (!ReadPlotFile(folder, &bytes, &status))
        return status;
    int error = ReplaceWholeFile(path, bytes, kPlotFileMode);
    if (error != 0)
        return ReportRouteFailure(kRouteFailurePlotFile, path + ": " + ErrorText(error));
    return kNoErr;
}

ASErr RunSaveAsRoute(const std::string& folder)
{
    std::string name = DefaultPlotFileName(DocumentFilePath());
    std::string chosen;
    // the host's main window is no window of this toolkit, so the dialog has no owner
    if (RunSaveFileDialog("", "*.plt", 1, "", name, kSavePromptOverwrite, &chosen, nullptr) != 1)
        return kNoErr;
    return WritePlotFile(folder, chosen);
}

ASErr RunInternetFunctionsRoute(const std::string& folder, const HostString& host)
{
    std::string local = folder + "/" + kPlotFileName;
    ASErr status = WritePlotFile(folder, local);
    if (status != kNoErr)
        return status;
    std::string remote = RemotePlotFileName(host);
    FtpUpload upload = {};
    upload.szServer = host.server.c_str();
    upload.szUser = host.user.empty() ? nullptr : host.user.c_str();
    upload.szPassword = host.password.c_str();
    upload.fPassive = host.fPassive;
    upload.szLocalPath = local.c_str();
    upload.szRemotePath = remote.c_str();
    char reason[512] = "";
    if (UploadFileByFtp(&upload, reason, sizeof reason) != kFtpSuccess)
        return ReportRouteFailure(kRouteFailureFtp, reason);
    return kNoErr;
}

ASErr RunFtpProgramRoute(const std::string& folder, const HostString& host, int16_t port)
{
    std::string local = folder + "/" + kPlotFileName;
    ASErr status = WritePlotFile(folder, local);
    if (status != kNoErr)
        return status;
    std::string queue = folder + "/" + (port == kFirstQueuePort ? "pr1" : "pr2");
    if (std::rename(local.c_str(), queue.c_str()) != 0)
        return ReportRouteFailure(kRouteFailurePlotFile, queue + ": " + ErrorText(errno));
    std::string script = folder + "/" + kFtpScriptName;
    int error = ReplaceWholeFile(script, MakeFtpScript(host, queue), kScriptMode);
    if (error != 0)
        return ReportRouteFailure(kRouteFailureFtp, script + ": " + ErrorText(error));
    char reason[512] = "";
    // the system's ftp program works in active mode; the host string's mode is not its
    if (RunFtpScript(script.c_str(), host.server.c_str(), 0, reason, sizeof reason) != kFtpSuccess)
        return ReportRouteFailure(kRouteFailureFtp, reason);
    return kNoErr;
}

// The last line the sender wrote on its standard error, which says why it failed.
std::string LastLine(const std::string& text)
{
    size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos)
        return "";
    size_t start = text.rfind('\n', end);
    start = start == std::string::npos ? 0 : start + 1;
    return text.substr(start, end + 1 - start);
}

// A fresh private file for the sender's standard error; empty when none can be made.
std::string MakeErrorCapture()
{
    std::error_code ec;
    std::string path = (std::filesystem::temp_directory_path(ec) / "travex-sender-XXXXXX").string();
    int fd = mkstemp(path.data());
    if (fd < 0)
        return "";
    close(fd);
    return path;
}

// What the sender wrote on its standard error, passed on to ours so nothing of it is lost.
std::string TakeErrorCapture(const std::string& path)
{
    if (path.empty())
        return "";
    std::string text;
    ReadWholeFile(path, 65536, &text);
    unlink(path.c_str());
    if (!text.empty())
        std::fwrite(text.data(), 1, text.size(), stderr);
    return text;
}

ASErr RunSenderRoute(const std::string& folder, int jobFileError)
{
    if (jobFileError != 0)
        return ReportRouteFailure(kRouteFailureSender,
                                  folder + "/" + kSenderJobFileName + ": " + ErrorText(jobFileError));
    std::string program = folder + "/" + kSenderProgramName;
    std::string capture = MakeErrorCapture();
    ProcessStart start = {};
    start.szProgram = program.c_str();
    start.szStdinPath = "/dev/null";
    start.szStderrPath = capture.empty() ? nullptr : capture.c_str();
    ProcessExit exit = {};
    int error = RunProcess(&start, &exit);
    std::string errors = TakeErrorCapture(capture);
    if (error != 0)
        return ReportRouteFailure(kRouteFailureSender, program + ": " + DescribeProcessError(error));
    if (exit.iSignal != 0)
        return ReportRouteFailure(kRouteFailureSender,
                                  std::string(kSenderProgramName) + " ended by signal " + std::to_string(exit.iSignal));
    if (exit.iExitCode != 0) {
        std::string why = LastLine(errors);
        return ReportRouteFailure(kRouteFailureSender, std::string(kSenderProgramName) + " exit code " +
                                                           std::to_string(exit.iExitCode) +
                                                           (why.empty() ? "" : ": " + why));
    }
    return kNoErr;
}

}  // namespace

int32_t RunJobRoute()
{
    const SendMachine& m = g->sendMachine;
    // debug mode leaves only the plot data; a port route has sent it already
    if (m.fPreview != 0 || m.fNoPort == 0 || g->pPlotSettings == nullptr)
        return kNoErr;
    char folderBuffer[kFolderRoom];
    int folderStatus = CopyPrefsFolder(folderBuffer, sizeof folderBuffer);
    if (folderStatus != 0)
        return ReportRouteFailure(kRouteFailurePlotData, "the settings folder cannot be used");
    std::string folder = folderBuffer;
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();

    int jobFileError = WriteSenderJobFile(folder);
    if (g->conversion.iWriteFailure != 0)
        return ReportRouteFailure(kRouteFailurePlotData,
                                  folder + "/" + kPlotDataFileName + ": " + ErrorText(g->conversion.iWriteFailure));
    if (m.fSaveToFile != 0)
        return RunSaveAsRoute(folder);
    int16_t port = g->pPlotSettings->wPort;
    if (port == kInternetFunctionsPort)
        return RunInternetFunctionsRoute(folder, SplitHostString(g->pPlotSettings->szHost));
    if (port == kFirstQueuePort || port == kSecondQueuePort)
        return RunFtpProgramRoute(folder, SplitHostString(g->pPlotSettings->szHost), port);
    if (port < 0)
        return RunSenderRoute(folder, jobFileError);
    return kNoErr;
}
