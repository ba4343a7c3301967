// The plug-in's bounded text operations, counted strings, file helpers and the eight-bit
// form of UTF-8 texts.
#include "plugin/output/text_utilities.h"

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(BoundedText, LengthAndCopyStopAt32000Characters)
{
    std::string longText(40000, 'x');
    EXPECT_EQ(StringLength(nullptr), 0);
    EXPECT_EQ(StringLength(""), 0);
    EXPECT_EQ(StringLength("abc"), 3);
    EXPECT_EQ(StringLength(longText.c_str()), 32000);

    std::string copy(40000, '#');
    CopyStringBounded(copy.data(), "abc");
    EXPECT_EQ(std::string(copy.c_str()), "abc");
    EXPECT_EQ(copy[4], '#');
    std::string bounded(40000, '#');
    EXPECT_EQ(CopyStringBounded(bounded.data(), longText.c_str()), bounded.data());
    EXPECT_EQ(bounded.find('#'), 32000u);  // no NUL was reached, none is added
}

TEST(BoundedText, ComparisonByFirstDifferingSignedByte)
{
    std::string same(32001, 'a');
    std::string other = same;
    other[32000] = 'b';  // differs only after the bound
    struct Case {
        const char* a;
        const char* b;
        int16_t result;
    } cases[] = {
        {"abc", "abc", 0},  {"abd", "abc", 1},
        {"abc", "abd", -1}, {"ab", "abc", -1},
        {"abc", "ab", 1},   {"", "", 0},
        {nullptr, "", 0},   {"a", nullptr, 1},
        {"\x81", "a", -1},  // 0x81 is -127 as a signed byte
        {"a", "\xff", 1},   {same.c_str(), other.c_str(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a ? c.a : "(none)") + " / " + (c.b ? c.b : "(none)"));
        EXPECT_EQ(CompareStringsBounded(c.a, c.b), c.result);
    }
}

TEST(BoundedText, SubstringSearchAndRemoval)
{
    std::string far = std::string(300, '.') + "key";
    std::string edge = std::string(254, '.') + "key";
    struct Case {
        const char* name;
        const char* text;
        const char* part;
        int32_t found;
        int32_t foundBounded;
    } cases[] = {
        {"in the middle", "SUB:Plan-A", "Plan", 4, 4},
        {"at the start", "abcabc", "abc", 0, 0},
        {"absent", "abc", "x", -1, -1},
        {"longer than the text", "ab", "abc", -1, -1},
        {"empty part in a text", "abc", "", 0, 0},
        {"empty part in an empty text", "", "", -1, -1},
        {"no text", nullptr, "a", -1, -1},
        {"no part", "abc", nullptr, -1, -1},
        {"beyond 255 characters", far.c_str(), "key", 300, -1},
        {"starting at 254", edge.c_str(), "key", 254, 254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindSubstring(c.text, c.part), c.found);
        EXPECT_EQ(FindSubstringBounded(c.text, c.part), c.foundBounded);
    }

    char buffer[64] = "drawing @ 100%";
    EXPECT_EQ(RemoveSubstring(buffer, " @ 100%"), 7);
    EXPECT_STREQ(buffer, "drawing");
    EXPECT_EQ(RemoveSubstring(buffer, "xyz"), -1);
    EXPECT_STREQ(buffer, "drawing");
    char twice[64] = "a-b-c";
    EXPECT_EQ(RemoveSubstring(twice, "-"), 4);
    EXPECT_STREQ(twice, "ab-c");
}

TEST(BoundedText, HeadAndTailSubstrings)
{
    struct Case {
        const char* source;
        int32_t n;
        const char* head;
        const char* tail;
    } cases[] = {
        {"Plan-A.ai", 4, "Plan", "A.ai"},
        {"abc", 3, "abc", "abc"},
        {"abc", 10, "abc", "abc"},
        {"abc", 0, "", ""},
        {"abc", -2, "", ""},
        {"", 5, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + std::to_string(c.n));
        char head[16] = "stale";
        char tail[16] = "stale";
        CopyHeadSubstring(c.source, c.n, head);
        CopyTailSubstring(c.source, c.n, tail);
        EXPECT_STREQ(head, c.head);
        EXPECT_STREQ(tail, c.tail);
    }
    char untouched[8] = "stale";
    CopyHeadSubstring(nullptr, 3, untouched);
    CopyTailSubstring(nullptr, 3, untouched);
    EXPECT_STREQ(untouched, "stale");
}

