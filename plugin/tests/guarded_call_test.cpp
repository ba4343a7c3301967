// Nothing a handler raises reaches the host: each failure becomes a status.
#include "plugin/entry/guarded_call.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

TEST(GuardedCallTest, EveryFailureBecomesAStatus)
{
    struct Case {
        const char* what;
        std::function<ASErr()> handler;
        ASErr expected;
    };
    const std::vector<Case> cases = {
        {"plain result", [] { return ASErr(2); }, 2},
        {"text engine status", [] { ATE::Check(-108); return kNoErr; }, -108},
        {"four-character status", []() -> ASErr { throw ATE::Exception{0x5041524D}; }, 0x5041524D},
        {"check of success", [] { ATE::Check(0); return ASErr(1); }, 1},
        {"memory", []() -> ASErr { throw std::bad_alloc(); }, kOutOfMemoryErr},
        {"anything else", []() -> ASErr { throw std::runtime_error("x"); }, kUnexpectedFailureErr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunGuarded(c.handler), c.expected) << c.what;
}

}  // namespace
