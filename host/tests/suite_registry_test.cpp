// The host's suites: every row answers with its exact name and version, the test switch,
// and the counts that show whether a plug-in keeps acquire and release paired.
#include "host/suites/suite_registry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The plug-in's suite list, as the plug-in's authors wrote it down.
const char* const kSuiteList =
    "\"SP Blocks Suite\" 2; \"SP Access Suite\" 3; \"AI MdMemory Suite\" 3; \"AI Real Math Suite\" 4; "
    "\"AI Art Suite\" 20; \"AI Path Suite\" 12; \"AI Document Suite\" 17; \"AI Document View Suite\" 14; "
    "\"AI User Interface Theme Suite\" 2; \"AI Panel Suite\" 4; \"AI Panel Flyout Menu Suite\" 2; "
    "\"AI Layer Suite\" 13; \"AI User Suite\" 17; \"AI Runtime Suite\" 13; \"AI Data Filter Suite\" 9; "
    "\"AI Path Style Suite\" 14; \"AI Undo Suite\" 9; \"AI ATE Text Util Suite\" 4; \"AI Text Frame Suite\" 4; "
    "\"AI Font Suite\" 6; \"AI Foreign Object Suite\" 4; \"AIATE Paint Suite\" 3; \"AI Hard Soft Suite\" 6; "
    "\"ATE ApplicationPaint Suite\" 1; \"ATE CompFont Suite\" 1; \"ATE CompFontClass Suite\" 1; "
    "\"ATE CompFontClassSet Suite\" 1; \"ATE CompFontComponent Suite\" 1; \"ATE CompFontSet Suite\" 1; "
    "\"ATE GlyphRun Suite\" 1; \"ATE GlyphRunsIterator Suite\" 1; \"ATE MojiKumi Suite\" 1; "
    "\"ATE MojiKumiSet Suite\" 1; \"ATE TextFrame Suite\" 101; \"ATE TextFramesIterator Suite\" 1; "
    "\"ATE TextLine Suite\" 2; \"ATE TextLinesIterator Suite\" 1; \"ATE TextResources Suite\" 1; "
    "\"ATE ApplicationTextResources Suite\" 1; \"ATE DocumentTextResources Suite\" 101; "
    "\"ATE ArrayApplicationPaintRef Suite\" 1; \"ATE ArrayReal Suite\" 1; \"ATE ArrayBool Suite\" 1; "
    "\"ATE ArrayInteger Suite\" 1; \"ATE ArrayLineCapType Suite\" 1; \"ATE ArrayFigureStyle Suite\" 1; "
    "\"ATE ArrayLineJoinType Suite\" 1; \"ATE ArrayWariChuJustification Suite\" 1; "
    "\"ATE ArrayStyleRunAlignment Suite\" 1; \"ATE ArrayAutoKernType Suite\" 1; "
    "\"ATE ArrayBaselineDirection Suite\" 1; \"ATE ArrayLanguage Suite\" 1; \"ATE ArrayFontCapsOption Suite\" 1; "
    "\"ATE ArrayFontBaselineOption Suite\" 1; \"ATE ArrayParagraphJustification Suite\" 1; "
    "\"ATE ArrayArrayReal Suite\" 1; \"ATE ArrayBurasagariType Suite\" 1; "
    "\"ATE ArrayPreferredKinsokuOrder Suite\" 1; \"ATE ArrayKinsokuRef Suite\" 1; "
    "\"ATE ArrayMojiKumiRef Suite\" 1; \"ATE ArrayMojiKumiSetRef Suite\" 1; \"ATE ArrayTabStopsRef Suite\" 1; "
    "\"ATE ArrayLeadingType Suite\" 1; \"ATE ArrayFontRef Suite\" 1; \"ATE ArrayGlyphID Suite\" 1; "
    "\"ATE ArrayRealPoint Suite\" 1; \"ATE ArrayRealMatrix Suite\" 1; \"ATE CharFeatures Suite\" 102; "
    "\"ATE CharInspector Suite\" 102; \"ATE CharStyle Suite\" 1; \"ATE CharStyles Suite\" 1; "
    "\"ATE CharStylesIterator Suite\" 1; \"ATE Find Suite\" 101; \"ATE Font Suite\" 1; \"ATE Glyph Suite\" 1; "
    "\"ATE Glyphs Suite\" 1; \"ATE GlyphsIterator Suite\" 1; \"ATE Kinsoku Suite\" 1; \"ATE KinsokuSet Suite\" 1; "
    "\"ATE ParaFeatures Suite\" 101; \"ATE Paragraph Suite\" 1; \"ATE ParagraphsIterator Suite\" 1; "
    "\"ATE ParaInspector Suite\" 101; \"ATE ParaStyle Suite\" 1; \"ATE ParaStyles Suite\" 1; "
    "\"ATE ParaStylesIterator Suite\" 1; \"ATE Spell Suite\" 102; \"ATE Stories Suite\" 1; \"ATE Story Suite\" 1; "
    "\"ATE TabStop Suite\" 1; \"ATE TabStops Suite\" 1; \"ATE TabStopsIterator Suite\" 1; "
    "\"ATE TextRange Suite\" 1; \"ATE TextRanges Suite\" 1; \"ATE TextRangesIterator Suite\" 1; "
    "\"ATE TextRunsIterator Suite\" 1; \"ATE WordsIterator Suite\" 1; \"AI Context Suite\" 10; "
    "\"AI Preference Suite\" 7; \"AI Pathfinder Suite\" 6; \"AI File Format Suite\" 15; "
    "\"AI Plugin Group Suite\" 6; \"AI Transform Art Suite\" 3; \"AI Mask Suite\" 5; \"AI Blend Style Suite\" 5; "
    "\"AI Dictionary Suite\" 10; \"AI Dictionary Iterator Suite\" 5; \"AI Art Style Suite\" 8; "
    "\"AI Symbol Suite\" 8; \"AI Menu Suite\" 11; \"AI Tool Suite\" 19; \"AI Unicode String Suite\" 8; "
    "\"AI File Path Suite\" 6";

