// Every suite the host offers, by name and version, with counts of what plug-ins hold.
#pragma once

#include "sdk/ai_types.h"

#include <string>

namespace host {

// The host's rows: 113 suites, each with its one version.
int HostSuiteCount();
const char* HostSuiteName(int index);
int32_t HostSuiteVersion(int index);

ASErr AcquireHostSuite(const char* name, int32_t version, const void** suite);
ASErr ReleaseHostSuite(const char* name, int32_t version);

// Test switch: acquiring the named suite fails with status (any version). Also read at
// start-up from TRAVEX_HOST_MISSING_SUITES, "NAME[=STATUS]" entries separated by ';'.
void SetSuiteUnavailable(const std::string& name, ASErr status);
bool SetUnavailableSuites(const std::string& list, std::string& error);
void ClearUnavailableSuites();

struct SuiteCounts {
    int64_t acquires = 0;   // successful acquisitions
    int64_t releases = 0;
};
SuiteCounts HostSuiteCounts(const char* name);
SuiteCounts TotalSuiteCounts();
int CountHeldSuites();      // suites acquired more often than released
void ResetSuiteCounts();

}  // namespace host
