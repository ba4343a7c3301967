// The entry's one alert for a failed message, and the report of an unexpected error.
#pragma once

#include "sdk/ai_types.h"

#include <cstddef>

// True when a result is reported: anything but 0, 1, 'S!Fd' and 'STOP'.
bool IsReportedResult(ASErr result);

// "Error=%x, %s (caller : %s, selector : %s)" into text (room bytes, cut to fit); the %s
// after the number is the result's four bytes as characters, most significant first.
void FormatErrorAlert(ASErr result, const char* caller, const char* selector, char* text, size_t room);
// "Unexpected internal error=%x, %s" likewise.
void FormatUnexpectedError(ASErr error, char* text, size_t room);

// Shows the alert for a reported result when the User suite is held.
void ShowErrorAlert(ASErr result, const char* caller, const char* selector);
void ReportUnexpectedError(ASErr error);
