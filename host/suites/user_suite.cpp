#include "host/suites/user_suite.h"

#include "host/suites/host_strings.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace host {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

struct UserState {
    std::vector<AlertRecord> alerts;
    std::vector<std::string> progressTexts;
    std::vector<std::pair<int32_t, int32_t>> progressUpdates;
    std::string progressText;
    int lastPercent = -1;
    bool fBarShown = false;
    int cancelAfter = -1;      // -1: not read yet
    int checks = 0;
    std::string alertLog;
    bool fLogRead = false;
};

UserState& State()
{
    static UserState state;
    return state;
}

void OnInterrupt(int) { gInterrupted = 1; }

bool OnTerminal() { return isatty(STDERR_FILENO) == 1; }

void DrawBar(int percent)
{
    UserState& s = State();
    constexpr int kWidth = 30;
    int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%.*s%.*s] %3d%% %s\033[K", filled, "##############################",
                 kWidth - filled, "..............................", percent, s.progressText.c_str());
    std::fflush(stderr);
    s.fBarShown = true;
}

void EndBar()
{
    UserState& s = State();
    if (s.fBarShown) {
        std::fputc('\n', stderr);
        s.fBarShown = false;
    }
}

ASBoolean Cancel()
{
    UserState& s = State();
    if (s.cancelAfter < 0) {
        const char* value = std::getenv("TRAVEX_HOST_CANCEL_AFTER");
        s.cancelAfter = value ? std::atoi(value) : 0;
    }
    ++s.checks;
    if (s.cancelAfter > 0 && s.checks > s.cancelAfter)
        return true;
    return gInterrupted != 0;
}

void UpdateProgress(int32_t current, int32_t maximum)
{
    UserState& s = State();
    s.progressUpdates.emplace_back(current, maximum);
    int percent = maximum > 0 ? int(int64_t(current) * 100 / maximum) : 0;
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    if (percent == s.lastPercent)
        return;
    s.lastPercent = percent;
    if (OnTerminal())
        DrawBar(percent);
    else
        std::fprintf(stderr, "progress: %d%%\n", percent);
}

void SetProgressText(AIUnicodeStringRef text)
{
    const HostString* string = FindHostString(text);
    if (string == nullptr)
        return;
    UserState& s = State();
    s.progressText = PrintableText(*string);
    s.progressTexts.push_back(s.progressText);
    if (OnTerminal())
        DrawBar(s.lastPercent < 0 ? 0 : s.lastPercent);
    else
        std::fprintf(stderr, "progress: %s\n", s.progressText.c_str());
}

void CloseProgress()
{
    UserState& s = State();
    EndBar();
    s.lastPercent = -1;
    s.progressText.clear();
}

ASErr Alert(AIUnicodeStringRef text, bool fError)
{
    const HostString* string = FindHostString(text);
    if (string == nullptr)
        return kBadParameterErr;
    UserState& s = State();
    EndBar();
    AlertRecord record{fError, RecordedBytes(*string), PrintableText(*string)};
    std::fprintf(stderr, "travex-host: %s: %s\n", fError ? "error alert" : "message", record.printable.c_str());
    if (!s.fLogRead) {
        s.fLogRead = true;
        if (const char* path = std::getenv("TRAVEX_HOST_ALERT_LOG"); path && s.alertLog.empty())
            s.alertLog = path;
    }
    if (!s.alertLog.empty()) {
        if (FILE* log = std::fopen(s.alertLog.c_str(), "ab")) {
            std::fprintf(log, "%s: ", fError ? "error" : "message");
            std::fwrite(record.bytes.data(), 1, record.bytes.size(), log);
            std::fputc('\n', log);
            std::fclose(log);
        }
    }
    s.alerts.push_back(std::move(record));
    return kNoErr;
}

ASErr ErrorAlert(AIUnicodeStringRef text) { return Alert(text, true); }
ASErr MessageAlert(AIUnicodeStringRef text) { return Alert(text, false); }

const AIUserSuite kSuite = {Cancel, UpdateProgress, SetProgressText, CloseProgress, ErrorAlert, MessageAlert};

}  // namespace

const AIUserSuite* HostUserSuite() { return &kSuite; }

const std::vector<AlertRecord>& HostAlerts() { return State().alerts; }
std::vector<std::string> HostProgressTexts() { return State().progressTexts; }
std::vector<std::pair<int32_t, int32_t>> HostProgressUpdates() { return State().progressUpdates; }

void ClearHostUserRecords()
{
    UserState& s = State();
    s.alerts.clear();
    s.progressTexts.clear();
    s.progressUpdates.clear();
    s.checks = 0;
    gInterrupted = 0;
}

void EndProgressLine() { EndBar(); }

void InstallCancelOnInterrupt()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    // a second Ctrl-C ends the host even when the plug-in never checks
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void SetCancelAfterChecks(int checks)
{
    State().cancelAfter = checks;
    State().checks = 0;
}

void SetAlertLogPath(const std::string& path)
{
    State().alertLog = path;
    State().fLogRead = true;
}

}  // namespace host
