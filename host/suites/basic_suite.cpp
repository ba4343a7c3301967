#include "host/suites/basic_suite.h"

#include "host/session/host_faults.h"
#include "host/suites/suite_registry.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace host {
namespace {

std::map<const void*, size_t>& Blocks()
{
    static std::map<const void*, size_t> blocks;
    return blocks;
}

int32_t IsEqual(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

ASErr AllocateBlock(size_t size, void** block)
{
    if (block == nullptr)
        return kBadParameterErr;
    *block = nullptr;
    if (ASErr fault = HostFault("AllocateBlock"))
        return fault;
    *block = std::malloc(size == 0 ? 1 : size);
    if (*block == nullptr)
        return kOutOfMemoryErr;
    Blocks()[*block] = size;
    return kNoErr;
}

ASErr FreeBlock(void* block)
{
    if (Blocks().erase(block) != 1)
        return kBadParameterErr;
    std::free(block);
    return kNoErr;
}

SPBasicSuite gBasic = {AcquireHostSuite, ReleaseHostSuite, IsEqual, AllocateBlock, FreeBlock};

}  // namespace

SPBasicSuite* HostBasicSuite() { return &gBasic; }

int64_t HostBlocksHeld() { return int64_t(Blocks().size()); }

size_t HostBlockSize(const void* block)
{
    auto found = Blocks().find(block);
    return found == Blocks().end() ? 0 : found->second;
}

}  // namespace host
