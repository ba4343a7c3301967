// The basic suite every message carries: suite binding, string equality, blocks.
#pragma once

#include "sdk/ai_types.h"

struct SPBasicSuite {
    ASErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    ASErr (*ReleaseSuite)(const char* name, int32_t version);
    int32_t (*IsEqual)(const char* a, const char* b);
    ASErr (*AllocateBlock)(size_t size, void** block);
    ASErr (*FreeBlock)(void* block);
};
