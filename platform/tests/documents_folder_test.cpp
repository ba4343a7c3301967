#include "platform/documents_folder.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Puts an environment variable back as it was when the test ends.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name)
    {
        const char* value = std::getenv(name);
        had_ = value != nullptr;
        if (had_)
            value_ = value;
    }
    ~SavedVariable()
    {
        if (had_)
            setenv(name_, value_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    bool had_ = false;
    std::string value_;
};

TEST(DocumentsFolderTest, FolderComesFromTheDesktopSettingElseTheHome)
{
    SavedVariable documents("XDG_DOCUMENTS_DIR");
    SavedVariable config("XDG_CONFIG_HOME");
    const std::string home = TestHome();
    struct Case {
        const char* label;
        const char* documentsDir;   // null: unset
        std::string expected;
    } cases[] = {
        {"desktop setting", "/srv/papers", "/srv/papers"},
        {"unset", nullptr, home + "/Documents"},
        {"empty", "", home + "/Documents"},
        {"relative is ignored", "papers", home + "/Documents"},
    };
    for (const Case& c : cases) {
        if (c.documentsDir)
            setenv("XDG_DOCUMENTS_DIR", c.documentsDir, 1);
        else
            unsetenv("XDG_DOCUMENTS_DIR");
        char buffer[256] = "x";
        EXPECT_EQ(GetDocumentsFolder(buffer, sizeof buffer), kFolderSuccess) << c.label;
        EXPECT_EQ(std::string(buffer), c.expected) << c.label;
    }

    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(GetConfigFolder(), home + "/.config");
    setenv("XDG_CONFIG_HOME", "/etc/elsewhere", 1);
    EXPECT_EQ(GetConfigFolder(), "/etc/elsewhere");
}

TEST(DocumentsFolderTest, PathThatDoesNotFitIsRefusedNotCut)
{
    SavedVariable documents("XDG_DOCUMENTS_DIR");
    setenv("XDG_DOCUMENTS_DIR", "/abcdefghij", 1);
    char buffer[12];
    EXPECT_EQ(GetDocumentsFolder(buffer, sizeof buffer), kFolderSuccess);
    EXPECT_STREQ(buffer, "/abcdefghij");
    char small[11] = "xxxxxxxxxx";
    EXPECT_EQ(GetDocumentsFolder(small, sizeof small), kFolderPathTooLong);
    EXPECT_STREQ(small, "");
}

} // namespace
