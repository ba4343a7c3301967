#include "plugin/settings/settings_file.h"

#include "plugin/settings/paper_search.h"
#include "plugin/settings/settings_program.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

struct FreeBlock {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Block = std::unique_ptr<T, FreeBlock>;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        SetSettingsProgram(kSettingsPlugin);
    }
    void TearDown() override { SetSettingsProgram(kSettingsPlugin); }
};

TEST_F(SettingsFileTest, MissingFileIsCreatedWithEveryDefaultAtItsOffset)
{
    Block<PlotSettings> settings(LoadPlotSettings());
    ASSERT_TRUE(settings);
    std::string bytes = ReadBytes(TestSettingsFile());
    EXPECT_EQ(FirstDifference(bytes, ExpectedDefaultFile(302)), "equal");
    // The record handed back is the file's record.
    EXPECT_EQ(std::memcmp(settings.get(), bytes.data() + 2, 628), 0);
}

TEST_F(SettingsFileTest, ConfigurationProgramCreatesTheSameFileWithBlockVersion301)
{
    SetSettingsProgram(kSettingsConfig);
    PaperList list{};
    ASSERT_EQ(ReadPaperList(&list), 0);
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
}

// Either program's file gives the other program the ten default rows.
TEST_F(SettingsFileTest, PaperListCreatedByOneProgramReadsInTheOther)
{
    const SettingsProgram pairs[][2] = {{kSettingsPlugin, kSettingsConfig}, {kSettingsConfig, kSettingsPlugin}};
    for (const auto& pair : pairs) {
        ResetTestHome();
        SetSettingsProgram(pair[0]);
        Block<CustomSizeList> created(LoadCustomSizeList());
        ASSERT_TRUE(FileExists(TestSettingsFile()));
        SetSettingsProgram(pair[1]);
        PaperList list;
        std::memset(&list, 0x55, sizeof list);
        ASSERT_EQ(ReadPaperList(&list), 0);
        ASSERT_EQ(list.wCount, 10);
        const char* names[10] = {"A0", "A1", "A1(\x89\xA1)", "A2", "A2(\x89\xA1)", "A3",
            "A3(\x89\xA1)", "Roll(1020)", "Roll(1000)", "Roll(950)"};
        const int16_t sizes[10][3] = {{841, 1190, 0}, {594, 841, 0}, {841, 594, 0}, {420, 594, 0},
            {594, 420, 0}, {297, 420, 0}, {420, 297, 0}, {1020, 3000, 1}, {1000, 3000, 1}, {950, 3000, 1}};
        for (int i = 0; i < 10; ++i) {
            EXPECT_STREQ(list.aEntry[i].szName, names[i]) << "row " << i;
            int16_t w, h, roll;
            EXPECT_EQ(GetPaperSize(&list, static_cast<int16_t>(i), &w, &h, &roll), 1);
            EXPECT_EQ(w, sizes[i][0]) << "row " << i;
            EXPECT_EQ(h, sizes[i][1]) << "row " << i;
            EXPECT_EQ(roll, sizes[i][2]) << "row " << i;
        }
        EXPECT_EQ(list.wUnit, 0);
    }
}

TEST_F(SettingsFileTest, WrongVersionIsRecreatedAndTheOldFileKept)
{
    struct Case {
        const char* label;
        std::string old;
    } cases[] = {
        {"version 301", [] {
             std::string b = ExpectedDefaultFile(301);
             Put16(b, 0, 301);
             Put16(b, 2 + 36, 2);   // the user's vector sort
             return b;
         }()},
        {"one byte", std::string("\x2E", 1)},
        {"garbage, oversized", std::string(50000, '\x7B')},
    };
    for (const Case& c : cases) {
        ResetTestHome();
        WriteBytes(TestSettingsFile(), c.old);
        Block<PlotSettings> settings(LoadPlotSettings());
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->wSortMode, 1) << c.label;
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(302)), "equal") << c.label;
        EXPECT_EQ(ReadBytes(TestSettingsFile() + ".bak"), c.old) << c.label;
    }
}

TEST_F(SettingsFileTest, EmptyFileIsRecreatedWithoutReplacingAnOlderBackup)
{
    WriteBytes(TestSettingsFile() + ".bak", "older");
    WriteBytes(TestSettingsFile(), "");
    Block<PaperList> list(LoadPaperList());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->wCount, 10);
    EXPECT_EQ(ReadBytes(TestSettingsFile() + ".bak"), "older");
}

TEST_F(SettingsFileTest, ShortFileReadsWhatIsThereAndTheRestStaysZero)
{
    std::string b(100, '\0');
    Put16(b, 0, 302);
    for (size_t i = 2; i < b.size(); ++i)
        b[i] = static_cast<char>(i);
    WriteBytes(TestSettingsFile(), b);

    Block<PlotSettings> settings(LoadPlotSettings());
    ASSERT_TRUE(settings);
    const auto* bytes = reinterpret_cast<const unsigned char*>(settings.get());
    for (size_t i = 0; i < 628; ++i)
        ASSERT_EQ(bytes[i], i < 98 ? static_cast<unsigned char>(i + 2) : 0) << "offset " << i;
    Block<PaperList> list(LoadPaperList());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->wCount, 0);
    EXPECT_EQ(ReadBytes(TestSettingsFile()), b) << "a file of the right version is never rewritten";
}

