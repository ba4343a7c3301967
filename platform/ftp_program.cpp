#include "platform/ftp_program.h"

#include "platform/process_start.h"
#include "platform/whole_file.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

const char kFtpProgramName[] = "ftp";

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The words of a script line the way the system's ftp program reads them: blanks
// separate, double quotes group (and are dropped), a backslash is an ordinary character.
std::vector<std::string> ScriptWords(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        bool quoted = false;
        for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
            if (line[i] == '"')
                quoted = !quoted;
            else
                word += line[i];
        }
        words.push_back(word);
    }
    return words;
}

// One word for the client, which splits at blanks, groups with quotes and takes a
// backslash as an escape: every such character gets a backslash before it.
std::string ClientWord(const std::string& word)
{
    std::string escaped;
    for (char c : word) {
        if (c == ' ' || c == '\t' || c == '"' || c == '\'' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsUpload(const std::string& command)
{
    return command == "put" || command == "send";
}

// "USER PASSWORD": the password is the rest after the first blank. The client takes an
// empty password only as the answer to its prompt, on the next line.
std::string LoginLines(const std::string& line)
{
    std::string text = line;
    size_t start = text.find_first_not_of(" \t");
    text = start == std::string::npos ? "" : text.substr(start);
    size_t blank = text.find_first_of(" \t");
    std::string user = text.substr(0, blank);
    std::string password = blank == std::string::npos ? "" : text.substr(blank + 1);
    if (password.empty())
        return "user " + ClientWord(user) + "\n\n";
    return "user " + ClientWord(user) + " " + ClientWord(password) + "\n";
}

std::string CommandLine(const std::string& line)
{
    std::vector<std::string> words = ScriptWords(line);
    if (words.empty())
        return "";
    if (IsUpload(words[0]) && words.size() == 2)
        words.push_back(BaseName(words[1]));
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : " ") + ClientWord(word);
    return out + "\n";
}

int CountUploads(const std::string& script)
{
    std::vector<std::string> lines = SplitLines(script);
    int count = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> words = ScriptWords(lines[i]);
        if (!words.empty() && IsUpload(words[0]))
            ++count;
    }
    return count;
}

// The reply code at the start of a client's line, -1 when it holds none. The client
// writes its password prompt and the reply to the password on one line.
int ReplyCode(std::string& line)
{
    const std::string prompt = "Password:";
    if (line.compare(0, prompt.size(), prompt) == 0) {
        size_t start = line.find_first_not_of(' ', prompt.size());
        line = start == std::string::npos ? "" : line.substr(start);
    }
    if (line.size() < 3)
        return -1;
    for (int i = 0; i < 3; ++i)
        if (!std::isdigit(static_cast<unsigned char>(line[i])))
            return -1;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return -1;
    return std::atoi(line.substr(0, 3).c_str());
}

bool IsClientComplaint(const std::string& line)
{
    return line.compare(0, 4, "ftp:") == 0 || line == "Login failed." || line == "Not connected.";
}

// A script is a few lines; the client's transcript a few replies a file.
constexpr size_t kScriptLimit = 1 << 20;
constexpr size_t kTranscriptLimit = 16 << 20;

bool WriteWhole(const std::string& path, const std::string& text)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = static_cast<size_t>(write(fd, text.data(), text.size())) == text.size();
    return close(fd) == 0 && ok;
}

// A private folder for the translated script (it holds the password) and the transcript.
std::string MakePrivateFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/travex-ftp-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return "";
    return pattern;
}

struct ClientRun {
    int status = kFtpSuccess;
    std::string detail;
    std::string transcript;
};

void RunClient(const std::string& folder, const std::string& input, const char* server, int port,
               int16_t fPassive, ClientRun& run)
{
    std::string inputPath = folder + "/script";
    std::string transcriptPath = folder + "/transcript";
    if (!WriteWhole(inputPath, input)) {
        run.status = kFtpProgramFailed;
        run.detail = std::string("cannot write the client's script: ") + std::strerror(errno);
        return;
    }
    std::string portText = std::to_string(port);
    const char* arguments[] = {"-n", "-v", fPassive ? "-p" : "-A", server, portText.c_str(), nullptr};
    ProcessStart start = {};
    start.szProgram = kFtpProgramName;
    start.apArguments = arguments;
    start.szStdinPath = inputPath.c_str();
    start.szStdoutPath = transcriptPath.c_str();
    start.szStderrPath = transcriptPath.c_str();
    start.fOwnSession = 1;   // no terminal: the client's password prompt reads the script
    ProcessExit exit = {};
    int error = RunProcess(&start, &exit);
    ReadWholeFile(transcriptPath, kTranscriptLimit, &run.transcript);
    if (error != 0) {
        run.status = kFtpProgramFailed;
        run.detail = std::string(kFtpProgramName) + ": " + DescribeProcessError(error);
    } else if (exit.iSignal != 0) {
        run.status = kFtpProgramFailed;
        run.detail = std::string(kFtpProgramName) + " ended by signal " + std::to_string(exit.iSignal);
    }
}

