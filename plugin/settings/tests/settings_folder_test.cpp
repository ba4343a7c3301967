#include "plugin/settings/settings_folder.h"

#include "plugin/settings/settings_program.h"
#include "plugin/settings/tests/settings_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class SettingsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        documents_ = std::getenv("XDG_DOCUMENTS_DIR");
    }
    void TearDown() override
    {
        setenv("XDG_DOCUMENTS_DIR", documents_.c_str(), 1);
        SetSettingsProgram(kSettingsPlugin);
    }

    // A documents folder whose settings folder is exactly length characters long.
    static std::string DocumentsForFolderLength(size_t length)
    {
        std::string docs = TestHome() + "/";
        docs += std::string(length - 18 - docs.size(), 'd');
        return docs;
    }

    std::string documents_;
};

TEST_F(SettingsFolderTest, BothLevelsAreCreatedWithOneSeparatorEach)
{
    const std::string home = TestHome();
    for (const std::string& docs : {home + "/Documents", home + "/Documents/"}) {
        ResetTestHome();
        setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
        char folder[256] = "x";
        ASSERT_EQ(GetPrefsFolder(folder, sizeof folder), 0);
        EXPECT_EQ(std::string(folder), home + "/Documents/Adobe/Illustrator");
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        char file[256];
        ASSERT_EQ(GetSettingsFilePath(file, sizeof file), 0);
        EXPECT_EQ(std::string(file), home + "/Documents/Adobe/Illustrator/TRAVEX2K.INI");
    }
}

TEST_F(SettingsFolderTest, MissingDocumentsFolderOfAFreshAccountIsCreated)
{
    const std::string docs = TestHome() + "/NewDocuments";
    std::filesystem::remove_all(docs);
    setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
    char folder[256] = "";
    ASSERT_EQ(GetPrefsFolder(folder, sizeof folder), 0);
    EXPECT_TRUE(std::filesystem::is_directory(docs + "/Adobe/Illustrator"));
}

TEST_F(SettingsFolderTest, PathOverTheProgramsLimitIsRefusedNotCut)
{
    struct Case {
        SettingsProgram program;
        size_t folderLength;
        bool accepted;
    } cases[] = {
        {kSettingsPlugin, 200, true},
        {kSettingsPlugin, 201, false},
        {kSettingsConfig, 201, true},
        {kSettingsConfig, 254, true},
        {kSettingsConfig, 255, false},
        {kSettingsSender, 255, false},
    };
    for (const Case& c : cases) {
        ResetTestHome();
        SetSettingsProgram(c.program);
        std::string docs = DocumentsForFolderLength(c.folderLength);
        setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
        char folder[255];
        std::memset(folder, 'x', sizeof folder);
        int status = GetPrefsFolder(folder, sizeof folder);
        char file[512] = "x";
        int fileStatus = GetSettingsFilePath(file, sizeof file);
        if (c.accepted) {
            EXPECT_EQ(status, 0) << c.folderLength;
            EXPECT_EQ(std::string(folder), docs + "/Adobe/Illustrator");
            EXPECT_EQ(fileStatus, 0);
            EXPECT_EQ(std::string(file), docs + "/Adobe/Illustrator/TRAVEX2K.INI");
        } else {
            EXPECT_EQ(status, kSettingsPathTooLong) << c.folderLength;
            EXPECT_STREQ(folder, "");
            EXPECT_EQ(fileStatus, kSettingsPathTooLong);
            EXPECT_STREQ(file, "");
            EXPECT_FALSE(FileExists(docs + "/Adobe")) << "a refused path creates nothing";
        }
    }
}

TEST_F(SettingsFolderTest, CopyRefusesABufferTooSmallForThePath)
{
    char small[20] = "x";
    EXPECT_EQ(CopyPrefsFolder(small, sizeof small), kSettingsPathTooLong);
    EXPECT_STREQ(small, "");
    char room[260];
    EXPECT_EQ(CopyPrefsFolder(room, sizeof room), 0);
    EXPECT_EQ(std::string(room), TestSettingsFolder());
}

} // namespace
