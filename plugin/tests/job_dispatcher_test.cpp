// The output job over the real host: what RunPlotJob answers when the conversion could not
// be completed.
#include "plugin/output/job_dispatcher.h"
#include "plugin/tests/conversion_test_host.h"

#include "plugin/conversion/art_lists.h"
#include "plugin/settings/settings_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

using namespace conversiontest;

class JobDispatcher : public PageConversion {};

// More lines than the art lists first hold, so that collecting them needs more rows.
std::string ManyLines(int count)
{
    std::string body;
    for (int i = 0; i < count; ++i)
        body += "<path d=\"M 10 " + std::to_string(1 + i % 40) + " h 1\"/>";
    return body;
}

TEST_F(JobDispatcher, MemoryThatRunsOutWhileCollectingFailsTheJobAndNothingGoesOut)
{
    Load(Layer("B", ManyLines(kArtListFirstCapacity + 10)), {{"B", {1, 1}}});
    g->fTextOut = 1;  // the save-as route, which must not run
    SetListAllocator([](size_t, size_t) -> void* { return nullptr; });
    const int32_t status = RunPlotJob();
    SetListAllocator(nullptr);
    g->fTextOut = 0;
    g->fAbort = 0;

    EXPECT_EQ(status, kOutOfMemoryErr);
    char folder[512];
    ASSERT_EQ(CopyPrefsFolder(folder, sizeof folder), 0);
    EXPECT_NE(access((std::string(folder) + "/TRAVEX-Pro.sdr").c_str(), F_OK), 0)
        << "no job file for a job that failed";
}

}  // namespace
