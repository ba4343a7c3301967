// The run's art lists and the walk that collects a layer's art onto the page's main list,
// over the real host's document read from SVG. Host children come in stacking order: the
// element written last in the file is the first child.
#include "plugin/conversion/art_lists.h"

#include "plugin/tests/emission_test_host.h"
#include "plugin/entry/run_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

using emissiontest::EmissionHost;

class ArtLists : public EmissionHost {};

// --- the lists themselves ---

TEST_F(ArtLists, AllocateGivesTwoEmptyListsAndFreeClearsThem)
{
    ASSERT_NE(g->pMainArtList, nullptr);
    ASSERT_NE(g->pWorkArtList, nullptr);
    EXPECT_NE(g->pMainArtList, g->pWorkArtList);
    EXPECT_EQ(g->pMainArtList->iCount, 0);
    EXPECT_EQ(g->pWorkArtList->iCapacity, kArtListFirstCapacity);
    EXPECT_EQ(g->pWorkArtList->aEntry[kArtListFirstCapacity - 1].hArt, nullptr);
    EXPECT_EQ(FreeArtLists(), kNoErr);
    EXPECT_EQ(g->pMainArtList, nullptr);
    EXPECT_EQ(g->pWorkArtList, nullptr);
    EXPECT_EQ(FreeArtLists(), kNoErr);
}

