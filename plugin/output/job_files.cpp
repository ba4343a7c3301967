#include "plugin/output/job_files.h"

#include <cstdio>
#include <cstring>

const char kSenderJobFileName[] = "TRAVEX-Pro.sdr";
const char kPlotFileName[] = "TRAVEX-Pro.plt";
const char kFtpScriptName[] = "TRVXSender.mcr";
const char kSenderProgramName[] = "TRVXSender";
const char kUntitledName[] = "UNTITLED";
const char kPlotFileExtension[] = ".plt";

namespace {

const char kAnonymousUser[] = "anonymous";
const char kAnonymousPassword[] = "kelp";
const char kPrintQueueFolder[] = "/lp";

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Bytes of the character at text[i] in code page 932 (a lead byte without its second
// byte counts alone).
size_t CharacterLength(const std::string& text, size_t i)
{
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

std::string PlotWindowCommand(const PlotFrame& frame)
{
    char command[64];
    std::snprintf(command, sizeof command, "IW%d,%d,%d,%d;", frame.iXMin, frame.iYMin, frame.iXMax, frame.iYMax);
    return command;
}

}  // namespace

HostString SplitHostString(const char* szHost)
{
    HostString host{};
    std::string rest(szHost, strnlen(szHost, kHostStringLimit));
    std::string* fields[] = {&host.server, &host.folder, &host.user, &host.password};
    host.server = rest;
    for (int k = 0; k <= 4; ++k) {
        size_t colon = rest.find(':');
        std::string part = rest.substr(0, colon);
        if (k < 4)
            *fields[k] = part;
        else
            host.fPassive = !part.empty() && part[0] == 'P';
        if (colon == std::string::npos)
            break;
        rest.erase(0, colon + 1);
    }
    return host;
}

std::string CutJobTitle(const std::string& windowTitle)
{
    std::string title;
    for (size_t i = 0; i < windowTitle.size();) {
        if (windowTitle[i] == ' ' && i + 1 < windowTitle.size() &&
            (windowTitle[i + 1] == '<' || windowTitle[i + 1] == '@'))
            break;
        size_t length = CharacterLength(windowTitle, i);
        title.append(windowTitle, i, length);
        i += length;
    }
    std::string cut;
    for (size_t i = 0; i < title.size();) {
        size_t length = CharacterLength(title, i);
        if (cut.size() + length > size_t(kJobTitleLimit))
            break;
        cut.append(title, i, length);
        i += length;
    }
    return cut;
}

std::string MakeSenderJobFile(const std::string& title, const PlotFrame& frame)
{
    char frameLine[80];
    std::snprintf(frameLine, sizeof frameLine, "BRC:%d,%d,%d,%d\r\n", frame.iXMin, frame.iYMin, frame.iXMax,
                  frame.iYMax);
    return "SUB:" + title + "\r\n" + frameLine;
}

std::string MakePlotFile(const std::string& plotData, const PlotFrame& frame)
{
    std::string file = "\x1b.(" + PlotWindowCommand(frame);
    file.reserve(file.size() + plotData.size() + 3);
    file += plotData;
    file += "\x1b.)";
    return file;
}

std::string MakeFtpScript(const HostString& host, const std::string& localPath)
{
    bool named = !host.user.empty() && !host.password.empty();
    std::string login =
        named ? host.user + " " + host.password : std::string(kAnonymousUser) + " " + kAnonymousPassword;
    return login + "\r\nbin\r\nput \"" + localPath + "\"\r\nquit\r\n";
}

std::string RemotePlotFileName(const HostString& host)
{
    return (host.folder.empty() ? std::string(kPrintQueueFolder) : host.folder) + "/" + kPlotFileName;
}

std::string DefaultPlotFileName(const std::string& documentPath)
{
    size_t slash = documentPath.rfind('/');
    std::string name = slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
    size_t stop = name.rfind('.');
    if (stop != std::string::npos && stop >= 1)
        name.erase(stop);
    if (name.empty())
        name = kUntitledName;
    return name + kPlotFileExtension;
}
