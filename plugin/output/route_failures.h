// How a job route that opens no port reports a failure: its text (strings 16700 + n in
// Japanese, 16800 + n in English, each with the reason) as the host's progress text, and a
// status for the run, so that a job that did not go out never passes as one that did.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/ai_types.h"

constexpr ASErr kPlotDataIncompleteErr = 0x50444154;  // 'PDAT': the plot data file is not whole
constexpr ASErr kPlotFileWriteErr = 0x504C5457;       // 'PLTW': the ".plt" file was not written
constexpr ASErr kFtpTransferErr = 0x46545021;         // 'FTP!': the FTP server did not take the file
constexpr ASErr kSenderFailedErr = 0x534E4452;        // 'SNDR': the job sender did not send the job

enum RouteFailure : int16_t {
    kRouteFailurePlotData = 1,
    kRouteFailurePlotFile = 2,
    kRouteFailureFtp = 3,
    kRouteFailureSender = 4,
};

// Shows the failure's text with the reason (UTF-8) as the progress text, keeps it as the
// send machine's shown text, and returns the failure's status.
ASErr ReportRouteFailure(RouteFailure failure, const std::string& reason);