struct Row {
    std::string name;
    int32_t version;
};

std::vector<Row> ExpectedRows()
{
    std::vector<Row> rows;
    std::string list = kSuiteList;
    size_t at = 0;
    while ((at = list.find('"', at)) != std::string::npos) {
        size_t end = list.find('"', at + 1);
        Row row{list.substr(at + 1, end - at - 1), std::atoi(list.c_str() + end + 2)};
        rows.push_back(row);
        at = list.find(';', end);
        if (at == std::string::npos)
            break;
    }
    return rows;
}

class SuiteRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::ClearUnavailableSuites();
        host::ResetSuiteCounts();
    }
    void TearDown() override { host::ClearUnavailableSuites(); }
};

TEST_F(SuiteRegistryTest, EveryRowAnswersWithItsExactNameAndVersionOnly)
{
    std::vector<Row> rows = ExpectedRows();
    ASSERT_EQ(rows.size(), 113u);
    ASSERT_EQ(host::HostSuiteCount(), 113);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(rows[i].name, host::HostSuiteName(int(i)));
        EXPECT_EQ(rows[i].version, host::HostSuiteVersion(int(i)));
        const void* suite = nullptr;
        EXPECT_EQ(host::AcquireHostSuite(rows[i].name.c_str(), rows[i].version, &suite), kNoErr);
        EXPECT_NE(suite, nullptr);
        const void* other = nullptr;
        EXPECT_EQ(host::AcquireHostSuite(rows[i].name.c_str(), rows[i].version + 1, &other), kSuiteUnavailableErr);
        EXPECT_EQ(host::AcquireHostSuite(rows[i].name.c_str(), rows[i].version - 1, &other), kSuiteUnavailableErr);
        EXPECT_EQ(other, nullptr);
        EXPECT_EQ(host::ReleaseHostSuite(rows[i].name.c_str(), rows[i].version), kNoErr);
    }
    EXPECT_EQ(host::CountHeldSuites(), 0);
    EXPECT_EQ(host::TotalSuiteCounts().acquires, 113);
}

TEST_F(SuiteRegistryTest, SwitchMakesNamedSuitesFailWithTheirStatus)
{
    struct Case {
        const char* list;
        const char* name;
        int32_t version;
        ASErr status;
    };
    const Case cases[] = {
        {"AI Tool Suite", "AI Tool Suite", 19, kSuiteUnavailableErr},
        {"AI Menu Suite=-108", "AI Menu Suite", 11, -108},
        {"AI User Suite=0x53544F50;AI Menu Suite=2", "AI User Suite", 17, 0x53544F50},
        {"AI User Suite=0x53544F50;AI Menu Suite=2", "AI Menu Suite", 11, 2},
        {"AI Menu Suite=0xffffff94", "AI Menu Suite", 11, -108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        host::ClearUnavailableSuites();
        std::string error;
        ASSERT_TRUE(host::SetUnavailableSuites(c.list, error)) << error;
        const void* suite = nullptr;
        EXPECT_EQ(host::AcquireHostSuite(c.name, c.version, &suite), c.status);
        EXPECT_EQ(host::HostSuiteCounts(c.name).acquires, 0);
        // every other suite still answers
        EXPECT_EQ(host::AcquireHostSuite("AI Undo Suite", 9, &suite), kNoErr);
        EXPECT_EQ(host::ReleaseHostSuite("AI Undo Suite", 9), kNoErr);
    }
}

TEST_F(SuiteRegistryTest, SwitchRefusesUnknownNamesAndBadStatuses)
{
    std::string error;
    EXPECT_FALSE(host::SetUnavailableSuites("AI Teleport Suite", error));
    EXPECT_NE(error.find("AI Teleport Suite"), std::string::npos);
    EXPECT_FALSE(host::SetUnavailableSuites("AI Menu Suite=soon", error));
    EXPECT_NE(error.find("soon"), std::string::npos);
}

TEST_F(SuiteRegistryTest, ReleaseWithoutAcquireIsRefusedAndNotCounted)
{
    EXPECT_EQ(host::ReleaseHostSuite("AI Menu Suite", 11), kBadParameterErr);
    const void* suite = nullptr;
    ASSERT_EQ(host::AcquireHostSuite("AI Menu Suite", 11, &suite), kNoErr);
    ASSERT_EQ(host::AcquireHostSuite("AI Menu Suite", 11, &suite), kNoErr);
    EXPECT_EQ(host::CountHeldSuites(), 1);
    EXPECT_EQ(host::ReleaseHostSuite("AI Menu Suite", 11), kNoErr);
    EXPECT_EQ(host::CountHeldSuites(), 1);
    EXPECT_EQ(host::ReleaseHostSuite("AI Menu Suite", 11), kNoErr);
    EXPECT_EQ(host::ReleaseHostSuite("AI Menu Suite", 11), kBadParameterErr);
    EXPECT_EQ(host::CountHeldSuites(), 0);
    host::SuiteCounts counts = host::HostSuiteCounts("AI Menu Suite");
    EXPECT_EQ(counts.acquires, 2);
    EXPECT_EQ(counts.releases, 2);
}

}  // namespace