TEST_F(ArtLists, AddFillsRowsAndGrowsTheListAsTheDrawingNeeds)
{
    ArtList* list = g->pMainArtList;
    const AIRealMatrix m = {1, 2, 3, 4, 5, 6};
    AIArtHandle a = reinterpret_cast<AIArtHandle>(0x10);
    list->aEntry[0].iTag = 7;  // a stale tag from an ordering is cleared
    ASSERT_EQ(AddArtEntry(list, a, 3, &m), kNoErr);
    EXPECT_EQ(list->aEntry[0].iTag, 0);
    EXPECT_EQ(list->aEntry[0].wTool, 3);
    EXPECT_EQ(list->aEntry[0].hArt, a);
    const double expected[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(list->aEntry[0].dMatrix[i], expected[i]);

    list->aEntry[1].dMatrix[4] = 9;
    ASSERT_EQ(AddArtEntry(list, a, 0, nullptr), kNoErr);
    for (double v : list->aEntry[1].dMatrix) EXPECT_EQ(v, 0);

    while (list->iCount < kArtListFirstCapacity) ASSERT_EQ(AddArtEntry(list, a, 1, nullptr), kNoErr);
    // Past the first room the list grows and keeps what it held.
    AIArtHandle b = reinterpret_cast<AIArtHandle>(0x20);
    for (int i = 0; i < 3 * kArtListFirstCapacity; ++i) ASSERT_EQ(AddArtEntry(list, b, 2, &m), kNoErr);
    EXPECT_EQ(list->iCount, 4 * kArtListFirstCapacity);
    EXPECT_GE(list->iCapacity, list->iCount);
    EXPECT_EQ(list->aEntry[0].hArt, a);
    EXPECT_EQ(list->aEntry[0].dMatrix[5], 6);
    EXPECT_EQ(list->aEntry[kArtListFirstCapacity - 1].hArt, a);
    EXPECT_EQ(list->aEntry[kArtListFirstCapacity].hArt, b);
    EXPECT_EQ(list->aEntry[list->iCount - 1].wTool, 2);
    EXPECT_EQ(g->fAbort, 0);
    EXPECT_EQ(g->conversion.iRunFailure, 0);
    EXPECT_EQ(AddArtEntry(nullptr, a, 1, nullptr), kOutOfMemoryErr);
}

TEST_F(ArtLists, ListThatCannotGrowEndsTheRunWithOutOfMemory)
{
    ArtList* list = g->pMainArtList;
    AIArtHandle a = reinterpret_cast<AIArtHandle>(0x10);
    while (list->iCount < list->iCapacity) ASSERT_EQ(AddArtEntry(list, a, 1, nullptr), kNoErr);
    const int32_t full = list->iCount;
    SetListAllocator([](size_t, size_t) -> void* { return nullptr; });
    EXPECT_EQ(AddArtEntry(list, a, 1, nullptr), kOutOfMemoryErr);
    EXPECT_EQ(AddArtEntry(list, a, 1, nullptr), kOutOfMemoryErr);
    SetListAllocator(nullptr);
    EXPECT_EQ(list->iCount, full);
    EXPECT_EQ(list->aEntry[full - 1].hArt, a);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(g->conversion.iRunFailure, kOutOfMemoryErr);
    // A new run starts without the old failure.
    FreeArtLists();
    ASSERT_EQ(AllocateArtLists(), kNoErr);
    EXPECT_EQ(g->conversion.iRunFailure, 0);
    g->fAbort = 0;
}

TEST_F(ArtLists, RemoveMovesLaterRowsDown)
{
    struct Case {
        const char* name;
        int16_t remove;
        ASErr result;
        std::vector<intptr_t> left;
    } cases[] = {
        {"first", 0, kNoErr, {2, 3, 4}},
        {"middle", 1, kNoErr, {1, 3, 4}},
        {"last", 3, kNoErr, {1, 2, 3}},
        {"past the end", 4, kBadParameterErr, {1, 2, 3, 4}},
        {"negative", -1, kBadParameterErr, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArtList* list = g->pMainArtList;
        list->iCount = 0;
        for (intptr_t i = 1; i <= 4; ++i)
            AddArtEntry(list, reinterpret_cast<AIArtHandle>(i), static_cast<int16_t>(i), nullptr);
        EXPECT_EQ(RemoveArtEntry(list, c.remove), c.result);
        ASSERT_EQ(list->iCount, static_cast<int32_t>(c.left.size()));
        for (size_t i = 0; i < c.left.size(); ++i) {
            EXPECT_EQ(list->aEntry[i].hArt, reinterpret_cast<AIArtHandle>(c.left[i]));
            EXPECT_EQ(list->aEntry[i].wTool, c.left[i]);
        }
        if (c.result == kNoErr) {
            EXPECT_EQ(list->aEntry[3].hArt, nullptr);
            EXPECT_EQ(list->aEntry[3].wTool, 0);
        }
    }
}

// --- collection ---

struct CollectCase {
    const char* name;
    std::string body;
    std::vector<std::string> rows;
};

TEST_F(ArtLists, CollectsWhatMeetsThePage)
{
    const CollectCase cases[] = {
        {"bounds half a point off the page still count, one and a half do not",
         "<g id=\"l\"><path id=\"left\" d=\"M-10 100 L-0.5 100 L-0.5 110\"/>"
         "<path id=\"farleft\" d=\"M-10 100 L-1.5 100 L-1.5 110\"/>"
         "<path id=\"above\" d=\"M10 -10 L20 -10 L20 -0.5\"/>"
         "<path id=\"below\" d=\"M10 201.5 L20 201.5 L20 210\"/></g>",
         {"above", "left"}},
        {"a compound path is one row",
         "<g id=\"l\"><path id=\"cp\" d=\"M10 10 L20 10 L20 20 Z M30 30 L40 30 L40 40 Z\"/></g>",
         {"cp"}},
        {"a text frame is one row",
         "<g id=\"l\"><text id=\"t\" x=\"50\" y=\"50\" style=\"font-family:IPAGothic;font-size:12px\">Hi</text></g>",
         {"t"}},
        {"groups depth first in child order",
         "<g id=\"l\"><path id=\"a\" d=\"M1 1 L2 2\"/><g id=\"g1\"><path id=\"b\" d=\"M1 1 L2 2\"/>"
         "<g id=\"g2\"><path id=\"c\" d=\"M1 1 L2 2\"/><path id=\"c2\" d=\"M1 1 L2 2\"/></g></g>"
         "<path id=\"d\" d=\"M1 1 L2 2\"/><g id=\"empty\"/></g>",
         {"d", "c2", "c", "b", "a"}},
        {"a symbol instance is its definition, off the page it is nothing",
         "<defs><symbol id=\"s\"><rect id=\"sr\" x=\"0\" y=\"0\" width=\"20\" height=\"10\"/></symbol></defs>"
         "<g id=\"l\"><use id=\"on\" xlink:href=\"#s\" x=\"100\" y=\"50\"/>"
         "<use id=\"off\" xlink:href=\"#s\" x=\"-500\" y=\"50\"/></g>",
         {"symbol s"}},
        {"images and other kinds are not collected",
         "<g id=\"l\"><image id=\"i\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" xlink:href=\"a.png\"/>"
         "<path id=\"p\" d=\"M1 1 L2 2\"/></g>",
         {"p"}},
    };
    for (const CollectCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.body);
        g->pMainArtList->iCount = 0;
        EXPECT_EQ(CollectArt(LayerGroup(), 2, nullptr), kNoErr);
        EXPECT_EQ(RowNames(), c.rows);
        for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) EXPECT_EQ(g->pMainArtList->aEntry[i].wTool, 2);
    }
}

