// The host's File Path suite over the file-path handles the Document suite makes.
#pragma once

#include "sdk/ai_file_path.h"

namespace host {
const AIFilePathSuite* HostFilePathSuite();
}
