// Binding the suite table around messages: the nesting count, paired acquire and release,
// and a failed row.
#include "plugin/entry/plugin_binding.h"

#include "host/suites/basic_suite.h"
#include "host/suites/suite_registry.h"
#include "plugin/entry/suite_table.h"

#include <gtest/gtest.h>

namespace {

class SuiteBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sSPBasic = host::HostBasicSuite();
        wSuiteNesting = 0;
        host::ClearUnavailableSuites();
        host::ResetSuiteCounts();
    }
    void TearDown() override { host::ClearUnavailableSuites(); }
};

TEST_F(SuiteBindingTest, OnlyTheOutermostPairAcquiresAndReleases)
{
    ASSERT_EQ(AcquireSuites(), kNoErr);
    EXPECT_EQ(host::TotalSuiteCounts().acquires, 113);
    for (const SuiteRow& row : SuiteTable)
        EXPECT_NE(*row.ppSuite, nullptr) << row.szName;

    // a nested message only counts
    ASSERT_EQ(AcquireSuites(), kNoErr);
    EXPECT_EQ(wSuiteNesting, 2);
    EXPECT_EQ(ReleaseSuites(), kNoErr);
    EXPECT_EQ(host::TotalSuiteCounts().acquires, 113);
    EXPECT_EQ(host::TotalSuiteCounts().releases, 0);
    EXPECT_NE(sAIUser, nullptr);

    EXPECT_EQ(ReleaseSuites(), kNoErr);
    EXPECT_EQ(wSuiteNesting, 0);
    EXPECT_EQ(host::TotalSuiteCounts().releases, 113);
    for (const SuiteRow& row : SuiteTable)
        EXPECT_EQ(*row.ppSuite, nullptr) << row.szName;
}

TEST_F(SuiteBindingTest, FailedRowGivesItsStatusAndOnlyHeldRowsAreReleased)
{
    struct Case {
        const char* failing;
        ASErr status;
    };
    const Case cases[] = {
        {"SP Blocks Suite", kSuiteUnavailableErr},   // first row
        {"AI User Suite", -108},
        {"AI File Path Suite", 2},                    // last row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        host::ClearUnavailableSuites();
        host::ResetSuiteCounts();
        host::SetSuiteUnavailable(c.failing, c.status);
        EXPECT_EQ(AcquireSuites(), c.status);
        EXPECT_EQ(wSuiteNesting, 1);
        EXPECT_EQ(host::TotalSuiteCounts().acquires, 112);
        for (const SuiteRow& row : SuiteTable)
            EXPECT_EQ(*row.ppSuite == nullptr, std::string(row.szName) == c.failing) << row.szName;
        EXPECT_EQ(ReleaseSuites(), kNoErr);
        EXPECT_EQ(wSuiteNesting, 0);
        EXPECT_EQ(host::TotalSuiteCounts().releases, 112);
        EXPECT_EQ(host::CountHeldSuites(), 0);
    }
}

TEST_F(SuiteBindingTest, TwoFailuresAnswerTheFirst)
{
    host::SetSuiteUnavailable("AI Menu Suite", 2);
    host::SetSuiteUnavailable("AI Layer Suite", -108);
    EXPECT_EQ(AcquireSuites(), -108);
    EXPECT_EQ(ReleaseSuites(), kNoErr);
    EXPECT_EQ(host::CountHeldSuites(), 0);
}

TEST_F(SuiteBindingTest, ReleaseWithoutAcquireKeepsTheCountAtZero)
{
    EXPECT_EQ(ReleaseSuites(), kNoErr);
    EXPECT_EQ(wSuiteNesting, 0);
    EXPECT_EQ(host::TotalSuiteCounts().releases, 0);
}

}  // namespace
