// The host's User suite: progress on the terminal, the cancel check, alerts on standard error.
#pragma once

#include "sdk/ai_user.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

const AIUserSuite* HostUserSuite();

struct AlertRecord {
    bool fError = false;      // error alert, else message alert
    std::string bytes;        // the text's eight-bit bytes, or UTF-8 when it was made from UTF-16
    std::string printable;    // as printed
};
const std::vector<AlertRecord>& HostAlerts();
std::vector<std::string> HostProgressTexts();
// Every progress update as asked, current then maximum, before the bar drops repeats.
std::vector<std::pair<int32_t, int32_t>> HostProgressUpdates();
void ClearHostUserRecords();

// Ends the progress bar's line on the terminal, so that what is printed next starts a line
// of its own; nothing when no bar is shown.
void EndProgressLine();

// The cancel check answers true once Ctrl-C was pressed (a second one ends the process), or
// after checks false answers (0: never by count). Also read from TRAVEX_HOST_CANCEL_AFTER.
void InstallCancelOnInterrupt();
void SetCancelAfterChecks(int checks);

// Every alert is also appended to this file, "error: " or "message: " then its bytes and a
// line feed (set from TRAVEX_HOST_ALERT_LOG; empty: none).
void SetAlertLogPath(const std::string& path);

}  // namespace host
