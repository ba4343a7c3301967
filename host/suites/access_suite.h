// The host's Access suite: a loaded plug-in's access record and module.
#pragma once

#include "sdk/sp_access.h"

namespace host {
const SPAccessSuite* HostAccessSuite();
}
