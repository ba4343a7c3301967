// Runs a handler so that nothing it raises reaches the host: a failure of the host's class
// binding becomes its status, memory exhaustion -108, anything else 'CANT'.
#pragma once

#include "sdk/ai_types.h"
#include "sdk/ate_classes.h"

#include <new>

constexpr ASErr kUnexpectedFailureErr = 0x43414E54;  // 'CANT'

template <typename Handler>
ASErr RunGuarded(Handler handler)
{
    try {
        return handler();
    } catch (const ATE::Exception& failure) {
        return failure.error;
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryErr;
    } catch (...) {
        return kUnexpectedFailureErr;
    }
}