TEST_F(ArtLists, SymbolRowCarriesTheInstanceMatrix)
{
    Load("<defs><symbol id=\"s\"><rect id=\"sr\" x=\"0\" y=\"0\" width=\"20\" height=\"10\"/></symbol></defs>"
         "<g id=\"l\"><path id=\"p\" d=\"M1 1 L2 2\"/><use id=\"u\" xlink:href=\"#s\" x=\"100\" y=\"50\"/></g>");
    ASSERT_EQ(CollectArt(LayerGroup(), 0, nullptr), kNoErr);
    ASSERT_EQ(RowNames(), (std::vector<std::string>{"symbol s", "p"}));
    AIRealMatrix m;
    ASSERT_EQ(sAISymbol->GetInstanceMatrix(Handle("u"), &m), kNoErr);
    const double* row = g->pMainArtList->aEntry[0].dMatrix;
    const double expected[6] = {m.a, m.b, m.c, m.d, m.tx, m.ty};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(row[i], expected[i]) << i;
    // the definition's centre goes to the centre of the placed 20 x 10 rectangle
    EXPECT_EQ(row[4], 110);
    EXPECT_EQ(row[5], 145);
    for (double v : g->pMainArtList->aEntry[1].dMatrix) EXPECT_EQ(v, 0);
}

TEST_F(ArtLists, GuidesAreNeverCollected)
{
    Load("<g id=\"l\"><path id=\"guide\" d=\"M1 1 L200 100\"/><path id=\"p\" d=\"M1 1 L2 2\"/>"
         "<path id=\"cp\" d=\"M10 10 L20 10 Z M30 30 L40 30 Z\"/></g>");
    host::SetPathGuide(Find("guide"), true);
    EXPECT_EQ(CollectArt(LayerGroup(), 0, nullptr), kNoErr);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"cp", "p"}));
    // Hidden and locked art is collected like any other.
    g->pMainArtList->iCount = 0;
    Find("p")->fHidden = true;
    Find("p")->fLocked = true;
    CollectArt(Handle("p"), 0, nullptr);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"p"}));
}

TEST_F(ArtLists, PluginArtIsCollectedThroughItsResultArt)
{
    Load("<g id=\"l\"><path id=\"p\" d=\"M1 1 L2 2\"/></g>");
    host::Art* without = nullptr;
    host::Art* with = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::PluginArt, host::Placement::InsideOnTop, doc_->layers[0]->group, &without), kNoErr);
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::PluginArt, host::Placement::InsideOnTop, doc_->layers[0]->group, &with), kNoErr);
    host::Art* result = host::NewDetachedArt(*doc_, host::ArtType::Path);
    result->name = "result";
    host::SetPathSegments(result, {AIPathSegment{{5, 5}, {5, 5}, {5, 5}, 1}, AIPathSegment{{50, 50}, {50, 50}, {50, 50}, 1}});
    with->pluginResult = result;
    EXPECT_EQ(CollectArt(LayerGroup(), 0, nullptr), kNoErr);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"result", "p"}));
}

TEST_F(ArtLists, EveryObjectOfALargeLayerIsCollectedInWalkOrder)
{
    // 5712 paths on one layer, as a drawing from another program had them.
    Load("<g id=\"l\"/>");
    host::Art* group = doc_->layers[0]->group;
    for (int i = 0; i < 5712; ++i) {
        host::Art* path = nullptr;
        ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnBottom, group, &path), kNoErr);
        path->name = std::to_string(i);
        host::SetPathSegments(path, {AIPathSegment{{5, 5}, {5, 5}, {5, 5}, 1}, AIPathSegment{{9, 9}, {9, 9}, {9, 9}, 1}});
    }
    EXPECT_EQ(CollectArt(host::ToHandle(group), 0, nullptr), kNoErr);
    ASSERT_EQ(g->pMainArtList->iCount, 5712);
    for (int32_t i = 0; i < 5712; ++i)
        ASSERT_EQ(host::FromHandle(g->pMainArtList->aEntry[i].hArt)->name, std::to_string(i));
    EXPECT_EQ(g->fAbort, 0);

    // Without memory for more rows the walk stops the run instead of dropping objects.
    FreeArtLists();
    ASSERT_EQ(AllocateArtLists(), kNoErr);
    SetListAllocator([](size_t, size_t) -> void* { return nullptr; });
    CollectArt(host::ToHandle(group), 0, nullptr);
    SetListAllocator(nullptr);
    EXPECT_EQ(g->pMainArtList->iCount, kArtListFirstCapacity);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(g->conversion.iRunFailure, kOutOfMemoryErr);
    g->fAbort = 0;
}

TEST_F(ArtLists, CancelDuringTheWalkKeepsTheRowsAlreadyAdded)
{
    Load("<g id=\"l\"><path id=\"e\" d=\"M1 1 L2 2\"/><path id=\"d\" d=\"M1 1 L2 2\"/>"
         "<path id=\"c\" d=\"M1 1 L2 2\"/><path id=\"b\" d=\"M1 1 L2 2\"/><path id=\"a\" d=\"M1 1 L2 2\"/></g>");
    // The poll follows every node: the fourth path's poll is the one that finds the cancel.
    host::SetCancelAfterChecks(3);
    CollectArt(LayerGroup(), 0, nullptr);
    EXPECT_EQ(g->fAbort, 1);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(CheckUserCancel(), -1);
    host::SetCancelAfterChecks(0);
    host::ClearHostUserRecords();
    g->fAbort = 0;
    EXPECT_EQ(CheckUserCancel(), 0);
    EXPECT_EQ(g->fAbort, 0);
}

