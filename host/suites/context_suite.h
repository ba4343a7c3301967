// The host's Context suite: the main window of the host application.
#pragma once

#include "sdk/ai_context.h"

namespace host {
const AIContextSuite* HostContextSuite();
}
