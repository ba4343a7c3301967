// The host's basic suite, carried by every message.
#pragma once

#include "sdk/sp_basic.h"

namespace host {

SPBasicSuite* HostBasicSuite();
// Blocks allocated and not yet freed.
int64_t HostBlocksHeld();
// The size of a block the host handed out, 0 for anything else.
size_t HostBlockSize(const void* block);

}  // namespace host
