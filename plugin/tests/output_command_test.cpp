// "Output Plotter" over the real host when the run's memory cannot be had: the run ends
// with -108 before the dialog, and every record it took is given back.
#include "plugin/tests/conversion_test_host.h"

#include "plugin/entry/plugin_handlers.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace conversiontest;

// The allocator refuses its nth block; every other block comes from calloc.
int gBlocksBeforeRefusal = 0;
int gBlocksAsked = 0;

void* RefuseNthBlock(size_t count, size_t size)
{
    return ++gBlocksAsked == gBlocksBeforeRefusal ? nullptr : std::calloc(count, size);
}

class OutputCommand : public PageConversion {
protected:
    void SetUp() override
    {
        PageConversion::SetUp();
        Load(Layer("A", "<path d=\"M 10 10 h 5\"/>"), {{"A", {1, 1}}});
        // The run takes and frees its own records: none of the fixture's may be left in.
        FreeArtLists();
        g->pLayerTable = nullptr;
        g->pPlotSettings = nullptr;
        g->pPageSetup = nullptr;
    }

    void TearDown() override
    {
        SetListAllocator(nullptr);
        PageConversion::TearDown();
    }
};

TEST_F(OutputCommand, MemoryThatCannotBeHadEndsTheRunWith108AndEveryRecordIsGivenBack)
{
    // 1: the layer table; 2 and 3: the main list and its rows; 4 and 5: the work list's.
    for (int refused = 1; refused <= 5; ++refused) {
        SCOPED_TRACE(refused);
        gBlocksAsked = 0;
        gBlocksBeforeRefusal = refused;
        SetListAllocator(RefuseNthBlock);
        AIMenuMessage message{};
        EXPECT_EQ(RunOutputCommand(&message), kOutOfMemoryErr);
        SetListAllocator(nullptr);
        EXPECT_EQ(gBlocksAsked, refused) << "nothing is asked for after the refusal";
        EXPECT_EQ(g->pLayerTable, nullptr);
        EXPECT_EQ(g->pMainArtList, nullptr);
        EXPECT_EQ(g->pWorkArtList, nullptr);
        EXPECT_EQ(g->pPlotSettings, nullptr);
        EXPECT_EQ(g->pPaperList, nullptr);
        EXPECT_EQ(g->pCustomSizeList, nullptr);
        EXPECT_EQ(g->pPageSetup, nullptr);
    }
}

}  // namespace