TEST_F(SettingsFileTest, NoUsableFileLeavesTheCallersBufferAsItWas)
{
    struct Case {
        const char* label;
        void (*prepare)();
    } cases[] = {
        {"file name taken by a folder",
            [] { std::filesystem::create_directories(TestSettingsFile()); }},
        {"documents folder under a plain file",
            [] {
                WriteBytes(TestHome() + "/Documents/plain", "x");
                setenv("XDG_DOCUMENTS_DIR", (TestHome() + "/Documents/plain/docs").c_str(), 1);
            }},
        {"folder path over the plug-in's limit",
            [] {
                // 183 characters + "/Adobe/Illustrator" is 201.
                std::string docs = TestHome() + "/";
                docs += std::string(183 - docs.size(), 'd');
                setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
            }},
    };
    const std::string documents = std::getenv("XDG_DOCUMENTS_DIR");
    for (const Case& c : cases) {
        ResetTestHome();
        c.prepare();
        PlotSettings settings;
        std::memset(&settings, 0xAB, sizeof settings);
        PaperList list;
        std::memset(&list, 0xAB, sizeof list);
        CustomSizeList sizes;
        std::memset(&sizes, 0xAB, sizeof sizes);
        EXPECT_EQ(ReadPlotSettings(&settings), -1) << c.label;
        EXPECT_EQ(ReadPaperList(&list), -1) << c.label;
        EXPECT_EQ(ReadCustomSizeList(&sizes), -1) << c.label;
        for (size_t i = 0; i < sizeof settings; ++i)
            ASSERT_EQ(reinterpret_cast<unsigned char*>(&settings)[i], 0xAB) << c.label;
        for (size_t i = 0; i < sizeof list; ++i)
            ASSERT_EQ(reinterpret_cast<unsigned char*>(&list)[i], 0xAB) << c.label;
        for (size_t i = 0; i < sizeof sizes; ++i)
            ASSERT_EQ(reinterpret_cast<unsigned char*>(&sizes)[i], 0xAB) << c.label;
        // The loaders hand back their zeros.
        Block<PlotSettings> loaded(LoadPlotSettings());
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->wSortMode, 0) << c.label;
        setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
    }
}

TEST_F(SettingsFileTest, DamagedContentOfTheRightVersionNeverReadsPastTheBlocks)
{
    std::string b(17922, '\xFF');
    Put16(b, 0, 302);
    Put16(b, 1538, 0x7F7F);
    Put16(b, 9730, 0x7F7F);
    WriteBytes(TestSettingsFile(), b);
    Block<PlotSettings> settings(LoadPlotSettings());
    Block<PaperList> list(LoadPaperList());
    Block<CustomSizeList> sizes(LoadCustomSizeList());
    ASSERT_TRUE(settings && list && sizes);
    EXPECT_LT(std::strlen(settings->szHost), sizeof settings->szHost);
    EXPECT_LT(std::strlen(settings->szFooter), sizeof settings->szFooter);
    EXPECT_EQ(PaperListRowCount(list.get()), 99);
    EXPECT_EQ(CustomSizeRowCount(sizes.get()), 99);
    int16_t w = 1, h = 1, roll = 1;
    EXPECT_EQ(GetPaperSize(list.get(), 99, &w, &h, &roll), 0);
    EXPECT_EQ(GetPaperSize(list.get(), 500, &w, &h, &roll), 0);
    for (int i = 0; i < 99; ++i)
        EXPECT_LT(std::strlen(list->aEntry[i].szName), sizeof list->aEntry[i].szName);
}

TEST_F(SettingsFileTest, SenderNeverCreatesOrRecreatesTheFile)
{
    SetSettingsProgram(kSettingsSender);
    PlotSettings settings;
    std::memset(&settings, 0xAB, sizeof settings);
    EXPECT_EQ(ReadPlotSettings(&settings), -1);
    EXPECT_FALSE(FileExists(TestSettingsFile()));

    std::string old = ExpectedDefaultFile(302);
    Put16(old, 0, 301);
    Put32(old, 2 + 352, 9100);
    WriteBytes(TestSettingsFile(), old);
    EXPECT_EQ(ReadPlotSettings(&settings), -1);
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&settings)[0], 0xAB);
    EXPECT_EQ(ReadBytes(TestSettingsFile()), old);
    EXPECT_FALSE(FileExists(TestSettingsFile() + ".bak"));

    Put16(old, 0, 302);
    WriteBytes(TestSettingsFile(), old);
    EXPECT_EQ(ReadPlotSettings(&settings), 0);
    EXPECT_EQ(settings.iTcpPort, 9100);
}

TEST_F(SettingsFileTest, BlockAccessAtOffsets)
{
    WriteBytes(TestSettingsFile(), "");
    int fd = open(TestSettingsFile().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(WriteFileBlock(fd, 10, "abcd", 4), 4);
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(ReadFileBlock(fd, 12, buffer, 8), 2);   // stops at the end of the file
    EXPECT_EQ(std::string(buffer, 3), "cdx");
    EXPECT_EQ(ReadFileBlock(fd, 0, buffer, 2), 2);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(ReadFileBlock(-1, 0, buffer, 2), -1);
    close(fd);
    EXPECT_EQ(ReadBytes(TestSettingsFile()), std::string(10, '\0') + "abcd");
}

} // namespace
