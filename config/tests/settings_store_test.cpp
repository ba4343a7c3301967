// The configuration program's settings store: the blocks read at start, the writers that
// never create the file, the block at 514, and the paper-list and custom-size operations.
// Expected files are built by hand at the byte offsets of the file format.
#include "config/paper_lists.h"
#include "config/settings_store.h"
#include "plugin/settings/settings_program.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        SetSettingsProgram(kSettingsConfig);
        ClearSettingsWriteFailure();
    }
    void TearDown() override { SetSettingsProgram(kSettingsPlugin); }

    // A file as the configuration program creates it, and the blocks read from it.
    std::string StartWithDefaultFile()
    {
        EXPECT_EQ(ReadAllSettings(), 0);
        return ReadBytes(TestSettingsFile());
    }
};

TEST_F(SettingsStoreTest, ReadAllCreatesTheFileAndHoldsItsThreeBlocks)
{
    std::memset(&gPlotSettings, 0x5A, sizeof gPlotSettings);
    std::string bytes = StartWithDefaultFile();
    EXPECT_EQ(FirstDifference(bytes, ExpectedDefaultFile(301)), "equal");
    EXPECT_EQ(std::memcmp(&gPlotSettings, bytes.data() + 2, 628), 0);
    EXPECT_EQ(std::memcmp(&gPaperList, bytes.data() + 1538, 6938), 0);
    EXPECT_EQ(std::memcmp(&gCustomSizeList, bytes.data() + 9730, 7924), 0);
}

TEST_F(SettingsStoreTest, ReadAllTakesAFileOfAnotherProgramAsItStands)
{
    std::string file = ExpectedDefaultFile(302);
    Put16(file, 2 + 36, 2);          // vector sort
    Put16(file, 1538 + 6934, 2);     // display unit: pixel
    Put16(file, 9730, 1);            // one custom size
    PutText(file, 9734, "User(100*200)");
    WriteBytes(TestSettingsFile(), file);
    ASSERT_EQ(ReadAllSettings(), 0);
    EXPECT_EQ(gPlotSettings.wVersion, 302);
    EXPECT_EQ(gPlotSettings.wSortMode, 2);
    EXPECT_EQ(gPaperList.wUnit, 2);
    EXPECT_EQ(gCustomSizeList.wCount, 1);
    EXPECT_STREQ(gCustomSizeList.aEntry[0].szName, "User(100*200)");
    EXPECT_EQ(ReadBytes(TestSettingsFile()), file);
}

TEST_F(SettingsStoreTest, AFileOfAnotherVersionIsRecreatedAndResetsTheBlocksInMemory)
{
    std::string old = ExpectedDefaultFile(301);
    Put16(old, 0, 301);
    Put16(old, 2 + 36, 2);
    WriteBytes(TestSettingsFile(), old);
    ASSERT_EQ(ReadAllSettings(), 0);
    EXPECT_EQ(gPlotSettings.wSortMode, 1);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
    EXPECT_EQ(ReadBytes(TestSettingsFile() + ".bak"), old);
}

TEST_F(SettingsStoreTest, WritersPutEachBlockAtItsOffset)
{
    std::string expected = StartWithDefaultFile();
    gPlotSettings.wSortMode = 2;
    gPlotSettings.rSheetMargin.top = 10;
    std::strcpy(gPlotSettings.szFooter, "SP0;");
    gPaperList.wUnit = 1;
    gPaperList.aEntry[9].wWidth = 900;
    gCustomSizeList.wCount = 1;
    gCustomSizeList.aEntry[0].iScale = 5000;

    ASSERT_EQ(WritePlotSettings(&gPlotSettings), 0);
    ASSERT_EQ(WritePaperList(&gPaperList), 0);
    ASSERT_EQ(WriteCustomSizeList(&gCustomSizeList), 0);
    Put16(expected, 2 + 36, 2);
    Put32(expected, 2 + 4, 10);
    PutText(expected, 2 + 500, "SP0;");
    Put16(expected, 1538 + 6934, 1);
    Put16(expected, 1538 + 2 + 70 * 9 + 64, 900);
    Put16(expected, 9730, 1);
    Put32(expected, 9730 + 4 + 72, 5000);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_FALSE(LastSettingsWriteFailure().failed);
}

