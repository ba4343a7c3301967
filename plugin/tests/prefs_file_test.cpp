#include "plugin/records/prefs_file.h"

#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::string PrefsPath()
{
    return TestSettingsFolder() + "/Prefs/TRAVEX-Pro.ini";
}

class PrefsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        globals_ = std::make_unique<PluginGlobals>();
        g = globals_.get();
        std::strcpy(g->szProductName, "TRAVEX-Pro");
    }
    void TearDown() override { g = nullptr; }

    std::unique_ptr<PluginGlobals> globals_;
};

constexpr int16_t kBefore = 5;   // a word no line sets, to see "unchanged"

struct LineCase {
    const char* label;
    std::string text;
    int16_t word;
};

TEST_F(PrefsFileTest, LanguageLines)
{
    const std::string x239(239, 'x');
    const LineCase cases[] = {
        {"english", "language = ENGLISH\n", 1},
        {"korean without spaces", "language=KOREAN", 2},
        {"quoted value", "language = \"ENGLISH\"\r\n", 1},
        {"lower-case value", "language = english\n", 0},
        {"key is case-sensitive", "Language = ENGLISH\n", kBefore},
        {"japanese", "language = JAPANESE\n", 0},
        {"comment", "'language = ENGLISH\n", kBefore},
        {"comment after blanks", "  \t' language = ENGLISH\n", kBefore},
        {"empty value", "language = \n", kBefore},
        {"empty key", " = ENGLISH\n", kBefore},
        {"more fields", "language = ENGLISH, more text,and,more,still,more\n", 1},
        {"later line wins", "language = ENGLISH\nlanguage = KOREAN\n", 2},
        {"empty value does not undo", "language = ENGLISH\nlanguage =\n", 1},
        {"empty file", "", kBefore},
        {"tabs and carriage returns dropped", "\tlanguage\t=\tENG\rLISH\r\n", 1},
        {"spaces kept inside quotes", "language = \"ENG LISH\"\n", 0},
        {"quotes only group", "lang\"uage\" = EN\"\"GLISH\n", 1},
        {"comma separates too", "language,KOREAN\n", 2},
        {"quoted separator", "language = \"KOREAN,x\"\n", 0},
        {"quote never closed", "language = \"KOREAN\n", 2},
        {"blank lines around", "\n\n   \nlanguage = KOREAN\n\n", 2},
        {"text ends at a NUL", std::string("language = KOREAN\n\0language = ENGLISH\n", 39), 2},
        {"300-character line keeps its first 255", "language=KOREAN," + x239 + "language=ENGLISH" +
            std::string(300 - 255 - 16, 'y') + "\n", 2},
        {"binary garbage", std::string("\xFF\xFE\x00\x01=\x02,\"", 8), kBefore},
    };
    for (const LineCase& c : cases) {
        WriteBytes(PrefsPath(), c.text);
        g->iLanguage = kBefore;
        ReadPrefsIni();
        EXPECT_EQ(g->iLanguage, c.word) << c.label;
        EXPECT_STREQ(g->szProductName, "TRAVEX-Pro") << c.label;
    }
}

TEST_F(PrefsFileTest, NoFileChangesNothingAndCreatesThePrefsFolder)
{
    g->iLanguage = kBefore;
    ReadPrefsIni();
    EXPECT_EQ(g->iLanguage, kBefore);
    EXPECT_TRUE(std::filesystem::is_directory(TestSettingsFolder() + "/Prefs"));

    // A folder in the file's place is neither read nor replaced.
    std::filesystem::create_directories(PrefsPath());
    ReadPrefsIni();
    EXPECT_EQ(g->iLanguage, kBefore);
    g->iLanguage = 1;
    WritePrefsIni();
    EXPECT_TRUE(std::filesystem::is_directory(PrefsPath()));
    EXPECT_FALSE(FileExists(PrefsPath() + ".new"));
}

TEST_F(PrefsFileTest, ProductLine)
{
    const struct {
        const char* label;
        std::string text;
        std::string name;
    } cases[] = {
        {"quoted name", "product = \"Plotter Studio\"\n", "Plotter Studio"},
        {"spaces dropped outside quotes", "product = Plotter Studio\n", "PlotterStudio"},
        {"first 63 characters", "product = " + std::string(300, 'P') + "\n", std::string(63, 'P')},
        {"empty value ignored", "product =\n", "TRAVEX-Pro"},
    };
    for (const auto& c : cases) {
        std::strcpy(g->szProductName, "TRAVEX-Pro");
        WriteBytes(PrefsPath(), c.text);
        g->iLanguage = kBefore;
        ReadPrefsIni();
        EXPECT_EQ(std::string(g->szProductName), c.name) << c.label;
        EXPECT_EQ(g->iLanguage, kBefore) << c.label;
    }
}

TEST_F(PrefsFileTest, WrittenFileReadsBack)
{
    const struct {
        int16_t word;
        const char* bytes;
        int16_t readBack;
    } cases[] = {
        {0, "language = JAPANESE\r\n", 0},
        {1, "language = ENGLISH\r\n", 1},
        {2, "language = KOREAN\r\n", 2},
        {9, "language = ", kBefore},
    };
    for (const auto& c : cases) {
        ResetTestHome();
        g->iLanguage = c.word;
        WritePrefsIni();
        EXPECT_EQ(ReadBytes(PrefsPath()), c.bytes) << c.word;
        g->iLanguage = kBefore;
        ReadPrefsIni();
        EXPECT_EQ(g->iLanguage, c.readBack) << c.word;
    }
}

TEST_F(PrefsFileTest, WritingKeepsTheUsersOtherLines)
{
    WriteBytes(PrefsPath(), "' my settings\nproduct = \"My Plotter\"\r\nlanguage = KOREAN\n");
    g->iLanguage = 1;
    WritePrefsIni();
    EXPECT_EQ(ReadBytes(PrefsPath()),
        "' my settings\nproduct = \"My Plotter\"\r\nlanguage = ENGLISH\r\n");
    g->iLanguage = 0;
    ReadPrefsIni();
    EXPECT_EQ(g->iLanguage, 1);
    EXPECT_STREQ(g->szProductName, "My Plotter");
}

} // namespace

namespace {

// A preferences file with a NUL in it: the reader reads up to the NUL, the writer keeps
// every byte from the NUL on and puts the language line where the reader finds it.
TEST_F(PrefsFileTest, WritingKeepsEveryByteFromANulOn)
{
    const std::string fixture = ReadBytes(std::string(TRAVEX_SOURCE_DIR) + "/plugin/tests/inputs/prefs_nul_inside.ini");
    const size_t nul = fixture.find('\0');
    ASSERT_NE(nul, std::string::npos);
    const std::string tail = fixture.substr(nul);
    ASSERT_GT(tail.size(), 10u);
    WriteBytes(PrefsPath(), fixture);

    g->iLanguage = 1;
    WritePrefsIni();
    const std::string written = ReadBytes(PrefsPath());
    EXPECT_EQ(written, "' my settings\r\nproduct = \"My Plotter\"\r\nlanguage = ENGLISH\r\n" + tail);

    g->iLanguage = 0;
    ReadPrefsIni();
    EXPECT_EQ(g->iLanguage, 1) << "the language line stands before the NUL";
    EXPECT_STREQ(g->szProductName, "My Plotter");

    // written again, the bytes after the NUL are still the same
    g->iLanguage = 2;
    WritePrefsIni();
    EXPECT_EQ(ReadBytes(PrefsPath()), "' my settings\r\nproduct = \"My Plotter\"\r\nlanguage = KOREAN\r\n" + tail);
}

}  // namespace
