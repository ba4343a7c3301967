#include "plugin/entry/error_alert.h"

#include "plugin/entry/host_text.h"
#include "plugin/entry/suite_table.h"
#include "sdk/ai_user.h"

#include <cstdio>

namespace {

constexpr size_t kAlertRoom = 1024;

// The four bytes of a status as text, most significant first; a zero byte ends it.
void StatusCharacters(ASErr status, char out[5])
{
    uint32_t value = uint32_t(status);
    out[0] = char(value >> 24);
    out[1] = char(value >> 16);
    out[2] = char(value >> 8);
    out[3] = char(value);
    out[4] = 0;
}

void ShowAlertText(const char* text)
{
    if (sAIUser == nullptr)
        return;
    AIUnicodeStringRef string = nullptr;
    if (MakeHostString(text, kAIPlatformCharacterEncoding, &string) != kNoErr)
        return;
    sAIUser->ErrorAlert(string);
    DisposeHostString(string);
}

}  // namespace

bool IsReportedResult(ASErr result)
{
    return result != kNoErr && result != 1 && result != kUnknownSelectorErr && result != kCanceledErr;
}

void FormatErrorAlert(ASErr result, const char* caller, const char* selector, char* text, size_t room)
{
    char characters[5];
    StatusCharacters(result, characters);
    std::snprintf(text, room, "Error=%x, %s (caller : %s, selector : %s)", unsigned(result), characters,
                  caller ? caller : "", selector ? selector : "");
}

void FormatUnexpectedError(ASErr error, char* text, size_t room)
{
    char characters[5];
    StatusCharacters(error, characters);
    std::snprintf(text, room, "Unexpected internal error=%x, %s", unsigned(error), characters);
}

void ShowErrorAlert(ASErr result, const char* caller, const char* selector)
{
    if (!IsReportedResult(result) || sAIUser == nullptr)
        return;
    char text[kAlertRoom];
    FormatErrorAlert(result, caller, selector, text, sizeof text);
    ShowAlertText(text);
}

void ReportUnexpectedError(ASErr error)
{
    if (sAIUser == nullptr)
        return;
    char text[kAlertRoom];
    FormatUnexpectedError(error, text, sizeof text);
    ShowAlertText(text);
}