TEST_F(SettingsStoreTest, WritersNeverCreateTheFileAndNoteTheFailure)
{
    StartWithDefaultFile();
    struct Writer {
        const char* name;
        int (*write)();
    };
    const Writer writers[] = {
        {"settings", [] { return WritePlotSettings(&gPlotSettings); }},
        {"paper list", [] { return WritePaperList(&gPaperList); }},
        {"custom sizes", [] { return WriteCustomSizeList(&gCustomSizeList); }},
        {"settings if given", [] { return WritePlotSettingsIfGiven(&gPlotSettings); }},
        {"paper list if given", [] { return WritePaperListIfGiven(&gPaperList); }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        std::remove(TestSettingsFile().c_str());
        ClearSettingsWriteFailure();
        EXPECT_EQ(w.write(), -1);
        EXPECT_FALSE(FileExists(TestSettingsFile()));
        SettingsWriteFailure failure = LastSettingsWriteFailure();
        EXPECT_TRUE(failure.failed);
        EXPECT_EQ(failure.error, ENOENT);
        EXPECT_EQ(failure.path, TestSettingsFile());
    }
}

TEST_F(SettingsStoreTest, IfGivenPairsDoNothingWithoutABlock)
{
    EXPECT_EQ(ReadPlotSettingsIfGiven(nullptr), 0);
    EXPECT_EQ(ReadPaperListIfGiven(nullptr), 0);
    EXPECT_EQ(WritePlotSettingsIfGiven(nullptr), 0);
    EXPECT_EQ(WritePaperListIfGiven(nullptr), 0);
    EXPECT_FALSE(FileExists(TestSettingsFile()));
    EXPECT_FALSE(LastSettingsWriteFailure().failed);

    PaperList list{};
    EXPECT_EQ(ReadPaperListIfGiven(&list), 0);   // a reader creates the file
    EXPECT_EQ(list.wCount, 10);
    PlotSettings settings{};
    EXPECT_EQ(ReadPlotSettingsIfGiven(&settings), 0);
    EXPECT_EQ(settings.wKanjiMode, 2);
}

TEST_F(SettingsStoreTest, BlockAt514IsWrittenThenOverlaidByTheThreeBlocks)
{
    std::string expected = StartWithDefaultFile();
    gPlotSettings.wPort = -4;
    std::string buffer(200, '\0');
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<char>(0x80 + i % 64);
    ASSERT_EQ(WriteBlockAt514AndAll(buffer.data(), 200), 0);
    Put16(expected, 2 + 212, -4);
    // 514 to 629 lie under the settings record; the rest of the 200 bytes stays.
    expected.replace(630, 84, buffer, 116, 84);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");

    std::string read(200, '\0');
    int16_t flag = 7;
    ASSERT_EQ(ReadBlockAt514AndAll(read.data(), 200, &flag), 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(read.substr(116), buffer.substr(116));
    EXPECT_EQ(read.substr(0, 116), expected.substr(514, 116));
}

TEST_F(SettingsStoreTest, BlockAt514CreatesAMissingFileWithDefaultsInMemoryToo)
{
    StartWithDefaultFile();
    gPlotSettings.wSortMode = 0;
    std::remove(TestSettingsFile().c_str());
    char byte = 'x';
    ASSERT_EQ(WriteBlockAt514AndAll(&byte, 1), 0);
    EXPECT_EQ(gPlotSettings.wSortMode, 1);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
}

TEST_F(SettingsStoreTest, ReadingTheBlockAt514NeedsAFile)
{
    char buffer[4] = {1, 2, 3, 4};
    int16_t flag = 5;
    EXPECT_EQ(ReadBlockAt514AndAll(buffer, sizeof buffer, &flag), -1);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_FALSE(FileExists(TestSettingsFile()));
}

// ---- the paper list ----------------------------------------------------------------------

PaperList ListOf(int rows)
{
    PaperList list{};
    for (int i = 0; i < rows; ++i) {
        std::string name = "P" + std::to_string(i);
        std::strcpy(list.aEntry[i].szName, name.c_str());
        list.aEntry[i].wWidth = static_cast<int16_t>(100 + i);
        list.aEntry[i].wHeight = static_cast<int16_t>(200 + i);
        list.aEntry[i].fRoll = static_cast<int16_t>(i % 2);
    }
    list.wCount = static_cast<int16_t>(rows);
    return list;
}

std::string Names(const PaperList& list)
{
    std::string names;
    for (int i = 0; i < list.wCount; ++i)
        names += std::string(i ? "," : "") + list.aEntry[i].szName;
    return names;
}

TEST(PaperListTest, InsertAndDeleteMoveTheRowsWithinTheirBounds)
{
    struct Case {
        const char* what;
        int rows;
        int insertAt;   // -100: delete instead
        int deleteAt;
        int result;
        const char* names;  // of the first rows after the operation
        int count;
    };
    const Case cases[] = {
        {"insert at the count appends", 3, 3, 0, 1, "P0,P1,P2,New", 4},
        {"insert at 0 moves all rows up", 10, 0, 0, 1, "New,P0,P1,P2,P3,P4,P5,P6,P7,P8,P9", 11},
        {"insert in the middle", 3, 1, 0, 1, "P0,New,P1,P2", 4},
        {"insert into a full list", 99, 5, 0, 0, "P0,P1", 99},
        {"insert beyond the count", 3, 4, 0, 0, "P0,P1,P2", 3},
        {"insert at -1", 3, -1, 0, 0, "P0,P1,P2", 3},
        {"delete the last row", 3, -100, 2, 1, "P0,P1", 2},
        {"delete row 0 of a full list", 99, -100, 0, 1, "P1,P2,P3", 98},
        {"delete at the count", 3, -100, 3, 0, "P0,P1,P2", 3},
        {"delete at -1", 3, -100, -1, 0, "P0,P1,P2", 3},
        {"delete from an empty list", 0, -100, 0, 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PaperList list = ListOf(c.rows);
        int result = c.insertAt != -100 ? InsertPaperEntry(&list, static_cast<int16_t>(c.insertAt), "New", 500, 600, 1)
                                        : DeletePaperEntry(&list, static_cast<int16_t>(c.deleteAt));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(list.wCount, c.count);
        EXPECT_EQ(Names(list).substr(0, std::strlen(c.names)), c.names);
    }
}

TEST(PaperListTest, DeletingRowZeroOfAFullListKeepsTheOthersInOrder)
{
    PaperList list = ListOf(99);
    ASSERT_EQ(DeletePaperEntry(&list, 0), 1);
    ASSERT_EQ(list.wCount, 98);
    for (int i = 0; i < 98; ++i) {
        EXPECT_EQ(list.aEntry[i].wWidth, 101 + i) << i;
        EXPECT_EQ(std::string(list.aEntry[i].szName), "P" + std::to_string(i + 1));
    }
}

TEST(PaperListTest, InsertedRowHoldsItsValues)
{
    PaperList list = ListOf(2);
    ASSERT_EQ(InsertPaperEntry(&list, 1, "B5", 182, 257, 0), 1);
    char name[kPaperNameBytes];
    int16_t width = 0, height = 0, roll = 9;
    ASSERT_EQ(GetPaperEntry(&list, 1, name, &width, &height, &roll), 1);
    EXPECT_STREQ(name, "B5");
    EXPECT_EQ(width, 182);
    EXPECT_EQ(height, 257);
    EXPECT_EQ(roll, 0);
    EXPECT_EQ(list.aEntry[2].wWidth, 101);
}

TEST(PaperListTest, GetSetAndFindOutsideTheListChangeNothing)
{
    PaperList list = ListOf(3);
    char name[kPaperNameBytes] = "junk";
    int16_t width = 1, height = 1, roll = 1;
    for (int index : {-1, 3, 99, -32768}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(GetPaperEntry(&list, static_cast<int16_t>(index), name, &width, &height, &roll), 0);
        EXPECT_STREQ(name, "");
        EXPECT_EQ(width + height + roll, 0);
        EXPECT_EQ(SetPaperEntry(&list, static_cast<int16_t>(index), "X", 1, 2, 3), 0);
    }
    EXPECT_EQ(Names(list), "P0,P1,P2");
    EXPECT_EQ(SetPaperEntry(&list, 2, "Q", 1, 2, 1), 1);
    EXPECT_EQ(Names(list), "P0,P1,Q");
    EXPECT_EQ(FindPaperSize(&list, 101, 201), 1);
    EXPECT_EQ(FindPaperSize(&list, 1, 2), 2);
    EXPECT_EQ(FindPaperSize(&list, 101, 200), -1);
    list.wCount = 2;
    EXPECT_EQ(FindPaperSize(&list, 1, 2), -1);   // rows past the count are not searched
}

TEST(PaperListTest, LongNamesAreCutAt63BytesOnAWholeCharacter)
{
    PaperList list = ListOf(1);
    std::string ascii(80, 'a');
    ASSERT_EQ(SetPaperEntry(&list, 0, ascii.c_str(), 1, 1, 0), 1);
    EXPECT_EQ(std::string(list.aEntry[0].szName), std::string(63, 'a'));
    // "横" in code page 932 is two bytes: 31 of them fill 62 bytes, the 32nd would split.
    std::string kanji;
    for (int i = 0; i < 40; ++i)
        kanji += "\x89\xA1";
    ASSERT_EQ(InsertPaperEntry(&list, 0, kanji.c_str(), 1, 1, 0), 1);
    EXPECT_EQ(std::string(list.aEntry[0].szName), kanji.substr(0, 62));
}

TEST(PaperListTest, ADamagedCountIsHeldToTheList)
{
    PaperList list = ListOf(3);
    list.wCount = 500;
    EXPECT_EQ(InsertPaperEntry(&list, 3, "X", 1, 1, 0), 0);
    EXPECT_EQ(GetPaperEntry(&list, 150, nullptr, nullptr, nullptr, nullptr), 0);
    list.wCount = -4;
    EXPECT_EQ(DeletePaperEntry(&list, 0), 0);
    EXPECT_EQ(InsertPaperEntry(&list, 0, "X", 1, 1, 0), 1);
    EXPECT_EQ(list.wCount, 1);
}

// ---- the custom-size list ----------------------------------------------------------------

class CustomSizeTest : public SettingsStoreTest {};

TEST_F(CustomSizeTest, AddNamesTheSizeAndWritesTheListOnlyWhenItChanges)
{
    std::string expected = StartWithDefaultFile();
    CustomSizeList list{};
    EXPECT_EQ(AddCustomSize(&list, 500, 700, 0, 10000), 0);
    EXPECT_EQ(list.wCount, 1);
    EXPECT_STREQ(list.aEntry[0].szName, "User(500*700)");
    Put16(expected, 9730, 1);
    PutText(expected, 9734, "User(500*700)");
    Put16(expected, 9734 + 64, 500);
    Put16(expected, 9734 + 66, 700);
    Put32(expected, 9734 + 72, 10000);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");

    // The same values again write nothing: with the file gone there is no failed write.
    std::remove(TestSettingsFile().c_str());
    EXPECT_EQ(AddCustomSize(&list, 500, 700, 0, 10000), 0);
    EXPECT_FALSE(LastSettingsWriteFailure().failed);

    EXPECT_EQ(AddCustomSize(&list, 500, 700, 0, 5000), 0);
    EXPECT_STREQ(list.aEntry[0].szName, "User(500*700 50%)");
    EXPECT_EQ(list.aEntry[0].iScale, 5000);
    EXPECT_EQ(list.wCount, 1);
    EXPECT_TRUE(LastSettingsWriteFailure().failed);   // it tried to write, and said so
    EXPECT_FALSE(FileExists(TestSettingsFile()));
}

TEST_F(CustomSizeTest, AnotherKindOverwritesTheRowNameIncluded)
{
    StartWithDefaultFile();
    CustomSizeList list{};
    AddCustomSize(&list, 300, 400, 0, 3333);
    EXPECT_STREQ(list.aEntry[0].szName, "User(300*400 33%)");
    EXPECT_EQ(AddCustomSize(&list, 300, 400, 2, 10000), 0);
    EXPECT_STREQ(list.aEntry[0].szName, "User(300*400)");
    EXPECT_EQ(list.aEntry[0].wKind, 2);
    EXPECT_EQ(AddCustomSize(&list, 400, 300, 0, 10000), 1);
    EXPECT_EQ(list.wCount, 2);
}

TEST_F(CustomSizeTest, ANewSizeInAFullListDropsRowZero)
{
    StartWithDefaultFile();
    CustomSizeList list{};
    for (int i = 0; i < 99; ++i)
        AddCustomSize(&list, static_cast<int16_t>(100 + i), 100, 0, 10000);
    ASSERT_EQ(list.wCount, 99);
    EXPECT_EQ(AddCustomSize(&list, 999, 888, 1, 10000), 98);
    EXPECT_EQ(list.wCount, 99);
    EXPECT_EQ(list.aEntry[0].wWidth, 101);
    EXPECT_EQ(list.aEntry[97].wWidth, 198);
    EXPECT_STREQ(list.aEntry[98].szName, "User(999*888)");
    // an existing size in the full list is found, nothing dropped
    EXPECT_EQ(AddCustomSize(&list, 150, 100, 0, 10000), 49);
    EXPECT_EQ(list.aEntry[0].wWidth, 101);
}

TEST_F(CustomSizeTest, ARowPastTheCountIsNotTakenForTheSameSize)
{
    StartWithDefaultFile();
    CustomSizeList list{};
    AddCustomSize(&list, 500, 700, 0, 10000);
    list.wCount = 0;   // the row is still there, but not in the list
    EXPECT_EQ(AddCustomSize(&list, 500, 700, 0, 10000), 0);
    EXPECT_EQ(list.wCount, 1);
}

TEST(CustomSizeReadTest, GetAndFindGoByTheCount)
{
    CustomSizeList list{};
    list.wCount = 1;
    list.aEntry[0] = CustomSizeEntry{"User(1*2)", 1, 2, 3, 0, 4000, 0};
    int16_t width = 9, height = 9, kind = 9;
    int32_t scale = 9;
    EXPECT_EQ(GetCustomSize(&list, 0, &width, &height, &kind, &scale), 1);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(scale, 4000);
    EXPECT_EQ(GetCustomSize(&list, 1, &width, &height, &kind, &scale), 0);
    EXPECT_EQ(width + height + kind + scale, 0);
    EXPECT_EQ(GetCustomSize(&list, -1, &width, &height, &kind, &scale), 0);
    EXPECT_EQ(FindCustomSize(&list, 1, 2), 0);
    EXPECT_EQ(FindCustomSize(&list, 2, 1), -1);
}

} // namespace
