// Per-run conversion, emitter and transfer state kept inside PluginGlobals.
// Each record is filled in by the part of the plug-in that owns it.
#pragma once

#include <cstdint>
#include <cstdio>

struct ConversionState {
    int32_t reserved;
};

struct EmitterState {
    int32_t reserved;
};

struct SendMachine {
    int32_t reserved;
};

struct GroupBoundsCache {
    int32_t reserved;
};
