#include "platform/code_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct DecodeCase {
    const char* label;
    uint32_t codePage;
    std::string bytes;
    std::u16string units;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.label;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesTheUnitsAndBack)
{
    const DecodeCase& c = GetParam();
    char16_t wide[32] = {};
    int n = MultiByteToWide(c.codePage, c.bytes.data(), static_cast<int>(c.bytes.size()), wide, 32);
    ASSERT_EQ(n, static_cast<int>(c.units.size()));
    EXPECT_EQ(std::u16string(wide, n), c.units);

    char narrow[64] = {};
    int m = WideToMultiByte(c.codePage, c.units.data(), static_cast<int>(c.units.size()), narrow, 64);
    ASSERT_EQ(m, static_cast<int>(c.bytes.size()));
    EXPECT_EQ(std::string(narrow, m), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(CodePages, DecodeTest, ::testing::Values(
    DecodeCase{"ascii", kCodePageShiftJis, "PG;", u"PG;"},
    DecodeCase{"hiragana", kCodePageShiftJis, "\x82\xA0", u"\u3042"},
    DecodeCase{"kanji", kCodePageShiftJis, "A1(\x89\xA1)", u"A1(\u6A2A)"},
    DecodeCase{"halfwidth katakana", kCodePageShiftJis, "\xB1", u"\uFF71"},
    // The Windows table, not plain Shift-JIS: 0x8160 is the full-width tilde.
    DecodeCase{"wave dash", kCodePageShiftJis, "\x81\x60", u"\uFF5E"},
    DecodeCase{"backslash stays", kCodePageShiftJis, "\\", u"\\"},
    DecodeCase{"hangul", kCodePageKorean, "\xB0\xA1", u"\uAC00"},
    DecodeCase{"utf-8 astral", kCodePageUtf8, "\xF0\x9F\x98\x80", u"\U0001F600"}),
    [](const auto& info) {
        std::string s = info.param.label;
        for (char& ch : s)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return s;
    });

TEST(CodePagesTest, TerminatedSourceCountsTheTerminator)
{
    char16_t wide[8] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWide(kCodePageShiftJis, "\x82\xA0" "a", -1, wide, 8), 3);
    EXPECT_EQ(wide[0], u'\u3042');
    EXPECT_EQ(wide[1], u'a');
    EXPECT_EQ(wide[2], 0);

    char narrow[8];
    std::memset(narrow, 'x', sizeof narrow);
    EXPECT_EQ(WideToMultiByte(kCodePageShiftJis, u"\u3042", -1, narrow, 8), 3);
    EXPECT_EQ(std::string(narrow, 3), std::string("\x82\xA0\0", 3));
}

TEST(CodePagesTest, NecSpecialCharacterDecodesToItsStandardTwin)
{
    char16_t wide[2] = {};
    EXPECT_EQ(MultiByteToWide(kCodePageShiftJis, "\x87\x90", 2, wide, 2), 1);
    EXPECT_EQ(wide[0], u'\u2252');
}

TEST(CodePagesTest, RoomZeroAsksForTheCountAndTooLittleRoomFails)
{
    EXPECT_EQ(MultiByteToWide(kCodePageShiftJis, "\x82\xA0\x82\xA2", 4, nullptr, 0), 2);
    EXPECT_EQ(WideToMultiByte(kCodePageShiftJis, u"\u3042\u3044", 2, nullptr, 0), 4);

    char16_t wide[1];
    EXPECT_EQ(MultiByteToWide(kCodePageShiftJis, "\x82\xA0\x82\xA2", 4, wide, 1), 0);
    char narrow[3];
    EXPECT_EQ(WideToMultiByte(kCodePageShiftJis, u"\u3042\u3044", 2, narrow, 3), 0);
}

TEST(CodePagesTest, BadInputFails)
{
    char16_t wide[8];
    char narrow[8];
    struct Case {
        const char* label;
        int result;
    } cases[] = {
        {"lead byte without trail", MultiByteToWide(kCodePageShiftJis, "a\x82", 2, wide, 8)},
        {"invalid utf-8", MultiByteToWide(kCodePageUtf8, "\xC3(", 2, wide, 8)},
        {"unknown code page", MultiByteToWide(1252, "a", 1, wide, 8)},
        {"null source", MultiByteToWide(kCodePageShiftJis, nullptr, 1, wide, 8)},
        {"empty source", MultiByteToWide(kCodePageShiftJis, "a", 0, wide, 8)},
        {"lone high surrogate", WideToMultiByte(kCodePageUtf8, u"a\xD800", 2, narrow, 8)},
        {"lone low surrogate", WideToMultiByte(kCodePageShiftJis, u"\xDC00" "a", 2, narrow, 8)},
        {"negative room", WideToMultiByte(kCodePageShiftJis, u"a", 1, narrow, -1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, 0) << c.label;
}

TEST(CodePagesTest, CharacterMissingFromTheCodePageBecomesQuestionMark)
{
    char narrow[8] = {};
    // Hangul has no place in code page 932; an astral character none in 949.
    EXPECT_EQ(WideToMultiByte(kCodePageShiftJis, u"a\uAC00b", 3, narrow, 8), 3);
    EXPECT_EQ(std::string(narrow, 3), "a?b");
    EXPECT_EQ(WideToMultiByte(kCodePageKorean, u"\U0001F600z", 3, narrow, 8), 2);
    EXPECT_EQ(std::string(narrow, 2), "?z");
}

} // namespace
