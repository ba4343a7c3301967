#include "plugin/entry/plugin_binding.h"

#include "sdk/ai_unicode_string.h"
#include "sdk/ai_user.h"
#include "plugin/entry/suite_table.h"

#include <cstdio>

SPBasicSuite* sSPBasic = nullptr;
int16_t wSuiteNesting = 0;

namespace {

// A row without a name can only be reported, not acquired: the walk ends there.
void ReportNamelessRow(ASErr status, const SuiteRow& row)
{
    if (sAIUser == nullptr || sAIUnicodeString == nullptr)
        return;
    char text[1024];
    std::snprintf(text, sizeof text, "Error: %d, suite: %s, version: %d!", status, row.szName, row.iVersion);
    AIUnicodeStringRef string = nullptr;
    if (sAIUnicodeString->MakeFromEightBit(text, kAIPlatformCharacterEncoding, &string) == kNoErr) {
        sAIUser->MessageAlert(string);
        sAIUnicodeString->Dispose(string);
    }
}

}  // namespace

ASErr AcquireSuites()
{
    ASErr result = kNoErr;
    if (wSuiteNesting == 0) {
        // Every row is tried; the first failure is the answer, so a message whose suites are
        // not all held is never dispatched.
        for (const SuiteRow& row : SuiteTable) {
            *row.ppSuite = nullptr;
            if (row.szName == nullptr || row.szName[0] == 0) {
                if (result == kNoErr)
                    result = kBadParameterErr;
                ReportNamelessRow(result, row);
                break;
            }
            ASErr status = sSPBasic ? sSPBasic->AcquireSuite(row.szName, row.iVersion, row.ppSuite)
                                    : kBadParameterErr;
            if (status != kNoErr) {
                *row.ppSuite = nullptr;
                if (result == kNoErr)
                    result = status;
            }
        }
    }
    ++wSuiteNesting;
    return result;
}

ASErr ReleaseSuites()
{
    ASErr result = kNoErr;
    if (wSuiteNesting == 1) {
        // Only rows that were acquired are released, and a failed release does not leave
        // the rows after it held.
        for (const SuiteRow& row : SuiteTable) {
            if (*row.ppSuite == nullptr)
                continue;
            ASErr status = sSPBasic ? sSPBasic->ReleaseSuite(row.szName, row.iVersion) : kBadParameterErr;
            if (status != kNoErr && result == kNoErr)
                result = status;
            *row.ppSuite = nullptr;
        }
    }
    if (wSuiteNesting > 0)
        --wSuiteNesting;
    return result;
}