TEST(CountedStrings, ToAndFromTheCountByte)
{
    struct Case {
        const char* source;
        int32_t size;
        std::string counted;  // the destination's bytes that were written
    } cases[] = {
        {"abc", 10,
         std::string("\x03"
                     "abc\0",
                     5)},
        {"abc", 4,
         "\x03"
         "abc"},  // size - 1 characters, no room for the NUL
        {"abcdef", 4,
         "\x03"
         "abc"},
        {"", 4, std::string("\x00\x00", 2)},
        {"x", 1, std::string("\x00", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + std::to_string(c.size));
        unsigned char destination[16];
        std::memset(destination, '#', sizeof destination);
        EXPECT_EQ(CopyCToPascalString(destination, c.source, c.size), 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(destination), c.counted.size()), c.counted);
        EXPECT_EQ(destination[c.counted.size()], '#');
    }

    std::string longText(400, 'y');
    unsigned char counted[300];
    CopyCToPascalString(counted, longText.c_str(), sizeof counted);
    EXPECT_EQ(counted[0], 255);  // the count byte's reach

    struct Back {
        std::string counted;
        int32_t size;
        const char* text;
        int32_t result;
    } backs[] = {
        {"\x05"
         "Plan-A",
         16, "Plan-", 5},
        {"\x05"
         "Plan-",
         4, "Pla", 3},
        {std::string("\x00", 1), 4, "", 0},
    };
    for (const Back& b : backs) {
        SCOPED_TRACE(b.text);
        char text[16] = "stale";
        EXPECT_EQ(CopyPascalToCString(text, reinterpret_cast<const unsigned char*>(b.counted.data()), b.size),
                  b.result);
        EXPECT_STREQ(text, b.text);
    }
}

TEST(TextFiles, WrittenTextAndTheErrorLog)
{
    std::string folder = MakeTestFolder("text-files");
    std::string path = folder + "/out.txt";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(WriteStringToFile(fd, "SUB:Plan-A\r\n"), 12);
    EXPECT_EQ(WriteStringToFile(fd, ""), 0);
    close(fd);
    EXPECT_EQ(ReadBytes(path), "SUB:Plan-A\r\n");
    EXPECT_EQ(WriteStringToFile(-1, "lost"), 0);

    char before[4096];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    AppendErrorLog("first\n");
    AppendErrorLog("second\n");
    ASSERT_EQ(chdir(before), 0);
    EXPECT_EQ(ReadBytes(folder + "/ERROR MSG.TXT"), "first\nsecond\n");
}

TEST(FileSpecRecord, ClearedWhole)
{
    AIPlatformFileSpec spec;
    std::memset(&spec, 0x5A, sizeof spec);
    EXPECT_EQ(ClearFileSpecRecord(&spec), &spec);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&spec);
    for (size_t i = 0; i < sizeof spec; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
}

TEST(EightBitText, Utf8BecomesCodePage932)
{
    struct Case {
        const char* name;
        std::string utf8;
        size_t room;
        std::string eightBit;
    } cases[] = {
        {"ascii", "Plan-A @ 50%", 64, "Plan-A @ 50%"},
        {"japanese", "図面", 64, "\x90\x7d\x96\xca"},
        {"not in the code page",
         "a\xF0\x9F\x98\x80"
         "b",
         64, "a?b"},
        {"no UTF-8",
         "a\xff"
         "b",
         64, "a?b"},
        {"a double-byte character never cut", "a図面", 5, "a\x90\x7d"},
        {"no room", "abc", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char out[64];
        size_t n = ConvertUtf8ToShiftJis(c.utf8.c_str(), out, c.room);
        EXPECT_EQ(std::string(out, n), c.eightBit);
        EXPECT_EQ(out[n], '\0');
    }
}

}  // namespace
