// The test switches' list form, "NAME[=STATUS]" entries separated by ';', shared by the
// missing-suite and failing-operation switches.
#pragma once

#include "sdk/ai_types.h"

#include <string>
#include <vector>

namespace host {

// The non-empty entries of a ';'-separated list.
std::vector<std::string> SplitSwitchList(const std::string& list);

// Takes a trailing "=STATUS" (decimal, or hexadecimal with 0x) off the entry into status;
// an entry without one leaves status as it was. False with the reason for a bad number.
bool TakeSwitchStatus(std::string& entry, ASErr& status, std::string& error);

}  // namespace host