TEST_F(ArtLists, BrokenDrawingsAreWalkedToTheEnd)
{
    // A symbol that places itself, NaN and huge coordinates, empty groups and paths.
    Load("<defs><symbol id=\"s\"><rect id=\"sr\" width=\"10\" height=\"10\"/><use id=\"self\" xlink:href=\"#s\" x=\"5\"/></symbol></defs>"
         "<g id=\"l\"><g id=\"e1\"><g id=\"e2\"/></g><use id=\"u\" xlink:href=\"#s\" x=\"10\" y=\"10\"/>"
         "<path id=\"huge\" d=\"M1 1 L1e300 5\"/><path id=\"one\" d=\"M5 5\"/><path id=\"none\" d=\"\"/></g>");
    host::Art* nan = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnBottom, doc_->layers[0]->group, &nan), kNoErr);
    const double q = std::numeric_limits<double>::quiet_NaN();
    host::SetPathSegments(nan, {AIPathSegment{{q, q}, {q, q}, {q, q}, 1}, AIPathSegment{{9, 9}, {9, 9}, {9, 9}, 1}});
    // a plug-in art whose result is itself
    host::Art* loop = nullptr;
    ASSERT_EQ(host::NewArt(*doc_, host::ArtType::PluginArt, host::Placement::InsideOnTop, doc_->layers[0]->group, &loop), kNoErr);
    loop->pluginResult = loop;
    CollectArt(LayerGroup(), 0, nullptr);
    const std::vector<std::string> rows = RowNames();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "symbol s"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "huge"), rows.end());
    EXPECT_EQ(g->fAbort, 0);
}

TEST_F(ArtLists, CollectShapesTakesEveryPlainPath)
{
    Load("<g id=\"l\"><path id=\"far\" d=\"M-900 1 L-800 2\"/><g id=\"g1\"><path id=\"b\" d=\"M1 1 L2 2\"/></g>"
         "<path id=\"cp\" d=\"M10 10 L20 10 Z M30 30 L40 30 Z\"/><text id=\"t\" x=\"5\" y=\"5\">x</text></g>");
    EXPECT_EQ(CollectShapes(LayerGroup()), kNoErr);
    ASSERT_EQ(g->pMainArtList->iCount, 4);
    EXPECT_EQ(RowNames()[1], "");  // compound members carry no id of their own
    EXPECT_EQ(RowNames()[3], "far");
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(g->pMainArtList->aEntry[i].wTool, 0);
}

}  // namespace

namespace {

// The host's own Art Style suite answers every art itself; this one answers the appearance
// art the test names for one path and asks the host for everything else.
AIArtHandle gStyledPath = nullptr;
AIArtHandle gAppearance = nullptr;

ASErr GetAppearanceArt(AIArtHandle art, AIArtHandle* styled)
{
    if (art == gStyledPath) {
        *styled = gAppearance;
        return kNoErr;
    }
    return host::HostArtStyleSuite()->GetStyledArt(art, styled);
}

const AIArtStyleSuite kAppearanceSuite = {GetAppearanceArt};

TEST_F(ArtLists, FullyOpaquePathIsCollectedThroughItsAppearanceArt)
{
    struct Case {
        const char* name;
        double opacity;
        std::vector<std::string> rows;
    } cases[] = {
        {"opaque: the appearance art is walked instead", 1.0, {"look2", "look1"}},
        {"translucent: the path itself", 0.5, {"p"}},
        {"below opaque in single precision", 0.99999, {"p"}},
        {"opaque once narrowed to single precision", 0.999999999, {"look2", "look1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // the layer written last is the top one
        Load("<g id=\"other\"><g id=\"look\"><path id=\"look1\" d=\"M1 1 L2 2\"/><path id=\"look2\" d=\"M1 1 L2 2\"/></g></g>"
             "<g id=\"l\"><path id=\"p\" d=\"M1 1 L2 2\"/></g>");
        Find("p")->style.opacity = c.opacity;
        gStyledPath = Handle("p");
        gAppearance = Handle("look");
        sAIArtStyle = &kAppearanceSuite;
        g->pMainArtList->iCount = 0;
        CollectArt(LayerGroup(0), 0, nullptr);
        sAIArtStyle = host::HostArtStyleSuite();
        EXPECT_EQ(RowNames(), c.rows);
    }
}

}  // namespace