void RemoveFolder(const std::string& folder)
{
    unlink((folder + "/script").c_str());
    unlink((folder + "/transcript").c_str());
    rmdir(folder.c_str());
}

} // namespace

std::string TranslateFtpScript(const std::string& script)
{
    std::vector<std::string> lines = SplitLines(script);
    std::string input;
    for (size_t i = 0; i < lines.size(); ++i)
        input += i == 0 ? LoginLines(lines[i]) : CommandLine(lines[i]);
    return input;
}

int CheckFtpTranscript(const std::string& transcript, int putCount, std::string& detail)
{
    bool connected = false;
    bool loggedIn = false;
    bool transferring = false;
    int completed = 0;
    // What went wrong, per stage: the first complaint before the greeting and before the
    // login, the last one after it.
    std::string connectProblem, loginProblem, uploadProblem;
    for (std::string line : SplitLines(transcript)) {
        int code = ReplyCode(line);
        bool complaint = code >= 400 || (code < 0 && IsClientComplaint(line));
        if (complaint) {
            std::string& problem = !connected ? connectProblem : !loggedIn ? loginProblem : uploadProblem;
            if (problem.empty() || loggedIn)
                problem = line;
        }
        if (code == 220)
            connected = true;
        else if (code == 230)
            loggedIn = connected;
        else if (code == 125 || code == 150)
            transferring = true;
        else if (transferring && (code == 226 || code == 250)) {
            ++completed;
            transferring = false;
        } else if (code >= 400)
            transferring = false;
    }
    detail.clear();
    if (!connected) {
        detail = connectProblem.empty() ? "no greeting from the server" : connectProblem;
        return kFtpConnectFailed;
    }
    if (!loggedIn) {
        detail = loginProblem.empty() ? "no reply to the login" : loginProblem;
        return kFtpLoginFailed;
    }
    if (completed < putCount) {
        detail = uploadProblem.empty() ? "the server did not confirm the transfer (no 226 reply)" : uploadProblem;
        return kFtpUploadFailed;
    }
    return kFtpSuccess;
}

int RunFtpScript(const char* scriptPath, const char* server, int16_t fPassive, char* reason, size_t room)
{
    SetFtpReason(reason, room, kFtpSuccess, nullptr);
    int port = FtpServerPort();
    if (port < 0) {
        SetFtpReason(reason, room, kFtpBadPortSetting, std::getenv(kFtpPortVariable));
        return kFtpBadPortSetting;
    }
    if (server == nullptr || *server == '\0' || *server == '-') {
        SetFtpReason(reason, room, kFtpConnectFailed, "no server name");
        return kFtpConnectFailed;
    }
    std::string script;
    int readError = scriptPath == nullptr ? ENOENT : ReadWholeFile(scriptPath, kScriptLimit, &script);
    if (readError != 0) {
        std::string detail = std::string(scriptPath != nullptr ? scriptPath : "") + ": " + std::strerror(readError);
        SetFtpReason(reason, room, kFtpLocalFileError, detail.c_str());
        return kFtpLocalFileError;
    }
    std::string folder = MakePrivateFolder();
    if (folder.empty()) {
        std::string detail = std::string("no temporary folder: ") + std::strerror(errno);
        SetFtpReason(reason, room, kFtpProgramFailed, detail.c_str());
        return kFtpProgramFailed;
    }
    ClientRun run;
    RunClient(folder, TranslateFtpScript(script), server, port, fPassive, run);
    RemoveFolder(folder);
    if (run.status == kFtpSuccess)
        run.status = CheckFtpTranscript(run.transcript, CountUploads(script), run.detail);
    if (run.status != kFtpSuccess)
        SetFtpReason(reason, room, run.status, run.detail.c_str());
    return run.status;
}
