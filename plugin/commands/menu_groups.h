// Searching the host's menu groups by name.
#pragma once

#include "sdk/ai_menu.h"

// found becomes true when a group of that name exists. A failed count is the answer; a
// failure while reading a group ends the search as if none had matched.
ASErr FindMenuGroup(const AIMenuSuite* menu, const char* name, bool* found);
