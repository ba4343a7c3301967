// Reading and replacing whole files: the replaced file holds the old bytes or the new ones,
// links stay links, permissions stay, and a failure leaves nothing beside the file.
#include "platform/whole_file.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

size_t FilesIn(const std::string& folder)
{
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(WholeFileTest, ReadsTakeRegularFilesWithinTheLimit)
{
    const std::string folder = MakeTestFolder("read");
    WriteBytes(folder + "/ten", std::string("0123\0" "56789", 10));
    fs::create_directories(folder + "/folder");
    const struct {
        const char* label;
        std::string path;
        size_t limit;
        int error;
        FileStep step;
        std::string bytes;
    } cases[] = {
        {"whole, NUL included", folder + "/ten", 10, 0, FileStep::kNone, std::string("0123\0" "56789", 10)},
        {"one byte over the limit", folder + "/ten", 9, EFBIG, FileStep::kRead, ""},
        {"missing", folder + "/absent", 100, ENOENT, FileStep::kOpen, ""},
        {"a folder", folder + "/folder", 100, EISDIR, FileStep::kRead, ""},
        {"a device", "/dev/zero", 100, EINVAL, FileStep::kRead, ""},
    };
    for (const auto& c : cases) {
        std::string bytes;
        FileStep step = FileStep::kNone;
        EXPECT_EQ(ReadWholeFile(c.path, c.limit, &bytes, &step), c.error) << c.label;
        EXPECT_EQ(step, c.step) << c.label;
        EXPECT_EQ(bytes, c.bytes) << c.label;
    }
}

TEST(WholeFileTest, ReplacementKeepsPermissionsAndLinks)
{
    const std::string folder = MakeTestFolder("replace");
    const std::string file = folder + "/store";
    WriteBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(ReplaceWholeFile(file, "new bytes", 0600), 0);
    EXPECT_EQ(ReadBytes(file), "new bytes");
    EXPECT_EQ(ModeOf(file), mode_t(0640));

    // A new file takes the mode asked for, less the umask.
    const mode_t mask = umask(022);
    ASSERT_EQ(ReplaceWholeFile(folder + "/fresh", "x", 0666), 0);
    umask(mask);
    EXPECT_EQ(ModeOf(folder + "/fresh"), mode_t(0644));

    fs::create_symlink("store", folder + "/link");
    ASSERT_EQ(ReplaceWholeFile(folder + "/link", "through the link", 0600), 0);
    EXPECT_TRUE(fs::is_symlink(folder + "/link"));
    EXPECT_EQ(ReadBytes(file), "through the link");
    EXPECT_EQ(FilesIn(folder), 3u) << "nothing is left beside the files";
}

TEST(WholeFileTest, FailedReplacementLeavesTheFileAndNothingBeside)
{
    const std::string folder = MakeTestFolder("fail");
    // A folder in the file's place cannot be renamed over.
    fs::create_directories(folder + "/taken");
    FileStep step = FileStep::kNone;
    EXPECT_NE(ReplaceWholeFile(folder + "/taken", "bytes", 0666, &step), 0);
    EXPECT_EQ(step, FileStep::kRename);
    EXPECT_TRUE(fs::is_directory(folder + "/taken"));
    EXPECT_EQ(FilesIn(folder), 1u);

    // No fresh file can be made in a folder that does not exist.
    EXPECT_EQ(ReplaceWholeFile(folder + "/none/file", "bytes", 0666, &step), ENOENT);
    EXPECT_EQ(step, FileStep::kCreate);

    // Written beside but renamed later: the old bytes stay until the rename.
    WriteBytes(folder + "/kept", "old");
    std::string fresh;
    ASSERT_EQ(WriteFileBeside(folder + "/kept", "new", 0666, &fresh), 0);
    EXPECT_EQ(ReadBytes(folder + "/kept"), "old");
    EXPECT_EQ(ReadBytes(fresh), "new");
    ASSERT_EQ(RenameFileOver(fresh, folder + "/kept"), 0);
    EXPECT_EQ(ReadBytes(folder + "/kept"), "new");
    EXPECT_FALSE(fs::exists(fresh));
}

}  // namespace
