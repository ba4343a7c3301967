// Test switch: a host operation answers a chosen status instead of doing its work, on every
// call or on its Nth call only. Set with travex-host --fail or TRAVEX_HOST_FAIL, entries
// "OPERATION[#N][=STATUS]" separated by ';' (status default -108).
#pragma once

#include "sdk/ai_types.h"

#include <string>

namespace host {

// The operations the switch knows.
bool IsFaultableOperation(const std::string& operation);
bool SetHostFaults(const std::string& list, std::string& error);
void ClearHostFaults();
// Counts the call; kNoErr when it is to go ahead, else the status to answer.
ASErr HostFault(const char* operation);

}  // namespace host
