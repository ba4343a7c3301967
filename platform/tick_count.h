// Milliseconds of the monotonic clock, wrapping at 2^32 like the system's tick count.
#pragma once

#include <cstdint>

uint32_t GetTickCount();
